#include "materials/bar_table.hpp"

#include <cmath>

#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
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
Число КоэффициентСопротивления(Число h, double x, double y) {
  const Число высота_растянутой = h - x;
  if (высота_растянутой == 0) return 1;
  const Число a = h / 2 - std::fabs(y);
  if (a < высота_растянутой / 5) return 1;
  const Число k = 1.1 - a * 0.5 / высота_растянутой;
  return k > 1 ? 1 : k;
}

// Adds x to a running total of a group.
void Прибавить(double& сумма, Число x) {
  сумма = (Число(сумма) + x).v;
}

void ДобавитьСтержень(ГруппыСтержней& группы, int g, Число y, Число d, Число Rs, Число h) {
  const Число площадь = kПиДесятичное * Квадрат(d / 2000);
  const Число собственный_момент = kПиДесятичное * Степень(d / 1000, 4) / 64;
  группы(g, ЧислоСтержней) += 1.0;
  Прибавить(группы(g, Площадь), площадь);
  Прибавить(группы(g, СтатическийМомент), y * площадь);
  Прибавить(группы(g, МоментИнерции), собственный_момент + Квадрат(y) * площадь);
  Прибавить(группы(g, СреднееRs), площадь * Rs);
  Прибавить(группы(g, СреднийДиаметр), d / 1000);
  const Число до_грани = h / 2 - std::fabs(y.v);
  if (до_грани < группы(g, МинРасстояниеДоГрани)) группы(g, МинРасстояниеДоГрани) = до_грани.v;
}

void ПодвестиИтоги(ГруппыСтержней& группы, int g, Число h) {
  const Число площадь = группы(g, Площадь);
  if (!(площадь > 0)) return;
  const Число центр = группы(g, СтатическийМомент) / площадь;
  группы(g, РасстояниеДоГрани) = (h / 2 - std::fabs(центр.v)).v;
  группы(g, СреднееRs) = (группы(g, СреднееRs) / площадь).v;
  группы(g, СреднийДиаметр) = (Число(группы(g, СреднийДиаметр)) / группы(g, ЧислоСтержней)).v;
  группы(g, Центр) = центр.v;
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

    Число Rs = ЗначениеСтали(СНиП_Rs(КлассСтали, ячейка_диаметра, CByte(ТипЗначения)));
    if (g == Растянутая) Rs = Rs * КоэффициентСопротивления(h, x, y);
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
