#pragma once
#include <cstdint>

namespace armocalc {

// A design property of heavy concrete by the bridge code: code 1 Rb, 2 Rbt, 3 Rb,ser, 4 Rbt,ser,
// 5 Rb_sh, 6, 7 Rb_mc2, 8 Eb, 9 ni, 10; by class (B25 is 25).
double мтБетон(float КлассБетона, uint8_t Параметр);

}  // namespace armocalc
