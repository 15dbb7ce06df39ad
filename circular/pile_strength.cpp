// Circular pile section: the input lines, the geometry, the materials and the section
// properties, then the slenderness, the compressed-zone iteration and the limit moment shared
// with the tube-reinforced pile.

#include "circular/pile_strength.hpp"

#include <optional>
#include <string>

#include "circular/circle_common.hpp"
#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"
#include "runtime/variant.hpp"

namespace armocalc {
namespace {

using circular::Sin;

constexpr uint8_t kКодRb = 1;
constexpr uint8_t kКодEb = 8;
constexpr uint8_t kТипДорожный = 3;  // Rs of road and city structures
constexpr double kКлассОграниченияRb = 30;

// Everything the main calculation needs, in kN, kN·m, m and MPa.
struct Свая {
  Число M, N, L0, D;
  Число R, ra;
  Число ec, Ml, Nl, M_, Ml_;
  Число Rb, Rs, Eb, Es;
  Число Jb, Js, n1, Ab, Astot;
  Число P;
  uint8_t метод = 3;
};

double Бетон(double класс, uint8_t код) {
  float класс_бетона = CSng(класс);
  return мтБетон(класс_бетона, код);
}

// Eccentricity and the reduced moments; the whole load is permanent.
void Эксцентриситеты(Свая& с, Отчёт& rep) {
  с.ec = Abs(с.M) / Abs(с.N) + с.L0 / 400;
  rep.Add("\tec = M / N + L0 / 400 = ", с.M, " / ", с.N, " + ", с.L0, " / 400 = ", с.ec,
          " м - эксцентриситет");
  с.Ml = с.M;
  rep.Add("\tMl = ", с.Ml, " кН*м - момент от постоянной нагрузки");
  с.Nl = с.N;
  rep.Add("\tNl = ", с.Nl, " кН - продольная сила от постоянной нагрузки");
  с.M_ = с.M / с.N + с.L0 / 400 + с.ra / 2;
  rep.Add("\tM_ = M / N + L0 / 400 + ra / 2 = ", с.M, " / ", с.N, " + ", с.L0, " / 400 + ", с.ra,
          " / 2 = ", с.M_, " кН*м - привед. момент от полной нагрузки");
  с.Ml_ = с.Ml / с.Nl + с.L0 / 400 + с.ra / 2;
  rep.Add("\tMl_ = Ml / Nl + L0 / 400 + ra / 2 = ", с.Ml, " / ", с.Nl, " + ", с.L0, " / 400 + ",
          с.ra, " / 2 = ", с.Ml_, " кН*м - привед. момент от постоянной нагрузки");
}

// Rb of classes above B30 is taken at B30; the modulus is the class's own. `Rs` is requested
// between the two concrete properties, as the steel of the section decides its diameter.
void Материалы(Свая& с, double B, int16_t A, const Variant& диаметр, Отчёт& rep) {
  с.Rb = Бетон(B, kКодRb);
  if (B > kКлассОграниченияRb) с.Rb = Бетон(kКлассОграниченияRb, kКодRb);
  rep.Add("\tRb = ", с.Rb, " МПа");
  с.Rs = ЗначениеСтали(СНиП_Rs(Variant(A), диаметр, kТипДорожный));
  rep.Add("\tRs = ", с.Rs, " МПа");
  с.Eb = Бетон(B, kКодEb);
  rep.Add("\tEb = ", с.Eb, " МПа");
  с.Es = ЗначениеСтали(СНиП_Es(Variant(A)));
  rep.Add("\tEs = ", с.Es, " МПа");
}

Число МоментИнерцииБетона(const Свая& с) {
  return с.P * Степень(с.D, 4) / 64;
}

// The relative angle of the compressed zone by fixed-point iteration, to a quantum of Eps.
Число ОтносительныйУголСжатойЗоны(const Свая& с, Число k1, Число k2, Отчёт& rep) {
  rep.Add("\tEps = 0.00001");
  const Число Eps = 0.00001;
  Число kp = 0.25;
  Число k = 0;
  // An alternation between two quanta never meets the tolerance: the last value is kept.
  for (int32_t вычислено = 0; вычислено < circular::kНаибольшееЧислоЗначенийK; ++вычислено) {
    if (Int((k / Eps).v) == Int((kp / Eps).v)) break;
    kp = k;
    k = (k1 * с.Rs * с.Astot + с.N / 1000 +
         Sin(Число(2) * с.P * kp) / (Число(2) * с.P) * (с.Rb * с.Ab)) /
        (k2 * с.Rs * с.Astot + с.Rb * с.Ab);
    rep.Add(
        "\tk = (N / 1000 + k1 * Rs * Astot + Rb * Ab * (Sin(2 * P * k) / (2 * P))) / (Rb * Ab "
        "+ k2 * Rs * Astot) = (",
        с.N, " / 1000 + ", k1, " * ", с.Rs, " * ", с.Astot, " + ", с.Rb, " * ", с.Ab,
        " * (Sin(2 * ", с.P, " * ", k, ") / (2 * ", с.P, "))) / (", с.Rb, " * ", с.Ab, " + ", k2,
        " * ", с.Rs, " * ", с.Astot, ") = ", k);
  }
  return k;
}

// Slenderness, the reinforcement regime, the compressed zone, the limit moment and the margin.
double ОсновнойРасчёт(const Свая& с, Отчёт& rep) {
  const Число fiL = с.Ml_ / с.M_ + 1;
  rep.Add("\tfiL = 1 + Ml_ / M_ = 1 + ", с.Ml_, " / ", с.M_, " = ", fiL);
  Число delta = с.ec / с.D;
  const Число delta_min = Число(0.5) - Число(0.01) * с.L0 / с.D - Число(0.01) * с.Rb;
  if (delta_min > delta) delta = delta_min;
  rep.Add("\tdelta = ", delta);
  const Число Ncr = ((Число(0.11) / (delta + 0.1) + 0.1) * (с.Jb / fiL) + с.n1 * с.Js) *
                    (с.Eb * 6400) / Квадрат(с.L0);
  rep.Add(
      "\tNcr = 6400 * Eb * (Jb / fiL * (0.11 / (0.1 + delta) + 0.1) + n1 * Js) / L0 ^ 2 = 6400 "
      "* ",
      с.Eb, " * (", с.Jb, " / ", fiL, " * (0.11 / (0.1 + ", delta, ") + 0.1) + ", с.n1, " * ", с.Js,
      ") / ", с.L0, " ^ 2 = ", Ncr, " МН - условная критическая сила");

  // A force at or above the critical one: the pile buckles, whatever its section could carry.
  if (circular::ЭлементНеустойчив(Abs(с.N), Ncr)) {
    const double запас = ОпределитьЗапас(0, Abs(с.N).v, с.метод);
    rep.Add(circular::kСтрокаНеустойчивости);
    rep.Add("Запас = ", запас);
    return запас;
  }
  const Число etta = Число(1) / (Число(1) - Abs(с.N) / Ncr);
  rep.Add("\tetta = 1 / (1 - N / Ncr) = 1 / (1 - ", с.N, " / ", Ncr, ") = ", etta,
          " - коэффициент влияния прогиба");
  const Число e = с.ec * etta;
  rep.Add("\te = ec * etta = ", с.ec, " * ", etta, " = ", e, " м - приведенный эксцентриситет");
  const Число Ne = Abs(с.N) * e;
  rep.Add("\tNe = N * e = ", с.N, " * ", e, " = ", Ne, " кН*м - приведенный момент");

  const Число T = с.Rb * 770 * с.Ab + с.Rs * 645 * с.Astot;
  rep.Add("\t", с.N, " = N <= (770 * Rb * Ab + 645 * Rs * Astot) = (770 * ", с.Rb, " * ", с.Ab,
          " + 645 * ", с.Rs, " * ", с.Astot, ") = ", T);
  const bool растянутая_работает = T >= с.N;
  const Число k1 = растянутая_работает ? 1 : 0;
  const Число k2 = растянутая_работает ? 2.55 : 1;
  rep.Add("\tk1 = ", k1, ", k2 = ", k2);

  const Число k = ОтносительныйУголСжатойЗоны(с, k1, k2, rep);

  Число fi = 0;
  if (растянутая_работает) {
    fi = k * ((Число(1) - k * 1.55) * 1.6);
    rep.Add("\tfi = 1.6 * (1 - 1.55 * k) * k = 1.6 * (1 - 1.55 * ", k, ") * ", k, " = ", fi,
            " <= 1 - коэффициент, учитывающий раб. растянутой арматуры");
    if (fi > 1) fi = 1;
  }

  const Число синус = Sin(с.P * k);
  Число Mpr = Степень(синус, 3) * (Число(2) / 3 * с.Rb * с.Ab * с.R / с.P) +
              (синус / с.P + fi) * (с.Astot * с.Rs) * с.ra;
  rep.Add(
      "\tMpr = 2 / 3 * Rb * Ab * R / P * (Sin(P * k) ^ 3) + Rs * Astot * (Sin(P * k) / P + fi) "
      "* ra = 2 / 3 * ",
      с.Rb, " * ", с.Ab, " * ", с.R, " / ", с.P, " * (Sin(", с.P, " * ", k, ") ^ 3) + ", с.Rs,
      " * ", с.Astot, " * (Sin(", с.P, " * ", k, ") / ", с.P, " + ", fi, ") * ", с.ra, " МН*м");
  Mpr = Mpr * 1000;
  rep.Add("\tMpr = 1000 * Mpr = ", Mpr, " кН*м");

  const double запас = ОпределитьЗапас(Mpr.v, Ne.v, с.метод);
  rep.Add("При сравнении величин Mpr = ", Mpr, " и Ne = ", Ne, " запас равен ", запас);
  return запас;
}

void ИсходныеДанные(double M, double N, double L0, double D, int16_t ns, int16_t ds, double Cov,
                    int16_t A, double B, Отчёт& rep) {
  // The class text repeats "I" A times; a negative count is an invalid argument.
  if (A < 0) Raise(kInvalidProcedureCall);
  rep.Add("Расчет запаса по прочности круглого ж.б. сечения (сваи), согласно СНиП 2.05.03-84*");
  rep.Add("1. Исходные данные:");
  rep.Add("\tПродольная ", N < 0 ? "растягивающая" : "сжимающая", " сила (N): ", N, " кН");
  rep.Add("\tИзгибающий момент (M): ", M, " кН*м");
  if (rep) rep.Add("\tКласс арматурной стали: А", std::string(static_cast<size_t>(A), 'I'));
  rep.Add("\tКласс бетона: B", B);
  rep.Add("\tРасчетная длина ж.б. элемента (Lo): ", L0, " м");
  rep.Add("\tДиаметр ж.б. сечения(d): ", D, " м");
  rep.Add("\tЧисло продольных стержней рабочей арматуры (nS): ", ns, " шт");
  rep.Add("\tДиаметр продольных стержней рабочей арматуры (Ds): ", ds, " мм");
  rep.Add("\tЗащитный слой рабочей арматуры (в свету): ", Cov, " м");
  rep.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  rep.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
}

}  // namespace

double МоментИнерцииСтержней(int16_t n, double ra, double d) {
  const Число P = Host().Pi();
  const Число шаг = Число(2) * P / n;
  Число угол = P / 2;
  Число S = 0;
  // The bar counter is a 16-bit integer: it cannot step past the largest count.
  for (int32_t i = 1; i <= n; ++i) {
    const Число y = Число(ra) * Sin(угол);
    S = S + Квадрат(y);
    угол = угол - шаг;
  }
  if (n == INT16_MAX) Raise(kOverflow);
  const Число A1 = P * 0.25 * Квадрат(d);
  const Число J1 = Степень(d, 4) * P / 64;
  return (A1 * S + J1 * n).v;
}

double мтRingStrength(double& M, double& N, double& L0, double& D, int16_t& ns, int16_t& ds,
                      double& Cov, int16_t& A, double& B, uint8_t& МетодОпределенияЗапаса,
                      std::string& Отчет, Отчёт* отчёт) {
  std::optional<Отчёт> свой;
  if (отчёт == nullptr) отчёт = &свой.emplace(Отчет);
  Отчёт& rep = *отчёт;
  ИсходныеДанные(M, N, L0, D, ns, ds, Cov, A, B, rep);

  // No force: the mean of a vanishing compression and a vanishing tension, without a report.
  if (N == 0) {
    std::string без_отчёта;
    double сжатие = 1e-30;
    const double при_сжатии =
        мтRingStrength(M, сжатие, L0, D, ns, ds, Cov, A, B, МетодОпределенияЗапаса, без_отчёта);
    double растяжение = -1e-30;
    const double при_растяжении =
        мтRingStrength(M, растяжение, L0, D, ns, ds, Cov, A, B, МетодОпределенияЗапаса, без_отчёта);
    rep.List().Очистить();
    return ((Число(при_сжатии) + при_растяжении) / 2).v;
  }

  Свая с;
  с.M = M;
  с.N = N;
  с.L0 = L0;
  с.D = D;
  с.P = Host().Pi();
  с.метод = МетодОпределенияЗапаса;

  с.R = с.D / 2;
  rep.Add("\tR = d / 2 = ", D, " / 2 = ", с.R, " м - радиус ж.б.");
  с.ra = с.R - Cov - Число(ds) / 2000;
  rep.Add("\tra = R - Cov - Ds / 2000 = ", с.R, " - ", Cov, " - ", ds, " / 2000 = ", с.ra,
          " м - радиус до ц.т. арматуры");
  Эксцентриситеты(с, rep);

  Материалы(с, B, A, Variant(ds), rep);

  с.Jb = МоментИнерцииБетона(с);
  rep.Add("\tJb = P * d ^ 4 / 64 = ", с.P, " * ", D, " ^ 4 / 64 = ", с.Jb,
          " м4 - момент инерции бетонного сечения");
  с.Js = МоментИнерцииСтержней(ns, с.ra.v, (Число(ds) / 1000).v);
  rep.Add("\tJs = ", с.Js, " м4 - момент инерции арматуры");
  с.n1 = с.Es / с.Eb;
  rep.Add("\tn1 = Es / Eb = ", с.Es, " / ", с.Eb, " = ", с.n1,
          " - коэф. приведения арматуры к бетону");
  с.Ab = Квадрат(с.D) * (Число(0.25) * с.P);
  rep.Add("\tAb = 0.25 * P * d ^ 2 = 0.25 * ", с.P, " * ", D, " ^ 2 = ", с.Ab,
          " кв.м - площадь бетонного сечения");
  с.Astot = Квадрат(Число(ds) / 1000) * (Число(ns) * 0.25 * с.P);
  rep.Add("\tAstot = 0.25 * nS * P * (Ds / 1000) ^ 2 = 0.25 * ", ns, " * ", с.P, " * (", ds,
          " / 1000) ^ 2 = ", с.Astot, " кв.м - площадь арматуры");
  rep.Add("3. Основной расчёт:");

  const double запас = ОсновнойРасчёт(с, rep);
  rep.Finish();
  return запас;
}

double ПрочностьСваиСТрубой(double M, double N, double L0, double D, double Fs, double Cov,
                            int16_t A, double B, uint8_t Метод) {
  Отчёт без_отчёта("");
  Свая с;
  с.M = M;
  с.N = N;
  с.L0 = L0;
  с.D = D;
  с.P = Host().Pi();
  с.метод = Метод;

  // The tube: outer radius at the cover, inner radius from its area, the wall between them.
  const Число Ro = с.D / 2 - Cov;
  const Число Ri = Sqrt(((Квадрат(Ro) * с.P - Число(Fs) / 10000) / с.P).v);
  const Число t = Ro - Ri;
  с.R = с.D / 2;
  с.ra = с.R - Cov - t / 2;
  Эксцентриситеты(с, без_отчёта);

  // The wall thickness stands in the place of the bar diameter.
  Материалы(с, B, A, Variant(t.v), без_отчёта);

  с.Jb = МоментИнерцииБетона(с);
  с.Js = с.P * Степень(Число(2) * Ro, 4) / 64 - с.P * Степень(Число(2) * Ri, 4) / 64;
  с.n1 = с.Es / с.Eb;
  с.Ab = Квадрат(с.D) * (Число(0.25) * с.P);
  с.Astot = Число(Fs) / 10000;
  return ОсновнойРасчёт(с, без_отчёта);
}

}  // namespace armocalc
