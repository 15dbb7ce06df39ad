#include "cli/section_sketch.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "cli/html_text.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

constexpr int32_t kMaxTableRows = 10000;  // far beyond any worksheet bar table
constexpr int kMaxBarsPerLayer = 1000;
constexpr double kMarginLeft = 110;
constexpr double kMarginTop = 40;
constexpr double kMarginRight = 120;
constexpr double kMarginBottom = 70;
constexpr double kMinBarRadius = 2;       // px: a thin bar stays visible
constexpr double kMinLayerThickness = 3;  // px

// The call's arguments by parameter name.
class Inputs {
 public:
  Inputs(const MethodInfo& method, std::span<const Variant> values)
      : method_(method), values_(values) {}

  // The argument as a number; `fallback` when absent or not a number.
  double Number(std::string_view name, double fallback = 0) const {
    const Variant* value = Find(name);
    if (!value || value->IsEmpty()) return fallback;
    try {
      const double number = ToDouble(*value);
      return std::isfinite(number) ? number : fallback;
    } catch (const RuntimeError&) {
      return fallback;
    }
  }

  const HostRange* Range(std::string_view name) const {
    const Variant* value = Find(name);
    if (!value || value->Type() != VarType::Range) return nullptr;
    return value->Range().get();
  }

 private:
  const Variant* Find(std::string_view name) const {
    const int index = FindParam(method_, name);
    if (index < 0 || static_cast<size_t>(index) >= values_.size()) return nullptr;
    return &values_[static_cast<size_t>(index)];
  }

  const MethodInfo& method_;
  std::span<const Variant> values_;
};

bool Positive(double value) {
  return std::isfinite(value) && value > 0;
}

void SetForce(SectionSketch& sketch, double n, double m, std::string unit) {
  sketch.force = n;
  sketch.moment = m;
  sketch.zone_at_top = m >= 0;
  sketch.force_unit = std::move(unit);
}

std::optional<SectionSketch> Rectangle(double b, double h) {
  if (!Positive(b) || !Positive(h)) return std::nullopt;
  SectionSketch sketch;
  sketch.width = b;
  sketch.height = h;
  return sketch;
}

// Two layers given by their areas (cm²) and their distances from the faces (m).
std::optional<SectionSketch> TwoLayers(const Inputs& in, std::string_view n, std::string_view m) {
  auto sketch = Rectangle(in.Number("B", 1), in.Number("h"));
  if (!sketch) return sketch;
  const double h = sketch->height;
  const double top = in.Number("Fв");
  const double bottom = in.Number("Fн");
  if (Positive(top)) sketch->layers.push_back({h / 2 - in.Number("ав"), top, "Fв"});
  if (Positive(bottom)) {
    sketch->layers.push_back({in.Number("ан") - h / 2, bottom, "Fн"});
  }
  SetForce(*sketch, in.Number(n), in.Number(m), "МН");
  return sketch;
}

std::optional<SectionSketch> StrengthLayers(const Inputs& in) {
  return TwoLayers(in, "N", "M");
}

std::optional<SectionSketch> EnduranceLayers(const Inputs& in) {
  return TwoLayers(in, "Nmax", "Mmax");
}

// Bars of diameter d (mm) at spacing s (mm) across the width, at height y.
void AddSpacedBars(SectionSketch& sketch, double d_mm, double s_mm, double y) {
  if (!Positive(d_mm) || !Positive(s_mm)) return;
  const double spacing = s_mm / 1000;
  const int count =
      static_cast<int>(std::min<double>(kMaxBarsPerLayer, std::floor(sketch.width / spacing)));
  const double first = -(count - 1) * spacing / 2;
  for (int i = 0; i < count; ++i) sketch.bars.push_back({first + i * spacing, y, d_mm / 1000});
}

std::optional<SectionSketch> SpacedLayers(const Inputs& in) {
  auto sketch = Rectangle(in.Number("B", 1), in.Number("h"));
  if (!sketch) return sketch;
  const double h = sketch->height;
  AddSpacedBars(*sketch, in.Number("dв"), in.Number("шв"), h / 2 - in.Number("ав"));
  AddSpacedBars(*sketch, in.Number("dн"), in.Number("шн"), in.Number("ан") - h / 2);
  SetForce(*sketch, in.Number("N"), in.Number("M"), "МН");
  return sketch;
}

std::optional<double> CellNumber(const HostRange& range, int32_t row, int32_t column) {
  try {
    const Variant cell = range.Cell(row, column);
    if (cell.IsEmpty()) return std::nullopt;
    const double value = ToDouble(cell);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// A table's first column places the bars across the width when it fits inside it (from the
// centre, or from the left face); otherwise (row numbers, say) the bars of one height are spread
// evenly over the width.
void PlaceAcrossWidth(std::vector<SketchBar>& bars, double b) {
  const auto fits = [&](double low, double high) {
    return std::all_of(bars.begin(), bars.end(),
                       [&](const SketchBar& bar) { return bar.x >= low && bar.x <= high; });
  };
  if (fits(-b / 2, b / 2)) return;
  if (fits(0, b)) {
    for (SketchBar& bar : bars) bar.x -= b / 2;
    return;
  }
  for (size_t i = 0; i < bars.size(); ++i) {
    const auto same_height = [&](const SketchBar& other) { return other.y == bars[i].y; };
    const auto count = std::count_if(bars.begin(), bars.end(), same_height);
    const auto before =
        std::count_if(bars.begin(), bars.begin() + static_cast<ptrdiff_t>(i), same_height);
    bars[i].x = b * (static_cast<double>(before) + 0.5) / static_cast<double>(count) - b / 2;
  }
}

std::optional<SectionSketch> BarTable(const Inputs& in) {
  auto sketch = Rectangle(in.Number("B"), in.Number("h"));
  const HostRange* table = in.Range("ТаблицаАрматурныхСтержней");
  if (!sketch || !table) return sketch;
  const int32_t rows = std::min(table->RowsCount(), kMaxTableRows);
  for (int32_t row = 1; row <= rows; ++row) {
    const auto x = CellNumber(*table, row, 1);
    const auto y = CellNumber(*table, row, 2);
    const auto d = CellNumber(*table, row, 3);
    if (y && d && Positive(*d)) sketch->bars.push_back({x.value_or(0), *y, *d / 1000});
  }
  PlaceAcrossWidth(sketch->bars, sketch->width);
  SetForce(*sketch, in.Number("N"), in.Number("M"), "МН");
  return sketch;
}

std::optional<SectionSketch> Circle(double outer, double inner) {
  if (!Positive(outer)) return std::nullopt;
  SectionSketch sketch;
  sketch.outline = SectionSketch::Outline::Circle;
  sketch.width = outer;
  sketch.height = outer;
  sketch.inner_diameter = Positive(inner) && inner < outer ? inner : 0;
  return sketch;
}

// `count` bars of diameter d (m) evenly on the circle of radius r, the first at the top.
void AddCage(SectionSketch& sketch, double r, double count, double d) {
  if (!Positive(r) || !Positive(d) || !(count >= 1)) return;
  const int bars = static_cast<int>(std::min<double>(kMaxBarsPerLayer, std::floor(count)));
  for (int i = 0; i < bars; ++i) {
    const double angle = std::numbers::pi / 2 - 2 * std::numbers::pi * i / bars;
    sketch.bars.push_back({r * std::cos(angle), r * std::sin(angle), d});
  }
}

std::optional<SectionSketch> Pile(const Inputs& in) {
  auto sketch = Circle(in.Number("D"), 0);
  if (!sketch) return sketch;
  const double ds = in.Number("ds") / 1000;
  AddCage(*sketch, sketch->width / 2 - in.Number("Cov") - ds / 2, in.Number("ns"), ds);
  SetForce(*sketch, in.Number("N"), in.Number("M"), "кН");
  return sketch;
}

std::optional<SectionSketch> DesignManualRing(const Inputs& in) {
  const double inner = in.Number("dв");
  const double outer = in.Number("dн");
  auto sketch = Circle(outer, inner);
  if (!sketch) return sketch;
  const double r = in.Number("r");
  AddCage(*sketch, r != 0 ? r : (inner + outer) / 4, in.Number("ns"), in.Number("D") / 1000);
  SetForce(*sketch, std::abs(in.Number("N")), in.Number("M"), "МН");
  return sketch;
}

std::optional<SectionSketch> CircleOrRing(const Inputs& in) {
  auto sketch = Circle(in.Number("ДиаметрНаружний"), in.Number("ДиаметрВнутренний"));
  if (!sketch) return sketch;
  const double cage = in.Number("ДиаметрКаркаса");
  const double count = in.Number("ns");
  if (count >= 1) {
    AddCage(*sketch, cage / 2, count, in.Number("ds") / 1000);
  } else if (Positive(cage) && Positive(in.Number("Fs"))) {
    sketch->tube_diameter = cage;
  }
  SetForce(*sketch, in.Number("N"), std::abs(in.Number("M")), "МН");
  return sketch;
}

struct SketchReader {
  std::string_view method;
  std::optional<SectionSketch> (*read)(const Inputs&);
};

constexpr SketchReader kReaders[] = {
    {"мтRingStrengthB", Pile},
    {"гПрочностьГОB", StrengthLayers},
    {"мтПрочностьB", StrengthLayers},
    {"мтПрочностьТB", BarTable},
    {"мтТрещиностойкостьПродольныеТB", BarTable},
    {"мтТрещиностойкостьПродольныеB", StrengthLayers},
    {"мтТрещиностойкостьТB", BarTable},
    {"мтТрещиностойкостьB", StrengthLayers},
    {"мтТрещиностойкость2B", SpacedLayers},
    {"мтВыносливостьB", EnduranceLayers},
    {"мтНапряжениеB", StrengthLayers},
    {"гRingB", DesignManualRing},
    {"мтПрочностьКругаB", CircleOrRing},
};

// The number that starts `text`, written with `separator`, when " м" follows it.
std::optional<double> MetresAtStart(std::string_view text, std::string_view separator) {
  std::string number;
  size_t i = 0;
  while (i < text.size() && number.size() < 40) {
    const char c = text[i];
    if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'E') {
      number += c;
      ++i;
    } else if (!separator.empty() && text.substr(i).starts_with(separator)) {
      number += '.';
      i += separator.size();
    } else {
      break;
    }
  }
  if (number.empty() || !text.substr(i).starts_with(" м")) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

bool StatesZoneHeight(std::string_view line) {
  for (size_t at = line.find("X = "); at != std::string_view::npos;
       at = line.find("X = ", at + 1)) {
    if (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t') return true;
  }
  return false;
}

// The side label of the force: "N = 0.5 МН, e = M / N = 0.2 м".
std::string ForceLabel(const SectionSketch& sketch, std::string_view separator) {
  std::string label = "N = " + ShortNumber(*sketch.force, separator) + " " + sketch.force_unit;
  if (*sketch.force != 0) {
    label += ", e = M / N = " + ShortNumber(sketch.moment / *sketch.force, separator) + " м";
  }
  return label;
}

void AppendRectangle(std::string& svg, const SectionSketch& sketch, const SketchView& view) {
  svg += SvgElement("rect", {{"class", "section"},
                             {"x", PixelText(view.PixelX(-sketch.width / 2))},
                             {"y", PixelText(view.PixelY(sketch.height / 2))},
                             {"width", PixelText(sketch.width * view.scale)},
                             {"height", PixelText(sketch.height * view.scale)},
                             {"fill", "#e6e6e6"},
                             {"stroke", "#333"},
                             {"stroke-width", "1.5"}});
}

void AppendCircleOutline(std::string& svg, const SectionSketch& sketch, const SketchView& view) {
  svg += SvgElement("circle", {{"class", "section"},
                               {"cx", PixelText(view.PixelX(0))},
                               {"cy", PixelText(view.PixelY(0))},
                               {"r", PixelText(sketch.width / 2 * view.scale)},
                               {"fill", "#e6e6e6"},
                               {"stroke", "#333"},
                               {"stroke-width", "1.5"}});
  if (sketch.inner_diameter > 0) {
    svg += SvgElement("circle", {{"class", "hole"},
                                 {"cx", PixelText(view.PixelX(0))},
                                 {"cy", PixelText(view.PixelY(0))},
                                 {"r", PixelText(sketch.inner_diameter / 2 * view.scale)},
                                 {"fill", "#ffffff"},
                                 {"stroke", "#333"},
                                 {"stroke-width", "1.5"}});
  }
}

void AppendZone(std::string& svg, const SectionSketch& sketch, const SketchView& view,
                std::string_view separator) {
  if (!sketch.zone_height || sketch.outline != SectionSketch::Outline::Rectangle) return;
  const double x = std::clamp(*sketch.zone_height, 0.0, sketch.height);
  const double top = sketch.zone_at_top ? sketch.height / 2 : x - sketch.height / 2;
  svg += SvgElement("rect", {{"class", "zone"},
                             {"x", PixelText(view.PixelX(-sketch.width / 2))},
                             {"y", PixelText(view.PixelY(top))},
                             {"width", PixelText(sketch.width * view.scale)},
                             {"height", PixelText(x * view.scale)},
                             {"fill", kZoneColour},
                             {"fill-opacity", "0.7"}});
  const double edge = sketch.zone_at_top ? top - x : top;
  svg += SvgElement("line", {{"class", "zone-edge"},
                             {"x1", PixelText(view.PixelX(-sketch.width / 2))},
                             {"y1", PixelText(view.PixelY(edge))},
                             {"x2", PixelText(view.PixelX(sketch.width / 2))},
                             {"y2", PixelText(view.PixelY(edge))},
                             {"stroke", "#b9770e"},
                             {"stroke-dasharray", "6 3"}});
  svg += SvgText(view.PixelX(-sketch.width / 2) - 6, view.PixelY(edge) + 4, "end",
                 "X = " + ShortNumber(*sketch.zone_height, separator) + " м");
}

void AppendLayers(std::string& svg, const SectionSketch& sketch, const SketchView& view,
                  std::string_view separator) {
  for (const SketchLayer& layer : sketch.layers) {
    const double thickness =
        std::max(kMinLayerThickness, layer.area_cm2 / 10000 / sketch.width * view.scale);
    svg += SvgElement("rect", {{"class", "layer"},
                               {"x", PixelText(view.PixelX(-sketch.width / 2) + 4)},
                               {"y", PixelText(view.PixelY(layer.y) - thickness / 2)},
                               {"width", PixelText(sketch.width * view.scale - 8)},
                               {"height", PixelText(thickness)},
                               {"fill", kBarColour}});
    svg += SvgText(view.PixelX(sketch.width / 2) + 8, view.PixelY(layer.y) + 4, "start",
                   layer.name + " = " + ShortNumber(layer.area_cm2, separator) + " см²");
  }
}

void AppendBars(std::string& svg, const SectionSketch& sketch, const SketchView& view) {
  if (sketch.tube_diameter > 0) {
    svg += SvgElement("circle", {{"class", "tube"},
                                 {"cx", PixelText(view.PixelX(0))},
                                 {"cy", PixelText(view.PixelY(0))},
                                 {"r", PixelText(sketch.tube_diameter / 2 * view.scale)},
                                 {"fill", "none"},
                                 {"stroke", kBarColour},
                                 {"stroke-width", "4"}});
  }
  for (const SketchBar& bar : sketch.bars) {
    svg += SvgElement("circle",
                      {{"class", "bar"},
                       {"cx", PixelText(view.PixelX(bar.x))},
                       {"cy", PixelText(view.PixelY(bar.y))},
                       {"r", PixelText(std::max(kMinBarRadius, bar.diameter / 2 * view.scale))},
                       {"fill", kBarColour}});
  }
}

// N as a dot at its eccentricity e = M / N from the centre, kept inside the picture; its label
// under the section.
void AppendForce(std::string& svg, const SectionSketch& sketch, const SketchView& view,
                 std::string_view separator) {
  if (!sketch.force) return;
  const double reach = sketch.height / 2 + kMarginTop / 2 / view.scale;
  const double e = *sketch.force != 0 ? sketch.moment / *sketch.force : 0;
  const double y = std::clamp(std::isfinite(e) ? e : 0.0, -reach, reach);
  svg += SvgElement("line", {{"class", "force-line"},
                             {"x1", PixelText(view.PixelX(-sketch.width / 2) - 10)},
                             {"y1", PixelText(view.PixelY(y))},
                             {"x2", PixelText(view.PixelX(sketch.width / 2) + 10)},
                             {"y2", PixelText(view.PixelY(y))},
                             {"stroke", kForceColour},
                             {"stroke-dasharray", "2 3"}});
  svg += SvgElement("circle", {{"class", "force"},
                               {"cx", PixelText(view.PixelX(0))},
                               {"cy", PixelText(view.PixelY(y))},
                               {"r", "4"},
                               {"fill", kForceColour}});
  svg += SvgText(view.PixelX(0), view.PixelY(-sketch.height / 2) + 44, "middle",
                 ForceLabel(sketch, separator));
}

void AppendDimensions(std::string& svg, const SectionSketch& sketch, const SketchView& view,
                      std::string_view separator) {
  const bool circle = sketch.outline == SectionSketch::Outline::Circle;
  const std::string across = circle ? "D = " : "b = ";
  svg += SvgText(view.PixelX(0), view.PixelY(-sketch.height / 2) + 24, "middle",
                 across + ShortNumber(sketch.width, separator) + " м");
  if (!circle) {
    svg += SvgText(view.PixelX(-sketch.width / 2) - 6, view.PixelY(0) + 4, "end",
                   "h = " + ShortNumber(sketch.height, separator) + " м");
  } else if (sketch.inner_diameter > 0) {
    svg += SvgText(view.PixelX(0), view.PixelY(-sketch.height / 2) + 60, "middle",
                   "Dв = " + ShortNumber(sketch.inner_diameter, separator) + " м");
  }
}

}  // namespace

std::optional<SectionSketch> SketchOfCall(const MethodInfo& method,
                                          std::span<const Variant> values) {
  const Inputs inputs(method, values);
  for (const SketchReader& reader : kReaders) {
    if (reader.method == method.name) return reader.read(inputs);
  }
  return std::nullopt;
}

std::optional<double> ZoneHeightFromReport(std::span<const std::string> lines,
                                           std::string_view separator) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (!StatesZoneHeight(*line)) continue;
    const size_t last = line->rfind("= ");
    if (const auto value = MetresAtStart(std::string_view(*line).substr(last + 2), separator)) {
      return value;
    }
  }
  return std::nullopt;
}

SketchView ViewOf(const SectionSketch& sketch) {
  SketchView view;
  view.scale = kSketchBox / std::max(sketch.width, sketch.height);
  view.centre_x = kMarginLeft + sketch.width / 2 * view.scale;
  view.centre_y = kMarginTop + sketch.height / 2 * view.scale;
  return view;
}

std::string SketchSvg(const SectionSketch& sketch, std::string_view separator) {
  const SketchView view = ViewOf(sketch);
  const double width = kMarginLeft + sketch.width * view.scale + kMarginRight;
  const double height = kMarginTop + sketch.height * view.scale + kMarginBottom;
  std::string svg = SvgOpening(width, height, "section-sketch");
  if (sketch.outline == SectionSketch::Outline::Rectangle) {
    AppendRectangle(svg, sketch, view);
  } else {
    AppendCircleOutline(svg, sketch, view);
  }
  AppendZone(svg, sketch, view, separator);
  AppendLayers(svg, sketch, view, separator);
  AppendForce(svg, sketch, view, separator);
  AppendBars(svg, sketch, view);  // over the force's line: the bars are what the section is
  AppendDimensions(svg, sketch, view, separator);
  svg += "</svg>\n";
  return svg;
}

}  // namespace armocalc::cli
