// Circular and ring sections: the arguments are normalised, the section characteristics and the
// loading found, and the case handed to the calculation that covers it.

#include "circular/circle_strength.hpp"

#include <string>

#include "circular/bar_by_bar.hpp"
#include "circular/circle_common.hpp"
#include "circular/pile_strength.hpp"
#include "circular/ring_strength.hpp"
#include "kernel/margin.hpp"
#include "kernel/work_character.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

constexpr uint8_t kКодRb = 1;
constexpr uint8_t kТипНормативный = 1;
constexpr double kДиаметрДляRs = 10;  // mm
// The force that stands in for none in the ring and the tube-reinforced pile checks (MN).
constexpr double kУсловнаяСила = 0.00001;
// The largest magnitude of the eccentricity of no force.
constexpr double kБезЭксцентриситета = 1.79769313486231E+308;
constexpr double kКилоВМега = 1000;  // kN per MN, kN·m per MN·m

struct Сечение {
  Число A, I, r_core;  // area, inertia, kern radius
};

Сечение Характеристики(Число Dн, Число Dв) {
  const Число разность4 = Степень(Dн, 4) - Степень(Dв, 4);
  const Число W = разность4 * kПиДесятичное / (Dн * 32);
  Сечение сечение;
  сечение.A = (Квадрат(Dн) - Квадрат(Dв)) * kПиДесятичное / 4;
  сечение.I = разность4 * kПиДесятичное / 64;
  сечение.r_core = W / сечение.A;
  return сечение;
}

ХарактерРаботы ХарактерКруга(double N, Число e, Число r_core) {
  if (N > 0) {
    return e > r_core ? ХарактерРаботы::ВнецентренноеСжатие : ХарактерРаботы::ЦентральноеСжатие;
  }
  if (N == 0) return ХарактерРаботы::ЧистыйИзгиб;
  return e > r_core ? ХарактерРаботы::ВнецентренноеРастяжение
                    : ХарактерРаботы::ЦентральноеРастяжение;
}

// Everything the calculations take from the front part.
struct Круг {
  uint8_t& класс_стали;
  float& класс_бетона;
  double& N;
  double& M;
  double& Dн;
  double& Dв;
  double& Dk;
  double& Fs;
  int32_t& ns;
  double& ds;
  double Nl, Ml;
  Число lo, e;
  Сечение сечение;
  Число Rs, Rb, Rsn;
  uint8_t метод = 3;
};

// The tube of area Fs on the cage circle: its wall thickness goes into ds (m).
Число ТолщинаТрубы(Круг& к) {
  const Число t = Число(к.Fs) / 10000 / (Число(к.Dk) * kПиДесятичное);
  к.ds = t.v;
  return t;
}

// The ring check receives the caller's force, or the force that stands in for none.
double КольцоСоСтержнями(Круг& к, bool условная_сила) {
  double сила = kУсловнаяСила;
  double число_стержней = к.ns;
  std::string без_отчёта;
  return гRing(к.класс_стали, к.класс_бетона, к.Dв, к.Dн, условная_сила ? сила : к.N, к.M,
               (Число(к.Dk) / 2).v, к.ds, число_стержней, к.метод, без_отчёта);
}

double КольцоСТрубой(Круг& к, bool условная_сила) {
  const Число t = ТолщинаТрубы(к);
  // The tube counted as bars of its own thickness (in m, as the equivalence has always been
  // taken: a conservative steel area).
  к.ns = CLng((Число(к.Fs) / 10000 / t).v);
  return КольцоСоСтержнями(к, условная_сила);
}

// The pile computes in kN and kN·m.
double СваяСТрубой(Круг& к, bool условная_сила) {
  // No force stands for 0.00001 MN.
  const double N = условная_сила ? kУсловнаяСила : к.N;
  const Число t = ТолщинаТрубы(к);
  const Число Cov = (Число(к.Dн) - к.Dk) / 2 - t / 2;
  return ПрочностьСваиСТрубой((Число(к.M) * kКилоВМега).v, (Число(N) * kКилоВМега).v, к.lo.v, к.Dн,
                              к.Fs, Cov.v, к.класс_стали, static_cast<double>(к.класс_бетона),
                              к.метод);
}

// Central tension: the steel alone. Bars give their area in m² (written into Fs); an area given
// in cm² is converted and left as the caller gave it.
double ЦентральноеРастяжение(Круг& к) {
  Число площадь;
  if (к.ns > 0) {
    площадь = Квадрат(Число(к.ds) / 2000) * (Число(к.ns) * kПиДесятичное);
    к.Fs = площадь.v;
  } else {
    площадь = Число(к.Fs) / 10000;
  }
  return ОпределитьЗапас((к.Rs * площадь).v, -к.N, к.метод);
}

circular::КругСоСтержнями СтержниКруга(const Круг& к) {
  circular::КругСоСтержнями круг;
  круг.D = к.Dн;
  круг.Dk = к.Dk;
  круг.n = к.ns;
  круг.ds = к.ds;
  круг.класс_стали = к.класс_стали;
  круг.класс_бетона = к.класс_бетона;
  круг.Rs = к.Rs.v;
  круг.Rsn = к.Rsn.v;
  круг.Rb = к.Rb.v;
  круг.M = к.M;
  круг.N = к.N;
  круг.Nl = к.Nl;
  круг.Ml = к.Ml;
  круг.lo = к.lo.v;
  круг.e = к.e.v;
  круг.A = к.сечение.A.v;
  круг.I = к.сечение.I.v;
  круг.метод = к.метод;
  return круг;
}

double Рассчитать(Круг& к, ХарактерРаботы характер) {
  const bool труба = к.ns < 1;
  const bool кольцо = к.Dв != 0;
  switch (характер) {
    case ХарактерРаботы::ЧистыйИзгиб:
      if (труба) return кольцо ? КольцоСТрубой(к, true) : СваяСТрубой(к, true);
      if (кольцо) return КольцоСоСтержнями(к, true);
      return circular::ИзгибКругаСоСтержнями(СтержниКруга(к));
    case ХарактерРаботы::ЦентральноеСжатие:
    case ХарактерРаботы::ВнецентренноеСжатие:
      if (труба) return кольцо ? КольцоСТрубой(к, false) : СваяСТрубой(к, false);
      if (кольцо) return КольцоСоСтержнями(к, false);
      return circular::СжатиеКругаСоСтержнями(СтержниКруга(к), к.Fs);
    case ХарактерРаботы::ЦентральноеРастяжение:
      if (к.M == 0) return ЦентральноеРастяжение(к);
      [[fallthrough]];
    case ХарактерРаботы::ВнецентренноеРастяжение:
      // Neither the ring nor the tube has a tension calculation.
      if (труба || кольцо) return 0;
      return circular::РастяжениеКругаСоСтержнями(СтержниКруга(к), к.Fs);
    default:
      return 0;
  }
}

}  // namespace

double мтПрочностьКруга(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                        double& ДиаметрНаружний, double& ДиаметрВнутренний, double& ДиаметрКаркаса,
                        double& Fs, int32_t& ns, double& ds, int32_t& КлассКонструкции, double& Nl,
                        double& Ml, double& L, double /*Z*/, int32_t ЗакрепленияНаКонцахЭлемента,
                        int32_t& МетодОпределенияЗапаса, std::string& /*Отчет*/) {
  M = Abs(M).v;
  if (Nl == 0) Nl = N;
  Ml = Ml == 0 ? M : Abs(Ml).v;

  Круг к{КлассАрматурнойСтали,
         КлассБетона,
         N,
         M,
         ДиаметрНаружний,
         ДиаметрВнутренний,
         ДиаметрКаркаса,
         Fs,
         ns,
         ds,
         Nl,
         Ml,
         1,
         0,
         {},
         0,
         0,
         0,
         3};
  к.сечение = Характеристики(ДиаметрНаружний, ДиаметрВнутренний);

  Число ea = 0;
  Число e0 = kБезЭксцентриситета;
  if (N != 0) {
    e0 = Abs(Число(M) / N);
    if (L >= 0 && N > 0) {
      к.lo = РасчетнаяДлина(L, ЗакрепленияНаКонцахЭлемента);
      ea = к.lo / 400;
    }
  }
  к.e = e0 + ea;
  const ХарактерРаботы характер = ХарактерКруга(N, к.e, к.сечение.r_core);

  к.Rs = RsValue(КлассАрматурнойСтали, kДиаметрДляRs, CByte(КлассКонструкции));
  uint8_t код_Rb = kКодRb;
  к.Rb = мтБетон(КлассБетона, код_Rb);
  к.Rsn = RsValue(КлассАрматурнойСтали, kДиаметрДляRs, kТипНормативный);
  к.метод = CByte(МетодОпределенияЗапаса);
  return Рассчитать(к, характер);
}

}  // namespace armocalc
