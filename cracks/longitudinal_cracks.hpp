#pragma once
// Longitudinal cracks of a compressed rectangular section by the bridge code: the margin of the
// concrete's resistance Rb_mc2 (or, with a spiral, of the resistance the spiral raises) over the
// normal stress in the concrete along the element. An empty text for N ≤ 0, where such cracks
// do not form.

#include <cstdint>
#include <string>

#include "runtime/variant.hpp"

namespace armocalc {

class HostRange;

// Bars given as total areas Fв, Fн (cm²) at the distances ав, ан (m).
Variant мтТрещиностойкостьПродольные(float& КлассБетона, double& N, double& M, double& Fв,
                                     double& Fн, double& ав, double& ан, double& h, double& B,
                                     bool& ОпределятьСМИ, double& d_mm, double& s,
                                     uint8_t& МетодОпределенияЗапаса, std::string& Отчет);

// Bars listed in a worksheet bar table.
Variant мтТрещиностойкостьПродольныеТ(float& КлассБетона, double& N, double& M, double& B,
                                      double& h, HostRange& ТаблицаАрматурныхСтержней, double& d_mm,
                                      double& s, uint8_t& МетодОпределенияЗапаса,
                                      std::string& Отчет);

}  // namespace armocalc
