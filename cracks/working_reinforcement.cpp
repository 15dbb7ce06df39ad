// The area is searched by stepping on the safety margin: the first trial is a light layer, a
// failing section walks up by 4 cm² per trial, and every change of the margin's sign halves and
// reverses the step, so the search closes in on the area whose margin is just positive.

#include "cracks/working_reinforcement.hpp"

#include <string>

#include "cracks/crack_width.hpp"
#include "materials/bars.hpp"
#include "rectangular/strength.hpp"
#include "runtime/checked_number.hpp"

namespace armocalc {
namespace {

constexpr double kПерваяПроба = 4.655;         // cm²
constexpr double kПервыйШаг = -8;              // cm²; the first sign change makes it +4
constexpr double kПлощадьДругогоСлоя = 5.655;  // cm², the layer not stretched by M
constexpr double kБезЗапаса = 10000000;        // a best margin every passing trial beats
constexpr double kНеПодобрано = -1;
constexpr uint8_t kМетодЗапаса = 3;
constexpr double kБезДлины = -1;       // no slenderness
constexpr double kБезКосвенного = -1;  // no indirect reinforcement
constexpr double kZ = -1;              // the interface's default
constexpr int32_t kЗакрепления = 12;   // the interface's default

// The caller's section, handed on by reference to both checks as the caller passed it.
struct Сечение {
  uint8_t& КлассАрматурнойСтали;
  float& КлассБетона;
  double& N;
  double& M;
  double& ав;
  double& ан;
  double& h;
  double& B;
  double& acr;
};

// The layer M stretches gets the trial area, the other one the fixed area.
struct Слои {
  double Fв;
  double Fн;
};

Слои СлоиДляПлощади(const Сечение& сечение, double A) {
  if (сечение.M >= 0) return {kПлощадьДругогоСлоя, A};
  return {A, kПлощадьДругогоСлоя};
}

// Strength margin with the section alone: no long-term parts, no slenderness, no indirect
// reinforcement, no condition factors, no report.
double ЗапасПоПрочности(Сечение& сечение, double A) {
  Слои слои = СлоиДляПлощади(сечение, A);
  bool СМИ = false;
  bool флаги[6] = {};
  bool ЖД = false;
  double Nl = 0;
  double Ml = 0;
  double L = kБезДлины;
  double s = kБезКосвенного;
  double dx = kБезКосвенного;
  double dy = kБезКосвенного;
  double nx = kБезКосвенного;
  double ny = kБезКосвенного;
  uint8_t метод = kМетодЗапаса;
  std::string отчёт;
  return ToDouble(мтПрочность(сечение.КлассАрматурнойСтали, сечение.КлассБетона, сечение.N,
                              сечение.M, слои.Fв, слои.Fн, сечение.ав, сечение.ан, сечение.h,
                              сечение.B, СМИ, флаги[0], флаги[1], флаги[2], флаги[3], флаги[4], ЖД,
                              Nl, Ml, L, kZ, kЗакрепления, s, dx, dy, nx, ny, метод, отчёт));
}

// Crack-width margin of normal cracks (no shear, no stirrups) for the caller's permitted opening.
double ЗапасПоТрещиностойкости(Сечение& сечение, double A) {
  Слои слои = СлоиДляПлощади(сечение, A);
  double Q = 0;
  double xd = 6;
  double Угол = 0;
  double s_wx = 0;
  double s_wz = 0;
  double dw_mm = 0;
  double Bw = 1;
  double Bs = 1;
  bool ЖД = false;
  uint8_t метод = kМетодЗапаса;
  std::string отчёт;
  return мтТрещиностойкость(сечение.КлассАрматурнойСтали, сечение.КлассБетона, сечение.N, сечение.M,
                            слои.Fв, слои.Fн, сечение.ав, сечение.ан, сечение.h, сечение.B,
                            сечение.acr, Q, xd, Угол, s_wx, s_wz, dw_mm, Bw, Bs, ЖД, метод, отчёт);
}

// The governing margin of a trial: the smaller of the two when cracks count.
Число ЗапасДляПлощади(Сечение& сечение, double A, bool трещины) {
  const Число m1 = ЗапасПоПрочности(сечение, A);
  if (!трещины) return m1;
  const Число m2 = ЗапасПоТрещиностойкости(сечение, A);
  return m1 > m2 ? m2 : m1;
}

}  // namespace

double ПодборРабочейАрматуры(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N,
                             double& M, double& ав, double& ан, double& h, double& B,
                             bool& УчитыватьТрещиностойкость, double& acr,
                             double& ТочностьПодбора) {
  Сечение сечение{КлассАрматурнойСтали, КлассБетона, N, M, ав, ан, h, B, acr};
  const Число точность = ТочностьПодбора;
  Число A = kПерваяПроба;
  Число шаг = kПервыйШаг;
  Число предыдущий = 0;  // margin of the previous trial
  Число лучший_запас = kБезЗапаса;
  Число лучшая_площадь = kНеПодобрано;
  // Bounded: a margin that stays negative and keeps changing would otherwise step on for ever.
  // The work bound stops a search of an over-reinforced section early, with the best area so far.
  const СчётчикПроходовВысоты проходы;
  for (int32_t проба = 0; проба < kПробПодбораАрматуры; ++проба) {
    if (проходы.Проходов() >= kПроходовВысотыНаПодбор) break;
    const Число m = ЗапасДляПлощади(сечение, A.v, УчитыватьТрещиностойкость);
    if (m > 0) {
      if (m < лучший_запас) {
        лучший_запас = m;
        лучшая_площадь = A;
      }
      if (m < точность || A < kПлощадьДругогоСлоя || Abs(предыдущий - m) < точность ||
          Abs(шаг) < точность) {
        break;
      }
    }
    if (m <= 0 && m == предыдущий) break;  // the margin has settled without passing
    if (Знак(m.v) != Знак(предыдущий.v)) шаг = -шаг / 2;
    предыдущий = m;
    A = A + шаг;
  }
  return лучшая_площадь.v;
}

}  // namespace armocalc
