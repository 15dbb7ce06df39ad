#pragma once
// π, one constant for each way the calculations take it; they differ in the last bits and the
// reports show it. The third way is the host's worksheet function: Host().Pi().

#include "runtime/checked_math.hpp"

namespace armocalc {

// The 15-digit constant written out in the calculation text.
inline constexpr double kПиДесятичное = 3.14159265358979;

// 4 * Atn(1): the double nearest π.
inline double ПиАрктангенс() {
  return 4 * Atn(1);
}

}  // namespace armocalc
