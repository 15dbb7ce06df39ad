#pragma once
// Strength of a ring (tube) section of reinforced concrete with its longitudinal bars on one
// circle, under a compressive force and a moment, by the design manual to SNiP 2.03.01-84
// (clause 3.69). Forces in MN, moments in MN·m.

#include <cstdint>
#include <string>

namespace armocalc {

class Отчёт;

// dв and dн the inner and outer diameters (m), r the radius of the bar circle (0: the mid radius
// of the wall), D the bar diameter (mm), ns the bar count. The force is taken by its magnitude
// (written back); M = 0 takes the moment of the admissible eccentricity dв / 4 of МГСН 6.01-03.
// A caller that wants the report lines passes its own collector `отчёт` (Отчет is not looked at).
double гRing(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& dв, double& dн, double& N,
             double M, double r, double& D, double& ns, uint8_t& МетодОпределенияЗапаса,
             std::string& Отчет, Отчёт* отчёт = nullptr);

}  // namespace armocalc
