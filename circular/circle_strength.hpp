#pragma once
// The general strength check of a circular section by the bridge code: a solid circle or a ring,
// reinforced with individual bars on a circle (the cage) or with an equivalent steel tube of a
// given area. The loading picks the calculation: the ring check of the design manual, the
// tube-reinforced pile, central tension, or the bar-by-bar circle. Forces in MN, moments in MN·m.

#include <cstdint>
#include <string>

namespace armocalc {

// M is made positive and the permanent parts default to the full forces (all written back); a
// tube (ns < 1) writes its wall thickness into ds (m) and, for a ring, its equivalent bar count
// into ns; central tension and the bar-by-bar circle write the bar area into Fs (m²). Z and
// Отчет are accepted and not used: no report is written. Cases that no calculation covers
// return 0.
double мтПрочностьКруга(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                        double& ДиаметрНаружний, double& ДиаметрВнутренний, double& ДиаметрКаркаса,
                        double& Fs, int32_t& ns, double& ds, int32_t& КлассКонструкции, double& Nl,
                        double& Ml, double& L, double Z, int32_t ЗакрепленияНаКонцахЭлемента,
                        int32_t& МетодОпределенияЗапаса, std::string& Отчет);

}  // namespace armocalc
