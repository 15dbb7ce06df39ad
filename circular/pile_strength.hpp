#pragma once
// Strength of a solid circular reinforced-concrete section (a pile) by SNiP 2.05.03-84*: the
// limit moment of the section with the deflection of a slender element taken into account
// through the conditional critical force, against the acting moment. The whole load counts as
// permanent. Forces in kN and moments in kN·m.

#include <cstdint>
#include <string>

namespace armocalc {

class Отчёт;

// A ring of ns equal bars of ds mm with a clear cover Cov (m) in a pile of diameter D (m) and
// effective length L0 (m); steel class A (1..3), concrete class B. A zero force is computed as
// the mean of ±1e-30 and writes no report.
//
// The report goes to the file Отчет; a caller that wants the lines instead passes its own report
// collector `отчёт` (then Отчет is not looked at; a zero force leaves it cleared). The report is
// finished (rounded and written) only when the call succeeds.
double мтRingStrength(double& M, double& N, double& L0, double& D, int16_t& ns, int16_t& ds,
                      double& Cov, int16_t& A, double& B, uint8_t& МетодОпределенияЗапаса,
                      std::string& Отчет, Отчёт* отчёт = nullptr);

// Moment of inertia (m⁴) of n round bars of diameter d (m) spaced evenly on a circle of radius
// ra (m), the first on the vertical diameter, about a diameter. n = 0 divides by zero; a negative
// n gives the bars' own inertia times n.
double МоментИнерцииСтержней(int16_t n, double ra, double d);

// The same check for a pile reinforced with a steel tube of area Fs (cm²) whose outer face lies
// Cov (m) inside the concrete face. M in kN·m and N in kN; no report.
double ПрочностьСваиСТрубой(double M, double N, double L0, double D, double Fs, double Cov,
                            int16_t A, double B, uint8_t Метод);

}  // namespace armocalc
