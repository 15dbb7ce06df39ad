#pragma once
// Crack width of a rectangular reinforced-concrete section by the bridge code (normal cracks by
// the Mazhirin interaction zone, inclined cracks with stirrups), with the longitudinal bars given
// as total areas, as diameters and spacings, or as a worksheet bar table. Each check returns the
// margin of the permitted opening acr_sm over the computed opening delta_cr (cm), or delta_cr
// itself for a margin method above 3.

#include <cstdint>
#include <string>

namespace armocalc {

class HostRange;

// Bars given as the total areas Fв (top) and Fн (bottom) over the width, cm²; −100 when a row
// has no bar layout. A zero stirrup spacing is written back as 1 in the inclined case.
double мтТрещиностойкость(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                          double& Fв, double& Fн, double& ав, double& ан, double& h, double& B,
                          double& acr_sm, double& Q, double& xd, double& Угол, double& s_wx,
                          double& s_wz, double& dw_mm, double& Bw, double& Bs, bool& КонструкцияЖД,
                          uint8_t& МетодОпределенияЗапаса, std::string& Отчет);

// Bars given by diameter dв, dн and spacing шв, шн of each row (mm).
double мтТрещиностойкость2(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                           double& dв, double& шв, double& ав, double& dн, double& шн, double& ан,
                           double& h, double& B, double& acr_sm, double& Q, double& xd,
                           double& Угол, double& s_wx, double& s_wz, double& dw_mm, double& Bw,
                           double& Bs, bool& КонструкцияЖД, uint8_t& МетодОпределенияЗапаса,
                           std::string& Отчет);

// Bars listed one per row of a worksheet range (column 1 x, column 2 y in m, column 3 diameter
// in mm).
double мтТрещиностойкостьТ(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                           double& B, double& h, HostRange& ТаблицаАрматурныхСтержней,
                           double& acr_sm, double& Q, double& xd, double& Угол, double& s_wx,
                           double& s_wz, double& dw_mm, double& Bw, bool& КонструкцияЖД,
                           uint8_t& МетодОпределенияЗапаса, std::string& Отчет);

// Sum of the bar diameters of a bar range weighted for bundles (m): a bar with one neighbour
// closer than two of its own diameters counts 0.85, with more neighbours 0.75. Rows without a bar
// (diameter empty or not above 0) count neither as bars nor as neighbours.
double ВзвешеннаяСуммаДиаметров(const HostRange& Таблица);

}  // namespace armocalc
