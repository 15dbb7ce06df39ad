// Longitudinal cracks of a compressed rectangular section: the stress in the concrete over the
// section of concrete and bars reduced to concrete, against Rb_mc2, and with a spiral against the
// resistance the spiral raises.

#include "cracks/longitudinal_cracks.hpp"

#include <cmath>
#include <string>

#include "cracks/crack_width_steps.hpp"
#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "kernel/report_blocks.hpp"
#include "kernel/work_character.hpp"
#include "materials/bar_table.hpp"
#include "materials/bars.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/host.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

struct ПродольныеТрещины {
  ПродольныеТрещины(bool поТаблице_, float КлассБетона_, double N_, double M_, double h_, double b_,
                    double d_mm_, double s_, uint8_t Метод_, std::string_view Отчет)
      : поТаблице(поТаблице_),
        КлассБетона(КлассБетона_),
        N(N_),
        M(M_),
        h(h_),
        b(b_),
        d_mm(d_mm_),
        s(s_),
        Метод(Метод_),
        rep(Отчет) {}

  bool поТаблице;
  float КлассБетона;
  double N, M, h, b, d_mm, s;
  uint8_t Метод;
  Отчёт rep;
  ХарактерРаботы характер = ХарактерРаботы::НеОпределен;
  Число Fs = 0;  // all bars, m²
  Число WS = 0;  // section modulus of the bars, m³
  Число a = 0;   // distance of the stretched bars from the stretched edge, m
  Число Sbx = 0;
};

double БетонаСвойство(float КлассБетона, uint8_t код) {
  return мтБетон(КлассБетона, код);
}

void ДобавитьНачалоОтчета(ПродольныеТрещины& p) {
  Отчёт& rep = p.rep;
  rep.Add(
      "Расчет запаса по факту образования продольных трещин в процентах прямоугольного ж/б "
      "элемента без учета предварительно напряженной арматуры, согласно СНиП 2.05.03-84*");
  rep.Add("1. Исходные данные:");
  ДобавитьСилуИМомент(rep, p.N, p.M);
  rep.Add("\tКласс бетона: B", p.КлассБетона);
  ДобавитьРазмерыСечения(rep, p.h, p.b);
}

void ДобавитьКонецИсходныхДанных(ПродольныеТрещины& p) {
  p.rep.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  p.rep.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
}

// Central compression (code 1) takes the eccentric working depth, every other loading h − a.
Число РабочаяВысота(ПродольныеТрещины& p) {
  const Число h = p.h;
  const Число модуль_M = std::fabs(p.M);
  if (p.характер == ХарактерРаботы::ЦентральноеСжатие) {
    const Число ho = h - модуль_M * (6 * p.a) / (h * p.N);
    p.rep.Add("\tho = h - 6 * a * Abs(M) / (N * h) = ", p.h, " - 6 * ", p.a, " * ", модуль_M,
              " / (", p.N, " * ", p.h, ") = ", ho, " м - рабочая высота сечения");
    return ho;
  }
  const Число ho = h - p.a;
  p.rep.Add("\tho = h - a = ", p.h, " - ", p.a, " = ", ho, " м - рабочая высота сечения");
  return ho;
}

// Margin of the resistance the spiral raises over Sbx.
double УчестьСпираль(ПродольныеТрещины& p) {
  Отчёт& rep = p.rep;
  const double π = kПиДесятичное;
  const Число b = p.b;
  const Число h = p.h;
  const Число d_mm = p.d_mm;
  rep.Add("4. Учет косвенного спирального армирования по п. 3.90");
  rep.Add("\tШаг спиральной арматуры: s = ", p.s, " м");
  rep.Add("\tДиаметр спиральной арматуры: d_mm = ", d_mm, " мм");
  const double Rb = БетонаСвойство(p.КлассБетона, 1);
  rep.Add("\tРасчётное сопротивление бетона: Rb = ", Rb, " МПа");
  const double Rs = RsValue(1, p.d_mm, 3);
  rep.Add("\tРасчётное сопротивление арматуры: Rs = ", Rs, " МПа");
  const Число зс = p.a - 0.014 - d_mm / 2000;
  rep.Add(
      "\tРасстояние от края сечения до ц.т. стержня спиральной арматуры: зс = a - 0.014 - d_mm / "
      "2000 = ",
      p.a, " - 0.014 - ", d_mm, " / 2000 = ", зс, " м");
  const Число Aloc = (h - 2 * зс - d_mm / 1000) * (b - 2 * зс - d_mm / 1000);
  rep.Add("\tПлощадь смятия: Aloc = (b - 2 * зс - d_mm / 1000) * (h - 2 * зс - d_mm / 1000) = (", b,
          " - 2 * ", зс, " - ", d_mm, " / 1000) * (", h, " - 2 * ", зс, " - ", d_mm,
          " / 1000) = ", Aloc, " кв.м");
  const Число Aef = (h - 2 * зс) * (b - 2 * зс);
  rep.Add(
      "\tПлощадь бетона, заключенного внутри контура сеток косвенного армирования, считая по их "
      "крайним стержням. При этом должно удовлетворяться Aloc<Aef<=Ad: Aef = (b - 2 * зс) * (h - 2 "
      "* зс) = (",
      b, " - 2 * ", зс, ") * (", h, " - 2 * ", зс, ") = ", Aef, " кв.м");
  const Число Ad = h * b;
  rep.Add(
      "\tПриведенная площадь, симметричная по отношению к площади смятия (максимальная площадь): "
      "Ad = b * h = ",
      b, " * ", h, " = ", Ad, " кв.м");
  const Число d_ef = Степень(Aef * 4 / π, 0.5);
  rep.Add("\tДиаметр части сечения внутри спирали: d_ef = (4 * Aef / Pi) ^ (1 / 2) = (4 * ", Aef,
          " / Pi) ^ (1 / 2) = ", d_ef, " м");
  // The area and 4·As_cir in plain double: a bar beyond the double range still meets d_ef = 0
  // as division by zero (11), not as an overflow (6).
  const double As_cir = Квадрат(d_mm / 2000).v * π;
  rep.Add("\tПлощадь поперечного сечения спиральной арматуры: As_cir = ", As_cir, " кв.м");
  const Число мю = Число(As_cir * 4) / (d_ef * p.s);
  rep.Add("\tКоэффициент армирования: мю = 4 * As_cir / (d_ef * s) = 4 * ", As_cir, " / (", d_ef,
          " * ", p.s, ") = ", мю, " (по формуле 87)");
  const Число ш = мю * Rs / (Число(Rb) + 10);
  rep.Add("\tш = мю * Rs / (Rb + 10) = ", мю, " * ", Rs, " / (", Rb, " + 10) = ", ш,
          " (по формуле 85)");
  const Число ф = 1 / (ш + 0.23);
  rep.Add("\tКоэффициент эффективности косвенного армирования: ф = 1 / (0.23 + ш) = 1 / (0.23 + ",
          ш, ") = ", ф, " (по формуле 84)");
  Число loc_b = Степень(Ad / Aloc, 1.0 / 3);
  rep.Add("\tloc_b = (Ad / Aloc) ^ (1 / 3) = (", Ad, " / ", Aloc, ") ^ (1 / 3) = ", loc_b, " <= 3");
  if (loc_b > 3) loc_b = 3;
  const Число loc_s = 4.5 - Aloc * 3.5 / Aef;
  rep.Add("\tloc_s = 4.5 - 3.5 * Aloc / Aef = 4.5 - 3.5 * ", Aloc, " / ", Aef, " = ", loc_s);
  const Число Rb_red = ф * мю * Rs * loc_s + loc_b * Rb;
  rep.Add(
      "\tПриведённое расчетное сопротивление сечения: Rb_red = Rb * loc_b + ф * мю * Rs * loc_s = ",
      Rb, " * ", loc_b, " + ", ф, " * ", мю, " * ", Rs, " * ", loc_s, " = ", Rb_red,
      " МПа (по формуле 110)");
  const double результат = ОпределитьЗапас(Rb_red.v, p.Sbx.v, p.Метод);
  rep.Add("При сравнении величин Rb_red = ", Rb_red, " и Sbx = ", p.Sbx, " запас равен ",
          результат);
  return результат;
}

// From the working depth on: the concrete and reduced bar section, Sbx, the margins, the report.
double ДовестиРасчет(ПродольныеТрещины& p) {
  Отчёт& rep = p.rep;
  const Число b = p.b;
  const Число ho = РабочаяВысота(p);
  const Число Fb = ho * b - p.Fs;
  const Число Wb = Квадрат(ho) * b / 6 - p.WS;
  const double ni = БетонаСвойство(p.КлассБетона, 9);
  const Число Fs_red = p.Fs * ni;
  const Число Ws_red = p.WS * ni;
  if (p.поТаблице) {
    rep.Add("\tFb = ho * b - Fs = ", ho, " * ", b, " - ", p.Fs, " = ", Fb,
            " кв.м - площадь бетона");
    rep.Add("\tWb = b * ho ^ 2 / 6 - Ws = ", b, " * ", ho, " ^ 2 / 6 - ", p.WS, " = ", Wb,
            " куб.м - момент сопротивления бетона");
    rep.Add("\tni = ", ni, " - коэффициент учёта арматуры (п. 3.48*)");
    rep.Add("\tFs_red = Fs * ni = ", p.Fs, " * ", ni, " = ", Fs_red,
            " кв.м - площадь арматуры, приведённой к бетону");
    rep.Add("\tWs_red = Ws * ni = ", p.WS, " * ", ni, " = ", Ws_red,
            " куб.м - момент сопротивления арматуры, приведённой к бетону");
    rep.Add("3. Расчёт напряжений в бетоне");
  } else {
    rep.Add("\tПлощадь бетона без арматуры: Fb = ho * b - Fs = ", ho, " * ", b, " - ", p.Fs, " = ",
            Fb, " кв.м");
    rep.Add("\tМомент сопротивления бетона без арматуры: Wb = b * ho ^ 2 / 6 - WS = ", b, " * ", ho,
            " ^ 2 / 6 - ", p.WS, " = ", Wb, " куб.м");
    rep.Add("\tКоэффициент учета арматуры ni = ", ni);
    rep.Add("\tПриведённая площадь арматуры: Fs_red = Fs * ni = ", p.Fs, " * ", ni, " = ", Fs_red,
            " кв.м");
    rep.Add("\tПриведённый момент инерции арматуры: Ws_red = WS * ni = ", p.WS, " * ", ni, " = ",
            Ws_red, " куб.м");
    rep.Add("3. Расчет напряжений в бетоне");
  }

  const Число модуль_M = std::fabs(p.M);
  // Each moment term first: its division fails (11 or 6) before the one of the force.
  const Число изгибБетона = модуль_M / Wb;
  const Число вБетоне = Fb * (изгибБетона + p.N / Fb);
  const Число изгибАрматуры = модуль_M / Ws_red;
  const Число вАрматуре = Fs_red * (изгибАрматуры + p.N / Fs_red);
  p.Sbx = (вБетоне + вАрматуре) / (Fb + Fs_red);
  rep.Add(
      "\tНормальное напряжение в бетоне вдоль продольной оси от внешней нагрузки:\r\tSbx = ((N / "
      "Fb + Abs(M) / Wb) * Fb + ((N / Fs_red + Abs(M) / Ws_red)) * Fs_red) / (Fb + Fs_red) = ((",
      p.N, " / ", Fb, " + Abs(", p.M, ") / ", Wb, ") * ", Fb, "\r\t + ((", p.N, " / ", Fs_red,
      " + Abs(", p.M, ") / ", Ws_red, ")) * ", Fs_red, ") / (", Fb, " + ", Fs_red, ") = ", p.Sbx,
      " МПа");

  const double Rb_mc2 = БетонаСвойство(p.КлассБетона, 7);
  rep.Add(
      "\tРасчётное сопротивление бетона при расчётах на образование продольных трещин: Rb_mc2 = ",
      Rb_mc2, " МПа (Таблица 23*)");
  double результат = ОпределитьЗапас(Rb_mc2, p.Sbx.v, p.Метод);
  rep.Add("При сравнении величин Rb_mc2 = ", Rb_mc2, " и Sbx = ", p.Sbx, " запас равен ",
          результат);

  if (p.s > 0 && p.d_mm > 0) результат = УчестьСпираль(p);
  rep.Finish();
  return результат;
}

void ДобавитьХарактерРаботы(ПродольныеТрещины& p) {
  p.характер = ОпределитьХарактерРаботы(p.h, p.M, p.N);
  p.rep.Add("\tХарактер работы элемента: ", ТекстХарактераРаботы(p.характер));
}

// The bars' own inertia of one row, d ^ 4 * π / 64 * b / шаг, F the row's area.
Число СвоиСтержней(double π, double d, double b, double шаг, Число F) {
  // A row of area 0 has no bars and no layout (d = шаг = 0): it adds 0 instead of 0 / 0.
  if (F == 0) return 0;
  return Степень(d, 4) * π / 64 * b / шаг;
}

Variant ПустойРезультат(ПродольныеТрещины& p) {
  p.rep.Add("\tВ растянутых железобетонных элементах продольные трещины не возникают!");
  return Variant(std::string());
}

}  // namespace

Variant мтТрещиностойкостьПродольные(float& КлассБетона, double& N, double& M, double& Fв,
                                     double& Fн, double& ав, double& ан, double& h, double& B,
                                     bool& ОпределятьСМИ, double& d_mm, double& s,
                                     uint8_t& МетодОпределенияЗапаса, std::string& Отчет) {
  ПродольныеТрещины p(false, КлассБетона, N, M, h, B, d_mm, s, МетодОпределенияЗапаса, Отчет);
  Отчёт& rep = p.rep;
  ДобавитьНачалоОтчета(p);
  ДобавитьПлощадиИРасстояния(rep, Fв, Fн, ав, ан);
  ДобавитьКонецИсходныхДанных(p);
  if (N <= 0) return ПустойРезультат(p);
  ДобавитьХарактерРаботы(p);

  Число Fs = 0, a = 0, Fsi = 0, ai = 0;
  if (M >= 0) {
    Fs = Число(Fн) / 10000;
    a = ан;
    Fsi = Число(Fв) / 10000;
    ai = ав;
  } else {
    Fs = Число(Fв) / 10000;
    a = ав;
    Fsi = Число(Fн) / 10000;
    ai = ан;
  }
  const Число до_a = Число(h) / 2 - a;
  const Число до_ai = Число(h) / 2 - ai;
  Число Js = Квадрат(до_a) * Fs;
  Число Jsi = Квадрат(до_ai) * Fsi;
  if (ОпределятьСМИ) {
    // The bars' own inertia, with the layout the selection finds for each row.
    const double π = ПиАрктангенс();
    double d = 0, шаг = 0, di = 0, шагi = 0;
    ДиаметрИШагСтержней(d, шаг, (Fs / B).v, 1);
    ДиаметрИШагСтержней(di, шагi, (Fsi / B).v, 1);
    Js = Js + СвоиСтержней(π, d, B, шаг, Fs);
    Jsi = Jsi + СвоиСтержней(π, di, B, шагi, Fsi);
    rep.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", Fsi,
            " кв.м, ai = ", ai, " м\rdi = ", di, " м, шагi = ", шагi, " м, Jsi = ", Jsi,
            " м4 - подобрано по площади армирования");
    rep.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", Fs,
            " кв.м, a = ", a, " м\rd = ", d, " м, шаг = ", шаг, " м, Js = ", Js,
            " м4 - подобрано по площади армирования");
  } else {
    rep.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", Fsi,
            " кв.м, ai = ", ai, " м, Jsi = ", Jsi, " м4");
    rep.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", Fs,
            " кв.м, a = ", a, " м, Js = ", Js, " м4");
  }

  const Число Fb = Число(h) * B;
  rep.Add("\tFb = b * h = ", B, " * ", h, " = ", Fb, " кв.м");
  const Число Jb = Степень(h, 3) * B / 12;
  rep.Add("\tJb = b * h ^ 3 / 12 = ", B, " * ", h, " ^ 3 / 12 = ", Jb, " м4");

  rep.Add("\tРасстояние от центра тяжести бетона до центра тяжести всей арматуры:");
  const Число ys = ((Число(h) / 2 - ав) * Fв - (Число(h) / 2 - ан) * Fн) / (Число(Fв) + Fн);
  rep.Add("\tys = (Fв * (h / 2 - ав) - Fн * (h / 2 - ан)) / (Fв + Fн) = (", Fв, " * (", h,
          " / 2 - ", ав, ") - ", Fн, " * (", h, " / 2 - ", ан, ")) / (", Fв, " + ", Fн, ") = ", ys,
          " м");

  rep.Add(
      "\tПродольные трещины образуются только при чрезмерном сжатии, значит вся арматура будет "
      "работать на сжатие:");
  p.Fs = Fs + Fsi;
  rep.Add("\tFs = Fs + Fsi = ", p.Fs, " кв.м");
  // The stretched row first: its division fails (11 or 6) before the compressed row's.
  const Число растянутого = Js / до_a;
  p.WS = растянутого + Jsi / до_ai;
  rep.Add(
      "\tМомент сопротивления арматурных стержней: WS = Js / (h / 2 - a) + Jsi / (h / 2 - ai) = ",
      Js, " / (", h, " / 2 - ", a, ") + ", Jsi, " / (", h, " / 2 - ", ai, ") = ", p.WS, " куб.м");
  p.a = a;
  return ДовестиРасчет(p);
}

Variant мтТрещиностойкостьПродольныеТ(float& КлассБетона, double& N, double& M, double& B,
                                      double& h, HostRange& ТаблицаАрматурныхСтержней, double& d_mm,
                                      double& s, uint8_t& МетодОпределенияЗапаса,
                                      std::string& Отчет) {
  ПродольныеТрещины p(true, КлассБетона, N, M, h, B, d_mm, s, МетодОпределенияЗапаса, Отчет);
  Отчёт& rep = p.rep;
  ДобавитьНачалоОтчета(p);
  ДобавитьКонецИсходныхДанных(p);
  if (N <= 0) return ПустойРезультат(p);
  ДобавитьХарактерРаботы(p);

  int32_t ТипЗначения = 3;
  double y0 = 0;
  const ГруппыСтержней г = ПрочитатьТаблицуСтержней(ТаблицаАрматурныхСтержней, Variant(uint8_t{1}),
                                                    ТипЗначения, M, N, y0, h, (Число(h) / 2).v);
  const Число ys = (Число(г(Сжатая, Центр)) * г(Сжатая, Площадь) +
                    Число(г(Растянутая, Центр)) * г(Растянутая, Площадь)) /
                   (Число(г(Сжатая, Площадь)) + г(Растянутая, Площадь));
  rep.Add("\tys = ", ys, " м - ц.т. арматур");
  p.Fs = Число(г(Сжатая, Площадь)) + г(Растянутая, Площадь);
  rep.Add("\tFs = ", p.Fs,
          " кв.м - площадь поперечного сечения рабочих сержней вдоль оси элемента");
  // The compressed group first: its division fails (11 or 6) before the stretched group's.
  // std::fabs, not Abs: a quotient of −0 counts as +0, as it always has.
  const Число сжатой = std::fabs((Число(г(Сжатая, МоментИнерции)) / г(Сжатая, Центр)).v);
  p.WS = сжатой + std::fabs((Число(г(Растянутая, МоментИнерции)) / г(Растянутая, Центр)).v);
  rep.Add("\tWS = ", p.WS, "куб.м - момент сопротивления арм.стержней");
  // The distance of the stretched group, as the line below names it (not the compressed one).
  p.a = г(Растянутая, РасстояниеДоГрани);
  rep.Add("\ta = ", p.a, " м - расстояние от растянутой арматуры до растянутого края сечения");
  return ДовестиРасчет(p);
}

}  // namespace armocalc
