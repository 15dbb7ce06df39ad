#pragma once
// Endurance (fatigue resistance) of a rectangular reinforced-concrete element under repeated load.

#include <cstdint>
#include <string>

#include "runtime/variant.hpp"

namespace armocalc {

// Margin of the concrete (ПоАрматуреИБетону = 2), of the steel (1) or the smaller of the two (0)
// for the load cycle between (Nmin, Mmin) and (Nmax, Mmax); Empty for any other selector. The
// report file Отчет is written first with its title alone and read back before the final write;
// the stresses of both states are reported beside it by мтНапряжение.
Variant мтВыносливость(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& Nmin,
                       double& Mmin, double& Nmax, double& Mmax, double& Fв, double& Fн, double& ав,
                       double& ан, double& h, double& B, int32_t Сварка, bool& ОпределятьСМИ,
                       int32_t ТипКонструкции, uint8_t& ПоАрматуреИБетону,
                       uint8_t& МетодОпределенияЗапаса, std::string& Отчет);

// The coefficients of the design resistances under repeated load.
double КоэффициентКлассаБетона(float КлассБетона);
double КоэффициентАсимметрииБетона(double pb);
double КоэффициентАсимметрииАрматуры(uint8_t КлассАрматурнойСтали, double ps);
// ps is read within 0 … 0.9; a joint type other than 1, 2 or 3 has no values (0).
double КоэффициентСварки(int32_t Сварка, uint8_t КлассАрматурнойСтали, double ps);

}  // namespace armocalc
