#pragma once
// What the circular-section checks share: the loop bounds of their iterations and the sine of a
// checked number.

#include <cmath>
#include <cstdint>

#include "runtime/checked_number.hpp"

namespace armocalc::circular {

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

}  // namespace armocalc::circular
