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
#include "runtime/checked_number.hpp"

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
  Число Fs;
  Число as;
  Число Fsi;
  Число asi;
};

Слои РазложитьПоСлоям(double M, double Fв, double Fн, double ав, double ан) {
  if (M >= 0) return {Число(Fн) / 10000, ан, Число(Fв) / 10000, ав};
  return {Число(Fв) / 10000, ав, Число(Fн) / 10000, ан};
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
  ДиаметрИШагСтержней(стержни.d, стержни.s, (слои.Fs / b).v, 1);
  ДиаметрИШагСтержней(стержни.di, стержни.si, (слои.Fsi / b).v, 1);
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
Число СвоиСтержней(double P, double d, double b, double s, Число F) {
  // A layer of area 0 has no bars and no layout (d = s = 0): it adds 0 instead of 0 / 0.
  if (F == 0) return 0;
  return Число(P) * Степень(d, 4) / 64 * b / s;
}

// Moment of inertia of the transformed section about its centroid (m⁴).
Число МоментИнерции(Отчёт& rep, const Сечение& сечение, Число X, Число Fb, Число cb, Число cs,
                    Число csi) {
  const Число b = сечение.b;
  const Число ni = сечение.ni;
  const Число Fs = сечение.слои.Fs;
  const Число Fsi = сечение.слои.Fsi;
  const Число бетон = b * Степень(X, 3) / 12 + Fb * cb * cb;
  const Число растянутая = Fs * cs * cs;
  const Число сжатая = Fsi * csi * csi;
  rep.Add("\t", "Момент инерции приведённого сечения:");
  if (!сечение.стержни.собственные) {
    const Число Jred = бетон + ni * (растянутая + сжатая);
    rep.Add("\t",
            "Jred = b * X ^ 3 / 12 + Fb * cb * cb + ni * (Fs * cs * cs + Fsi * csi * csi) = ", b,
            " * ", X, " ^ 3 / 12 + ", Fb, " * ", cb, " * ", cb, " + ", ni, " * (", Fs, " * ", cs,
            " * ", cs, " + ", Fsi, " * ", csi, " * ", csi, ") = ", Jred, " м4");
    return Jred;
  }
  const Стержни& ст = сечение.стержни;
  const Число своиРастянутой = СвоиСтержней(ст.P, ст.d, b.v, ст.s, Fs);
  const Число своиСжатой = СвоиСтержней(ст.P, ст.di, b.v, ст.si, Fsi);
  const Число Jred = бетон + ni * (своиРастянутой + растянутая + своиСжатой + сжатая);
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
double Проход(Отчёт& rep, const Сечение& сечение, Число X, double& Sb, double& Ss, double& Ssi) {
  const Число h = сечение.h;
  const Число b = сечение.b;
  const Число ni = сечение.ni;
  const auto& [Fs, as, Fsi, asi] = сечение.слои;

  const Число Fb = b * X;
  rep.Add("\t", "Fb = b * X = ", b, " * ", X, " = ", Fb, " кв.м - площадь сжатого бетона");
  const Число Fred = Fb + (Fs + Fsi) * ni;
  rep.Add("\t", "Fred = Fb + (Fsi + Fs) * ni = ", Fb, " + (", Fsi, " + ", Fs, ") * ", ni, " = ",
          Fred, " кв.м - площадь приведённого сечения (арматура приведена к бетону)");

  const Число yb = h - X / 2;
  rep.Add("\t", "yb = h - X / 2 = ", h, " - ", X, " / 2 = ", yb,
          " м - расстояние от нейтральной оси до ц.т. сжатой зоны бетона");
  const Число ys = as;
  rep.Add("\t", "ys = аs = ", as, "м - расстояние от нейтральной оси до ц.т. растянутой арматуры");
  const Число ysi = h - asi;
  rep.Add("\t", "ysi = h - аsi = ", h, " - ", asi, " = ", ysi,
          " м - расстояние от нейтральной оси до ц.т. сжатой арматуры");

  Sb = (Fb * yb).v;
  rep.Add("\t", "Sb = Fb * yb = ", Fb, " * ", yb, " = ", Sb,
          " куб.м - статический момент сжатой зоны бетона относительно нейтральной оси");
  Ss = (Fs * ys).v;
  rep.Add("\t", "Ss = Fs * ys = ", Fs, " * ", ys, " = ", Ss,
          " куб.м - статический момент растянутой арматуры относительно нейтральной оси");
  Ssi = (Fsi * ysi).v;
  rep.Add("\t", "Ssi = Fsi * ysi = ", Fsi, " * ", ysi, " = ", Ssi,
          " куб.м - статический момент сжатой арматуры относительно нейтральной оси");

  const Число Sred = Число(Sb) + (Число(Ss) + Ssi) * ni;
  rep.Add("\t", "Sred = Sb + (Ss + Ssi) * ni = ", Sb, " + (", Ss, " + ", Ssi, ") * ", ni, " = ",
          Sred, " куб.м - статический момент приведённого сечения относительно нейтральной оси");
  const Число yred = Sred / Fred;
  rep.Add("\t", "yred = Sred / Fred = ", Sred, " / ", Fred, " = ", yred,
          " м - расстояние от нейтральной оси до ц.т. приведённого сечения");

  const Число cb = h - yred - X / 2;
  rep.Add("\t", "cb = h - yred - X / 2 = ", h, " - ", yred, " - ", X, " / 2 = ", cb,
          " м - расстояние от ц.т. приведённого сечения до ц.т. сжатой зоны бетона");
  const Число cs = yred - ys;
  rep.Add("\t", "cs = yred - ys = ", yred, " - ", ys, " = ", cs,
          " м - расстояние от ц.т. приведённого сечения до ц.т. растянутой арматуры");
  const Число csi = h - yred - asi;
  rep.Add("\t", "csi = h - yred - аsi = ", h, " - ", yred, " - ", asi, " = ", csi,
          " м - расстояние от ц.т. приведённого сечения до ц.т. сжатой арматуры");

  const Число Jred = МоментИнерции(rep, сечение, X, Fb, cb, cs, csi);

  const Число Li = X - asi;
  rep.Add("\t", "Li = X - аsi = ", X, " - ", asi, " = ", Li,
          "м - расстояние между границей сжатия/растяжения в бетоне и ц.т. сжатой арматуры");
  const Число L = h - X - as;
  rep.Add("\t", "L = h - X - аs = ", h, " - ", X, " - ", as, " = ", L,
          " м - расстояние между границей сжатия/растяжения в бетоне и ц.т. растянутой арматуры");

  const Число N = сечение.N;
  const double M = сечение.M;
  const Число отСилы = std::fabs(N.v) / Fred;
  Sb = (отСилы + X * std::fabs(M) / Jred).v;
  rep.Add("\t", "Sb = Abs(N) / Fred + X * Abs(M) / Jred = Abs(", N, ") / ", Fred, " + ", X,
          " * Abs(", M, ") / ", Jred, " = ", Sb,
          " МПа - максимальное напряжение в сжатой части бетона");
  Ss = ((отСилы + L * std::fabs(M) / Jred) * ni).v;
  rep.Add("\t", "Ss = (Abs(N) / Fred + L * Abs(M) / Jred) * ni = (Abs(", N, ") / ", Fred, " + ", L,
          " * Abs(", M, ") / ", Jred, ") * ", ni, " = ", Ss,
          " МПа - напряжение в растянутой арматуре");
  Ssi = ((отСилы + Li * std::fabs(M) / Jred) * ni).v;
  rep.Add("\t", "Ssi = (Abs(N) / Fred + Li * Abs(M) / Jred) * ni = (Abs(", N, ") / ", Fred, " + ",
          Li, " * Abs(", M, ") / ", Jred, ") * ", ni, " = ", Ssi,
          " МПа - напряжение в сжатой арматуре");

  if (Sb == 0) {
    rep.Add("\t", "т.к. Sb = 0, то X = 0");
    return 0;
  }
  int32_t k = 1;
  int32_t ki = 1;
  if (X <= h - as && X >= asi) {
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
  const Число числитель = N + Число(k) * Ss * Fs + Число(ki) * Ssi * Fsi;
  const Число новыйX = числитель / (Число(Sb) * b);
  rep.Add("\t", "X = (N + k * Ss * Fs + ki * Ssi * Fsi) / (Sb * b) = (", N, " + ", k, " * ", Ss,
          " * ", Fs, " + ", ki, " * ", Ssi, " * ", Fsi, ") / (", Sb, " * ", b, ") = ", новыйX,
          " м - коррекция высоты сжатой зоны бетона");
  return Ограничить(новыйX.v, h.v);
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
    ni = (Число(Es) / СвойствоБетона(КлассБетона, 8)).v;
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

  double X = ((Fs * Rs + N - Fsi * Rs) / (Число(Rb) * b)).v;
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
    X = ((Число(X) + x_back) / 2).v;
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
