#pragma once
// Strength of an inclined section of a reinforced-concrete element with stirrups by the bridge
// code SNiP 2.05.03-84* (clauses 3.77*, 3.78*, 3.83*): the concrete strut between inclined cracks,
// the shear force over the most unfavourable inclined section and the moment taken by the
// reinforcement crossing it. The result is the smaller of the shear and the moment margin.

#include <cstdint>
#include <string>

namespace armocalc {

// Q, B, ho in MN and m; stirrup spacings s_wx (across the width) and s_wz (along the element) in
// m, stirrup diameter dw_mm in mm. h = 0 means h = ho, Qн = 0 means Qн = Q, a zero longitudinal
// area means the stirrup area. C_max > 0 caps the projection of the inclined section (m); the
// routine only reads it. The report numbers are written with fixed decimals, not rounded to 4
// significant digits.
double мтХомуты(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& Q, double& B, double& ho,
                double& s_wx, double& s_wz, double& dw_mm, double h, double M, double Qн,
                double ПлощадьГоризонтальнойАрматуры_sm2, uint8_t КлассСталиГоризонтальнойАрматуры,
                bool КонструкцияЖД, uint8_t& МетодОпределенияЗапаса, std::string& Отчет,
                double& C_max);

}  // namespace armocalc
