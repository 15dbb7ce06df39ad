#pragma once
// What the circular-section checks share: the verdict of an element that loses stability before it
// reaches its strength, and the loop bounds of their iterations.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "runtime/checked_number.hpp"
#include "runtime/pi.hpp"

namespace armocalc::circular {

// The report line of an element whose longitudinal force reaches the critical force: the
// deflection factor 1 / (1 - N / Ncr) has no meaning there, the element has no capacity.
inline constexpr std::string_view kСтрокаНеустойчивости =
    "\tN >= Ncr: устойчивость элемента не обеспечена, требуется увеличить сечение";

// The fixed-point iteration of the relative compressed-zone angle k goes on with the last value
// after this many computed values (it can alternate between two quanta of its tolerance).
inline constexpr int32_t kНаибольшееЧислоЗначенийK = 100000;

// The stress repetitions and the trial passes of the bar-by-bar circle go on with the last values
// after this many passes.
inline constexpr int32_t kНаибольшееЧислоПроходов = 10000;

// sin of a checked number (finite in, finite out).
inline Число Sin(Число x) {
  return std::sin(x.v);
}

// True when 1 - |N| / Ncr ≤ 0: the element buckles before the section fails. Ncr = 0 divides by
// zero as the factor itself would.
inline bool ЭлементНеустойчив(Число N_модуль, Число Ncr) {
  return Число(1) - N_модуль / Ncr <= 0;
}

}  // namespace armocalc::circular
