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
void ИсходныеДанные(Расчёт& р) {
  Отчёт& rep = р.rep;
  ВОтчёт(rep,
         "Расчет по прочности наклонного сечения элементов с поперечной арматурой от действия "
         "поперечной силы и изгибающего момента, п.п. 3.77*, 3.78*, 3.83*, СНиП 2.05.03-84*");
  ВОтчёт(rep, "1. Исходные данные:");
  if (rep) ВОтчёт(rep, "\tКласс арматурной стали: ", КлассАрматурыТекст(р.класс_стали));
  ВОтчёт(rep, "\tКласс бетона: B", р.класс_бетона);
  ВОтчёт(rep,
         "\tПоперечная сила от расчетных нагрузок, приложенных к рассчитываемому элементу на "
         "расстоянии не ближе ho от оси опоры (Значение принимается по модулю) Q = ",
         р.Q, " МН");
  ВОтчёт(rep,
         "\tРасстояние от сжатого края расчетного сечения до ц.т. растянутой арматуры (ho): ", р.ho,
         " м");
  ВОтчёт(rep, "\tШирина расчетного сечения (b): ", р.b, " м");
  ВОтчёт(rep, "\tШаг поперечного армирования вдоль оси X (s_wx): ", р.s_wx, " м");
  ВОтчёт(rep, "\tШаг поперечного армирования вдоль оси Z (s_wz): ", р.s_wz, " м");
  ВОтчёт(rep, "\tДиаметр стержней поперечного армирования (dw_mm): ", р.dw_mm, " мм");
  ВОтчёт(rep,
         "\tИзгибающий момент относительно оси, проходящей через центр сжатой зоны наклонного "
         "сечения от расчетных нагрузок, расположенных по одну сторону от сжатого конца сечения "
         "(M): ",
         р.M, " МН*м");
  if (р.Qн == 0) р.Qн = р.Q;
  ВОтчёт(rep, "\tПеререзывающая сила от нормативных нагрузок (Qн): ", р.Qн, " МН");
  if (р.h == 0) р.h = р.ho;
  ВОтчёт(rep, "\tВысота расчётного сечения (h): ", р.h, " м");
  ВОтчёт(rep, "\t(Дополнительные данные будут объявляться в ходе расчёта)");
  ВОтчёт(rep, "2. Расчет и уточнение характеристик арматуры и бетона:");
}

// The stirrup legs of one plane over the width; the longitudinal bars default to the same area.
void ПлощадиАрматуры(Расчёт& р) {
  р.Asw = Квадрат(р.dw_mm / 2000) * Число(ПиАрктангенс()) * р.b / р.s_wx;
  ВОтчёт(р.rep,
         "\tПлощадь сечения ветвей хомутов, расположенных в одной плоскости: Asw = Пи * (dw_mm / "
         "2000) ^ 2 * b / s_wx = 4 * Atn(1) * (",
         р.dw_mm, " / 2000) ^ 2 * ", р.b, " / ", р.s_wx, " = ", F2{р.Asw * 10000}, " кв.cм");
  р.Awr = р.Awr_sm2 != 0 ? Число(р.Awr_sm2) / 10000 : р.Asw;
  ВОтчёт(р.rep,
         "\tПлощадь продольной (расположенной вдоль оси Z) арматуры Awr = ", F2{р.Awr * 10000},
         " кв.cм");
}

void Материалы(Расчёт& р) {
  р.Rb = СвойствоБетона(р.класс_бетона, kRb);
  р.Rbt = СвойствоБетона(р.класс_бетона, kRbt);
  р.Rb_sh = СвойствоБетона(р.класс_бетона, kRb_sh);
  р.Eb = СвойствоБетона(р.класс_бетона, kEb);
  р.Es = EsValue(р.класс_стали);
  const uint8_t тип = ТипЗначенияRs(р.жд);
  р.Rsw = Число(kma4) * RsValue(р.класс_стали, р.dw_mm.v, тип);
  р.Rwr = Число(kma4) * RsValue(р.класс_продольной, kДиаметрПродольных, тип);
  р.n1 = р.Es / р.Eb;
  ВОтчёт(р.rep, "\tRb = ", р.Rb, " МПа, Rbt = ", р.Rbt, " МПа, Rb_sh = ", р.Rb_sh,
         " МПа, Eb = ", р.Eb, " МПа, Es = ", р.Es, " МПа, n1 = Es / Eb = ", F3{р.n1},
         ", ma4 = 0.8, Rsw = ", р.Rsw, " МПа, Rwr = ", р.Rwr, " МПа");
}

// Section 3, clause 3.77*: the concrete strut between inclined cracks.
void СжатыйБетонМеждуТрещинами(Расчёт& р) {
  Отчёт& rep = р.rep;
  ВОтчёт(rep,
         "3. Расчет условия, обеспечивающего прочность по сжатому бетону между наклонными "
         "трещинами (п. 3.77*):");
  р.фb1 = Число(1) - р.Rb * 0.01;
  ВОтчёт(rep, "\tфb1 = 1 - 0.01 * Rb = ", р.фb1);
  р.мюw = р.Asw / (р.b * р.s_wz);
  ВОтчёт(rep, "\tмюw = Asw / (b * s_wz) = ", р.мюw);
  р.фw1 = Число(1) + р.мюw * (р.n1 * 5);
  ВОтчёт(rep, "\tфw1 = 1 + 5 * n1 * мюw = ", F3{р.фw1}, " <= 1.3");  // the value before the cap
  if (р.фw1 > 1.3) р.фw1 = 1.3;
  р.Q1 = Число(0.3) * р.фw1 * р.фb1 * р.Rb * р.b * р.ho;
  ВОтчёт(rep, "\tQ1 = 0.3 * фw1 * фb1 * Rb * b * ho = 0.3 * ", F3{р.фw1}, " * ", р.фb1, " * ", р.Rb,
         " * ", р.b, " * ", р.ho, " = ", F3{р.Q1}, " МН (по формуле 94)");
}

// Section 4, clause 3.78*: the shear force the concrete takes at most (formula 98*, the factor щ
// unbounded).
void ПредельнаяСилаБетона(Расчёт& р) {
  Отчёт& rep = р.rep;
  ВОтчёт(rep,
         "4. Расчет наклонных сечений на действие поперечной силы (п. 3.78*) или изгибающего "
         "момента (п. 3.83*)");
  р.Tq = Abs(р.Qн) * 3 / (р.b * 2 * р.h);
  ВОтчёт(rep,
         "\tКасательное напряжение от нормативной нагрузки: Tq = 3 * Abs(Qн) / (2 * b * h) = 3 * "
         "Abs(",
         р.Qн, ") / (2 * ", р.b, " * ", р.h, ") = ", F3{р.Tq}, " МПа");
  р.щ = Число(1.3) + Число(0.4) * (р.Rb_sh / р.Tq - 1);
  ВОтчёт(rep, "\tщ = 1.3 + 0.4 * (Rb_sh / Tq - 1) = ", F3{р.щ}, " (по формуле 98*)");
  р.Qb2 = р.щ * р.Rbt * р.b * р.ho;
  ВОтчёт(rep, "\tQb2 = щ * Rbt * b * ho = ", F3{р.щ}, " * ", р.Rbt, " * ", р.b, " * ", р.ho, " = ",
         F3{р.Qb2}, " МН");
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
void НаклонноеСечение(Расчёт& р, int32_t Угол) {
  Число C = (р.ho - р.Rwr * р.Awr / (р.b * р.Rb)) / ТангенсУгла(Угол);
  if (C > Число(2) * р.ho) C = Число(2) * р.ho;
  if (р.C_max > 0 && C > р.C_max) C = р.C_max;
  const Число Qb1 = р.Rbt * 2 * р.b * Квадрат(р.ho) / C;
  const Число Qb = Qb1 < р.Qb2 ? Qb1 : р.Qb2;
  Число К = Число(Угол - 50) / 40;
  if (К < 0) К = 0;
  if (К > 1) К = 1;
  const Число Qwr = р.Awr * К * 980.6;
  const Число Q2 = р.Asw * р.Rsw * C / р.s_wz + Qb + Qwr;
  if (Q2 < р.Q2_min) р.Q2_min = Q2;
  const Число Q3 = р.Asw * р.Rsw * C / р.s_wz * C / 2 + р.Awr * р.Rwr * р.ho;
  if (Q3 < р.Q3_min) р.Q3_min = Q3;
  ВОтчёт(р.rep, "\tУгол=", Угол, "\t C=", F3{C}, "\t Qb1=", Qb1ВОтчёте{Qb1}, "\tQb=", F3{Qb},
         "\tQ2=", F3{Q2}, "\tQ3=", F3{Q3});
}

// The verdict: the shear margin of the weaker of the strut and the inclined
// section, the moment margin, the smaller of both.
double Запасы(Расчёт& р) {
  Отчёт& rep = р.rep;
  const double Qфакт = Abs(р.Q).v;
  const double mQ2 = ОпределитьЗапас(р.Q2_min.v, Qфакт, р.метод);
  const double mQ1 = ОпределитьЗапас(р.Q1.v, Qфакт, р.метод);
  const double запас_Q = р.Q2_min < р.Q1 ? mQ2 : mQ1;
  ВОтчёт(rep, "Производится выбор предельнодопустимого Q между Q2_min = ", F3{р.Q2_min},
         " и Q1 = ", F3{р.Q1}, " МН и сравнивается с Q = ", F3{р.Q}, " МН");
  ВОтчёт(rep, "Запас по Q: ", F3{запас_Q});
  const double mM = ОпределитьЗапас(р.Q3_min.v, Abs(р.M).v, р.метод);
  ВОтчёт(rep, "При сравнении величин Q3_min = ", F3{р.Q3_min}, " и M = ", F3{р.M},
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
  Расчёт р{КлассАрматурнойСтали,
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
  ИсходныеДанные(р);
  ПлощадиАрматуры(р);
  Материалы(р);
  СжатыйБетонМеждуТрещинами(р);
  ПредельнаяСилаБетона(р);
  ЛегендаПодбора(rep);
  for (int32_t Угол = kПервыйУгол; Угол <= kПоследнийУгол; ++Угол) НаклонноеСечение(р, Угол);
  const double результат = Запасы(р);
  // The numbers are already written with their fixed decimals: no rounding pass.
  rep.WriteWithoutRounding();
  return результат;
}

}  // namespace armocalc
