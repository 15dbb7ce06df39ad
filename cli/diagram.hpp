#pragma once
// The N–M interaction diagram of a section, found with the library's own strength check: for
// forces N from the largest tension to the largest compression, the moment at which the check's
// margin crosses zero (bisection on the margin, bounded passes), for both signs of M.
//
//   armocalc diagram METHOD NAME=VALUE ... --svg FILE [--json FILE | --json] [--forces CSV]
//                    [--points K]

#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interface/method_table.hpp"

namespace armocalc::cli {

// The sweep runs the check with margin method 2 (per cent of the limit value); each curve point
// has |margin| within this tolerance unless the check's margin jumps across zero there.
inline constexpr double kCurveTolerance = 0.01;
inline constexpr int kDefaultPointsPerSide = 100;
inline constexpr int kMaxPointsPerSide = 2000;

struct CurvePoint {
  double n = 0;
  double m = 0;
  double margin = 0;  // the check's margin (method 2) at (n, m)
  // The check's margin jumps across zero here (its formulas change at this force): the two sides
  // of the point, 1e-13 of it apart, pass and fail, and |margin| may exceed the tolerance.
  bool jump = false;
};

// A force checked with the caller's margin method.
struct CheckedForce {
  double n = 0;
  double m = 0;
  double margin = 0;  // NaN when the check failed with a run-time error
  bool passes = false;
};

struct InteractionCurve {
  double tension_limit = 0;          // the largest tension (N < 0) at M = 0
  double compression_limit = 0;      // the largest compression at M = 0
  std::vector<CurvePoint> positive;  // M ≥ 0, from tension to compression
  std::vector<CurvePoint> negative;  // M ≤ 0, from tension to compression
};

// A check with the caller's arguments (the acting N and M among them, the report dropped).
class SectionCheck {
 public:
  // The methods that have a diagram: мтПрочностьB, мтПрочностьТB, мтПрочностьКругаB.
  static bool Supports(const MethodInfo& method);
  // `args` in parameter order, nullopt for an omitted one. Error 5 for a method without a
  // diagram.
  SectionCheck(const MethodInfo& method, std::vector<std::optional<Variant>> args);

  const MethodInfo& Method() const { return *method_; }
  // The margin at (n, m) with margin method 2; NaN when the check fails with a run-time error.
  // The long-term parts Nl, Ml, when given, keep their share of N and M.
  double SweepMargin(double n, double m) const;
  // (n, m) with the caller's own margin method and its verdict.
  CheckedForce Check(double n, double m) const;
  // The acting force of the arguments, if both N and M are given.
  std::optional<CheckedForce> Acting() const;

 private:
  double Margin(double n, double m, std::optional<int32_t> margin_method) const;

  const MethodInfo* method_;
  std::vector<std::optional<Variant>> args_;
  int n_ = -1, m_ = -1, nl_ = -1, ml_ = -1, margin_method_ = -1, report_ = -1;
  double n_given_ = 0, m_given_ = 0, nl_share_ = 0, ml_share_ = 0;
};

// Arguments in parameter order from names and values (the others omitted); error 448 for a name
// that is no parameter of the method.
std::vector<std::optional<Variant>> ArgumentsByName(
    const MethodInfo& method, std::initializer_list<std::pair<std::string_view, Variant>> given);

// The curve with `points_per_side` values of N on each sign of M. Error 5 when the section
// carries no force at M = 0 (no tension or no compression limit within the search range).
InteractionCurve ComputeCurve(const SectionCheck& check, int points_per_side);

std::string DiagramSvg(const InteractionCurve& curve, const std::optional<CheckedForce>& acting,
                       const std::vector<CheckedForce>& forces, std::string_view method_name);
std::string DiagramJson(const InteractionCurve& curve, const std::optional<CheckedForce>& acting,
                        const std::vector<CheckedForce>& forces, std::string_view method_name);

// Forces from CSV text: one "N,M" (or "N;M") per line, an optional header line; error 13 on a
// line that is not two numbers.
std::vector<std::pair<double, double>> ParseForces(std::string_view csv);

inline constexpr std::string_view kCurveColour = "#1f5fbf";
inline constexpr std::string_view kPassColour = "#2e9e44";
inline constexpr std::string_view kFailColour = "#d62728";
inline constexpr std::string_view kActingColour = "#000000";

// The command; `args` without the word "diagram". Exit status 0, 1 run-time error, 2 usage.
int RunDiagram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace armocalc::cli
