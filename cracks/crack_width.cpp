// Crack width with the bars given as total areas, and the steps all three crack-width checks
// share.

#include "cracks/crack_width.hpp"

#include <cmath>
#include <string>

#include "cracks/crack_width_steps.hpp"
#include "kernel/margin.hpp"
#include "kernel/report.hpp"
#include "kernel/work_character.hpp"
#include "materials/bars.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace cracks {
namespace {

// arccos through the arctangent: ±1 divides by zero (error 11), beyond ±1 the root fails (5).
Число Arccos(Число x) {
  // 1 − x² in plain double: for a huge x it runs to −∞ and the root fails (5), not the square (6).
  const double подкоренное = 1 - x.v * x.v;
  return Число(Atn((-x / Sqrt(подкоренное)).v)) + 2 * Atn(1);
}

// Section 3: compressed zone, lever arm, distances and the eccentricity of the resultant.
void ОпределитьГеометрию(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  Отчёт& rep = t.rep;
  const Число b = in.b;
  const Число h = in.h;
  rep.Add("3. Определение дополнительных геометрических характеристик");
  rep.Add("\tОпределение высоты сжатой зоны сечения:");
  t.X = (in.N + t.Rs * t.Fs - t.Rsc * t.Fsi) / (t.Rb * b);
  rep.Add("\tX = (N + Rs * Fs - Rsc * Fsi) / (Rb * b) = (", in.N, " + ", t.Rs, " * ", t.Fs, " - ",
          t.Rsc, " * ", t.Fsi, ") / (", t.Rb, " * ", b, ") = ", t.X,
          " м - высота сжатой зоны сечения с учетом сжатой арматуры (по формулам 55, 72, 92)");
  t.z = h - t.X / 2 - t.a;
  rep.Add("\tz = h - X / 2 - a = ", h, " - ", t.X, " / 2 - ", t.a, " = ", t.z,
          " м - расстояние от равнодействующей в сжатой зоне до ц.т. растянутой арматуры");
  t.h2 = h - t.a - t.ai;
  rep.Add("\th2 = h - a - ai = ", h, " - ", t.a, " - ", t.ai, " = ", t.h2,
          " м - расстояние от сжатых стержней арматуры до растянутых");
  t.ho = h - t.a;
  rep.Add("\tho = h - a = ", h, " - ", t.a, " = ", t.ho, " м");

  if (in.Угол != 0) {
    if (t.X > 0 && t.X < t.ho) {
      t.T = (t.ho - t.X) * std::tan(in.Угол);
      rep.Add("\tT = (ho - x) * Tan(Угол) = (", t.ho, " - ", t.X, ") * Tan(", in.Угол, ") = ", t.T,
              " м - распространение наклонного сечения вдоль оси Z (проекция на ось Z)");
      t.L = (t.ho - t.X) / std::cos(in.Угол);
      rep.Add("\tL = (ho - x) / Cos(Угол) = (", t.ho, " - ", t.X, ") / Cos(", in.Угол, ") = ", t.L,
              " м - длина наклонного сечения");
    } else {
      t.T = t.h2 * std::tan(in.Угол);
      rep.Add("\tT = h2 * Tan(Угол) = ", t.h2, " * Tan(", in.Угол, ") = ", t.T,
              " м - распространение наклонного сечения вдоль оси Z (проекция на ось Z)");
      t.L = t.h2 / std::cos(in.Угол);
      rep.Add("\tL = h2 / Cos(Угол) = ", t.h2, " / Cos(", in.Угол, ") = ", t.L,
              " м - длина наклонного сечения");
    }
  }

  t.ec = Число(in.M) / in.N;
  rep.Add("\tec = M / N = ", t.ec,
          " м - координата точки приложения равнодействующей относительно ц.т. сечения");
  if (in.M >= 0) {
    t.e = (h / 2 - t.a) + t.ec;
    rep.Add("\te = h / 2 - a + ec = ", h, " / 2 - ", t.a, " + ", t.ec, " = ", t.e,
            " м - расстояние между ц.т. растянутой арматуры и точкой приложения равнодействующей");
  } else {
    t.e = (h / 2 - t.a) - t.ec;
    rep.Add("\te = h / 2 - a - ec = ", h, " / 2 - ", t.a, " - ", t.ec, " = ", t.e,
            " м - расстояние между ц.т. растянутой арматуры и точкой приложения равнодействующей");
  }
}

// Reinforcement ratio of the inclined section, stirrups included (zero spacings become 1).
void ОпределитьАрмированиеНаклонногоСечения(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  Отчёт& rep = t.rep;
  const Число b = in.b;
  double& s_wx = *in.s_wx;
  double& s_wz = *in.s_wz;
  if (s_wx == 0) s_wx = 1;
  if (s_wz == 0) s_wz = 1;
  rep.Add("\tКоэффициент армирования наклонного сечения (п. 3.109*):");
  const double π = ПиАрктангенс();
  t.мю = ((t.Fs + t.Fsi) * std::cos(in.Угол) +
          (t.T / s_wz) * (b / s_wx) * π * Квадрат(Число(in.dw_mm) / 2000) * std::sin(in.Угол)) /
         (b * t.L);
  rep.Add(
      "\tмю = ((Fs + Fsi) * Cos(Угол) + (T / s_wz) * (b / s_wx) * P * (dw_mm / 2000) ^ 2 * "
      "Sin(Угол)) / (b * L) = ((",
      t.Fs, " + ", t.Fsi, ") * Cos(", in.Угол, ") + (", t.T, " / ", s_wz, ") * (", b, " / ", s_wx,
      ") * ", π, " * (", in.dw_mm, " / 2000) ^ 2 * Sin(", in.Угол, ")) / (", b, " * ", t.L,
      ") = ", t.мю);
  t.б = 1 / (1 + 0.5 / (t.L * 100 * t.мю));
  rep.Add("\tб = 1 / (1 + 0.5 / (L * 100 * мю)) = 1 / (1 + 0.5 / (", t.L, " * 100 * ", t.мю,
          ")) = ", t.б,
          " - коэффициент, учитывающей перераспределение напряжений в зоне образования наклонных "
          "трещин (по формуле 129)");
  if (t.б < 0.75) {
    t.б = 0.75;
    rep.Add("\tтак как б < 0.75, то б = 0.75 (формула 129)");
  }
}

// Section 4: tensile stress in the longitudinal reinforcement.
void ОпределитьНапряжение(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  Отчёт& rep = t.rep;
  const Число b = in.b;
  const Число h = in.h;
  if (in.Угол != 0) {
    rep.Add("4. Определение растягивающих напряжений {Ss} в продольной арматуре (п. 3.107*):");
    if (in.Q != 0) {
      // 3·|Q| in plain double: a force beyond the double range still meets a section of no area
      // as division by zero (11), not as an overflow (6).
      t.SsQ = Число(3 * std::fabs(in.Q)) / (2 * b * h);
      rep.Add("\tSsQ = 3 * Abs(Q) / (2 * b * h) = 3 * Abs(", in.Q, ") / (2 * ", b, " * ", h,
              ") = ", t.SsQ, " МПа - касательное напряжение на уровне центра тяжести сечения");
      t.Ss = t.б * t.SsQ / t.мю;
      rep.Add("\tSs = б * SsQ / мю = ", t.б, " * ", t.SsQ, " / ", t.мю, " = ", t.Ss,
              " МПа - растягивающие напряжения в поперечной и продольной арматуре стенок (ребер) "
              "балок (по формуле 128) п. 3.107*");
    }
    return;
  }
  rep.Add("4. Определение растягивающих напряжений {Ss} в продольной арматуре:");
  if (t.X == t.ho) t.X = t.X - 1e-5;
  // The factor h − X − a stays on both sides, as the code's formula is written.
  const Число плечо = h - t.X - t.a;
  t.Ss = (in.N * (t.e - t.z) * плечо) / (t.Fs * t.z * плечо);
  rep.Add("\tSs = (N * (e - Z) * (h - x - a)) / (Fs * Z * (h - x - a)) = (", in.N, " * (", t.e,
          " - ", t.z, ") * (", h, " - ", t.X, " - ", t.a, ")) / (", t.Fs, " * ", t.z, " * (", h,
          " - ", t.X, " - ", t.a, ")) = ", t.Ss, " МПа");
}

// Mazhirin method: the circle of radius xd·d around one stretched bar, less the overlaps with its
// neighbours and the segment beyond the stretched edge, times the number of bars b / шаг.
void ОпределитьЗонуМажирина(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  Отчёт& rep = t.rep;
  const Число b = in.b;
  const double π = ПиАрктангенс();
  rep.Add("\tОпределение площади зоны взаимодействия производится с помощью метода Мажирина");
  t.R = t.d * in.xd;
  rep.Add("\tR = xd * D = ", in.xd, " * ", t.d, " = ", t.R, " м - радиус взаимодействия");
  const Число R2 = Квадрат(t.R);
  t.Fr = π * R2;
  rep.Add("\tFr = P * R ^ 2 = Пи * ", t.R, " ^ 2 = ", t.Fr, " кв.м - площадь зоны взаимодействия");
  if (t.форма == ФормаАрматуры::ТаблицаСтержней) {
    t.шаг = b / t.ЧислоРастянутыхСтержней;
    rep.Add("\tшаг = b / кол-во = ", b, " / ", t.ЧислоРастянутыхСтержней, " = ", t.шаг, " м");
  }
  const Число Fr0 = t.Fr;
  if (2 * t.R > t.шаг) {
    rep.Add("\tт.к. 2 * R > шаг, то");
    t.Katet = Степень(R2 - Квадрат(t.шаг) / 4, 0.5);
    rep.Add("\tKatet = (R ^ 2 - шаг ^ 2 / 4) ^ 0.5 = (", t.R, " ^ 2 - ", t.шаг,
            " ^ 2 / 4) ^ 0.5 = ", t.Katet, " м");
    t.Fб = 2 * (R2 * Arccos(t.шаг / (2 * t.R)) - t.шаг / 2 * t.Katet);
    rep.Add("\tFб = 2 * (R ^ 2 * acos(шаг / (2 * R)) - шаг / 2 * Katet) = 2 * (", t.R,
            " ^ 2 * acos(", t.шаг, " / (2 * ", t.R, ")) - ", t.шаг, " / 2 * ", t.Katet,
            ") = ", t.Fб, " кв.м - площадь бокового сегмента");
  } else {
    t.Fб = 0;
    t.Katet = 0;
  }
  if (t.a < t.R) {
    rep.Add("\tЕсли a < R, то");
    const Число хорда = Степень(R2 - Квадрат(t.a), 0.5);
    if (2 * хорда > t.шаг) {
      // The arccos first: its errors (5, 11) come before an overflow of the sum (6).
      const Число угол = Arccos(t.Katet / t.R);
      t.Fниж = R2 * угол - t.шаг / 2 * t.Katet + (t.Katet - t.a) * t.шаг;
      rep.Add(
          "\tт.к  2 * (R ^ 2 - a ^ 2) ^ 0.5 > шаг, то Fниж = R ^ 2 * acos(Katet / R) - шаг / 2 * "
          "Katet + (Katet - a) * шаг = ",
          t.R, " ^ 2 * acos(", t.Katet, " / ", t.R, ") - ", t.шаг, " / 2 * ", t.Katet, " + (",
          t.Katet, " - ", t.a, ") * ", t.шаг, " = ", t.Fниж, " кв.м - площадь нижнего сегмента");
    } else {
      t.Fниж = R2 * Arccos(t.a / t.R) - t.a * хорда;
      rep.Add(
          "\tт.к  2 * (R ^ 2 - a ^ 2) ^ 0.5 <= шаг, то Fниж = R ^ 2 * acos(a / R) - a * (R ^ 2 - a "
          "^ 2) ^ 0.5 = ",
          t.R, " ^ 2 * acos(", t.a, " / ", t.R, ") - ", t.a, " * (", t.R, " ^ 2 - ", t.a,
          " ^ 2) ^ 0.5 = ", t.Fниж, " кв.м - площадь нижнего сегмента");
    }
  } else {
    t.Fниж = 0;
  }
  // b / шаг first: a zero spacing is division by zero (11) before an overflow of the areas (6).
  const Число стержней = b / t.шаг;
  t.Fr = (t.Fr - t.Fб - t.Fниж) * стержней;
  rep.Add("\tFr = b / шаг * (Fr - Fб - Fниж) = ", b, " / ", t.шаг, " * (", Fr0, " - ", t.Fб, " - ",
          t.Fниж, ") = ", t.Fr, " кв.м");
}

void ОпределитьЗонуВзаимодействия(Трещиностойкость& t) {
  t.rep.Add(
      "5. Расчет коэффициента раскрытия трещин {ш}\rКоэффициент раскрытия трещин определяется в "
      "зависимости от радиуса армирования (учитывает влияние бетона растянутой зоны, деформации "
      "арматуры, ее профиль и условия работы элемента)");
  if (t.вход.Угол != 0) {
    t.Fr = t.L * t.вход.b;
    t.rep.Add("\tFr = L * b = ", t.L, " * ", t.вход.b, " = ", t.Fr,
              " кв.м - площадь зоны взаимодействия (по формуле 133)");
  } else {
    ОпределитьЗонуМажирина(t);
  }
}

// Radius of reinforcement, inclined cracks: bars and stirrups.
void ОпределитьРадиусНаклонных(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  const Число b = in.b;
  const double s_wx = *in.s_wx;
  const double s_wz = *in.s_wz;
  const double π = ПиАрктангенс();
  if (t.форма == ФормаАрматуры::ТаблицаСтержней) {
    const Число S = ВзвешеннаяСуммаДиаметров(*t.Таблица);
    t.Rr =
        t.Fr / (S * std::cos(in.Угол) + t.T / s_wz * in.Bw * (b / s_wx) * (Число(in.dw_mm) / 1000) *
                                            std::cos(π / 2 - in.Угол));
    t.rep.Add(
        "\tRr = Fr / (Bs * b * (d / шаг + di / шагi) * Cos(Угол) + Bw * (T / s_wz) * (b / s_wx) * "
        "(dw_mm / 1000) * Cos(P / 2 - Угол)) = ",
        t.Fr, " / (", S, " * Cos(", in.Угол, ") + ", in.Bw, " * (", t.T, " / ", s_wz, ") * (", b,
        " / ", s_wx, ") * (", in.dw_mm, " / 1000) * Cos(Пи / 2 - ", in.Угол, ")) = ", t.Rr,
        " м - радиус армирования (по формулам 131 или 133)");
    return;
  }
  const Число хомуты =
      in.Bw * (t.T / s_wz) * (b / s_wx) * (Число(in.dw_mm) / 1000) * std::cos(π / 2 - in.Угол);
  const Число стержни = (t.d / t.шаг + t.di / t.шагi) * (b * in.Bs) * std::cos(in.Угол);
  t.Rr = t.Fr / (хомуты + стержни);
  t.rep.Add(
      "\tRr = Fr / (Bs * b * (d / шаг + di / шагi) * Cos(Угол) + Bw * (T / s_wz) * (b / s_wx) * "
      "(dw_mm / 1000) * Cos(P / 2 - Угол)) = ",
      t.Fr, " / (", in.Bs, " * ", b, " * (", t.d, " / ", t.шаг, " + ", t.di, " / ", t.шагi,
      " * Cos(", in.Угол, ") + ", in.Bw, " * (", t.T, " / ", s_wz, ") * (", b, " / ", s_wx, ") * (",
      in.dw_mm, " / 1000) * Cos(Пи / 2 - ", in.Угол, ")) = ", t.Rr,
      " м - радиус армирования (по формуле 133)");
}

// Radius of reinforcement, normal cracks.
void ОпределитьРадиусНормальных(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  const Число b = in.b;
  if (t.форма == ФормаАрматуры::ТаблицаСтержней) {
    const Число S = ВзвешеннаяСуммаДиаметров(*t.Таблица);
    t.Rr = t.Fr / S;
    t.rep.Add("\tRr = Fr / (Bs * b * (d / шаг + di / шагi)) = ", t.Fr, " / ", S, " = ", t.Rr,
              " м - (по формуле 131)");
    return;
  }
  t.Rr = t.Fr / ((t.d / t.шаг + t.di / t.шагi) * (b * in.Bs));
  if (t.форма == ФормаАрматуры::ДиаметрыИШаги) {
    t.rep.Add("\tRr = Fr / (Bs * b * (d / шаг + di / шагi)) = ", t.Fr, " / (", in.Bs, " * ", b,
              " * (", t.d, " / ", t.шаг, " + ", t.di, " / ", t.шагi, ")) = ", t.Rr,
              " м - (по формуле 131)");
  } else {
    t.rep.Add("\tRr = Fr / (Bs * b * (d / шаг + di / шагi)) = ", t.Fr, " / (", in.Bs, " * ", b,
              " * (", t.d, " / ", t.шаг, " + ", t.di, " / ", t.шагi, ")) - (по формуле 131)");
  }
}

// Crack opening coefficient: smooth bars (class 1) or ribbed bars.
void ОпределитьКоэффициентРаскрытия(Трещиностойкость& t) {
  if (t.вход.КлассАрматурнойСтали == 1) {
    t.ш = t.Rr * 0.35 * 100;
    t.rep.Add("\tш = 0.35 * Rr * 100 = 0.35 * ", t.Rr, " * 100 = ", t.ш,
              " - коэффициент раскрытия трещин для арматуры гладкого профиля (п. 3.109*)");
  } else {
    const Число корень = Sqrt((t.Rr * 100).v);
    t.ш = 1.5 * корень;
    t.rep.Add("\tш = 1.5 * Sqr(Rr * 100) = 1.5 * ", корень, " = ", t.ш,
              " - коэффициент раскрытия трещин для арматуры периодического профиля (п. 3.109*)");
  }
}

}  // namespace

void ДобавитьНачалоИсходныхДанных(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  Отчёт& rep = t.rep;
  rep.Add(
      "Расчет запаса по трещиностойкости в процентах прямоугольного ж/б элемента без учета "
      "предварительно напряженной арматуры, согласно СНиП 2.05.03-84*");
  rep.Add("1. Исходные данные:");
  ДобавитьСилуИМомент(rep, in.N, in.M);
  ДобавитьКлассыМатериалов(rep, in.КлассАрматурнойСтали, in.КлассБетона);
  ДобавитьРазмерыСечения(rep, in.h, in.b);
}

void ДобавитьКонецИсходныхДанных(Трещиностойкость& t, double КоэффициентПродольной) {
  const ИсходныеДанные& in = t.вход;
  Отчёт& rep = t.rep;
  rep.Add("\tПредельнодопустимая величина раскрытия трещины: ", in.acr_sm, " см");
  rep.Add("\tУгол = ", in.Угол,
          " радиан - угол наклона трещины к нормальному сечению расчетного элемента");
  if (in.Угол != 0) {
    rep.Add("\ts_wx = ", *in.s_wx, " м - шаг поперечного армирования вдоль оси X");
    rep.Add("\ts_wz = ", *in.s_wz, " м - шаг поперечного армирования вдоль оси Z");
    rep.Add("\tdw_mm = ", in.dw_mm, ", мм - диаметр стержней поперечного армирования");
  }
  rep.Add(
      "\tКоэффициент, учитывающий степень сцепления арматурных элементов поперечного армирования с "
      "бетоном согласно табл. 41*.: ",
      in.Bw);
  rep.Add(
      "\tКоэффициент, учитывающий степень сцепления арматурных элементов продольного армирования с "
      "бетоном согласно табл. 41*.: ",
      КоэффициентПродольной);
  rep.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  rep.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
  ДобавитьХарактерРаботы(rep, in.h, in.M, in.N);
}

void ДобавитьХарактеристикиМатериалов(Трещиностойкость& t) {
  ИсходныеДанные& in = t.вход;
  t.Rs = RsValue(in.КлассАрматурнойСтали, 10, ТипЗначенияRs(in.КонструкцияЖД));
  t.Rsc = t.Rs;
  uint8_t код_Rb = 1;
  t.Rb = мтБетон(in.КлассБетона, код_Rb);
  t.Es = EsValue(in.КлассАрматурнойСтали);
  t.rep.Add("\tХарактеристики материаллов: Rsc = Rs = ", t.Rs, " МПа, Rb = ", t.Rb,
            " МПа, Es = ", t.Es, " МПа");
}

bool НетРаскладки(const Трещиностойкость& t) {
  return t.d == 0 || t.шаг == 0 || t.di == 0 || t.шагi == 0;
}

double ДовестиРасчет(Трещиностойкость& t) {
  const ИсходныеДанные& in = t.вход;
  ОпределитьГеометрию(t);
  if (in.Угол != 0) ОпределитьАрмированиеНаклонногоСечения(t);
  ОпределитьНапряжение(t);
  ОпределитьЗонуВзаимодействия(t);
  if (in.Угол != 0) {
    ОпределитьРадиусНаклонных(t);
  } else {
    ОпределитьРадиусНормальных(t);
  }
  ОпределитьКоэффициентРаскрытия(t);
  t.rep.Add("6. Расчет раскрытия трещин п. 3.105");
  t.delta_cr = t.Ss * t.ш / t.Es;
  t.rep.Add("\tdelta_cr = Ss * ш / Es = ", t.Ss, " * ", t.ш, " / ", t.Es, " = ", t.delta_cr, " см");
  double результат = t.delta_cr.v;
  if (in.МетодОпределенияЗапаса <= 3) {
    результат = ОпределитьЗапас(in.acr_sm, t.delta_cr.v, in.МетодОпределенияЗапаса);
    t.rep.Add("При сравнении величин acr_sm = ", in.acr_sm, " и delta_cr = ", t.delta_cr,
              " запас равен ", результат);
  }
  t.rep.Finish();
  return результат;
}

}  // namespace cracks

double мтТрещиностойкость(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                          double& Fв, double& Fн, double& ав, double& ан, double& h, double& B,
                          double& acr_sm, double& Q, double& xd, double& Угол, double& s_wx,
                          double& s_wz, double& dw_mm, double& Bw, double& Bs, bool& КонструкцияЖД,
                          uint8_t& МетодОпределенияЗапаса, std::string& Отчет) {
  using namespace cracks;
  if (N == 0) {
    return СреднееПриНулевойСиле([&](double& N_) {
      std::string БезОтчета;
      return мтТрещиностойкость(КлассАрматурнойСтали, КлассБетона, N_, M, Fв, Fн, ав, ан, h, B,
                                acr_sm, Q, xd, Угол, s_wx, s_wz, dw_mm, Bw, Bs, КонструкцияЖД,
                                МетодОпределенияЗапаса, БезОтчета);
    });
  }
  Трещиностойкость t(ФормаАрматуры::Площади,
                     {КлассАрматурнойСтали, КлассБетона, N, M, h, B, acr_sm, Q, xd, Угол, &s_wx,
                      &s_wz, dw_mm, Bw, Bs, КонструкцияЖД, МетодОпределенияЗапаса},
                     Отчет);
  Отчёт& rep = t.rep;
  ДобавитьНачалоИсходныхДанных(t);
  ДобавитьПлощадиИРасстояния(rep, Fв, Fн, ав, ан);
  ДобавитьКонецИсходныхДанных(t, Bs);

  if (M >= 0) {
    t.Fs = Число(Fн) / 10000;
    t.a = ан;
    t.Fsi = Число(Fв) / 10000;
    t.ai = ав;
  } else {
    t.Fs = Число(Fв) / 10000;
    t.a = ав;
    t.Fsi = Число(Fн) / 10000;
    t.ai = ан;
  }
  ДиаметрИШагСтержней(t.d.v, t.шаг.v, (t.Fs / B).v, 1);
  ДиаметрИШагСтержней(t.di.v, t.шагi.v, (t.Fsi / B).v, 1);
  if (НетРаскладки(t)) return -100;

  rep.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", t.Fsi,
          " кв.м, ai = ", t.ai, " м\rdi = ", t.di, " м, шагi = ", t.шагi,
          " м - подобрано по площади армирования");
  rep.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", t.Fs,
          " кв.м, a = ", t.a, " м\rd = ", t.d, " м, шаг = ", t.шаг,
          " м - подобрано по площади армирования");
  ДобавитьХарактеристикиМатериалов(t);
  return ДовестиРасчет(t);
}

}  // namespace armocalc
