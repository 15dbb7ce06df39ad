#include "runtime/checked_math.hpp"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace armocalc {
namespace {

bool IsWhole(double x) {
  return std::isfinite(x) && std::trunc(x) == x;
}

// Round half to even, the rounding of the runtime's integer conversions.
double RoundHalfEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;  // exact for every finite double
  if (fraction > 0.5) return below + 1.0;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// The rounded value when it lies within [lowest, highest], otherwise error 6 (NaN included).
double RoundedInRange(double x, double lowest, double highest) {
  if (std::isnan(x)) Raise(kOverflow);
  const double rounded = RoundHalfEven(x);
  if (!(rounded >= lowest && rounded <= highest)) Raise(kOverflow);
  return rounded;
}

// The powers met lately, by the bits of their operands: the power is the dearest operation of the
// checks, and a caller that reruns a check (the selection of reinforcement, trial after trial)
// raises the same bases to the same exponents every time. Only a finite result is kept, so a
// power that fails is computed, and fails, every time.
struct CachedPower {
  bool used = false;
  uint64_t x = 0;
  uint64_t y = 0;
  double result = 0.0;
};
constexpr int kCachedPowersBits = 5;
thread_local CachedPower cached_powers[size_t{1} << kCachedPowersBits];

double ComputedPow(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) Raise(kOverflow);
  if (x < 0.0 && !IsWhole(y)) Raise(kInvalidProcedureCall);
  if (x == 0.0 && y < 0.0) Raise(kInvalidProcedureCall);
  return Checked(std::pow(x, y));
}

}  // namespace

double Pow(double x, double y) {
  const auto x_bits = std::bit_cast<uint64_t>(x);
  const auto y_bits = std::bit_cast<uint64_t>(y);
  const uint64_t hash = (x_bits ^ (y_bits * 0x9E3779B97F4A7C15u)) * 0x9E3779B97F4A7C15u;
  CachedPower& entry = cached_powers[hash >> (64 - kCachedPowersBits)];
  if (entry.used && entry.x == x_bits && entry.y == y_bits) return entry.result;
  const double result = ComputedPow(x, y);
  entry = {true, x_bits, y_bits, result};
  return result;
}

double Atn(double x) {
  return std::atan(x);
}

uint8_t CByte(double x) {
  return static_cast<uint8_t>(RoundedInRange(x, 0.0, 255.0));
}

int16_t CInt(double x) {
  return static_cast<int16_t>(RoundedInRange(x, -32768.0, 32767.0));
}

int32_t CLng(double x) {
  return static_cast<int32_t>(RoundedInRange(x, -2147483648.0, 2147483647.0));
}

float CSng(double x) {
  if (std::isnan(x) || std::fabs(x) > static_cast<double>(FLT_MAX)) Raise(kOverflow);
  return static_cast<float>(x);
}

}  // namespace armocalc
