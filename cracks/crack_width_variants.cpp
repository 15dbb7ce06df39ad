// Crack width with the bars given by diameter and spacing of each row, or listed in a worksheet
// bar table; the weighted diameter sum of a bar table.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cracks/bar_neighbours.hpp"
#include "cracks/crack_width.hpp"
#include "cracks/crack_width_steps.hpp"
#include "materials/bar_table.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/host.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

// Area of a row of bars of diameter D at spacing S (both mm) over the width b, m².
Число ПлощадьРяда(double D, double S, double b) {
  const Число π = ПиАрктангенс();
  return π * 5 * Степень(D, 2) / (2 * Число(S)) * b / 10000;
}

using Стержень = СтерженьТаблицы;

double КоэффициентПучка(int64_t соседейССобой) {
  if (соседейССобой == 1) return 1;
  if (соседейССобой == 2) return 0.85;
  return 0.75;
}

}  // namespace

double ВзвешеннаяСуммаДиаметров(const HostRange& Таблица) {
  // Only rows that hold a bar take part: an empty row would count as a bar of diameter 0 at the
  // origin and make its neighbours a bundle.
  const std::vector<Стержень> стержни = СтержниТаблицы(Таблица);
  const std::vector<double> пределы = cracks::ПределыБлизости(стержни);         // 2 · d / 1000
  const std::vector<uint8_t> ближних = cracks::ЧислаБлижних(стержни, пределы);  // itself included
  Число сумма = 0;
  for (std::size_t i = 0; i < стержни.size(); ++i)
    сумма = сумма + Число(стержни[i].d_mm) * КоэффициентПучка(ближних[i]) / 1000;
  return сумма.v;
}

double мтТрещиностойкость2(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                           double& dв, double& шв, double& ав, double& dн, double& шн, double& ан,
                           double& h, double& B, double& acr_sm, double& Q, double& xd,
                           double& Угол, double& s_wx, double& s_wz, double& dw_mm, double& Bw,
                           double& Bs, bool& КонструкцияЖД, uint8_t& МетодОпределенияЗапаса,
                           std::string& Отчет) {
  using namespace cracks;
  if (N == 0) {
    return СреднееПриНулевойСиле([&](double& N_) {
      std::string БезОтчета;
      return мтТрещиностойкость2(КлассАрматурнойСтали, КлассБетона, N_, M, dв, шв, ав, dн, шн, ан,
                                 h, B, acr_sm, Q, xd, Угол, s_wx, s_wz, dw_mm, Bw, Bs,
                                 КонструкцияЖД, МетодОпределенияЗапаса, БезОтчета);
    });
  }
  Трещиностойкость t(ФормаАрматуры::ДиаметрыИШаги,
                     {КлассАрматурнойСтали, КлассБетона, N, M, h, B, acr_sm, Q, xd, Угол, &s_wx,
                      &s_wz, dw_mm, Bw, Bs, КонструкцияЖД, МетодОпределенияЗапаса},
                     Отчет);
  Отчёт& rep = t.rep;
  ДобавитьНачалоИсходныхДанных(t);
  rep.Add("\tДиаметр стержней верхней арматуры (dв): ", dв, " мм");
  rep.Add("\tШаг размещения стержней верхней арматуры (шв): ", шв, " мм");
  rep.Add("\tРасстояние от центра тяжести верхней арматуры до края сечения (ав): ", ав, " м");
  rep.Add("\tДиаметр стержней нижней арматуры (dн): ", dн, " мм");
  rep.Add("\tШаг размещения стержней нижней арматуры (шн): ", шн, " мм");
  rep.Add("\tРасстояние от центра тяжести нижней арматуры до края сечения (ан): ", ан, " м");
  ДобавитьКонецИсходныхДанных(t, Bs);

  // M ≥ 0 stretches the bottom row, M < 0 the top one.
  const bool низРастянут = M >= 0;
  const double d_s = низРастянут ? dн : dв;
  const double ш_s = низРастянут ? шн : шв;
  const double d_si = низРастянут ? dв : dн;
  const double ш_si = низРастянут ? шв : шн;
  t.Fs = ПлощадьРяда(d_s, ш_s, B);
  t.d = Число(d_s) / 1000;
  t.шаг = Число(ш_s) / 1000;
  t.a = низРастянут ? ан : ав;
  t.Fsi = ПлощадьРяда(d_si, ш_si, B);
  t.di = Число(d_si) / 1000;
  t.шагi = Число(ш_si) / 1000;
  t.ai = низРастянут ? ав : ан;
  if (НетРаскладки(t)) return -100;

  rep.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", t.Fsi,
          " кв.м, ai = ", t.ai, " м\r\tdi = ", t.di, " м, шагi = ", t.шагi, " м");
  rep.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", t.Fs,
          " кв.м, a = ", t.a, " м\r\td = ", t.d, " м, шаг = ", t.шаг, " м");
  ДобавитьХарактеристикиМатериалов(t);
  return ДовестиРасчет(t);
}

double мтТрещиностойкостьТ(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                           double& B, double& h, HostRange& ТаблицаАрматурныхСтержней,
                           double& acr_sm, double& Q, double& xd, double& Угол, double& s_wx,
                           double& s_wz, double& dw_mm, double& Bw, bool& КонструкцияЖД,
                           uint8_t& МетодОпределенияЗапаса, std::string& Отчет) {
  using namespace cracks;
  if (N == 0) {
    return СреднееПриНулевойСиле([&](double& N_) {
      std::string БезОтчета;
      return мтТрещиностойкостьТ(КлассАрматурнойСтали, КлассБетона, N_, M, B, h,
                                 ТаблицаАрматурныхСтержней, acr_sm, Q, xd, Угол, s_wx, s_wz, dw_mm,
                                 Bw, КонструкцияЖД, МетодОпределенияЗапаса, БезОтчета);
    });
  }
  // This form has no bond coefficient of its own for the longitudinal bars.
  const double БезКоэффициента = 1;
  Трещиностойкость t(ФормаАрматуры::ТаблицаСтержней,
                     {КлассАрматурнойСтали, КлассБетона, N, M, h, B, acr_sm, Q, xd, Угол, &s_wx,
                      &s_wz, dw_mm, Bw, БезКоэффициента, КонструкцияЖД, МетодОпределенияЗапаса},
                     Отчет);
  t.Таблица = &ТаблицаАрматурныхСтержней;
  Отчёт& rep = t.rep;
  ДобавитьНачалоИсходныхДанных(t);
  ДобавитьКонецИсходныхДанных(t, Bw);

  int32_t ТипЗначения = ТипЗначенияRs(КонструкцияЖД);
  double y0 = 0;
  const ГруппыСтержней группы =
      ПрочитатьТаблицуСтержней(ТаблицаАрматурныхСтержней, Variant(КлассАрматурнойСтали),
                               ТипЗначения, M, N, y0, h, (Число(h) / 2).v);
  t.Fs = группы(Растянутая, Площадь);
  t.a = группы(Растянутая, РасстояниеДоГрани);
  t.Rs = группы(Растянутая, СреднееRs);
  t.Fsi = группы(Сжатая, Площадь);
  t.ai = группы(Сжатая, РасстояниеДоГрани);
  t.Rsc = группы(Сжатая, СреднееRs);
  t.d = группы(Растянутая, СреднийДиаметр);
  t.ЧислоРастянутыхСтержней = группы(Растянутая, ЧислоСтержней);

  rep.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", t.Fsi,
          " кв.м, ai = ", t.ai, " м");
  rep.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", t.Fs,
          " кв.м, a = ", t.a, " м");
  rep.Add("\tRs = ", t.Rs, "МПа, Rsc = ", t.Rsc, " МПа");
  uint8_t код_Rb = 1;
  t.Rb = мтБетон(КлассБетона, код_Rb);
  t.Es = EsValue(КлассАрматурнойСтали);
  rep.Add("\tХарактеристики материаллов: Rs = ", t.Rs, "МПа, Rsc = ", t.Rsc, " МПа, Rb = ", t.Rb,
          " МПа, Es = ", t.Es, " МПа");
  return ДовестиРасчет(t);
}

}  // namespace armocalc
