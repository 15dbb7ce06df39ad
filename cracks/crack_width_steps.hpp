#pragma once
// The steps the three crack-width checks share: the report head, the materials line, and the
// calculation from the compressed zone on (geometry, stress in the reinforcement, interaction
// zone, radius of reinforcement, crack opening and margin). Each check fills the rows of bars
// its own way and hands over to these steps.

#include <cstdint>
#include <string_view>

#include "kernel/report.hpp"
#include "kernel/report_blocks.hpp"
#include "runtime/checked_number.hpp"

namespace armocalc {

class HostRange;

namespace cracks {

// How the longitudinal bars reached the check; selects the few lines and formulas that differ.
enum class ФормаАрматуры : uint8_t { Площади, ДиаметрыИШаги, ТаблицаСтержней };

struct ИсходныеДанные {
  uint8_t КлассАрматурнойСтали;
  float КлассБетона;
  double N, M, h, b, acr_sm, Q, xd, Угол;
  double* s_wx;  // the caller's variables: a zero spacing is written back as 1
  double* s_wz;
  double dw_mm, Bw, Bs;
  bool КонструкцияЖД;
  uint8_t МетодОпределенияЗапаса;
};

struct Трещиностойкость {
  Трещиностойкость(ФормаАрматуры форма_, const ИсходныеДанные& вход_, std::string_view Отчет)
      : форма(форма_), вход(вход_), rep(Отчет) {}

  ФормаАрматуры форма;
  ИсходныеДанные вход;
  Отчёт rep;

  // Rows: the stretched one (Fs, a, d, шаг) and the compressed one (Fsi, ai, di, шагi); m², m.
  Число Fs = 0, a = 0, Fsi = 0, ai = 0, d = 0, шаг = 0, di = 0, шагi = 0;
  Число Rs = 0, Rsc = 0, Rb = 0, Es = 0;  // MPa
  Число X = 0, z = 0, h2 = 0, ho = 0, T = 0, L = 0, ec = 0, e = 0;
  Число мю = 0, б = 0, SsQ = 0, Ss = 0;
  Число R = 0, Fr = 0, Katet = 0, Fб = 0, Fниж = 0, Rr = 0, ш = 0, delta_cr = 0;

  // Bar table only: the range and the number of bars of the stretched group.
  const HostRange* Таблица = nullptr;
  Число ЧислоРастянутыхСтержней = 0;
};

// Lines of the force and the moment, and of the section size (shared with the longitudinal
// crack checks).

// Title, section 1 up to the section width.
void ДобавитьНачалоИсходныхДанных(Трещиностойкость& t);
// From the permitted opening to the work character; `КоэффициентПродольной` is printed as the
// bond coefficient of the longitudinal bars.
void ДобавитьКонецИсходныхДанных(Трещиностойкость& t, double КоэффициентПродольной);
// Reads Rs (= Rsc), Rb and Es and writes their line.
void ДобавитьХарактеристикиМатериалов(Трещиностойкость& t);
// True when a row of bars could not be laid out (the check then answers −100).
bool НетРаскладки(const Трещиностойкость& t);
// Sections 3 to 6, the margin and the report file; returns the check's result.
double ДовестиРасчет(Трещиностойкость& t);

// The mean of the check for N = −1e−30 and N = +1e−30, which stands for N = 0. The callers pass
// the caller's own margin method to both (method 3 regardless would answer a ratio-method caller
// in per cent).
template <class Проверка>
double СреднееПриНулевойСиле(Проверка&& проверка) {
  double отрицательная = -1e-30;
  double положительная = 1e-30;
  const double первая = проверка(отрицательная);
  const double вторая = проверка(положительная);
  return ((Число(первая) + вторая) / 2).v;
}

}  // namespace cracks
}  // namespace armocalc
