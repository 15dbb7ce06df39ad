#include "cli/diagram.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <limits>
#include <ostream>
#include <sstream>

#include "cli/html_text.hpp"
#include "cli/json_values.hpp"
#include "cli/named_call.hpp"
#include "cli/single_call.hpp"
#include "interface/call_frame.hpp"
#include "interface/latin_names.hpp"
#include "runtime/errors.hpp"

namespace armocalc::cli {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kSweepMarginMethod = 2;  // per cent of the limit value: bounded above by 100
constexpr double kFirstProbe = 1e-3;       // MN or MN·m
constexpr int kMaxWidening = 100;          // doublings from 1e-3 reach far beyond any section
constexpr int kMaxBisection = 200;
constexpr size_t kMaxForces = 100000;
constexpr std::string_view kDiagramMethods[] = {"мтПрочностьB", "мтПрочностьТB",
                                                "мтПрочностьКругаB"};

// With margin method 2 a margin lies below 100 % while the limit value has the sign of the
// acting one; above it the check has passed out of its range (a limit of the opposite sign), which
// the diagram does not count as capacity. NaN (a failed check) does not pass either.
bool Passing(double margin) {
  return margin > 0 && margin <= 100 + 1e-9;
}

// The moment (or force) along one ray where the margin crosses zero, bracketed around `guess`
// (the neighbouring point's) or else widened by doubling from the first probe, then halved.
struct Found {
  double value = 0;
  double margin = 0;
  bool jump = false;
};

template <class MarginOf>
Found Crossing(const MarginOf& margin_of, double guess) {
  double lo = 0;
  double hi = kFirstProbe;
  double hi_margin = kNaN;
  if (guess > 0 && Passing(margin_of(guess * 0.8))) {
    hi_margin = margin_of(guess * 1.25);
    if (!Passing(hi_margin)) {
      lo = guess * 0.8;
      hi = guess * 1.25;
    }
  }
  if (lo == 0) {
    hi_margin = margin_of(hi);
    for (int k = 0; Passing(hi_margin); ++k) {
      if (k >= kMaxWidening) {
        RequestError(kInvalidProcedureCall, "the section's capacity has no bound");
      }
      lo = hi;
      hi *= 2;
      hi_margin = margin_of(hi);
    }
  }
  double lo_margin = margin_of(lo);
  for (int pass = 0; pass < kMaxBisection; ++pass) {
    const double mid = (lo + hi) / 2;
    const double margin = margin_of(mid);
    if (std::abs(margin) <= kCurveTolerance / 2) return {mid, margin, false};
    if (Passing(margin)) {
      lo = mid;
      lo_margin = margin;
    } else {
      hi = mid;
      hi_margin = margin;
    }
    if (hi - lo <= 1e-13 * hi) break;  // the margin jumps across zero here
  }
  const bool lo_closer = std::abs(lo_margin) <= std::abs(hi_margin) || std::isnan(hi_margin);
  const Found found = lo_closer ? Found{lo, lo_margin, false} : Found{hi, hi_margin, false};
  return {found.value, found.margin, std::abs(found.margin) > kCurveTolerance / 2};
}

double AxisLimit(const SectionCheck& check, double sign) {
  if (!Passing(check.SweepMargin(0, 0))) {
    RequestError(kInvalidProcedureCall, "the section fails the check without any force");
  }
  return sign * Crossing([&](double n) { return check.SweepMargin(sign * n, 0); }, 0).value;
}

std::vector<CurvePoint> Side(const SectionCheck& check, const InteractionCurve& curve, int points,
                             double sign) {
  std::vector<CurvePoint> side;
  side.reserve(static_cast<size_t>(points));
  double guess = 0;
  for (int i = 0; i < points; ++i) {
    const double n =
        curve.tension_limit + (curve.compression_limit - curve.tension_limit) * i / (points - 1);
    const double at_zero = check.SweepMargin(n, 0);
    if (i == 0 || i == points - 1 || !Passing(at_zero)) {
      side.push_back({n, 0, at_zero, !(std::abs(at_zero) <= kCurveTolerance / 2)});
      continue;
    }
    const Found found =
        Crossing([&](double probe) { return check.SweepMargin(n, sign * probe); }, guess);
    guess = found.value;
    side.push_back({n, sign * found.value, found.margin, found.jump});
  }
  return side;
}

double NumberOf(const Variant& value) {
  try {
    return ToDouble(value);
  } catch (const RuntimeError&) {
    return 0;
  }
}

// --- the picture ---------------------------------------------------------------------------

struct Plot {
  double left = 80, top = 40, width = 540, height = 420;
  double m_min = -1, m_max = 1, n_min = -1, n_max = 1;
  double X(double m) const { return left + (m - m_min) / (m_max - m_min) * width; }
  double Y(double n) const { return top + (n_max - n) / (n_max - n_min) * height; }
};

Plot PlotFor(const InteractionCurve& curve, const std::optional<CheckedForce>& acting,
             const std::vector<CheckedForce>& forces) {
  double m_reach = 0;
  double n_low = std::min(curve.tension_limit, 0.0);
  double n_high = std::max(curve.compression_limit, 0.0);
  const auto take = [&](double n, double m) {
    if (!std::isfinite(n) || !std::isfinite(m)) return;
    m_reach = std::max(m_reach, std::abs(m));
    n_low = std::min(n_low, n);
    n_high = std::max(n_high, n);
  };
  for (const auto* side : {&curve.positive, &curve.negative}) {
    for (const CurvePoint& p : *side) take(p.n, p.m);
  }
  if (acting) take(acting->n, acting->m);
  for (const CheckedForce& f : forces) take(f.n, f.m);
  if (m_reach == 0) m_reach = 1;
  if (n_high - n_low == 0) n_high = n_low + 1;
  const double n_pad = (n_high - n_low) * 0.08;
  Plot plot;
  plot.m_min = -m_reach * 1.12;
  plot.m_max = m_reach * 1.12;
  plot.n_min = n_low - n_pad;
  plot.n_max = n_high + n_pad;
  return plot;
}

std::string CurvePath(const InteractionCurve& curve, const Plot& plot) {
  std::string points;
  const auto add = [&](const CurvePoint& p) {
    if (!points.empty()) points += ' ';
    points += PixelText(plot.X(p.m)) + "," + PixelText(plot.Y(p.n));
  };
  for (const CurvePoint& p : curve.positive) add(p);
  for (auto p = curve.negative.rbegin(); p != curve.negative.rend(); ++p) add(*p);
  return points;
}

void AppendAxes(std::string& svg, const Plot& plot) {
  svg += SvgElement("rect", {{"class", "plot-area"},
                             {"x", PixelText(plot.left)},
                             {"y", PixelText(plot.top)},
                             {"width", PixelText(plot.width)},
                             {"height", PixelText(plot.height)},
                             {"fill", "#ffffff"},
                             {"stroke", "#888"}});
  svg += SvgElement("line", {{"class", "axis"},
                             {"x1", PixelText(plot.X(0))},
                             {"y1", PixelText(plot.top)},
                             {"x2", PixelText(plot.X(0))},
                             {"y2", PixelText(plot.top + plot.height)},
                             {"stroke", "#aaa"}});
  svg += SvgElement("line", {{"class", "axis"},
                             {"x1", PixelText(plot.left)},
                             {"y1", PixelText(plot.Y(0))},
                             {"x2", PixelText(plot.left + plot.width)},
                             {"y2", PixelText(plot.Y(0))},
                             {"stroke", "#aaa"}});
  const double bottom = plot.top + plot.height;
  svg += SvgText(plot.left, bottom + 18, "start", ShortNumber(plot.m_min, "."));
  svg += SvgText(plot.left + plot.width, bottom + 18, "end", ShortNumber(plot.m_max, "."));
  svg += SvgText(plot.left + plot.width / 2, bottom + 36, "middle", "M, МН·м");
  svg += SvgText(plot.left - 6, plot.top + 4, "end", ShortNumber(plot.n_max, "."));
  svg += SvgText(plot.left - 6, bottom, "end", ShortNumber(plot.n_min, "."));
  svg += SvgText(plot.left - 6, plot.top + plot.height / 2, "end", "N, МН");
}

void AppendForce(std::string& svg, const Plot& plot, const CheckedForce& force, bool acting) {
  if (!std::isfinite(force.n) || !std::isfinite(force.m)) return;
  const std::string_view colour = acting ? kActingColour : force.passes ? kPassColour : kFailColour;
  svg += SvgElement("circle", {{"class", acting         ? "acting"
                                         : force.passes ? "force pass"
                                                        : "force fail"},
                               {"cx", PixelText(plot.X(force.m))},
                               {"cy", PixelText(plot.Y(force.n))},
                               {"r", acting ? "5" : "3.5"},
                               {"fill", colour}});
}

OrderedJson ForceJson(const CheckedForce& force) {
  OrderedJson json = OrderedJson::object();
  json["N"] = force.n;
  json["M"] = force.m;
  json["margin"] = std::isnan(force.margin) ? OrderedJson(nullptr) : OrderedJson(force.margin);
  json["passes"] = force.passes;
  return json;
}

// --- the command ---------------------------------------------------------------------------

struct DiagramOptions {
  std::string svg;
  std::optional<std::string> json;  // "" for standard output
  std::optional<std::string> forces;
  int points = kDefaultPointsPerSide;
};

int PointsOption(const std::string& text) {
  int points = 0;
  std::istringstream in(text);
  if (!(in >> points) || !in.eof() || points < 2 || points > kMaxPointsPerSide) {
    throw UsageError{"--points takes a whole number from 2 to " +
                     std::to_string(kMaxPointsPerSide)};
  }
  return points;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) RequestError(kFileNotFound, "cannot read '" + path + "'");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) RequestError(kPathFileAccessError, "cannot write '" + path + "'");
}

int Diagram(const std::vector<std::string>& args, std::ostream& out) {
  if (args.empty()) throw UsageError{"diagram needs a method"};
  const MethodInfo* method = LookUpMethod(args[0]);
  if (!method || !SectionCheck::Supports(*method)) {
    throw UsageError{"a diagram is drawn for мтПрочностьB, мтПрочностьТB, мтПрочностьКругаB"};
  }
  DiagramOptions options;
  std::vector<std::optional<Variant>> values(method->params.size());
  for (size_t i = 1; i < args.size(); ++i) {
    std::string value;
    if (TakeOption(args, i, "--svg", options.svg)) continue;
    if (TakeOption(args, i, "--forces", value)) {
      options.forces = value;
      continue;
    }
    if (TakeOption(args, i, "--points", value)) {
      options.points = PointsOption(value);
      continue;
    }
    if (args[i] == "--json" || args[i].starts_with("--json=")) {
      const bool file_follows = args[i] == "--json" && i + 1 < args.size() &&
                                !args[i + 1].starts_with("-") &&
                                args[i + 1].find('=') == std::string::npos;
      options.json = args[i] != "--json" ? args[i].substr(7) : file_follows ? args[++i] : "";
      continue;
    }
    const size_t equals = args[i].find('=');
    if (args[i].starts_with("-") || equals == std::string::npos || equals == 0) {
      throw UsageError{"unexpected argument '" + args[i] + "' (expected NAME=VALUE)"};
    }
    const std::string name = args[i].substr(0, equals);
    const int index = LookUpParam(*method, name);
    if (index < 0)
      throw UsageError{"'" + name + "' is no parameter of " + std::string(method->name)};
    if (values[static_cast<size_t>(index)]) {
      throw UsageError{"parameter '" +
                       std::string(method->params[static_cast<size_t>(index)].name) +
                       "' is given twice"};
    }
    values[static_cast<size_t>(index)] =
        CommandLineValue(method->params[static_cast<size_t>(index)], args[i].substr(equals + 1));
  }
  if (options.svg.empty()) throw UsageError{"diagram needs --svg FILE"};

  const SectionCheck check(*method, std::move(values));
  const InteractionCurve curve = ComputeCurve(check, options.points);
  const std::optional<CheckedForce> acting = check.Acting();
  std::vector<CheckedForce> forces;
  if (options.forces) {
    for (const auto& [n, m] : ParseForces(ReadFile(*options.forces))) {
      forces.push_back(check.Check(n, m));
    }
  }
  WriteFile(options.svg, DiagramSvg(curve, acting, forces, method->name));
  if (options.json) {
    const std::string json = DiagramJson(curve, acting, forces, method->name);
    if (options.json->empty()) {
      out << json;
    } else {
      WriteFile(*options.json, json);
    }
  }
  if (acting) {
    out << "acting N = " << acting->n << ", M = " << acting->m << ": margin "
        << DumpLine(std::isnan(acting->margin) ? OrderedJson(nullptr) : OrderedJson(acting->margin))
        << (acting->passes ? " (обеспечена)" : " (не обеспечена)") << '\n';
  }
  return 0;
}

}  // namespace

bool SectionCheck::Supports(const MethodInfo& method) {
  return std::find(std::begin(kDiagramMethods), std::end(kDiagramMethods), method.name) !=
         std::end(kDiagramMethods);
}

SectionCheck::SectionCheck(const MethodInfo& method, std::vector<std::optional<Variant>> args)
    : method_(&method), args_(std::move(args)) {
  if (!Supports(method)) RequestError(kInvalidProcedureCall, "the method has no diagram");
  args_.resize(method.params.size());
  n_ = FindParam(method, "N");
  m_ = FindParam(method, "M");
  nl_ = FindParam(method, "Nl");
  ml_ = FindParam(method, "Ml");
  margin_method_ = FindParam(method, "МетодОпределенияЗапаса");
  report_ = FindParam(method, "Отчет");
  const auto given = [&](int index) -> const std::optional<Variant>& {
    return args_[static_cast<size_t>(index)];
  };
  if (given(n_)) n_given_ = NumberOf(*given(n_));
  if (given(m_)) m_given_ = NumberOf(*given(m_));
  if (given(nl_) && n_given_ != 0) nl_share_ = NumberOf(*given(nl_)) / n_given_;
  if (given(ml_) && m_given_ != 0) ml_share_ = NumberOf(*given(ml_)) / m_given_;
}

double SectionCheck::Margin(double n, double m, std::optional<int32_t> margin_method) const {
  const size_t count = method_->params.size();
  std::vector<Variant> values(count);
  std::vector<Argument> call(count);
  for (size_t i = 0; i < count; ++i) {
    if (args_[i]) {
      values[i] = *args_[i];
      call[i].value = &values[i];
    }
  }
  const auto set = [&](int index, std::optional<Variant> value) {
    const size_t i = static_cast<size_t>(index);
    values[i] = value ? *value : Variant();
    call[i].value = value ? &values[i] : nullptr;
  };
  set(n_, n);
  set(m_, m);
  set(nl_, nl_share_ != 0 ? std::optional<Variant>(n * nl_share_) : std::nullopt);
  set(ml_, ml_share_ != 0 ? std::optional<Variant>(m * ml_share_) : std::nullopt);
  set(report_, std::nullopt);  // no report during the sweep
  if (margin_method) set(margin_method_, Variant(*margin_method));
  const CallOutcome outcome = Invoke(*method_, call);
  if (!outcome.Succeeded()) return kNaN;
  const double margin = NumberOf(outcome.result);
  return std::isfinite(margin) ? margin : kNaN;
}

double SectionCheck::SweepMargin(double n, double m) const {
  return Margin(n, m, kSweepMarginMethod);
}

CheckedForce SectionCheck::Check(double n, double m) const {
  const auto& code = args_[static_cast<size_t>(margin_method_)];
  const double method_code = NumberOf(
      code ? *code : DefaultArgument(method_->params[static_cast<size_t>(margin_method_)]));
  const double margin = Margin(n, m, std::nullopt);
  const bool passes = method_code == 0 ? margin >= 1 : margin >= 0;  // NaN fails both
  return {n, m, margin, passes};
}

std::optional<CheckedForce> SectionCheck::Acting() const {
  if (!args_[static_cast<size_t>(n_)] || !args_[static_cast<size_t>(m_)]) return std::nullopt;
  return Check(n_given_, m_given_);
}

std::vector<std::optional<Variant>> ArgumentsByName(
    const MethodInfo& method, std::initializer_list<std::pair<std::string_view, Variant>> given) {
  std::vector<std::optional<Variant>> args(method.params.size());
  for (const auto& [name, value] : given) {
    const int index = FindParam(method, name);
    if (index < 0)
      RequestError(kNamedArgumentNotFound, "'" + std::string(name) + "' is no parameter");
    args[static_cast<size_t>(index)] = value;
  }
  return args;
}

InteractionCurve ComputeCurve(const SectionCheck& check, int points_per_side) {
  if (points_per_side < 2 || points_per_side > kMaxPointsPerSide) {
    RequestError(kInvalidProcedureCall, "a diagram has 2 to 2000 points on each side");
  }
  InteractionCurve curve;
  curve.tension_limit = AxisLimit(check, -1);
  curve.compression_limit = AxisLimit(check, +1);
  curve.positive = Side(check, curve, points_per_side, +1);
  curve.negative = Side(check, curve, points_per_side, -1);
  return curve;
}

std::string DiagramSvg(const InteractionCurve& curve, const std::optional<CheckedForce>& acting,
                       const std::vector<CheckedForce>& forces, std::string_view method_name) {
  const Plot plot = PlotFor(curve, acting, forces);
  std::string svg = SvgOpening(plot.left + plot.width + 30, plot.top + plot.height + 50, "diagram");
  svg += SvgText(plot.left + plot.width / 2, 22, "middle",
                 std::string(method_name) + ": диаграмма взаимодействия N–M");
  AppendAxes(svg, plot);
  svg += SvgElement("polygon", {{"class", "curve"},
                                {"points", CurvePath(curve, plot)},
                                {"fill", kCurveColour},
                                {"fill-opacity", "0.08"},
                                {"stroke", kCurveColour},
                                {"stroke-width", "2.5"}});
  for (const CheckedForce& force : forces) AppendForce(svg, plot, force, false);
  if (acting) AppendForce(svg, plot, *acting, true);
  svg += "</svg>\n";
  return svg;
}

std::string DiagramJson(const InteractionCurve& curve, const std::optional<CheckedForce>& acting,
                        const std::vector<CheckedForce>& forces, std::string_view method_name) {
  OrderedJson json = OrderedJson::object();
  json["method"] = std::string(method_name);
  json["margin_method"] = kSweepMarginMethod;
  json["tolerance"] = kCurveTolerance;
  json["tension_limit"] = curve.tension_limit;
  json["compression_limit"] = curve.compression_limit;
  OrderedJson points = OrderedJson::array();
  for (const auto* side : {&curve.positive, &curve.negative}) {
    for (const CurvePoint& p : *side) {
      OrderedJson point = OrderedJson::object();
      point["N"] = p.n;
      point["M"] = p.m;
      point["margin"] = std::isnan(p.margin) ? OrderedJson(nullptr) : OrderedJson(p.margin);
      point["jump"] = p.jump;
      points.push_back(std::move(point));
    }
  }
  json["points"] = std::move(points);
  json["acting"] = acting ? ForceJson(*acting) : OrderedJson(nullptr);
  OrderedJson checked = OrderedJson::array();
  for (const CheckedForce& force : forces) checked.push_back(ForceJson(force));
  json["forces"] = std::move(checked);
  return json.dump(1) + "\n";
}

std::vector<std::pair<double, double>> ParseForces(std::string_view csv) {
  std::vector<std::pair<double, double>> forces;
  size_t start = 0;
  for (int line_number = 1; start < csv.size(); ++line_number) {
    size_t end = csv.find('\n', start);
    if (end == std::string_view::npos) end = csv.size();
    std::string line(csv.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::replace(line.begin(), line.end(), ';', ',');
    const size_t comma = line.find(',');
    std::istringstream n_text(line.substr(0, comma)),
        m_text(comma == std::string::npos ? "" : line.substr(comma + 1));
    n_text.imbue(std::locale::classic());
    m_text.imbue(std::locale::classic());
    double n = 0, m = 0;
    const bool numbers = comma != std::string::npos && (n_text >> n) && (m_text >> m) &&
                         (n_text >> std::ws).eof() && (m_text >> std::ws).eof() &&
                         std::isfinite(n) && std::isfinite(m);
    if (!numbers) {
      const char first = line[line.find_first_not_of(" \t")];
      const bool header = line_number == 1 && std::isalpha(static_cast<unsigned char>(first));
      if (header) continue;  // "N,M"
      RequestError(kTypeMismatch,
                   "line " + std::to_string(line_number) + " of the forces is not N,M");
    }
    if (forces.size() >= kMaxForces) RequestError(kOutOfMemory, "more than 100000 forces");
    forces.emplace_back(n, m);
  }
  return forces;
}

int RunDiagram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return Diagram(args, out);
  } catch (const UsageError& e) {
    err << "armocalc diagram: " << e.message << "\n"
        << "Usage: armocalc diagram METHOD NAME=VALUE ... --svg FILE [--json FILE|--json]\n"
           "                        [--forces CSV] [--points K]\n";
    return 2;
  } catch (const RuntimeError& e) {
    err << "Run-time error '" << e.Number() << "': " << e.what() << '\n';
    return 1;
  }
}

}  // namespace armocalc::cli
