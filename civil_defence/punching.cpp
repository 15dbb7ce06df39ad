// Punching of a slab: the mean perimeter of the punching pyramid at the working depth, times the
// depth and the tensile strength of the concrete, is the limit force; stirrups crossing the
// pyramid add 0.8 of their design strength.

#include "civil_defence/punching.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "materials/concrete.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

constexpr uint8_t kКодПрочностиНаРастяжение = 2;  // concrete: tensile strength, MPa
constexpr double kКилоньютоновНаМетрВМПа = 1000;
// 0.8 of the stirrup strength 235000 kN/m².
constexpr double kПрочностьХомутов = 188000;

// nsw · 4 in 32-bit integers, as the count of stirrups is held: beyond the range is an overflow.
int32_t УчетверённоеЧисло(int32_t nsw) {
  const int64_t произведение = int64_t{nsw} * 4;
  if (произведение > std::numeric_limits<int32_t>::max() ||
      произведение < std::numeric_limits<int32_t>::min()) {
    Raise(kOverflow);
  }
  return static_cast<int32_t>(произведение);
}

void ИсходныеДанные(Отчёт& rep, float КлассБетона, double N, double ho, double h, double B,
                    uint8_t Угол) {
  rep.Add(
      "Расчет на продавливание плитных конструкций из тяжелого бетона (СНиП 2.03.01-84*, "
      "п.3.42)");
  rep.Add("1. Исходные данные:");
  rep.Add("\tПродольная продавливающая сила (N): ", N, " кН");
  rep.Add("\tКласс бетона плиты: B", КлассБетона);
  rep.Add("\tВысота сечения колонны (h): ", h, " м");
  rep.Add("\tШирина сечения колонны (b): ", B, " м");
  rep.Add(
      "\tРасстояние от уровня передачи отрывающей силы на элемент до центра тяжести сечения "
      "продольной арматуры (ho): ",
      ho, " м");
  rep.Add("\tНаклон боковых граней пирамиды продавливания (Угол): ", Угол, " град");
  rep.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  rep.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
}

// The share of the stirrups that cross the pyramid, added to the concrete-only limit force.
Число СХомутами(Отчёт& rep, Число Nlimit, Число ho, Число h, Число B, Число Katet,
                uint8_t ДиаметрХомутов, double ШагХомутов) {
  rep.Add("\tДиаметрХомутов = ", ДиаметрХомутов, " мм");
  rep.Add("\tШагХомутов = ", ШагХомутов, " мм");
  const Число s = Число(ШагХомутов) / 1000;
  const Число по_высоте = Int((ho / s).v);
  const Число по_периметру = Int(((Katet * 2 + B + h) / s).v);
  const int32_t nsw = CLng((Число(2) * по_высоте * по_периметру).v);
  rep.Add(
      "\tnsw = 2 * Int(ho / (ШагХомутов / 1000)) * Int((2 * Katet + b + h) / (ШагХомутов / "
      "1000)) = 2 * Int(",
      ho, " / (", ШагХомутов, " / 1000)) * Int((2 * ", Katet, " + ", B, " + ", h, ") / (",
      ШагХомутов, " / 1000)) = ", nsw,
      " шт - количество хомутов, попавших в сечение призмы продавливания");
  const Число Asw = Квадрат(Число(ДиаметрХомутов) / 2000) *
                    (Число(static_cast<double>(УчетверённоеЧисло(nsw))) * Atn(1));
  rep.Add("\tAsw = nsw * 4 * Atn(1) * (ДиаметрХомутов / 2000) ^ 2 = ", nsw, " * 4 * Atn(1) * (",
          ДиаметрХомутов, " / 2000) ^ 2 = ", Asw,
          " кв.м - площадь хомутов, попавших в сечение призмы продавливания");
  const Число с_хомутами = Asw * kПрочностьХомутов + Nlimit;
  rep.Add("\tNlimit = Nlimit + 0.8 * 235000 * Asw = ", с_хомутами,
          " кН - предельнодопустимая продавливающая сила с учётом работы хомутов (поперечного "
          "армирования)");
  return с_хомутами;
}

}  // namespace

double гПродавливание(float& КлассБетона, double& N, double& ho, double& h, double B,
                      uint8_t& ДиаметрХомутов, double& ШагХомутов, uint8_t& Угол,
                      uint8_t& МетодЗапаса, std::string& Отчет) {
  Отчёт rep(Отчет);
  if (B == 0) B = h;  // a square column
  ИсходныеДанные(rep, КлассБетона, N, ho, h, B, Угол);

  uint8_t код = kКодПрочностиНаРастяжение;
  const Число Rbt = Число(мтБетон(КлассБетона, код)) * kКилоньютоновНаМетрВМПа;
  rep.Add("\tRbt = ", Rbt, " кН");

  // The horizontal projection of a pyramid face; the angle is given in degrees.
  const Число Katet = Число(ho) / std::tan((Число(Угол) * Atn(1) / 45).v);
  rep.Add("\tKatet = ho / Tan(Угол * Atn(1) / 45) = ", ho, " / Tan(", Угол, ") / 45) = ", Katet,
          " м");
  const Число um = (Число(B) + h + Katet * 2) * 2;
  rep.Add("\tum = 2 * (b + h + 2 * Katet) = 2 * (", B, " + ", h, " & + 2 * ", Katet, ") = ", um,
          " м - среднеарифметическое значений периметров верхнего и нижнего оснований пирамиды, "
          "образующейся при продавливании в пределах рабочей высоты сечения");
  Число Nlimit = Rbt * ho * um;
  rep.Add("\tNlimit = Rbt * ho * um = ", Rbt, " * ", ho, " * ", um, " = ", Nlimit,
          " кН - предельнодопустимая продавливающая сила, если работает только бетон");
  if (ДиаметрХомутов != 0) {
    Nlimit = СХомутами(rep, Nlimit, ho, h, B, Katet, ДиаметрХомутов, ШагХомутов);
  }

  const double запас = ОпределитьЗапас(Nlimit.v, Abs(N).v, МетодЗапаса);
  rep.Add("3. Запас по прочности плиты: ", запас, "%");
  rep.Finish();
  return запас;
}

}  // namespace armocalc
