#pragma once
// The sketch of a call's cross-section, drawn to scale as inline SVG: the rectangle b × h with
// its two reinforcement layers or the bars of a bar table, the compressed zone X, the force N at
// its eccentricity; the circle or ring with its bar cage or steel tube.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interface/method_table.hpp"

namespace armocalc::cli {

// Section coordinates in metres: x to the right of the centre, y up from the centre.
struct SketchBar {
  double x = 0;
  double y = 0;
  double diameter = 0;
};

// A reinforcement layer given by its area only: a band across the width at height y.
struct SketchLayer {
  double y = 0;
  double area_cm2 = 0;
  std::string name;  // "Fв"
};

struct SectionSketch {
  enum class Outline { Rectangle, Circle };
  Outline outline = Outline::Rectangle;
  double width = 0;           // b, or the outer diameter
  double height = 0;          // h, or the outer diameter
  double inner_diameter = 0;  // a ring's hole; 0 for a solid section
  std::vector<SketchBar> bars;
  std::vector<SketchLayer> layers;
  double tube_diameter = 0;           // a steel tube on this circle instead of bars; 0: none
  std::optional<double> zone_height;  // X from the compressed face
  bool zone_at_top = true;            // M ≥ 0 compresses the top face
  std::optional<double> force;        // N, compression > 0
  double moment = 0;                  // M
  std::string force_unit;             // "МН", "кН"
};

// The sketch of a call's section from its arguments as they stand after the call (`values` in
// the method's parameter order); nullopt for a method whose inputs describe no section.
std::optional<SectionSketch> SketchOfCall(const MethodInfo& method,
                                          std::span<const Variant> values);

// The compressed-zone height that a strength report states last: the last line saying
// "X = ... = <number> м" (or "метров"), its number written with `separator`; nullopt if none.
std::optional<double> ZoneHeightFromReport(std::span<const std::string> lines,
                                           std::string_view separator);

// The mapping of section metres onto the picture's pixels.
struct SketchView {
  double scale = 1;  // pixels per metre
  double centre_x = 0;
  double centre_y = 0;
  double PixelX(double x) const { return centre_x + x * scale; }
  double PixelY(double y) const { return centre_y - y * scale; }
};

inline constexpr double kSketchBox = 320;  // the longer side of the section, in pixels
inline constexpr std::string_view kBarColour = "#c0392b";
inline constexpr std::string_view kZoneColour = "#f5c26b";
inline constexpr std::string_view kForceColour = "#1f4e9c";

SketchView ViewOf(const SectionSketch& sketch);
// Numbers in the labels are written with `separator`, as the report writes them.
std::string SketchSvg(const SectionSketch& sketch, std::string_view separator);

}  // namespace armocalc::cli
