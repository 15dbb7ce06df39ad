// Endurance check by the bridge code (clauses 3.26* and 3.39*): the stresses of the least and
// the most loaded state give the cycle asymmetry of concrete and steel, which reduces their
// design resistances through tabulated coefficients.

#include "cracks/endurance.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "kernel/interpolation.hpp"
#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "rectangular/stress.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"

namespace armocalc {
namespace {

// Tables in the layout of ИнтерполяцияПоТаблице: the first row holds the corner and the column
// axis, the first column the row axis.
constexpr std::array<double, 20> kКлассБетона = {
    0, 1,    27.5, 30,   35,   40,   45,   50,   55,   60,  //
    1, 1.34, 1.34, 1.31, 1.28, 1.26, 1.24, 1.22, 1.21, 1.20,
};

constexpr std::array<double, 20> kАсимметрияБетона = {
    0, -1,   0.1,  0.2,  0.3,  0.4,  0.5,  0.6,  1,    100,  //
    1, 1.00, 1.00, 1.05, 1.10, 1.15, 1.20, 1.24, 1.24, 1.24,
};

constexpr std::array<double, 68> kАсимметрияАрматуры = {
    0,    1,    2,    3,     //
    -1,   0.48, 0.40, 0.32,  //
    -0.5, 0.61, 0.50, 0.40,  //
    -0.2, 0.72, 0.60, 0.48,  //
    -0.1, 0.77, 0.63, 0.51,  //
    0,    0.81, 0.67, 0.54,  //
    0.1,  0.85, 0.70, 0.57,  //
    0.2,  0.89, 0.74, 0.59,  //
    0.3,  0.97, 0.81, 0.65,  //
    0.35, 1.00, 0.83, 0.67,  //
    0.4,  1.00, 0.87, 0.70,  //
    0.5,  1.00, 0.94, 0.75,  //
    0.6,  1.00, 1.00, 0.81,  //
    0.7,  1.00, 1.00, 0.90,  //
    0.75, 1.00, 1.00, 0.95,  //
    0.8,  1.00, 1.00, 1.00,  //
    1,    1.00, 1.00, 1.00,
};

using ТаблицаСварки = std::array<double, 28>;

constexpr std::array<ТаблицаСварки, 4> kСварка = {{
    // Сварка = 1
    {-1,  1,    2,    3,     //
     0,   0.75, 0.65, 0.60,  //
     0.2, 0.85, 0.70, 0.65,  //
     0.4, 1.00, 0.80, 0.75,  //
     0.7, 1.00, 0.90, 0.75,  //
     0.8, 1.00, 1.00, 0.75,  //
     0.9, 1.00, 1.00, 0.85},
    // Сварка = 2
    {-1,  1,    2,    3,     //
     0,   0.75, 0.65, 0.60,  //
     0.2, 0.80, 0.70, 0.65,  //
     0.4, 0.90, 0.80, 0.75,  //
     0.7, 0.90, 0.90, 0.75,  //
     0.8, 1.00, 1.00, 0.75,  //
     0.9, 1.00, 1.00, 0.85},
    // Сварка = 3
    {-1,  1,    2,    3,     //
     0,   0.65, 0.65, 0.60,  //
     0.2, 0.70, 0.70, 0.65,  //
     0.4, 0.75, 0.75, 0.65,  //
     0.7, 0.90, 0.90, 0.70,  //
     0.8, 1.00, 1.00, 0.75,  //
     0.9, 1.00, 1.00, 0.85},
    // Any other joint type: the keys without values.
    {-1,  1, 2, 3,  //
     0,   0, 0, 0,  //
     0.2, 0, 0, 0,  //
     0.4, 0, 0, 0,  //
     0.7, 0, 0, 0,  //
     0.8, 0, 0, 0,  //
     0.9, 0, 0, 0},
}};

template <size_t Size>
Таблица КакТаблица(const std::array<double, Size>& values, int columns) {
  return Таблица{values, static_cast<int>(Size) / columns, columns};
}

struct Напряжения {
  double Sb = 0;
  double Ss = 0;
  double Ssi = 0;
};

// The stresses of one load state; their report goes to the "Stress-" file beside Отчет.
Напряжения НапряженияСостояния(uint8_t КлассАрматурнойСтали, float КлассБетона, double N, double M,
                               double Fв, double Fн, double ав, double ан, double h, double B,
                               bool ОпределятьСМИ, int32_t ТипКонструкции,
                               const std::string& Отчет) {
  constexpr uint8_t kГдеБетон = 0;
  constexpr bool kФиброползучесть = true;
  constexpr double kТочность = 0.0001;
  Напряжения н;
  мтНапряжение(КлассАрматурнойСтали, КлассБетона, N, M, Fв, Fн, ав, ан, h, B, kГдеБетон,
               ОпределятьСМИ, ТипКонструкции, kФиброползучесть, kТочность, н.Sb, н.Ss, н.Ssi,
               Отчет);
  return н;
}

}  // namespace

double КоэффициентКлассаБетона(float КлассБетона) {
  return ИнтерполяцияПоТаблице(КакТаблица(kКлассБетона, 10), КлассБетона, 1);
}

double КоэффициентАсимметрииБетона(double pb) {
  return ИнтерполяцияПоТаблице(КакТаблица(kАсимметрияБетона, 10), pb, 1);
}

double КоэффициентАсимметрииАрматуры(uint8_t КлассАрматурнойСтали, double ps) {
  return ИнтерполяцияПоТаблице(КакТаблица(kАсимметрияАрматуры, 4), КлассАрматурнойСтали, ps);
}

double КоэффициентСварки(int32_t Сварка, uint8_t КлассАрматурнойСтали, double ps) {
  const size_t index = Сварка >= 1 && Сварка <= 3 ? static_cast<size_t>(Сварка - 1) : 3;
  return ИнтерполяцияПоТаблице(КакТаблица(kСварка[index], 4), КлассАрматурнойСтали,
                               std::clamp(ps, 0.0, 0.9));
}

Variant мтВыносливость(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& Nmin,
                       double& Mmin, double& Nmax, double& Mmax, double& Fв, double& Fн, double& ав,
                       double& ан, double& h, double& B, int32_t Сварка, bool& ОпределятьСМИ,
                       int32_t ТипКонструкции, uint8_t& ПоАрматуреИБетону,
                       uint8_t& МетодОпределенияЗапаса, std::string& Отчет) {
  // The title goes to the file at once; the file is read back after the stresses are computed.
  Отчёт rep(Отчет);
  rep.Add(
      "Расчет на выносливость ж/б элемента прямоугольного сечения без учета предварительно "
      "напряженной арматуры, согласно СНиП 2.05.03-84*");
  if (rep) rep.List().Выгрузить(Отчет);

  const auto напряжения = [&](double N, double M, const std::string& отчёт_напряжений) {
    return НапряженияСостояния(КлассАрматурнойСтали, КлассБетона, N, M, Fв, Fн, ав, ан, h, B,
                               ОпределятьСМИ, ТипКонструкции, отчёт_напряжений);
  };
  // Both states write the same stress report file, so the first state's report (up to 1001
  // passes, megabytes) would be replaced at once: it is made only when the second state fails,
  // and the files end as the two reports in turn leave them, errors included.
  const Напряжения наименьшие = напряжения(Nmin, Mmin, std::string());
  Напряжения наибольшие;
  try {
    наибольшие = напряжения(Nmax, Mmax, Отчет);
  } catch (...) {
    напряжения(Nmin, Mmin, Отчет);  // a failure of its own report comes first, as in turn
    throw;
  }
  if (rep) rep.List().Загрузить(Отчет);

  double Sbmin = наименьшие.Sb;
  double Sbmax = наибольшие.Sb;
  double Ssmin = std::max(наименьшие.Ss, наименьшие.Ssi);
  double Ssmax = std::max(наибольшие.Ss, наибольшие.Ssi);
  if (Sbmin > Sbmax) std::swap(Sbmin, Sbmax);
  if (Ssmin > Ssmax) std::swap(Ssmin, Ssmax);

  rep.Add("\t", "Расчет асимметрии цикла повторяющихся напряжений:");
  const Число pb = Число(Sbmin) / Sbmax;
  rep.Add("\t", "pb = Sbmin / Sbmax = ", Sbmin, " / ", Sbmax, " = ", pb);
  const Число ps = Число(Ssmin) / Ssmax;
  rep.Add("\t", "ps = Ssmin / Ssmax = ", Ssmin, " / ", Ssmax, " = ", ps);

  uint8_t код_Rb = 1;
  const double Rb = мтБетон(КлассБетона, код_Rb);
  const Число Rbf =
      Число(КоэффициентКлассаБетона(КлассБетона)) * 0.6 * КоэффициентАсимметрииБетона(pb.v) * Rb;
  const double Rs = RsValue(КлассАрматурнойСтали, 10.0, CByte(static_cast<double>(ТипКонструкции)));
  const Число Rsf = Число(КоэффициентАсимметрииАрматуры(КлассАрматурнойСтали, ps.v)) *
                    КоэффициентСварки(Сварка, КлассАрматурнойСтали, ps.v) * Rs;
  rep.Add("\t", "Rbf = ", Rbf, " МПа (п. 3.26*), Rsf = ", Rsf, " МПа (п. 3.39*)");

  const double запасБетона = ОпределитьЗапас(Rbf.v, Sbmax, МетодОпределенияЗапаса);
  rep.Add("При сравнении величин Rbf = ", Rbf, " и Sbmax = ", Sbmax, " запас по бетону равен ",
          запасБетона);
  const double запасАрматуры = ОпределитьЗапас(Rsf.v, Ssmax, МетодОпределенияЗапаса);
  rep.Add("При сравнении величин Rsf = ", Rsf, " и Ssmax = ", Ssmax, " запас по арматуре равен ",
          запасАрматуры);

  Variant result;
  switch (ПоАрматуреИБетону) {
    case 0:
      result = запасБетона < запасАрматуры ? запасБетона : запасАрматуры;
      break;
    case 1:
      result = запасАрматуры;
      break;
    case 2:
      result = запасБетона;
      break;
    default:
      break;
  }
  rep.Finish();
  return result;
}

}  // namespace armocalc
