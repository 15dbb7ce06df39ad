// Inclined section with stirrups: the concrete strut (formula 94), the shear force over the most
// unfavourable inclined section found by a scan over the crack angle (formula 95*) and the moment
// of the reinforcement crossing it (formula 103).

#include "shear/stirrups.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/number_text.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

constexpr uint8_t kRb = 1;  // concrete property codes
constexpr uint8_t kRbt = 2;
constexpr uint8_t kRb_sh = 5;
constexpr uint8_t kEb = 8;

constexpr double kma4 = 0.8;               // working-condition factor of the stirrup steel
constexpr double kДиаметрПродольных = 12;  // mm: the longitudinal steel is taken as 12 mm bars
constexpr double kНаибольшееЧисло = 1.79769313486231E+308;  // start of the scan minima
constexpr double kПределQb1ВОтчёте = 99;                    // MN: larger Qb1 are shown as a dash
constexpr int32_t kПервыйУгол = 10;                         // degrees
constexpr int32_t kПоследнийУгол = 90;

// tan(Угол·4·atan(1)/180) of the scan's angles, computed once: the selection of stirrups runs
// the scan thousands of times.
Число ТангенсУгла(int32_t Угол) {
  static const std::array<double, kПоследнийУгол - kПервыйУгол + 1> тангенсы = [] {
    std::array<double, kПоследнийУгол - kПервыйУгол + 1> значения{};
    for (int32_t угол = kПервыйУгол; угол <= kПоследнийУгол; ++угол) {
      значения[static_cast<size_t>(угол - kПервыйУгол)] =
          std::tan((Число(угол * 4) * Atn(1) / 180).v);
    }
    return значения;
  }();
  return тангенсы[static_cast<size_t>(Угол - kПервыйУгол)];
}

// Report numbers written with fixed decimals ("#0.000" and "##0.00"); they are formatted only
// when the report is written.
struct F3 {
  Число значение;
};
struct F2 {
  Число значение;
};
// Qb1 of a scan line: a dash above 99 MN (C close to zero), otherwise "#0.000".
struct Qb1ВОтчёте {
  Число значение;
};

double Часть(Число x) {
  return x.v;
}
std::string Часть(F3 x) {
  return FixedText(x.значение.v, 3);
}
std::string Часть(F2 x) {
  return FixedText(x.значение.v, 2);
}
std::string Часть(Qb1ВОтчёте x) {
  return x.значение > kПределQb1ВОтчёте ? std::string("-.---") : FixedText(x.значение.v, 3);
}
template <class T>
const T& Часть(const T& x) {
  return x;
}

template <class... Parts>
void ВОтчёт(Отчёт& rep, const Parts&... parts) {
  if (rep) rep.Add(Часть(parts)...);
}

struct Расчёт {
  // Inputs (the routine changes none of the caller's variables).
  uint8_t класс_стали;
  float класс_бетона;
  Число Q;
  Число b;
  Число ho;
  Число s_wx;
  Число s_wz;
  Число dw_mm;
  Число h;
  Число M;
  Число Qн;
  double Awr_sm2;
  uint8_t класс_продольной;
  bool жд;
  uint8_t метод;
  double C_max;
  Отчёт& rep;

  Число Asw = 0, Awr = 0;
  Число Rb = 0, Rbt = 0, Rb_sh = 0, Eb = 0, Es = 0, n1 = 0, Rsw = 0, Rwr = 0;
  Число фb1 = 0, мюw = 0, фw1 = 0, Q1 = 0;
  Число Tq = 0, щ = 0, Qb2 = 0;
  Число Q2_min = kНаибольшееЧисло;
  Число Q3_min = kНаибольшееЧисло;
};

double СвойствоБетона(float класс, uint8_t код) {
  return мтБетон(класс, код);
}

// Section 1; a zero normative shear force stands for the design one, a zero height for ho.
void ИсходныеДанные(Расчёт& расч) {
  Отчёт& rep = расч.rep;
  ВОтчёт(rep,
         "Расчет по прочности наклонного сечения элементов с поперечной арматурой от действия "
         "поперечной силы и изгибающего момента, п.п. 3.77*, 3.78*, 3.83*, СНиП 2.05.03-84*");
  ВОтчёт(rep, "1. Исходные данные:");
  if (rep) ВОтчёт(rep, "\tКласс арматурной стали: ", КлассАрматурыТекст(расч.класс_стали));
  ВОтчёт(rep, "\tКласс бетона: B", расч.класс_бетона);
  ВОтчёт(rep,
         "\tПоперечная сила от расчетных нагрузок, приложенных к рассчитываемому элементу на "
         "расстоянии не ближе ho от оси опоры (Значение принимается по модулю) Q = ",
         расч.Q, " МН");
  ВОтчёт(rep, "\tРасстояние от сжатого края расчетного сечения до ц.т. растянутой арматуры (ho): ",
         расч.ho, " м");
  ВОтчёт(rep, "\tШирина расчетного сечения (b): ", расч.b, " м");
  ВОтчёт(rep, "\tШаг поперечного армирования вдоль оси X (s_wx): ", расч.s_wx, " м");
  ВОтчёт(rep, "\tШаг поперечного армирования вдоль оси Z (s_wz): ", расч.s_wz, " м");
  ВОтчёт(rep, "\tДиаметр стержней поперечного армирования (dw_mm): ", расч.dw_mm, " мм");
  ВОтчёт(rep,
         "\tИзгибающий момент относительно оси, проходящей через центр сжатой зоны наклонного "
         "сечения от расчетных нагрузок, расположенных по одну сторону от сжатого конца сечения "
         "(M): ",
         расч.M, " МН*м");
  if (расч.Qн == 0) расч.Qн = расч.Q;
  ВОтчёт(rep, "\tПеререзывающая сила от нормативных нагрузок (Qн): ", расч.Qн, " МН");
  if (расч.h == 0) расч.h = расч.ho;
  ВОтчёт(rep, "\tВысота расчётного сечения (h): ", расч.h, " м");
  ВОтчёт(rep, "\t(Дополнительные данные будут объявляться в ходе расчёта)");
  ВОтчёт(rep, "2. Расчет и уточнение характеристик арматуры и бетона:");
}

// The stirrup legs of one plane over the width; the longitudinal bars default to the same area.
void ПлощадиАрматуры(Расчёт& расч) {
  расч.Asw = Квадрат(расч.dw_mm / 2000) * Число(ПиАрктангенс()) * расч.b / расч.s_wx;
  ВОтчёт(расч.rep,
         "\tПлощадь сечения ветвей хомутов, расположенных в одной плоскости: Asw = Пи * (dw_mm / "
         "2000) ^ 2 * b / s_wx = 4 * Atn(1) * (",
         расч.dw_mm, " / 2000) ^ 2 * ", расч.b, " / ", расч.s_wx, " = ", F2{расч.Asw * 10000},
         " кв.cм");
  расч.Awr = расч.Awr_sm2 != 0 ? Число(расч.Awr_sm2) / 10000 : расч.Asw;
  ВОтчёт(расч.rep,
         "\tПлощадь продольной (расположенной вдоль оси Z) арматуры Awr = ", F2{расч.Awr * 10000},
         " кв.cм");
}

void Материалы(Расчёт& расч) {
  расч.Rb = СвойствоБетона(расч.класс_бетона, kRb);
  расч.Rbt = СвойствоБетона(расч.класс_бетона, kRbt);
  расч.Rb_sh = СвойствоБетона(расч.класс_бетона, kRb_sh);
  расч.Eb = СвойствоБетона(расч.класс_бетона, kEb);
  расч.Es = EsValue(расч.класс_стали);
  const uint8_t тип = ТипЗначенияRs(расч.жд);
  расч.Rsw = Число(kma4) * RsValue(расч.класс_стали, расч.dw_mm.v, тип);
  расч.Rwr = Число(kma4) * RsValue(расч.класс_продольной, kДиаметрПродольных, тип);
  расч.n1 = расч.Es / расч.Eb;
  ВОтчёт(расч.rep, "\tRb = ", расч.Rb, " МПа, Rbt = ", расч.Rbt, " МПа, Rb_sh = ", расч.Rb_sh,
         " МПа, Eb = ", расч.Eb, " МПа, Es = ", расч.Es, " МПа, n1 = Es / Eb = ", F3{расч.n1},
         ", ma4 = 0.8, Rsw = ", расч.Rsw, " МПа, Rwr = ", расч.Rwr, " МПа");
}

// Section 3, clause 3.77*: the concrete strut between inclined cracks.
void СжатыйБетонМеждуТрещинами(Расчёт& расч) {
  Отчёт& rep = расч.rep;
  ВОтчёт(rep,
         "3. Расчет условия, обеспечивающего прочность по сжатому бетону между наклонными "
         "трещинами (п. 3.77*):");
  расч.фb1 = Число(1) - расч.Rb * 0.01;
  ВОтчёт(rep, "\tфb1 = 1 - 0.01 * Rb = ", расч.фb1);
  расч.мюw = расч.Asw / (расч.b * расч.s_wz);
  ВОтчёт(rep, "\tмюw = Asw / (b * s_wz) = ", расч.мюw);
  расч.фw1 = Число(1) + расч.мюw * (расч.n1 * 5);
  ВОтчёт(rep, "\tфw1 = 1 + 5 * n1 * мюw = ", F3{расч.фw1}, " <= 1.3");  // the value before the cap
  if (расч.фw1 > 1.3) расч.фw1 = 1.3;
  расч.Q1 = Число(0.3) * расч.фw1 * расч.фb1 * расч.Rb * расч.b * расч.ho;
  ВОтчёт(rep, "\tQ1 = 0.3 * фw1 * фb1 * Rb * b * ho = 0.3 * ", F3{расч.фw1}, " * ", расч.фb1, " * ",
         расч.Rb, " * ", расч.b, " * ", расч.ho, " = ", F3{расч.Q1}, " МН (по формуле 94)");
}

// Section 4, clause 3.78*: the shear force the concrete takes at most (formula 98*, the factor щ
// unbounded).
void ПредельнаяСилаБетона(Расчёт& расч) {
  Отчёт& rep = расч.rep;
  ВОтчёт(rep,
         "4. Расчет наклонных сечений на действие поперечной силы (п. 3.78*) или изгибающего "
         "момента (п. 3.83*)");
  расч.Tq = Abs(расч.Qн) * 3 / (расч.b * 2 * расч.h);
  ВОтчёт(rep,
         "\tКасательное напряжение от нормативной нагрузки: Tq = 3 * Abs(Qн) / (2 * b * h) = 3 * "
         "Abs(",
         расч.Qн, ") / (2 * ", расч.b, " * ", расч.h, ") = ", F3{расч.Tq}, " МПа");
  расч.щ = Число(1.3) + Число(0.4) * (расч.Rb_sh / расч.Tq - 1);
  ВОтчёт(rep, "\tщ = 1.3 + 0.4 * (Rb_sh / Tq - 1) = ", F3{расч.щ}, " (по формуле 98*)");
  расч.Qb2 = расч.щ * расч.Rbt * расч.b * расч.ho;
  ВОтчёт(rep, "\tQb2 = щ * Rbt * b * ho = ", F3{расч.щ}, " * ", расч.Rbt, " * ", расч.b, " * ",
         расч.ho, " = ", F3{расч.Qb2}, " МН");
}

void ЛегендаПодбора(Отчёт& rep) {
  ВОтчёт(rep, "5. Подбор самого невыгодного наклонного сечения");
  ВОтчёт(rep, "\tC = (ho - Rwr * Awr / (b * Rb)) / Tan(Угол)");
  ВОтчёт(rep, "\tQb1 = (2 * Rbt * b * ho ^ 2) / C (по формуле 97*)");
  ВОтчёт(rep, "\tQb = Min(Qb1, Qb2)");
  ВОтчёт(rep, "\t0 <= К = (i - 50) / 40 <= 1 (по формуле 100*)");
  ВОтчёт(rep, "\tQwr = Awr * К * 980.6 (по формуле 99*)");
  ВОтчёт(rep, "\tQ2 = Rsw * Asw * C / s_wz + Qb + Qwr (по формуле 95*)");
  ВОтчёт(rep, "\tQ3 = Rwr * Awr * ho + Rsw * Asw * C / s_wz * C / 2 (по формуле 103)");
}

// One inclined section at the crack angle Угол (degrees): its projection C is capped at 2·ho and
// at the caller's C_max; the longitudinal bars count from 50° on, fully at 90° (formula 100*).
void НаклонноеСечение(Расчёт& расч, int32_t Угол) {
  Число C = (расч.ho - расч.Rwr * расч.Awr / (расч.b * расч.Rb)) / ТангенсУгла(Угол);
  if (C > Число(2) * расч.ho) C = Число(2) * расч.ho;
  if (расч.C_max > 0 && C > расч.C_max) C = расч.C_max;
  const Число Qb1 = расч.Rbt * 2 * расч.b * Квадрат(расч.ho) / C;
  const Число Qb = Qb1 < расч.Qb2 ? Qb1 : расч.Qb2;
  Число Кэф = Число(Угол - 50) / 40;
  if (Кэф < 0) Кэф = 0;
  if (Кэф > 1) Кэф = 1;
  const Число Qwr = расч.Awr * Кэф * 980.6;
  const Число Q2 = расч.Asw * расч.Rsw * C / расч.s_wz + Qb + Qwr;
  if (Q2 < расч.Q2_min) расч.Q2_min = Q2;
  const Число Q3 = расч.Asw * расч.Rsw * C / расч.s_wz * C / 2 + расч.Awr * расч.Rwr * расч.ho;
  if (Q3 < расч.Q3_min) расч.Q3_min = Q3;
  ВОтчёт(расч.rep, "\tУгол=", Угол, "\t C=", F3{C}, "\t Qb1=", Qb1ВОтчёте{Qb1}, "\tQb=", F3{Qb},
         "\tQ2=", F3{Q2}, "\tQ3=", F3{Q3});
}

// The verdict: the shear margin of the weaker of the strut and the inclined
// section, the moment margin, the smaller of both.
double Запасы(Расчёт& расч) {
  Отчёт& rep = расч.rep;
  const double Qфакт = Abs(расч.Q).v;
  const double mQ2 = ОпределитьЗапас(расч.Q2_min.v, Qфакт, расч.метод);
  const double mQ1 = ОпределитьЗапас(расч.Q1.v, Qфакт, расч.метод);
  const double запас_Q = расч.Q2_min < расч.Q1 ? mQ2 : mQ1;
  ВОтчёт(rep, "Производится выбор предельнодопустимого Q между Q2_min = ", F3{расч.Q2_min},
         " и Q1 = ", F3{расч.Q1}, " МН и сравнивается с Q = ", F3{расч.Q}, " МН");
  ВОтчёт(rep, "Запас по Q: ", F3{запас_Q});
  const double mM = ОпределитьЗапас(расч.Q3_min.v, Abs(расч.M).v, расч.метод);
  ВОтчёт(rep, "При сравнении величин Q3_min = ", F3{расч.Q3_min}, " и M = ", F3{расч.M},
         " запас по M равен ", F3{mM});
  const double результат = запас_Q < mM ? запас_Q : mM;
  ВОтчёт(rep, "Минимальный из запасов: ", F3{результат});
  return результат;
}

}  // namespace

double мтХомуты(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& Q, double& B, double& ho,
                double& s_wx, double& s_wz, double& dw_mm, double h, double M, double Qн,
                double ПлощадьГоризонтальнойАрматуры_sm2, uint8_t КлассСталиГоризонтальнойАрматуры,
                bool КонструкцияЖД, uint8_t& МетодОпределенияЗапаса, std::string& Отчет,
                double& C_max) {
  Отчёт rep(Отчет);
  Расчёт расч{КлассАрматурнойСтали,
              КлассБетона,
              Q,
              B,
              ho,
              s_wx,
              s_wz,
              dw_mm,
              h,
              M,
              Qн,
              ПлощадьГоризонтальнойАрматуры_sm2,
              КлассСталиГоризонтальнойАрматуры,
              КонструкцияЖД,
              МетодОпределенияЗапаса,
              C_max,
              rep};
  ИсходныеДанные(расч);
  ПлощадиАрматуры(расч);
  Материалы(расч);
  СжатыйБетонМеждуТрещинами(расч);
  ПредельнаяСилаБетона(расч);
  ЛегендаПодбора(rep);
  for (int32_t Угол = kПервыйУгол; Угол <= kПоследнийУгол; ++Угол) НаклонноеСечение(расч, Угол);
  const double результат = Запасы(расч);
  // The numbers are already written with their fixed decimals: no rounding pass.
  rep.WriteWithoutRounding();
  return результат;
}

}  // namespace armocalc
