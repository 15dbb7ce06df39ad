// Ring section: the relative area of the compressed zone picks one of the three formulas of the
// limit moment (conditions а, б, в of the manual).

#include "circular/ring_strength.hpp"

#include <optional>
#include <string>

#include "circular/circle_common.hpp"
#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

using circular::Sin;

constexpr uint8_t kТипДорожный = 3;  // Rs of road and city structures

struct Кольцо {
  Число N, M, r;
  Число Rs, Rb;
  Число Astot, Ab, rm;
};

// The acting moment: the given one, or the force at the admissible eccentricity of the city norms.
Число ДействующийМомент(Число N, Число M, double dв, Отчёт& rep) {
  if (M != 0) {
    rep.Add("\tЭксцентриситет приложения продольной силы из статического расчёта:");
    const Число ec = Abs(M / N);
    rep.Add("\tec = M / N = ", ec, " м");
    rep.Add("\tM = ", M, " МН·м - фактический изгибающий момент");
    return M;
  }
  rep.Add(
      "\tДопустимый эксцентриситет приложенной нагрузки согласно Московским Городским "
      "Строительным Нормам (МГСН 6.01-03):");
  const Число eo = Число(dв) * 0.25;
  rep.Add("\teo = 0.25·dв = ", eo, " м");
  M = eo * N;
  rep.Add("\tM = N * eo = ", M, " МН·м - изгибающий момент");
  return M;
}

// Condition б: a small compressed zone.
Число МалаяСжатаяЗона(const Кольцо& к, Отчёт& rep) {
  rep.Add("\tEcir < 0.15      =>    выполняется условие б)");
  const Число Ecir = (к.Rs * 0.75 * к.Astot + к.N) / (к.Ab * к.Rb + к.Rs * к.Astot);
  rep.Add("\tEcir = (N + 0.75 * Rs * Astot) / (Rb * Ab + Rs * Astot) = ", Ecir);
  const Число S = Sin(kПиДесятичное * Ecir);
  const Число Mlim = (к.Ab * к.Rb * к.rm + к.r * (к.Astot * к.Rs)) * S / kПиДесятичное +
                     к.r * (к.Astot * (к.Rs * 0.295));
  rep.Add(
      "\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi + 0.295 * Rs * Astot * r "
      "= ",
      Mlim, " МН·м");
  return Mlim;
}

// Condition а.
Число СредняяСжатаяЗона(const Кольцо& к, Число Ecir, Отчёт& rep) {
  rep.Add("\t0.15<Ecir<0.6      =>    выполняется условие а)");
  const Число S = Sin(kПиДесятичное * Ecir);
  const Число Mlim = (Число(1) - Ecir * 1.7) * (к.r * к.Astot * к.Rs) * (Ecir * 1.3 + 0.2) +
                     (к.Ab * к.Rb * к.rm + к.r * к.Astot * к.Rs) * S / kПиДесятичное;
  rep.Add(
      "\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi + Rs * Astot * r * (1 - "
      "1.7 * Ecir) * (0.2 + 1.3 * Ecir) = ",
      Mlim, " МН·м");
  return Mlim;
}

// Condition в: a large compressed zone, the tensioned bars do not reach their strength.
Число БольшаяСжатаяЗона(const Кольцо& к, Отчёт& rep) {
  rep.Add("\tEcir > 0.6      =>    выполняется условие в)");
  const Число Ecir = к.N / (к.Ab * к.Rb + к.Astot * к.Rs);
  rep.Add("\tEcir = N / (Rb * Ab + Rs * Astot) = ", Ecir);
  const Число S = Sin(kПиДесятичное * Ecir);
  const Число Mlim = (к.Ab * к.Rb * к.rm + к.r * (к.Astot * к.Rs)) * S / kПиДесятичное;
  rep.Add("\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi = ", Mlim, " МН·м");
  return Mlim;
}

}  // namespace

double гRing(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& dв, double& dн, double& N,
             double M, double r, double& D, double& ns, uint8_t& МетодОпределенияЗапаса,
             std::string& Отчет, Отчёт* отчёт) {
  N = Abs(N).v;
  std::optional<Отчёт> свой;
  if (отчёт == nullptr) отчёт = &свой.emplace(Отчет);
  Отчёт& rep = *отчёт;
  rep.Add("Расчет кольцевого ж.б. сечения по прочности (Пособие к СНиП 2.03.01-84, п.3.69)");
  rep.Add("");
  rep.Add("1. Исходные данные:");
  rep.Add("\tПродольная ", N < 0 ? "растягивающая" : "сжимающая", " сила (N): ", N, " МН");
  rep.Add("\tКласс арматурной стали: ", КлассАрматурыТекст(КлассАрматурнойСтали));
  rep.Add("\tКласс бетона: B", КлассБетона);
  rep.Add("\tВнутренний диаметр трубы(dв): ", dв, " м");
  rep.Add("\tНаружный диаметр трубы(dн): ", dн, " м");
  if (r == 0) r = ((Число(dв) + dн) / 4).v;
  rep.Add("\tРадиус окружности, проходящей через центры тяжести арматурных стержней (rs): ", r,
          " м");
  rep.Add("\tДиаметр арматурных стержней (d): ", D, " мм");
  rep.Add("\tКоличество арматурных стержней в сечении (ns): ", ns, " шт");
  rep.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  rep.Add("");

  Кольцо к;
  к.N = N;
  к.r = r;
  rep.Add("2. Физико-механические свойства материалов:");
  к.Rs = RsValue(КлассАрматурнойСтали, D, kТипДорожный);
  uint8_t код_Rb = 1;
  к.Rb = мтБетон(КлассБетона, код_Rb);
  rep.Add("\tRs = ", к.Rs, " МПа, Rb = ", к.Rb, " МПа");
  rep.Add("");

  rep.Add("3. Расчет геометрических характеристик сечения:");
  к.M = ДействующийМомент(к.N, M, dв, rep);
  rep.Add("");
  rep.Add("\tПлощадь сечения всей продольной арматуры:");
  к.Astot = Квадрат(D) * (Число(ns) * kПиДесятичное) / 4000000;
  rep.Add("\tAstot = ns * Pi * d ^ 2 / 4000000 = ", к.Astot, " кв.м");
  rep.Add("\tПлощадь поперечного сечения трубы:");
  к.Ab = (Квадрат(dн) - Квадрат(dв)) * kПиДесятичное / 4;
  rep.Add("\tAb = Pi * (dн ^ 2 - dв ^ 2) / 4 = ", к.Ab, " кв.м");
  к.rm = (Число(dв) + dн) / 4;
  rep.Add("\trm = (dв + dн) / 4 = ", к.rm, " м");
  rep.Add("");

  rep.Add("4. Расчет по прочности:");
  rep.Add("\tОтносительная площадь сжатой зоны:");
  const Число Ecir = (к.Astot * к.Rs + к.N) / (к.Astot * (к.Rs * 2.7) + к.Ab * к.Rb);
  rep.Add("\tEcir = (N + Rs * Astot) / (Rb * Ab + 2.7 * Rs * Astot) = ", Ecir);
  Число Mlim;
  if (Ecir < 0.15) {
    Mlim = МалаяСжатаяЗона(к, rep);
  } else if (Ecir <= 0.6) {
    Mlim = СредняяСжатаяЗона(к, Ecir, rep);
  } else {
    Mlim = БольшаяСжатаяЗона(к, rep);
  }
  rep.Add("");

  const double запас = ОпределитьЗапас(Mlim.v, к.M.v, МетодОпределенияЗапаса);
  rep.Add("При сравнении величин Mlim = ", Mlim, " МН·м и M = ", к.M, " МН·м запас равен ", запас);
  rep.Finish();
  return запас;
}

}  // namespace armocalc
