#pragma once
// A compressed element at or above its critical force Ncr buckles before its section is
// exhausted: the deflection factor 1 / (1 - N / Ncr) would be infinite or negative and would make
// a longer element look stronger. Every check that forms that factor stops instead with no
// capacity; the rule and its report line live here so that all of them say the same.

#include <cstdint>
#include <string_view>

#include "runtime/checked_number.hpp"

namespace armocalc {

class Отчёт;

// The line that replaces the deflection factor's line of an unstable element.
inline constexpr std::string_view kСтрокаПотериУстойчивости =
    "\tN >= Ncr: устойчивость элемента не обеспечена, требуется увеличить сечение";

// True when 1 - N / Ncr <= 0, N exactly Ncr included.
bool УстойчивостьНеОбеспечена(Число N, Число Ncr);

// Closes the check of an unstable element: writes the stability line and "Запас = " with the
// margin of no capacity against |N|, and returns that margin (-100 with method 3, 0 with method 0).
// The caller then finishes the report as after any check.
double ЗапасНеустойчивогоЭлемента(double N, uint8_t Метод, Отчёт& rep);

}  // namespace armocalc
