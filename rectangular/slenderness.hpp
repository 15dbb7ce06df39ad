#pragma once
// Slenderness of compressed elements: the buckling coefficient фи of the bridge code (п. 3.55)
// and the deflection factor ню of SNiP 2.03.01-84* (formulas 46 and 47).

#include <optional>

namespace armocalc {

class Отчёт;

// The buckling table read at the relative eccentricity |e| / r and the slenderness Lo / b.
// Elements shorter than the table (Lo / b below 4) take its first row.
double ФиПоТаблице(double Lo, double b, double e, double r);
// The column of the long-term load, фи_l, at the slenderness Lo / b.
double ФиДлительное(double Lo, double b);

// фи of an element under the long-term force Nl and the short-term force Nm with the moment M;
// Lo the design length, b and h the section.
double КоэффициентПродольногоИзгиба(double Nl, double Nm, double M, double Lo, double b, double h);

// ню = 1 / (1 - N / Ncr). Ml and Nl are the caller's: a zero one is replaced by M or N. c_ef is
// the height of the core confined by indirect reinforcement, 0 without it. Writes its formula
// lines into rep. Nothing when N >= Ncr: the element is unstable, its ню line is left to the
// caller, who closes the check with ЗапасНеустойчивогоЭлемента (kernel/stability.hpp).
std::optional<double> КоэффициентВлиянияПрогиба(double Rb, double Eb, double Jb, double Es,
                                                double Js, double h, double a, double M, double N,
                                                double& Ml, double& Nl, double Lo,
                                                bool СтатическиОпределимая, double c_ef,
                                                Отчёт& rep);

// ню at the position Z along an element of length L with immovable supports: rising linearly
// from 1 at the support to ню at L / 3 and constant to mid-span; the second half mirrors the first.
double НюПоДлине(double ню, double L, double Z);

}  // namespace armocalc
