// The stirrup search: each trial area per metre gets the bar layout that covers it, the layout
// gets the inclined-section margin, and the step over the areas is halved and reversed whenever
// the margin changes sign.

#include "shear/stirrup_selection.hpp"

#include <cmath>
#include <cstdint>
#include <string>

#include "materials/bars.hpp"
#include "shear/stirrups.hpp"

namespace armocalc {
namespace {

constexpr double kПерваяПлощадь = 0.6;  // cm²/m
constexpr double kПервыйШаг = -8;       // cm²/m
constexpr double kНетЗапаса = 1000000;  // above every margin
constexpr double kНеПодобрано = -1;
constexpr int16_t kВариантРаскладки = 1;  // the smallest layout that covers the area

constexpr uint8_t kСтальПродольной = 3;
constexpr uint8_t kМетодЗапаса = 3;

struct Раскладка {
  double диаметр = 0;  // m
  double шаг = 0;      // m

  bool operator==(const Раскладка&) const = default;
};

// The margin of a stirrup layout: the same spacing across the width and along the element, the
// normative shear force equal to the design one, no report, no cap on the projection.
double ЗапасРаскладки(const Раскладка& раскладка, uint8_t& класс_стали, float& класс_бетона,
                      double& Q, double& ho, double h, double& B, double M, double Awr_sm2) {
  double s_wx = раскладка.шаг;
  double s_wz = раскладка.шаг;
  double dw_mm = раскладка.диаметр * 1000;
  uint8_t метод = kМетодЗапаса;
  std::string отчёт;
  double C_max = 0;
  return мтХомуты(класс_стали, класс_бетона, Q, B, ho, s_wx, s_wz, dw_mm, h, M, 0, Awr_sm2,
                  kСтальПродольной, false, метод, отчёт, C_max);
}

}  // namespace

double ПодборПоперечнойАрматуры(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& Q,
                                double& ho, double h, double& B, double M,
                                double ПлощадьГоризонтальнойАрматуры_sm2, double& ТочностьПодбора) {
  const double точность = ТочностьПодбора;
  double x = kПерваяПлощадь;
  double шаг = kПервыйШаг;
  double лучший = kНетЗапаса;
  double результат = kНеПодобрано;
  double предыдущий = 0;
  // An area without a layout keeps the previous layout (and so the previous margin).
  Раскладка раскладка;
  // The check depends on the trial area only through its layout: a layout repeated from the last
  // pass repeats its margin without running the check again.
  Раскладка проверенная;
  double запас_проверенной = 0;
  // A bound on the passes: tolerances of 0 or below never stop a converged search.
  for (int32_t проход = 0; проход < kПроходовПодбораХомутов; ++проход) {
    ДиаметрИШагСтержней(раскладка.диаметр, раскладка.шаг, x / 10000, kВариантРаскладки);
    if (раскладка.диаметр == 0 || раскладка.шаг == 0) return kНеПодобрано;
    if (проход == 0 || !(раскладка == проверенная)) {
      запас_проверенной = ЗапасРаскладки(раскладка, КлассАрматурнойСтали, КлассБетона, Q, ho, h, B,
                                         M, ПлощадьГоризонтальнойАрматуры_sm2);
      проверенная = раскладка;
    }
    const double t = запас_проверенной;
    if (t > 0) {
      if (t < лучший) {
        лучший = t;
        результат = x;
      }
      if (t < точность || x < kПерваяПлощадь) break;
      if (std::fabs(предыдущий - t) < точность) break;
      if (std::fabs(шаг) < точность) break;
    } else if (t == предыдущий) {
      break;
    }
    if (Знак(t) != Знак(предыдущий)) шаг = шаг * -0.5;
    предыдущий = t;
    x = x + шаг;
  }
  return результат;
}

}  // namespace armocalc
