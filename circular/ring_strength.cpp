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
#include "rectangular/checked_value.hpp"

namespace armocalc {
namespace {

using circular::Sin;
using rectangular::Abs;
using rectangular::Квадрат;
using rectangular::Строка;
using rectangular::Число;

constexpr uint8_t kТипДорожный = 3;  // Rs of road and city structures

struct Кольцо {
  Число N, M, r;
  Число Rs, Rb;
  Число Astot, Ab, rm;
};

// The acting moment: the given one, or the force at the admissible eccentricity of the city norms.
Число ДействующийМомент(Число N, Число M, double dв, Отчёт& rep) {
  if (M != 0) {
    Строка(rep, "\tЭксцентриситет приложения продольной силы из статического расчёта:");
    const Число ec = Abs(M / N);
    Строка(rep, "\tec = M / N = ", ec, " м");
    Строка(rep, "\tM = ", M, " МН·м - фактический изгибающий момент");
    return M;
  }
  Строка(rep,
         "\tДопустимый эксцентриситет приложенной нагрузки согласно Московским Городским "
         "Строительным Нормам (МГСН 6.01-03):");
  const Число eo = Число(dв) * 0.25;
  Строка(rep, "\teo = 0.25·dв = ", eo, " м");
  M = eo * N;
  Строка(rep, "\tM = N * eo = ", M, " МН·м - изгибающий момент");
  return M;
}

// Condition б: a small compressed zone.
Число МалаяСжатаяЗона(const Кольцо& к, Отчёт& rep) {
  Строка(rep, "\tEcir < 0.15      =>    выполняется условие б)");
  const Число Ecir = (к.Rs * 0.75 * к.Astot + к.N) / (к.Ab * к.Rb + к.Rs * к.Astot);
  Строка(rep, "\tEcir = (N + 0.75 * Rs * Astot) / (Rb * Ab + Rs * Astot) = ", Ecir);
  const Число S = Sin(circular::kПи14 * Ecir);
  const Число Mlim = (к.Ab * к.Rb * к.rm + к.r * (к.Astot * к.Rs)) * S / circular::kПи14 +
                     к.r * (к.Astot * (к.Rs * 0.295));
  Строка(rep,
         "\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi + 0.295 * Rs * Astot * r "
         "= ",
         Mlim, " МН·м");
  return Mlim;
}

// Condition а.
Число СредняяСжатаяЗона(const Кольцо& к, Число Ecir, Отчёт& rep) {
  Строка(rep, "\t0.15<Ecir<0.6      =>    выполняется условие а)");
  const Число S = Sin(circular::kПи14 * Ecir);
  const Число Mlim = (Число(1) - Ecir * 1.7) * (к.r * к.Astot * к.Rs) * (Ecir * 1.3 + 0.2) +
                     (к.Ab * к.Rb * к.rm + к.r * к.Astot * к.Rs) * S / circular::kПи14;
  Строка(rep,
         "\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi + Rs * Astot * r * (1 - "
         "1.7 * Ecir) * (0.2 + 1.3 * Ecir) = ",
         Mlim, " МН·м");
  return Mlim;
}

// Condition в: a large compressed zone, the tensioned bars do not reach their strength.
Число БольшаяСжатаяЗона(const Кольцо& к, Отчёт& rep) {
  Строка(rep, "\tEcir > 0.6      =>    выполняется условие в)");
  const Число Ecir = к.N / (к.Ab * к.Rb + к.Astot * к.Rs);
  Строка(rep, "\tEcir = N / (Rb * Ab + Rs * Astot) = ", Ecir);
  const Число S = Sin(circular::kПи14 * Ecir);
  const Число Mlim = (к.Ab * к.Rb * к.rm + к.r * (к.Astot * к.Rs)) * S / circular::kПи14;
  Строка(rep, "\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi = ", Mlim, " МН·м");
  return Mlim;
}

}  // namespace

double гRingB(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& dв, double& dн, double& N,
              double M, double r, double& D, double& ns, uint8_t& МетодОпределенияЗапаса,
              std::string& Отчет, Отчёт* отчёт) {
  N = Abs(N).v;
  std::optional<Отчёт> свой;
  if (отчёт == nullptr) отчёт = &свой.emplace(Отчет);
  Отчёт& rep = *отчёт;
  Строка(rep, "Расчет кольцевого ж.б. сечения по прочности (Пособие к СНиП 2.03.01-84, п.3.69)");
  Строка(rep, "");
  Строка(rep, "1. Исходные данные:");
  Строка(rep, "\tПродольная ", N < 0 ? "растягивающая" : "сжимающая", " сила (N): ", N, " МН");
  Строка(rep, "\tКласс арматурной стали: ", КлассАрматурыТекст(КлассАрматурнойСтали));
  Строка(rep, "\tКласс бетона: B", КлассБетона);
  Строка(rep, "\tВнутренний диаметр трубы(dв): ", dв, " м");
  Строка(rep, "\tНаружный диаметр трубы(dн): ", dн, " м");
  if (r == 0) r = ((Число(dв) + dн) / 4).v;
  Строка(rep, "\tРадиус окружности, проходящей через центры тяжести арматурных стержней (rs): ", r,
         " м");
  Строка(rep, "\tДиаметр арматурных стержней (d): ", D, " мм");
  Строка(rep, "\tКоличество арматурных стержней в сечении (ns): ", ns, " шт");
  Строка(rep, "\t(Дополнительные данные будут объявляться в ходе расчёта)");
  Строка(rep, "");

  Кольцо к;
  к.N = N;
  к.r = r;
  Строка(rep, "2. Физико-механические свойства материалов:");
  к.Rs = RsValue(КлассАрматурнойСтали, D, kТипДорожный);
  uint8_t код_Rb = 1;
  к.Rb = мтБетон(КлассБетона, код_Rb);
  Строка(rep, "\tRs = ", к.Rs, " МПа, Rb = ", к.Rb, " МПа");
  Строка(rep, "");

  Строка(rep, "3. Расчет геометрических характеристик сечения:");
  к.M = ДействующийМомент(к.N, M, dв, rep);
  Строка(rep, "");
  Строка(rep, "\tПлощадь сечения всей продольной арматуры:");
  к.Astot = Квадрат(D) * (Число(ns) * circular::kПи14) / 4000000;
  Строка(rep, "\tAstot = ns * Pi * d ^ 2 / 4000000 = ", к.Astot, " кв.м");
  Строка(rep, "\tПлощадь поперечного сечения трубы:");
  к.Ab = (Квадрат(dн) - Квадрат(dв)) * circular::kПи14 / 4;
  Строка(rep, "\tAb = Pi * (dн ^ 2 - dв ^ 2) / 4 = ", к.Ab, " кв.м");
  к.rm = (Число(dв) + dн) / 4;
  Строка(rep, "\trm = (dв + dн) / 4 = ", к.rm, " м");
  Строка(rep, "");

  Строка(rep, "4. Расчет по прочности:");
  Строка(rep, "\tОтносительная площадь сжатой зоны:");
  const Число Ecir = (к.Astot * к.Rs + к.N) / (к.Astot * (к.Rs * 2.7) + к.Ab * к.Rb);
  Строка(rep, "\tEcir = (N + Rs * Astot) / (Rb * Ab + 2.7 * Rs * Astot) = ", Ecir);
  Число Mlim;
  if (Ecir < 0.15) {
    Mlim = МалаяСжатаяЗона(к, rep);
  } else if (Ecir <= 0.6) {
    Mlim = СредняяСжатаяЗона(к, Ecir, rep);
  } else {
    Mlim = БольшаяСжатаяЗона(к, rep);
  }
  Строка(rep, "");

  const double запас = ОпределитьЗапас(Mlim.v, к.M.v, МетодОпределенияЗапаса);
  Строка(rep, "При сравнении величин Mlim = ", Mlim, " МН·м и M = ", к.M, " МН·м запас равен ",
         запас);
  rep.Finish();
  return запас;
}

}  // namespace armocalc
