// Circular pile section: the input lines, the geometry, the materials and the section
// properties, then the slenderness, the compressed-zone iteration and the limit moment shared
// with the tube-reinforced pile.

#include "circular/pile_strength.hpp"

#include <optional>
#include <string>

#include "circular/circle_common.hpp"
#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "kernel/stability.hpp"
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
void Эксцентриситеты(Свая& свая, Отчёт& rep) {
  свая.ec = Abs(свая.M) / Abs(свая.N) + свая.L0 / 400;
  rep.Add("\tec = M / N + L0 / 400 = ", свая.M, " / ", свая.N, " + ", свая.L0, " / 400 = ", свая.ec,
          " м - эксцентриситет");
  свая.Ml = свая.M;
  rep.Add("\tMl = ", свая.Ml, " кН*м - момент от постоянной нагрузки");
  свая.Nl = свая.N;
  rep.Add("\tNl = ", свая.Nl, " кН - продольная сила от постоянной нагрузки");
  свая.M_ = свая.M / свая.N + свая.L0 / 400 + свая.ra / 2;
  rep.Add("\tM_ = M / N + L0 / 400 + ra / 2 = ", свая.M, " / ", свая.N, " + ", свая.L0, " / 400 + ",
          свая.ra, " / 2 = ", свая.M_, " кН*м - привед. момент от полной нагрузки");
  свая.Ml_ = свая.Ml / свая.Nl + свая.L0 / 400 + свая.ra / 2;
  rep.Add("\tMl_ = Ml / Nl + L0 / 400 + ra / 2 = ", свая.Ml, " / ", свая.Nl, " + ", свая.L0,
          " / 400 + ", свая.ra, " / 2 = ", свая.Ml_,
          " кН*м - привед. момент от постоянной нагрузки");
}

// Rb of classes above B30 is taken at B30; the modulus is the class's own. `Rs` is requested
// between the two concrete properties, as the steel of the section decides its diameter.
void Материалы(Свая& свая, double B, int16_t A, const Variant& диаметр, Отчёт& rep) {
  свая.Rb = Бетон(B, kКодRb);
  if (B > kКлассОграниченияRb) свая.Rb = Бетон(kКлассОграниченияRb, kКодRb);
  rep.Add("\tRb = ", свая.Rb, " МПа");
  свая.Rs = ЗначениеСтали(СНиП_Rs(Variant(A), диаметр, kТипДорожный));
  rep.Add("\tRs = ", свая.Rs, " МПа");
  свая.Eb = Бетон(B, kКодEb);
  rep.Add("\tEb = ", свая.Eb, " МПа");
  свая.Es = ЗначениеСтали(СНиП_Es(Variant(A)));
  rep.Add("\tEs = ", свая.Es, " МПа");
}

Число МоментИнерцииБетона(const Свая& свая) {
  return свая.P * Степень(свая.D, 4) / 64;
}

// The relative angle of the compressed zone by fixed-point iteration, to a quantum of Eps.
Число ОтносительныйУголСжатойЗоны(const Свая& свая, Число k1, Число k2, Отчёт& rep) {
  rep.Add("\tEps = 0.00001");
  const Число Eps = 0.00001;
  Число kp = 0.25;
  Число k = 0;
  // Every "k = " line repeats the same constants around k: their text is made once.
  const std::string до_k = rep.Text(
      "\tk = (N / 1000 + k1 * Rs * Astot + Rb * Ab * (Sin(2 * P * k) / (2 * P))) / (Rb * Ab "
      "+ k2 * Rs * Astot) = (",
      свая.N, " / 1000 + ", k1, " * ", свая.Rs, " * ", свая.Astot, " + ", свая.Rb, " * ", свая.Ab,
      " * (Sin(2 * ", свая.P, " * ");
  const std::string после_k = rep.Text(") / (2 * ", свая.P, "))) / (", свая.Rb, " * ", свая.Ab,
                                       " + ", k2, " * ", свая.Rs, " * ", свая.Astot, ") = ");
  // An alternation between two quanta never meets the tolerance: the last value is kept.
  for (int32_t вычислено = 0; вычислено < circular::kНаибольшееЧислоЗначенийK; ++вычислено) {
    if (Int((k / Eps).v) == Int((kp / Eps).v)) break;
    kp = k;
    k = (k1 * свая.Rs * свая.Astot + свая.N / 1000 +
         Sin(Число(2) * свая.P * kp) / (Число(2) * свая.P) * (свая.Rb * свая.Ab)) /
        (k2 * свая.Rs * свая.Astot + свая.Rb * свая.Ab);
    rep.Add(до_k, k, после_k, k);
  }
  return k;
}

// Slenderness, the reinforcement regime, the compressed zone, the limit moment and the margin.
double ОсновнойРасчёт(const Свая& свая, Отчёт& rep) {
  const Число fiL = свая.Ml_ / свая.M_ + 1;
  rep.Add("\tfiL = 1 + Ml_ / M_ = 1 + ", свая.Ml_, " / ", свая.M_, " = ", fiL);
  Число delta = свая.ec / свая.D;
  const Число delta_min = Число(0.5) - Число(0.01) * свая.L0 / свая.D - Число(0.01) * свая.Rb;
  if (delta_min > delta) delta = delta_min;
  rep.Add("\tdelta = ", delta);
  const Число Ncr = ((Число(0.11) / (delta + 0.1) + 0.1) * (свая.Jb / fiL) + свая.n1 * свая.Js) *
                    (свая.Eb * 6400) / Квадрат(свая.L0);
  rep.Add(
      "\tNcr = 6400 * Eb * (Jb / fiL * (0.11 / (0.1 + delta) + 0.1) + n1 * Js) / L0 ^ 2 = 6400 "
      "* ",
      свая.Eb, " * (", свая.Jb, " / ", fiL, " * (0.11 / (0.1 + ", delta, ") + 0.1) + ", свая.n1,
      " * ", свая.Js, ") / ", свая.L0, " ^ 2 = ", Ncr, " МН - условная критическая сила");

  // A force at or above the critical one: the pile buckles, whatever its section could carry.
  if (УстойчивостьНеОбеспечена(Abs(свая.N), Ncr)) {
    return ЗапасНеустойчивогоЭлемента(свая.N.v, свая.метод, rep);
  }
  const Число etta = Число(1) / (Число(1) - Abs(свая.N) / Ncr);
  rep.Add("\tetta = 1 / (1 - N / Ncr) = 1 / (1 - ", свая.N, " / ", Ncr, ") = ", etta,
          " - коэффициент влияния прогиба");
  const Число e = свая.ec * etta;
  rep.Add("\te = ec * etta = ", свая.ec, " * ", etta, " = ", e, " м - приведенный эксцентриситет");
  const Число Ne = Abs(свая.N) * e;
  rep.Add("\tNe = N * e = ", свая.N, " * ", e, " = ", Ne, " кН*м - приведенный момент");

  const Число T = свая.Rb * 770 * свая.Ab + свая.Rs * 645 * свая.Astot;
  rep.Add("\t", свая.N, " = N <= (770 * Rb * Ab + 645 * Rs * Astot) = (770 * ", свая.Rb, " * ",
          свая.Ab, " + 645 * ", свая.Rs, " * ", свая.Astot, ") = ", T);
  const bool растянутая_работает = T >= свая.N;
  const Число k1 = растянутая_работает ? 1 : 0;
  const Число k2 = растянутая_работает ? 2.55 : 1;
  rep.Add("\tk1 = ", k1, ", k2 = ", k2);

  const Число k = ОтносительныйУголСжатойЗоны(свая, k1, k2, rep);

  Число fi = 0;
  if (растянутая_работает) {
    fi = k * ((Число(1) - k * 1.55) * 1.6);
    rep.Add("\tfi = 1.6 * (1 - 1.55 * k) * k = 1.6 * (1 - 1.55 * ", k, ") * ", k, " = ", fi,
            " <= 1 - коэффициент, учитывающий раб. растянутой арматуры");
    if (fi > 1) fi = 1;
  }

  const Число синус = Sin(свая.P * k);
  Число Mpr = Степень(синус, 3) * (Число(2) / 3 * свая.Rb * свая.Ab * свая.R / свая.P) +
              (синус / свая.P + fi) * (свая.Astot * свая.Rs) * свая.ra;
  rep.Add(
      "\tMpr = 2 / 3 * Rb * Ab * R / P * (Sin(P * k) ^ 3) + Rs * Astot * (Sin(P * k) / P + fi) "
      "* ra = 2 / 3 * ",
      свая.Rb, " * ", свая.Ab, " * ", свая.R, " / ", свая.P, " * (Sin(", свая.P, " * ", k,
      ") ^ 3) + ", свая.Rs, " * ", свая.Astot, " * (Sin(", свая.P, " * ", k, ") / ", свая.P, " + ",
      fi, ") * ", свая.ra, " МН*м");
  Mpr = Mpr * 1000;
  rep.Add("\tMpr = 1000 * Mpr = ", Mpr, " кН*м");

  const double запас = ОпределитьЗапас(Mpr.v, Ne.v, свая.метод);
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

  Свая свая;
  свая.M = M;
  свая.N = N;
  свая.L0 = L0;
  свая.D = D;
  свая.P = Host().Pi();
  свая.метод = МетодОпределенияЗапаса;

  свая.R = свая.D / 2;
  rep.Add("\tR = d / 2 = ", D, " / 2 = ", свая.R, " м - радиус ж.б.");
  свая.ra = свая.R - Cov - Число(ds) / 2000;
  rep.Add("\tra = R - Cov - Ds / 2000 = ", свая.R, " - ", Cov, " - ", ds, " / 2000 = ", свая.ra,
          " м - радиус до ц.т. арматуры");
  Эксцентриситеты(свая, rep);

  Материалы(свая, B, A, Variant(ds), rep);

  свая.Jb = МоментИнерцииБетона(свая);
  rep.Add("\tJb = P * d ^ 4 / 64 = ", свая.P, " * ", D, " ^ 4 / 64 = ", свая.Jb,
          " м4 - момент инерции бетонного сечения");
  свая.Js = МоментИнерцииСтержней(ns, свая.ra.v, (Число(ds) / 1000).v);
  rep.Add("\tJs = ", свая.Js, " м4 - момент инерции арматуры");
  свая.n1 = свая.Es / свая.Eb;
  rep.Add("\tn1 = Es / Eb = ", свая.Es, " / ", свая.Eb, " = ", свая.n1,
          " - коэф. приведения арматуры к бетону");
  свая.Ab = Квадрат(свая.D) * (Число(0.25) * свая.P);
  rep.Add("\tAb = 0.25 * P * d ^ 2 = 0.25 * ", свая.P, " * ", D, " ^ 2 = ", свая.Ab,
          " кв.м - площадь бетонного сечения");
  свая.Astot = Квадрат(Число(ds) / 1000) * (Число(ns) * 0.25 * свая.P);
  rep.Add("\tAstot = 0.25 * nS * P * (Ds / 1000) ^ 2 = 0.25 * ", ns, " * ", свая.P, " * (", ds,
          " / 1000) ^ 2 = ", свая.Astot, " кв.м - площадь арматуры");
  rep.Add("3. Основной расчёт:");

  const double запас = ОсновнойРасчёт(свая, rep);
  rep.Finish();
  return запас;
}

double ПрочностьСваиСТрубой(double M, double N, double L0, double D, double Fs, double Cov,
                            int16_t A, double B, uint8_t Метод) {
  Отчёт без_отчёта("");
  Свая свая;
  свая.M = M;
  свая.N = N;
  свая.L0 = L0;
  свая.D = D;
  свая.P = Host().Pi();
  свая.метод = Метод;

  // The tube: outer radius at the cover, inner radius from its area, the wall between them.
  const Число Ro = свая.D / 2 - Cov;
  const Число Ri = Sqrt(((Квадрат(Ro) * свая.P - Число(Fs) / 10000) / свая.P).v);
  const Число t = Ro - Ri;
  свая.R = свая.D / 2;
  свая.ra = свая.R - Cov - t / 2;
  Эксцентриситеты(свая, без_отчёта);

  // The wall thickness stands in the place of the bar diameter.
  Материалы(свая, B, A, Variant(t.v), без_отчёта);

  свая.Jb = МоментИнерцииБетона(свая);
  свая.Js = свая.P * Степень(Число(2) * Ro, 4) / 64 - свая.P * Степень(Число(2) * Ri, 4) / 64;
  свая.n1 = свая.Es / свая.Eb;
  свая.Ab = Квадрат(свая.D) * (Число(0.25) * свая.P);
  свая.Astot = Число(Fs) / 10000;
  return ОсновнойРасчёт(свая, без_отчёта);
}

}  // namespace armocalc
