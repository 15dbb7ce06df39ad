#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cli/diagram.hpp"
#include "cli/html_text.hpp"
#include "cli/section_sketch.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

std::vector<Variant> Values(const MethodInfo& method,
                            std::initializer_list<std::pair<std::string_view, Variant>> given) {
  std::vector<Variant> values(method.params.size());
  for (const auto& [name, value] : given)
    values[static_cast<size_t>(FindParam(method, name))] = value;
  return values;
}

Variant Table(std::vector<std::vector<Variant>> rows) {
  return std::shared_ptr<HostRange>(std::make_shared<GridRange>(std::move(rows)));
}

TEST(SectionSketch, TwoLayersStandAtTheirDistancesFromTheFaces) {
  const MethodInfo& method = *FindMethod("мтПрочностьB");
  const auto sketch = SketchOfCall(method, Values(method, {{"N", 0.5},
                                                           {"M", 0.1},
                                                           {"Fв", 10.0},
                                                           {"Fн", 20.0},
                                                           {"ав", 0.05},
                                                           {"ан", 0.07},
                                                           {"h", 0.5},
                                                           {"B", 0.4}}));
  ASSERT_TRUE(sketch);
  EXPECT_DOUBLE_EQ(sketch->width, 0.4);
  EXPECT_DOUBLE_EQ(sketch->height, 0.5);
  ASSERT_EQ(sketch->layers.size(), 2u);
  EXPECT_DOUBLE_EQ(sketch->layers[0].y, 0.2);
  EXPECT_DOUBLE_EQ(sketch->layers[1].y, -0.18);
  EXPECT_DOUBLE_EQ(sketch->layers[1].area_cm2, 20);
  EXPECT_TRUE(sketch->zone_at_top);
  // Drawn to scale: the longer side is kSketchBox pixels, y grows downwards in the picture.
  const SketchView view = ViewOf(*sketch);
  EXPECT_DOUBLE_EQ(view.scale, kSketchBox / 0.5);
  EXPECT_DOUBLE_EQ(view.PixelY(0.25) + 0.5 * view.scale, view.PixelY(-0.25));
  const std::string svg = SketchSvg(*sketch, ",");
  EXPECT_NE(svg.find("width=\"256\" height=\"320\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("N = 0,5 МН, e = M / N = 0,2 м"), std::string::npos) << svg;
}

TEST(SectionSketch, BarsOfATableStandAtTheirCoordinatesSizedByDiameter) {
  const MethodInfo& method = *FindMethod("мтПрочностьТB");
  const auto sketch = SketchOfCall(
      method, Values(method, {{"N", 0.5},
                              {"M", -0.1},
                              {"B", 1.0},
                              {"h", 0.5},
                              {"ТаблицаАрматурныхСтержней",
                               Table({{-0.4, 0.2, 16.0}, {0.4, -0.2, 25.0}, {0.0, 0.0, 0.0}})}}));
  ASSERT_TRUE(sketch);
  ASSERT_EQ(sketch->bars.size(), 2u) << "a bar of diameter 0 is no bar";
  EXPECT_FALSE(sketch->zone_at_top) << "M < 0 compresses the bottom face";
  const SketchView view = ViewOf(*sketch);
  const std::string svg = SketchSvg(*sketch, ".");
  const auto circle = [&](double x, double y, double d) {
    return "cx=\"" + PixelText(view.PixelX(x)) + "\" cy=\"" + PixelText(view.PixelY(y)) +
           "\" r=\"" + PixelText(d / 2 * view.scale) + "\"";
  };
  EXPECT_NE(svg.find(circle(-0.4, 0.2, 0.016)), std::string::npos) << svg;
  EXPECT_NE(svg.find(circle(0.4, -0.2, 0.025)), std::string::npos) << svg;
  EXPECT_DOUBLE_EQ(view.PixelX(0.4) - view.PixelX(-0.4), 0.8 * kSketchBox);

  // Row numbers in the first column: the bars of one height are spread over the width.
  const auto numbered = SketchOfCall(
      method, Values(method, {{"B", 1.0},
                              {"h", 0.5},
                              {"ТаблицаАрматурныхСтержней",
                               Table({{1.0, 0.2, 16.0}, {2.0, 0.2, 16.0}, {3.0, -0.2, 16.0}})}}));
  ASSERT_EQ(numbered->bars.size(), 3u);
  EXPECT_DOUBLE_EQ(numbered->bars[0].x, -0.25);
  EXPECT_DOUBLE_EQ(numbered->bars[1].x, 0.25);
  EXPECT_DOUBLE_EQ(numbered->bars[2].x, 0);
}

TEST(SectionSketch, CircularSectionsCarryTheirCageOrTube) {
  const MethodInfo& pile = *FindMethod("мтRingStrengthB");
  const auto cage = SketchOfCall(
      pile, Values(pile, {{"D", 0.6}, {"ns", int16_t{10}}, {"ds", int16_t{20}}, {"Cov", 0.05}}));
  ASSERT_TRUE(cage);
  ASSERT_EQ(cage->bars.size(), 10u);
  for (const SketchBar& bar : cage->bars) {
    EXPECT_NEAR(std::hypot(bar.x, bar.y), 0.3 - 0.05 - 0.01, 1e-12);
    EXPECT_DOUBLE_EQ(bar.diameter, 0.02);
  }
  EXPECT_NEAR(cage->bars[0].y, 0.24, 1e-12) << "the first bar at the top";

  const MethodInfo& ring = *FindMethod("гRingB");
  const auto manual =
      SketchOfCall(ring, Values(ring, {{"dв", 0.4}, {"dн", 0.6}, {"D", 16.0}, {"ns", 12.0}}));
  ASSERT_TRUE(manual);
  EXPECT_DOUBLE_EQ(manual->inner_diameter, 0.4);
  EXPECT_NEAR(std::hypot(manual->bars[3].x, manual->bars[3].y), 0.25, 1e-12) << "(dв + dн) / 4";

  const MethodInfo& circle = *FindMethod("мтПрочностьКругаB");
  const auto tube = SketchOfCall(
      circle, Values(circle, {{"ДиаметрНаружний", 0.8}, {"ДиаметрКаркаса", 0.6}, {"Fs", 50.0}}));
  ASSERT_TRUE(tube);
  EXPECT_TRUE(tube->bars.empty());
  EXPECT_DOUBLE_EQ(tube->tube_diameter, 0.6);
  EXPECT_NE(SketchSvg(*tube, ".").find("class=\"tube\""), std::string::npos);

  EXPECT_FALSE(SketchOfCall(*FindMethod("мтХомутыB"), {}));
  EXPECT_FALSE(SketchOfCall(pile, Values(pile, {{"D", 0.0}}))) << "no section to draw";
}

TEST(SectionSketch, ZoneHeightIsTheLastOneTheReportStates) {
  const std::vector<std::string> lines = {
      "3. Расчет высоты сжатой зоны сечения",
      "\tx1 = (N + Rs * Fs) / (Rb * b) = (0,5) / (13 *  1) = 0,06538 м - высота",
      "\tТак как x2 >= 2 * ai, то X = x2 = 0,05 м в соответствии с п. 3.6*",
      "\tX = (N + Abs(Ss) * Fs - Rsc * Fsi) / (Rb * b) = (1) / (13 * 1) = 0,2 метров (по)",
      "\tКорректировка значения высоты сжатой зоны сечения: X = 1,5E-02 м",
      "\tN_предел * eo = Rb * b * X * (ho - 0,5 * X) = 0,3547 МН*м",
      "\tEsj = X / ho = 0,015 / 0,45 = 0,0333"};
  EXPECT_DOUBLE_EQ(*ZoneHeightFromReport(lines, ","), 0.015);
  EXPECT_DOUBLE_EQ(*ZoneHeightFromReport(std::span(lines).first(3), ","), 0.05);
  EXPECT_FALSE(ZoneHeightFromReport(std::span(lines).first(2), ","));
  EXPECT_FALSE(ZoneHeightFromReport(std::vector<std::string>{"\tMAX = 3 м"}, ","));
}

SectionCheck StrengthCheck(double n = 0.5, double m = 0.1) {
  return SectionCheck(
      *FindMethod("мтПрочностьB"),
      ArgumentsByName(*FindMethod("мтПрочностьB"), {{"КлассАрматурнойСтали", uint8_t{3}},
                                                    {"КлассБетона", 25.0f},
                                                    {"N", n},
                                                    {"M", m},
                                                    {"Fв", 10.0},
                                                    {"Fн", 20.0},
                                                    {"ав", 0.05},
                                                    {"ан", 0.05},
                                                    {"h", 0.5}}));
}

TEST(Diagram, EveryPointLiesOnTheZeroMarginWithinTheTolerance) {
  const SectionCheck check = StrengthCheck();
  const InteractionCurve curve = ComputeCurve(check, 60);
  ASSERT_EQ(curve.positive.size(), 60u);
  ASSERT_EQ(curve.negative.size(), 60u);
  EXPECT_LT(curve.tension_limit, 0);
  EXPECT_GT(curve.compression_limit, 0);
  int jumps = 0;
  for (const auto* side : {&curve.positive, &curve.negative}) {
    for (const CurvePoint& p : *side) {
      EXPECT_DOUBLE_EQ(check.SweepMargin(p.n, p.m), p.margin) << "the margin is the check's";
      if (p.jump) {
        ++jumps;
        continue;
      }
      EXPECT_LE(std::abs(p.margin), kCurveTolerance) << "N = " << p.n << ", M = " << p.m;
    }
  }
  EXPECT_LE(jumps, 8) << "the check's margin jumps only where its formulas change";
}

TEST(Diagram, ForcesInsideTheCurvePassAndOutsideFail) {
  const SectionCheck check = StrengthCheck();
  const InteractionCurve curve = ComputeCurve(check, 40);
  int checked = 0;
  for (const auto* side : {&curve.positive, &curve.negative}) {
    for (const CurvePoint& p : *side) {
      if (p.jump || p.m == 0) continue;
      const CheckedForce inside = check.Check(p.n, p.m * 0.97);
      const CheckedForce outside = check.Check(p.n, p.m * 1.03);
      EXPECT_TRUE(inside.passes && inside.margin > 0) << p.n << " " << p.m << " " << inside.margin;
      EXPECT_TRUE(!outside.passes && outside.margin < 0) << p.n << " " << p.m;
      ++checked;
    }
  }
  EXPECT_GT(checked, 60);
  EXPECT_LT(check.Check(curve.compression_limit * 1.02, 0).margin, 0);
  EXPECT_GT(check.Check(curve.compression_limit * 0.98, 0).margin, 0);
  const auto acting = check.Acting();
  ASSERT_TRUE(acting);
  EXPECT_TRUE(acting->passes && acting->margin > 0);
  // An acting point beyond the curve: the largest moment at N = 0.5 is below 0.8.
  const auto beyond = StrengthCheck(0.5, 0.8).Acting();
  ASSERT_TRUE(beyond);
  EXPECT_TRUE(!beyond->passes && beyond->margin < 0) << beyond->margin;
}

// Every point on the zero margin (or at a jump of it), a force a little inside passing and one a
// little outside failing; the number of points checked on both sides.
int ExpectOnTheBoundary(const SectionCheck& check, const InteractionCurve& curve) {
  int checked = 0;
  for (const auto* side : {&curve.positive, &curve.negative}) {
    for (const CurvePoint& p : *side) {
      if (!p.jump) {
        EXPECT_LE(std::abs(p.margin), kCurveTolerance) << p.n << " " << p.m;
      }
      if (p.m == 0) continue;
      const CheckedForce inside = check.Check(p.n, p.m * 0.98);
      const CheckedForce outside = check.Check(p.n, p.m * 1.02);
      EXPECT_TRUE(inside.passes && inside.margin > 0) << p.n << " " << p.m << " " << inside.margin;
      EXPECT_TRUE(!outside.passes && outside.margin < 0) << p.n << " " << p.m;
      ++checked;
    }
  }
  return checked;
}

TEST(Diagram, PicturesAndPointsOfTheOtherSections) {
  const MethodInfo& table = *FindMethod("мтПрочностьТB");
  std::vector<std::optional<Variant>> args(table.params.size());
  args[FindParam(table, "КлассАрматурнойСтали")] = uint8_t{3};
  args[FindParam(table, "КлассБетона")] = 25.0f;
  args[FindParam(table, "B")] = 1.0;
  args[FindParam(table, "h")] = 0.5;
  args[FindParam(table, "ТаблицаАрматурныхСтержней")] =
      Table({{1.0, 0.2, 16.0}, {2.0, -0.2, 16.0}, {3.0, -0.2, 25.0}});
  const SectionCheck bars(table, std::move(args));
  const InteractionCurve curve = ComputeCurve(bars, 20);
  EXPECT_GE(ExpectOnTheBoundary(bars, curve), 30);
  const std::string svg = DiagramSvg(curve, std::nullopt, {{0.1, 0.1, 5, true}}, table.name);
  EXPECT_NE(svg.find("class=\"curve\""), std::string::npos);
  EXPECT_NE(svg.find("class=\"force pass\""), std::string::npos);
  const auto json = nlohmann::json::parse(DiagramJson(curve, std::nullopt, {}, table.name));
  EXPECT_EQ(json["points"].size(), 40u);
  EXPECT_EQ(json["tolerance"], kCurveTolerance);

  const MethodInfo& circle = *FindMethod("мтПрочностьКругаB");
  std::vector<std::optional<Variant>> round(circle.params.size());
  round[FindParam(circle, "КлассАрматурнойСтали")] = uint8_t{3};
  round[FindParam(circle, "КлассБетона")] = 25.0f;
  round[FindParam(circle, "ДиаметрНаружний")] = 0.6;
  round[FindParam(circle, "ДиаметрКаркаса")] = 0.5;
  round[FindParam(circle, "ns")] = int32_t{12};
  round[FindParam(circle, "ds")] = 16.0;
  const SectionCheck cage(circle, std::move(round));
  const InteractionCurve ring = ComputeCurve(cage, 12);
  EXPECT_GE(ExpectOnTheBoundary(cage, ring), 16);
  for (size_t i = 0; i < ring.positive.size(); ++i) {
    EXPECT_DOUBLE_EQ(ring.positive[i].m, -ring.negative[i].m) << "M counts by its size";
  }
  EXPECT_THROW(SectionCheck(*FindMethod("мтХомутыB"), {}), RuntimeError);
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Diagram, TheCommandWritesThePictureThePointsAndTheForces) {
  const auto folder =
      std::filesystem::temp_directory_path() /
      ("armocalc_diagram_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder);
  const std::string svg = (folder / "d.svg").string(), json = (folder / "d.json").string(),
                    csv = (folder / "f.csv").string();
  std::ofstream(csv) << "N,M\n0.5,0.1\n1,0.5\n";
  // Latin spellings and any letter case, as for a single call.
  const std::vector<std::string> args = {"mtProchnostB",   "KlassArmaturnoyStali=3",
                                         "klassbetona=25", "N=0.5",
                                         "M=0.1",          "Fv=10",
                                         "Fn=10",          "av=0.05",
                                         "an=0.05",        "h=0.5",
                                         "--svg",          svg,
                                         "--json",         json,
                                         "--forces",       csv,
                                         "--points",       "30"};
  std::ostringstream out, err;
  ASSERT_EQ(RunDiagram(args, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("acting N = 0.5, M = 0.1: margin 43.61"), std::string::npos)
      << out.str();
  const std::string picture = ReadText(svg);
  EXPECT_NE(picture.find("class=\"curve\""), std::string::npos);
  EXPECT_NE(picture.find("class=\"force pass\""), std::string::npos);
  EXPECT_NE(picture.find("class=\"force fail\""), std::string::npos);
  EXPECT_NE(picture.find("class=\"acting\""), std::string::npos);
  const auto points = nlohmann::json::parse(ReadText(json));
  EXPECT_EQ(points["points"].size(), 60u);
  EXPECT_EQ(points["forces"][0]["passes"], true);
  EXPECT_EQ(points["forces"][1]["passes"], false);
  EXPECT_EQ(points["acting"]["passes"], true);

  const auto usage = [&](std::vector<std::string> wrong) {
    std::ostringstream ignored, message;
    EXPECT_EQ(RunDiagram(wrong, ignored, message), 2);
    return message.str();
  };
  EXPECT_NE(usage({"мтПрочностьB", "N=1", "N=2", "--svg", svg}).find("given twice"),
            std::string::npos);
  EXPECT_NE(usage({"мтПрочностьB", "N=1"}).find("--svg"), std::string::npos);
  EXPECT_NE(usage({"мтХомутыB", "--svg", svg}).find("мтПрочностьКругаB"), std::string::npos);
  std::filesystem::remove_all(folder);
}

TEST(Diagram, ForcesCsvTakesAHeaderAndRefusesOtherText) {
  const auto forces = ParseForces("N,M\r\n1,0.3\n\n-0.5;0.1\n");
  ASSERT_EQ(forces.size(), 2u);
  EXPECT_EQ(forces[1], std::make_pair(-0.5, 0.1));
  EXPECT_THROW(ParseForces("1,0.3\nx,y\n"), RuntimeError);
  EXPECT_THROW(ParseForces("1\n"), RuntimeError);
  EXPECT_THROW(ParseForces("1,2,3\n"), RuntimeError);
}

}  // namespace
}  // namespace armocalc::cli
