#include "rectangular/slenderness.hpp"

#include <array>
#include <cmath>

#include "kernel/interpolation.hpp"
#include "kernel/report.hpp"
#include "kernel/stability.hpp"
#include "runtime/checked_number.hpp"

namespace armocalc {
namespace {

// Buckling coefficients of п. 3.55: rows by slenderness Lo / b, columns by the relative
// eccentricity e / r; the last column (key 2) holds фи_l for the long-term load.
constexpr int kСтрокФи = 18;
constexpr int kСтолбцовФи = 6;
constexpr int kЯчеекФи = kСтрокФи * kСтолбцовФи;
constexpr std::array<double, kЯчеекФи> kТаблицаФи = {
    -1, 0,    0.25, 0.5,  1,    2,     //
    4,  1,    0.9,  0.81, 0.69, 1,     //
    10, 1,    0.86, 0.77, 0.65, 0.84,  //
    12, 0.95, 0.83, 0.74, 0.62, 0.79,  //
    14, 0.9,  0.79, 0.7,  0.58, 0.7,   //
    16, 0.86, 0.75, 0.66, 0.55, 0.65,  //
    18, 0.82, 0.71, 0.62, 0.51, 0.56,  //
    20, 0.78, 0.67, 0.57, 0.48, 0.47,  //
    22, 0.72, 0.6,  0.52, 0.43, 0.41,  //
    24, 0.67, 0.55, 0.47, 0.38, 0.32,  //
    26, 0.62, 0.51, 0.44, 0.35, 0.25,  //
    28, 0.58, 0.49, 0.43, 0.34, 0.2,   //
    30, 0.53, 0.45, 0.39, 0.32, 0.16,  //
    32, 0.48, 0.41, 0.36, 0.31, 0.14,  //
    34, 0.43, 0.36, 0.31, 0.25, 0.1,   //
    38, 0.38, 0.32, 0.28, 0.24, 0.08,  //
    40, 0.35, 0.29, 0.25, 0.21, 0.07,  //
    43, 0.33, 0.28, 0.24, 0.21, 0.06,  //
};
constexpr double kПерваяГибкость = 4;
constexpr double kКлючДлительной = 2;

double ФиИзТаблицы(double столбец, double Lo, double b) {
  // Below the first row the lookup would extrapolate towards the axis and give фи above 1, a
  // capacity larger than the section's own: short elements take the first row.
  double гибкость = Div(Lo, b);
  if (гибкость < kПерваяГибкость) гибкость = kПерваяГибкость;
  const Таблица таблица{kТаблицаФи, kСтрокФи, kСтолбцовФи};
  return ИнтерполяцияПоТаблице(таблица, столбец, гибкость);
}

}  // namespace

double ФиПоТаблице(double Lo, double b, double e, double r) {
  // The table knows only the magnitude of the eccentricity; a negative moment reads it too.
  return ФиИзТаблицы(Div(std::abs(e), r), Lo, b);
}

double ФиДлительное(double Lo, double b) {
  return ФиИзТаблицы(kКлючДлительной, Lo, b);
}

double КоэффициентПродольногоИзгиба(double Nl, double Nm, double M, double Lo, double b, double h) {
  const Число N = Число(Nl) + Nm;
  const Число r = Квадрат(h) * b / 6 / (Число(h) * b);
  const Число e = Число(M) / N;
  const Число фи_m = ФиПоТаблице(Lo, b, e.v, r.v);
  const Число фи_l = ФиДлительное(Lo, b);
  return (фи_m / (Число(Nm) / N + фи_m * (Число(Nl) / N) / фи_l)).v;
}

std::optional<double> КоэффициентВлиянияПрогиба(double Rb, double Eb, double Jb, double Es,
                                                double Js, double h, double a, double M, double N,
                                                double& Ml, double& Nl, double Lo,
                                                bool СтатическиОпределимая, double c_ef,
                                                Отчёт& rep) {
  if (Ml == 0) Ml = M;
  if (Nl == 0) Nl = N;

  const Число n_1 = Число(Es) / Eb;
  rep.Add("\tn_1 = Es / Eb = ", Es, " / ", Eb, " = ", n_1);

  Число delta_min;
  if (c_ef == 0) {
    delta_min = Число(0.5) - Число(0.01) * Lo / h - Число(0.01) * Rb;
    rep.Add("\tdelta_min = 0.5 - 0.01 * Lo / h - 0.01 * Rb = 0.5 - 0.01 * ", Lo, " / ", h,
            " - 0.01 * ", Rb, " = ", delta_min);
  } else {
    Число fi2 = Число(0.1) * Lo / c_ef - 1;
    rep.Add("\tfi2 = 0.1 * lo / c_ef - 1 = 0.1 * ", Lo, " / ", c_ef, " - 1 = ", fi2);
    if (fi2 > 1) {
      fi2 = 1;
      rep.Add("\tfi2 не может быть больше единицы, поэтому принимаем fi2 = 1");
    }
    delta_min = Число(0.5) - Число(0.01) * Lo * fi2 / c_ef - Число(0.01) * Rb;
    rep.Add("\tdelta_min = 0.5 - 0.01 * lo * fi2 / c_ef - 0.01 * Rb = 0.5 - 0.01 * ", Lo, " * ",
            fi2, " / ", c_ef, " - 0.01 * ", Rb, " = ", delta_min);
  }

  Число e;
  const Число случайный = Число(Lo) / 400;
  if (СтатическиОпределимая) {
    const Число MN = Число(M) / N;
    if (MN > случайный) {
      e = MN;
      rep.Add("\tТак как M / N > Lo / 400, то е = M / N = ", M, " / ", N, " = ", e, " (п. 3.52*)");
    } else {
      e = случайный;
      rep.Add("\tТак как M / N <= Lo / 400, то е = Lo / 400 = ", Lo, " / 400 = ", e, " (п. 3.52*)");
    }
  } else {
    e = Число(M) / N + случайный;
    rep.Add("\te = M / N + lo / 400 = ", M, " / ", N, " + ", Lo, " / 400 = ", e,
            " (с учетом случайного эксцентриситета)");
  }

  Число delta = e / h;
  rep.Add("\tdelta_min <= delta = e / h = ", e, " / ", h, " = ", delta, " >= ", delta_min);
  if (delta < delta_min) delta = delta_min;

  const Число e_l = Число(Ml) / Nl;
  rep.Add("\te = Ml / Nl = ", Ml, " / ", Nl, " = ", e_l, ", где");
  rep.Add("\tMl, [МНм] - изгибающий момент в сечении только от постоянной нагрузки");
  rep.Add("\tNl, [МН] - сжимающая сила (МН) только от постоянной нагрузки");
  const Число Ml_ = Число(Nl) * (e_l + (Число(h) / 2 - a));
  rep.Add("\tMl_ = Nl * (e + (h / 2 - a_s)) = ", Nl, " * (", e_l, " + (", h, " / 2 - ", a,
          ")) = ", Ml_);

  const Число e_n = Число(M) / N;
  rep.Add("\te = M / N = ", M, " / ", N, " = ", e_n);
  const Число M_ = Число(N) * (e_n + (Число(h) / 2 - a));
  rep.Add("\tM_ = N * (e + (h / 2 - a_s)) = ", N, " * (", e_n, " + (", h, " / 2 - ", a,
          ")) = ", M_);

  const Число Fi1 = Число(1) + Ml_ / M_;
  rep.Add("\tFi1 = 1 + Ml_ / M_ = 1 + ", Ml_, " / ", M_, " = ", Fi1, " (По формуле 47)");

  rep.Add("\tУсловная критическая сила:");
  const Число Ncr = Число(6.4) * Eb *
                    (Число(Jb) * (Число(0.11) / (Число(0.1) + delta) + 0.1) / Fi1 + n_1 * Js) /
                    Квадрат(Lo);
  rep.Add(
      "\tNcr = 6.4 * Eb * (Jb * (0.11 / (0.1 + delta) + 0.1) / Fi1 + n_1 * Js) / lo ^ 2 = 6.4 * ",
      Eb, " * (", Jb, " * (0.11 / (0.1 + ", delta, ") + 0.1) / ", Fi1, " + ", n_1, " * ", Js,
      ") / ", Lo, " ^ 2 = ", Ncr, " (По формуле 46)");

  rep.Add("\tКоэффициент, учитывающий влияние прогиба по прочности:");
  // At or above Ncr ню would be infinite or negative and a longer element would look stronger:
  // no factor, the caller reports the element as unstable instead.
  if (УстойчивостьНеОбеспечена(N, Ncr)) return std::nullopt;
  const Число ню = Число(1) / (Число(1) - Число(N) / Ncr);
  rep.Add("\tню = 1 / (1 - N / Ncr) = 1 / (1 - ", N, " / ", Ncr, ")");
  return ню.v;
}

double НюПоДлине(double ню, double L, double Z) {
  const Число длина = L;
  if (длина / 2 < Z) Z = (длина - Z).v;
  const double треть = (длина / 3).v;
  const double половина = (длина / 2).v;
  const std::array<double, 8> значения = {-1,       1,   //
                                          0,        1,   //
                                          треть,    ню,  //
                                          половина, ню};
  const Таблица таблица{значения, 4, 2};
  return ИнтерполяцияПоТаблице(таблица, 1, Z);
}

}  // namespace armocalc
