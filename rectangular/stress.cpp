// Elastic stresses of a cracked rectangular section (the bridge code, Table 38): the concrete in
// tension is ignored, the steel is turned into concrete by the ratio ni, and the height of the
// compressed zone is found by a damped fixed-point iteration on that transformed section.

#include "rectangular/stress.hpp"

#include <cmath>
#include <string>

#include "kernel/report.hpp"
#include "kernel/report_blocks.hpp"
#include "materials/bars.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"

namespace armocalc {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kДиаметрДляRs = 10.0;

double СвойствоБетона(float& КлассБетона, uint8_t код) {
  return мтБетон(КлассБетона, код);
}

// The input section of the report, shared in wording with the strength check.
void ИсходныеДанные(Отчёт& rep, uint8_t КлассАрматурнойСтали, float КлассБетона, double N, double M,
                    double Fв, double Fн, double ав, double ан, double h, double b) {
  if (!rep) return;
  rep.Add(
      "Расчет напряжения в арматуре и бетоне в [МПа], вычисляемое по формулам СНиП 2.05.03-84* "
      "Таблица 38");
  rep.Add("1. Исходные данные:");
  ДобавитьСилуИМомент(rep, N, M);
  ДобавитьКлассыМатериалов(rep, КлассАрматурнойСтали, КлассБетона);
  ДобавитьРазмерыСечения(rep, h, b);
  ДобавитьПлощадиИРасстояния(rep, Fв, Fн, ав, ан);
  rep.Add("\t", "(Дополнительные данные будут объявляться в ходе расчёта)");
  rep.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
}

// The stretched layer (Fs, as) and the compressed one (Fsi, asi); areas in m².
struct Слои {
  double Fs;
  double as;
  double Fsi;
  double asi;
};

Слои РазложитьПоСлоям(double M, double Fв, double Fн, double ав, double ан) {
  if (M >= 0) return {Div(Fн, 10000.0), ан, Div(Fв, 10000.0), ав};
  return {Div(Fв, 10000.0), ав, Div(Fн, 10000.0), ан};
}

// Bar diameter and spacing (m) of the stretched (d, s) and the compressed (di, si) layer, with P
// the π of the bars' own inertia; all zero when the bars' inertia is not wanted.
struct Стержни {
  double d = 0;
  double s = 0;
  double di = 0;
  double si = 0;
  double P = 0;
  bool собственные = false;  // the bars' own inertia is added
};

Стержни ПодобратьСтержни(bool ОпределятьСМИ, const Слои& слои, double b) {
  Стержни стержни;
  if (!ОпределятьСМИ) return стержни;
  ДиаметрИШагСтержней(стержни.d, стержни.s, Div(слои.Fs, b), 1);
  ДиаметрИШагСтержней(стержни.di, стержни.si, Div(слои.Fsi, b), 1);
  стержни.P = kPi;
  стержни.собственные = true;
  return стержни;
}

// Two steps in this order: a negative height h therefore yields h, not 0.
double Ограничить(double X, double h) {
  if (X < 0) X = 0;
  if (X > h) X = h;
  return X;
}

// Everything one pass needs besides the moving height X.
struct Сечение {
  double N;
  double M;
  double h;
  double b;
  double ni;
  Слои слои;
  Стержни стержни;
};

// The bars' own inertia of one layer, (P * d ^ 4 / 64) * b / s, F the layer's area.
double СвоиСтержней(double P, double d, double b, double s, double F) {
  // A layer of area 0 has no bars and no layout (d = s = 0): it adds 0 instead of 0 / 0.
  if (F == 0) return 0;
  return Div(Mul(Div(Mul(P, Pow(d, 4.0)), 64.0), b), s);
}

// Moment of inertia of the transformed section about its centroid (m⁴).
double МоментИнерции(Отчёт& rep, const Сечение& сечение, double X, double Fb, double cb, double cs,
                     double csi) {
  const double b = сечение.b;
  const double ni = сечение.ni;
  const double Fs = сечение.слои.Fs;
  const double Fsi = сечение.слои.Fsi;
  const double бетон = Add(Div(Mul(b, Pow(X, 3.0)), 12.0), Mul(Mul(Fb, cb), cb));
  const double растянутая = Mul(Mul(Fs, cs), cs);
  const double сжатая = Mul(Mul(Fsi, csi), csi);
  rep.Add("\t", "Момент инерции приведённого сечения:");
  if (!сечение.стержни.собственные) {
    const double Jred = Add(бетон, Mul(ni, Add(растянутая, сжатая)));
    rep.Add("\t",
            "Jred = b * X ^ 3 / 12 + Fb * cb * cb + ni * (Fs * cs * cs + Fsi * csi * csi) = ", b,
            " * ", X, " ^ 3 / 12 + ", Fb, " * ", cb, " * ", cb, " + ", ni, " * (", Fs, " * ", cs,
            " * ", cs, " + ", Fsi, " * ", csi, " * ", csi, ") = ", Jred, " м4");
    return Jred;
  }
  const Стержни& ст = сечение.стержни;
  const double своиРастянутой = СвоиСтержней(ст.P, ст.d, b, ст.s, Fs);
  const double своиСжатой = СвоиСтержней(ст.P, ст.di, b, ст.si, Fsi);
  const double Jred =
      Add(бетон, Mul(ni, Add(Add(Add(своиРастянутой, растянутая), своиСжатой), сжатая)));
  rep.Add("\t",
          "Jred = b * X ^ 3 / 12 + Fb * cb * cb + ni * ((P * d ^ 4 / 64) * b / s + Fs * cs * cs + "
          "(P * di ^ 4 / 64) * b / si + Fsi * csi * csi) = ",
          b, " * ", X, " ^ 3 / 12 + ", Fb, " * ", cb, " * ", cb, " + ", ni, " * ((", ст.P, " * ",
          ст.d, " ^ 4 / 64) * ", b, " / ", ст.s, " + ", Fs, " * ", cs, " * ", cs, " + (", ст.P,
          " * ", ст.di, " ^ 4 / 64) * ", b, " / ", ст.si, " + ", Fsi, " * ", csi, " * ", csi,
          ") = ", Jred, " м4");
  return Jred;
}

// One pass at the height X: the stresses go to Sb, Ss, Ssi (which hold the static moments while
// the pass runs); returns the corrected height.
double Проход(Отчёт& rep, const Сечение& сечение, double X, double& Sb, double& Ss, double& Ssi) {
  const double h = сечение.h;
  const double b = сечение.b;
  const double ni = сечение.ni;
  const auto& [Fs, as, Fsi, asi] = сечение.слои;

  const double Fb = Mul(b, X);
  rep.Add("\t", "Fb = b * X = ", b, " * ", X, " = ", Fb, " кв.м - площадь сжатого бетона");
  const double Fred = Add(Fb, Mul(Add(Fs, Fsi), ni));
  rep.Add("\t", "Fred = Fb + (Fsi + Fs) * ni = ", Fb, " + (", Fsi, " + ", Fs, ") * ", ni, " = ",
          Fred, " кв.м - площадь приведённого сечения (арматура приведена к бетону)");

  const double yb = Sub(h, Div(X, 2.0));
  rep.Add("\t", "yb = h - X / 2 = ", h, " - ", X, " / 2 = ", yb,
          " м - расстояние от нейтральной оси до ц.т. сжатой зоны бетона");
  const double ys = as;
  rep.Add("\t", "ys = аs = ", as, "м - расстояние от нейтральной оси до ц.т. растянутой арматуры");
  const double ysi = Sub(h, asi);
  rep.Add("\t", "ysi = h - аsi = ", h, " - ", asi, " = ", ysi,
          " м - расстояние от нейтральной оси до ц.т. сжатой арматуры");

  Sb = Mul(Fb, yb);
  rep.Add("\t", "Sb = Fb * yb = ", Fb, " * ", yb, " = ", Sb,
          " куб.м - статический момент сжатой зоны бетона относительно нейтральной оси");
  Ss = Mul(Fs, ys);
  rep.Add("\t", "Ss = Fs * ys = ", Fs, " * ", ys, " = ", Ss,
          " куб.м - статический момент растянутой арматуры относительно нейтральной оси");
  Ssi = Mul(Fsi, ysi);
  rep.Add("\t", "Ssi = Fsi * ysi = ", Fsi, " * ", ysi, " = ", Ssi,
          " куб.м - статический момент сжатой арматуры относительно нейтральной оси");

  const double Sred = Add(Sb, Mul(Add(Ss, Ssi), ni));
  rep.Add("\t", "Sred = Sb + (Ss + Ssi) * ni = ", Sb, " + (", Ss, " + ", Ssi, ") * ", ni, " = ",
          Sred, " куб.м - статический момент приведённого сечения относительно нейтральной оси");
  const double yred = Div(Sred, Fred);
  rep.Add("\t", "yred = Sred / Fred = ", Sred, " / ", Fred, " = ", yred,
          " м - расстояние от нейтральной оси до ц.т. приведённого сечения");

  const double cb = Sub(Sub(h, yred), Div(X, 2.0));
  rep.Add("\t", "cb = h - yred - X / 2 = ", h, " - ", yred, " - ", X, " / 2 = ", cb,
          " м - расстояние от ц.т. приведённого сечения до ц.т. сжатой зоны бетона");
  const double cs = Sub(yred, ys);
  rep.Add("\t", "cs = yred - ys = ", yred, " - ", ys, " = ", cs,
          " м - расстояние от ц.т. приведённого сечения до ц.т. растянутой арматуры");
  const double csi = Sub(Sub(h, yred), asi);
  rep.Add("\t", "csi = h - yred - аsi = ", h, " - ", yred, " - ", asi, " = ", csi,
          " м - расстояние от ц.т. приведённого сечения до ц.т. сжатой арматуры");

  const double Jred = МоментИнерции(rep, сечение, X, Fb, cb, cs, csi);

  const double Li = Sub(X, asi);
  rep.Add("\t", "Li = X - аsi = ", X, " - ", asi, " = ", Li,
          "м - расстояние между границей сжатия/растяжения в бетоне и ц.т. сжатой арматуры");
  const double L = Sub(Sub(h, X), as);
  rep.Add("\t", "L = h - X - аs = ", h, " - ", X, " - ", as, " = ", L,
          " м - расстояние между границей сжатия/растяжения в бетоне и ц.т. растянутой арматуры");

  const double N = сечение.N;
  const double M = сечение.M;
  const double отСилы = Div(std::fabs(N), Fred);
  Sb = Add(отСилы, Div(Mul(X, std::fabs(M)), Jred));
  rep.Add("\t", "Sb = Abs(N) / Fred + X * Abs(M) / Jred = Abs(", N, ") / ", Fred, " + ", X,
          " * Abs(", M, ") / ", Jred, " = ", Sb,
          " МПа - максимальное напряжение в сжатой части бетона");
  Ss = Mul(Add(отСилы, Div(Mul(L, std::fabs(M)), Jred)), ni);
  rep.Add("\t", "Ss = (Abs(N) / Fred + L * Abs(M) / Jred) * ni = (Abs(", N, ") / ", Fred, " + ", L,
          " * Abs(", M, ") / ", Jred, ") * ", ni, " = ", Ss,
          " МПа - напряжение в растянутой арматуре");
  Ssi = Mul(Add(отСилы, Div(Mul(Li, std::fabs(M)), Jred)), ni);
  rep.Add("\t", "Ssi = (Abs(N) / Fred + Li * Abs(M) / Jred) * ni = (Abs(", N, ") / ", Fred, " + ",
          Li, " * Abs(", M, ") / ", Jred, ") * ", ni, " = ", Ssi,
          " МПа - напряжение в сжатой арматуре");

  if (Sb == 0) {
    rep.Add("\t", "т.к. Sb = 0, то X = 0");
    return 0;
  }
  int32_t k = 1;
  int32_t ki = 1;
  if (X <= Sub(h, as) && X >= asi) {
    ki = -1;
    rep.Add(
        "\t",
        "Граница сжатой зоны находится между верхней и нижней арматурой, поэтому k = 1, ki = -1");
  } else if (X >= asi) {
    k = -1;
    ki = -1;
    rep.Add("\t", "Граница сжатой зоны находится ниже нижней арматуры, поэтому k = -1, ki = -1");
  } else {
    rep.Add("\t", "Граница сжатой зоны находится выше верхней арматуры, поэтому k = 1, ki = 1");
  }
  const double числитель = Add(Add(N, Mul(Mul(k, Ss), Fs)), Mul(Mul(ki, Ssi), Fsi));
  const double новыйX = Div(числитель, Mul(Sb, b));
  rep.Add("\t", "X = (N + k * Ss * Fs + ki * Ssi * Fsi) / (Sb * b) = (", N, " + ", k, " * ", Ss,
          " * ", Fs, " + ", ki, " * ", Ssi, " * ", Fsi, ") / (", Sb, " * ", b, ") = ", новыйX,
          " м - коррекция высоты сжатой зоны бетона");
  return Ограничить(новыйX, h);
}

}  // namespace

std::string ИмяОтчетаНапряжений(std::string_view Отчет) {
  // A backslash and "/" both end a folder, and a name without a folder gets the prefix in front of
  // the whole name (counting from a missing backslash would cut the name apart). Both separators
  // are ASCII, so a byte search in the UTF-8 text finds whole characters.
  const size_t folder_end = Отчет.find_last_of("\\/");
  const size_t name_start = folder_end == std::string_view::npos ? 0 : folder_end + 1;
  std::string path(Отчет.substr(0, name_start));
  path += "Stress-";
  path += Отчет.substr(name_start);
  return path;
}

double мтНапряжение(uint8_t КлассАрматурнойСтали, float КлассБетона, double N, double M, double Fв,
                    double Fн, double ав, double ан, double h, double B, uint8_t Где,
                    bool ОпределятьСМИ, int32_t ТипКонструкции, bool Фиброползучесть,
                    double Точность, double& Sb, double& Ss, double& Ssi,
                    const std::string& Отчет) {
  Отчёт rep(Отчет.empty() ? std::string() : ИмяОтчетаНапряжений(Отчет));
  const double b = B;
  ИсходныеДанные(rep, КлассАрматурнойСтали, КлассБетона, N, M, Fв, Fн, ав, ан, h, b);

  double ni = 0;
  if (Фиброползучесть) {
    ni = СвойствоБетона(КлассБетона, 9);
  } else {
    const double Es = EsValue(КлассАрматурнойСтали);
    ni = Div(Es, СвойствоБетона(КлассБетона, 8));
  }
  rep.Add("\t", "Коэффициент приведения арматуры к бетону, согласно п. 3.48*: ni = ", ni);
  const double Rb = СвойствоБетона(КлассБетона, 1);
  rep.Add("\t", "Rb = ", Rb, " МПа");
  const double Rs =
      RsValue(КлассАрматурнойСтали, kДиаметрДляRs, CByte(static_cast<double>(ТипКонструкции)));
  rep.Add("\t", "Rsc = Rs = ", Rs, " МПа");

  const Слои слои = РазложитьПоСлоям(M, Fв, Fн, ав, ан);
  const auto& [Fs, as, Fsi, asi] = слои;
  const Стержни стержни = ПодобратьСтержни(ОпределятьСМИ, слои, b);
  rep.Add("\t", "Параметры сжатого (или наименее растянутого) ряда арматуры:", "\r", "Fsi = ", Fsi,
          " кв.м, аsi = ", asi, " м", "\r", "di = ", стержни.di, " м, si = ", стержни.si,
          " м - подобрано по площади армирования");
  rep.Add("\t", "Параметры растянутого (или наименее сжатого) ряда арматуры:", "\r", "Fs = ", Fs,
          " кв.м, аs = ", as, " м", "\r", "d = ", стержни.d, " м, s = ", стержни.s,
          " м - подобрано по площади армирования");

  double X = Div(Sub(Add(Mul(Fs, Rs), N), Mul(Fsi, Rs)), Mul(Rb, b));
  rep.Add("\t",
          "Предварительная высота сжатой зоны бетона: X = (N + Rs * Fs - Rsc * Fsi) / (Rb * b) = (",
          N, " + ", Rs, " * ", Fs, " - ", Rs, " * ", Fsi, ") / (", Rb, " * ", b, ") = ", X, " м");
  X = Ограничить(X, h);
  double x_back = X;
  rep.Add("\t", "x_back = X = ", x_back, " м");

  const Сечение сечение{N, M, h, b, ni, слои, стержни};
  int32_t n = 0;
  do {
    rep.Add("Итерация номер: ", n);
    X = Div(Add(X, x_back), 2.0);
    rep.Add("\t", "X = (x_back + X) / 2 = ", X, " м");
    x_back = X;
    X = Проход(rep, сечение, X, Sb, Ss, Ssi);
    ++n;
  } while (std::fabs(X - x_back) >= Точность && n < kПроходовНапряжений);

  rep.Add("\t", "Результат вычислений: Sb = ", Sb, " МПа, Ss = ", Ss, " МПа, Ssi = ", Ssi, " МПа");
  double result = 0;
  if (Где == 0) result = Sb;
  if (Где == 1) result = Ss;
  if (Где == 2) result = Ssi;
  rep.Finish();
  return result;
}

}  // namespace armocalc
