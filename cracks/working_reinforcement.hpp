#pragma once
// Selection of the working (tension) reinforcement of a rectangular section: the least area that
// satisfies the normal-section strength check and, when asked, the crack-width check of the
// bridge code. Both checks run as functions of a trial area, so this lives above them.

#include <cstdint>

namespace armocalc {

// Most trials of one selection; the search returns the best area found when it gets there.
inline constexpr int32_t kПробПодбораАрматуры = 10000;
// Work bound of one search: the passes of the strength check's compressed-zone iteration over all
// trials. An over-reinforced section whose iteration never settles runs all 1001 passes in every
// trial; 10,000 such trials would take far longer than one call may (about 0.2 s).
inline constexpr int64_t kПроходовВысотыНаПодбор = 500000;

// The tension area in cm² (the layer stretched by M; the other layer holds 5.655 cm²) whose margin
// is the smallest positive one met by the search, or −1 when no trial passed. The caller's N
// receives the strength check's replacement of N = 0 (−1e-20). Writes no report; any run-time
// error of a check ends the call with that error.
double ПодборРабочейАрматуры(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N,
                             double& M, double& ав, double& ан, double& h, double& B,
                             bool& УчитыватьТрещиностойкость, double& acr, double& ТочностьПодбора);

}  // namespace armocalc
