#pragma once
// Strength of a solid circular section whose longitudinal bars lie one by one on a circle: each
// bar is placed in the tensioned part or in the compressed zone, the height of the compressed
// segment follows from the forces in those bars by two piecewise-linear approximations of the
// circular segment, and the tensioned bars are checked for reaching their design strength.

#include <cstdint>
#include <span>
#include <vector>

namespace armocalc::circular {

// Bar positions y_i = R · sin(i · 2π / n), i = 0 … n − 1, about the neutral diameter (the first
// bar lies on it). n < 1 is a subscript error; a count the calculation cannot afford in memory
// and time (above kНаибольшееЧислоСтержней) is an out-of-memory error.
inline constexpr int32_t kНаибольшееЧислоСтержней = 4000;
std::vector<double> ПозицииСтержней(int32_t n, double R);

// Over the bars at t_i = D / 2 + y_i from the tensioned edge, and c_i = D / 2 − y_i from the
// compressed edge. A mean over no bars is 0 / 0 (error 6).
double СредняяНижних(std::span<const double> y, double x, double D);
double СредняяВерхних(std::span<const double> y, double z, double D);
double ДальнийНижний(std::span<const double> y, double x, double D);  // 0 when none
double БлижайшийНижний(std::span<const double> y, double D);          // D when empty
double БлижайшийЗа(std::span<const double> y, double x, double D);    // D when none
int32_t ЧислоНижних(std::span<const double> y, double x, double D);
int32_t ЧислоВерхних(std::span<const double> y, double z, double D);

// Centroid distance of a half annulus of radii R1 < R2 from its diameter.
double ЦентрПолукольца(double R1, double R2);
// Relative force F / ((D / 2)² · Rb) → relative height of the compressed segment.
double ФункцияСегмента1(double v);
// Relative centroid of the tensioned bars tm / (D / 2) → the part of π the segment takes.
double ФункцияСегмента2(double v);

// The section, the materials and the loading as the circular-section check has prepared them:
// D the outer and Dk the cage diameter (m), n bars of ds mm, B the concrete class, Rs, Rsn and Rb
// in MPa, M ≥ 0 in MN·m, N in MN, lo the effective length, e the eccentricity with the random
// one, A and I the area and the inertia of the concrete section.
struct КругСоСтержнями {
  double D = 0, Dk = 0;
  int32_t n = 0;
  double ds = 0;
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double Rs = 0, Rsn = 0, Rb = 0;
  double M = 0, N = 0, Nl = 0, Ml = 0;
  double lo = 1, e = 0;
  double A = 0, I = 0;
  uint8_t метод = 3;
};

// Pure bending: the margin of the limit moment against M.
double ИзгибКругаСоСтержнями(const КругСоСтержнями& к);
// Compression: the area of all bars is written into Fs (m²).
double СжатиеКругаСоСтержнями(const КругСоСтержнями& к, double& Fs);
// Tension: the area of the bars that work (m²) is written into Fs.
double РастяжениеКругаСоСтержнями(const КругСоСтержнями& к, double& Fs);

}  // namespace armocalc::circular
