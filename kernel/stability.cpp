#include "kernel/stability.hpp"

#include "kernel/margin.hpp"
#include "kernel/report.hpp"

namespace armocalc {

bool УстойчивостьНеОбеспечена(Число N, Число Ncr) {
  return Число(1) - N / Ncr <= Число(0);
}

double ЗапасНеустойчивогоЭлемента(double N, uint8_t Метод, Отчёт& rep) {
  rep.Add(kСтрокаПотериУстойчивости);
  const double запас = ОпределитьЗапас(0, Abs(N).v, Метод);
  rep.Add("Запас = ", запас);
  return запас;
}

}  // namespace armocalc
