#pragma once
// Punching of a slab of heavy concrete by a column (SNiP 2.03.01-84*, п. 3.42): the safety margin
// of the limit punching force over the acting one, in kN.

#include <cstdint>
#include <string>

namespace armocalc {

// N the punching force in kN (its magnitude is checked), ho the working depth of the slab, h and
// B the column section in m (B = 0: a square column). Stirrups of ДиаметрХомутов mm (0: none) at
// ШагХомутов mm that cross the pyramid add their strength. Угол is the inclination of the
// pyramid faces in degrees. Writes the report to the file Отчет.
double гПродавливание(float& КлассБетона, double& N, double& ho, double& h, double B,
                      uint8_t& ДиаметрХомутов, double& ШагХомутов, uint8_t& Угол,
                      uint8_t& МетодЗапаса, std::string& Отчет);

}  // namespace armocalc
