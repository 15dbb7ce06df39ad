#include "materials/bar_table.hpp"

#include <cmath>

#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

constexpr double kНетСтержней = 100.0;  // smallest edge distance of a group without bars, m
constexpr int32_t kСтолбецПоложения = 2;
constexpr int32_t kСтолбецДиаметра = 3;

bool ВСжатойГруппе(double M, double y, double y0) {
  return (M >= 0.0 && y >= y0) || (M < 0.0 && y < y0);
}

// Bars of the tensioned group far from the edge work with a reduced resistance.
double КоэффициентСопротивления(double h, double x, double y) {
  const double высота_растянутой = Sub(h, x);
  if (высота_растянутой == 0.0) return 1.0;
  const double a = Sub(Div(h, 2.0), std::fabs(y));
  if (a < Div(высота_растянутой, 5.0)) return 1.0;
  const double k = Sub(1.1, Div(Mul(a, 0.5), высота_растянутой));
  return k > 1.0 ? 1.0 : k;
}

void ДобавитьСтержень(ГруппыСтержней& группы, int g, double y, double d, double Rs, double h) {
  const double площадь = Mul(kПиДесятичное, Pow(Div(d, 2000.0), 2.0));
  const double собственный_момент = Div(Mul(kПиДесятичное, Pow(Div(d, 1000.0), 4.0)), 64.0);
  группы(g, ЧислоСтержней) += 1.0;
  группы(g, Площадь) = Add(группы(g, Площадь), площадь);
  группы(g, СтатическийМомент) = Add(группы(g, СтатическийМомент), Mul(y, площадь));
  группы(g, МоментИнерции) =
      Add(группы(g, МоментИнерции), Add(собственный_момент, Mul(Pow(y, 2.0), площадь)));
  группы(g, СреднееRs) = Add(группы(g, СреднееRs), Mul(площадь, Rs));
  группы(g, СреднийДиаметр) = Add(группы(g, СреднийДиаметр), Div(d, 1000.0));
  const double до_грани = Sub(Div(h, 2.0), std::fabs(y));
  if (до_грани < группы(g, МинРасстояниеДоГрани)) группы(g, МинРасстояниеДоГрани) = до_грани;
}

void ПодвестиИтоги(ГруппыСтержней& группы, int g, double h) {
  const double площадь = группы(g, Площадь);
  if (!(площадь > 0.0)) return;
  const double центр = Div(группы(g, СтатическийМомент), площадь);
  группы(g, РасстояниеДоГрани) = Sub(Div(h, 2.0), std::fabs(центр));
  группы(g, СреднееRs) = Div(группы(g, СреднееRs), площадь);
  группы(g, СреднийДиаметр) = Div(группы(g, СреднийДиаметр), группы(g, ЧислоСтержней));
  группы(g, Центр) = центр;
}

}  // namespace

double& ГруппыСтержней::operator()(int g, int k) {
  if (!allocated_ || g < 0 || g > 1 || k < 0 || k > 8) Raise(kSubscriptOutOfRange);
  return cells_[static_cast<size_t>(g)][static_cast<size_t>(k)];
}

double ГруппыСтержней::operator()(int g, int k) const {
  if (!allocated_ || g < 0 || g > 1 || k < 0 || k > 8) Raise(kSubscriptOutOfRange);
  return cells_[static_cast<size_t>(g)][static_cast<size_t>(k)];
}

ГруппыСтержней ПрочитатьТаблицуСтержней(const HostRange& Таблица, const Variant& КлассСтали,
                                        int32_t& ТипЗначения, double M, double /*N*/, double& y0,
                                        double h, double x) {
  if (Таблица.ColumnsCount() < 3) return ГруппыСтержней::Unallocated();

  ГруппыСтержней группы = ГруппыСтержней::Allocated();
  группы(Сжатая, МинРасстояниеДоГрани) = kНетСтержней;
  группы(Растянутая, МинРасстояниеДоГрани) = kНетСтержней;

  const int32_t строк = Таблица.RowsCount();
  for (int32_t i = 1; i <= строк; ++i) {
    const double y = ToDouble(Таблица.Cell(i, kСтолбецПоложения));
    const Variant ячейка_диаметра = Таблица.Cell(i, kСтолбецДиаметра);
    const int g = ВСжатойГруппе(M, y, y0) ? Сжатая : Растянутая;
    const double d = ToDouble(ячейка_диаметра);
    if (d <= 0.0) continue;

    double Rs = ЗначениеСтали(СНиП_Rs(КлассСтали, ячейка_диаметра, CByte(ТипЗначения)));
    if (g == Растянутая) Rs = Mul(Rs, КоэффициентСопротивления(h, x, y));
    ДобавитьСтержень(группы, g, y, d, Rs, h);
  }

  ПодвестиИтоги(группы, Сжатая, h);
  ПодвестиИтоги(группы, Растянутая, h);
  return группы;
}

std::vector<СтерженьТаблицы> СтержниТаблицы(const HostRange& таблица) {
  std::vector<СтерженьТаблицы> стержни;
  const int32_t строк = таблица.RowsCount();
  for (int32_t i = 1; i <= строк; ++i) {
    const double d_mm = ToDouble(таблица.Cell(i, 3));
    if (!(d_mm > 0)) continue;
    стержни.push_back({ToDouble(таблица.Cell(i, 1)), ToDouble(таблица.Cell(i, 2)), d_mm});
  }
  return стержни;
}

}  // namespace armocalc
