#pragma once
// Selection of the least transverse reinforcement (stirrups) that passes the inclined-section
// check with stirrups.

#include <cstdint>

namespace armocalc {

// Passes of the search after which it gives the best area found so far.
inline constexpr int32_t kПроходовПодбораХомутов = 10000;

// The stirrup area in cm² per metre whose layout (bar diameter and spacing, the same spacing
// across and along the element) has the smallest positive margin among the trial areas, or −1
// when no trial area had a layout or a positive margin. The trial area starts at 0.6 cm²/m and
// moves by a step that is halved and reversed whenever the margin changes sign; the search ends
// within ТочностьПодбора (per cent of margin or cm²/m of step).
double ПодборПоперечнойАрматуры(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& Q,
                                double& ho, double h, double& B, double M,
                                double ПлощадьГоризонтальнойАрматуры_sm2, double& ТочностьПодбора);

}  // namespace armocalc
