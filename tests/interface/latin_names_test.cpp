#include "interface/latin_names.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "runtime/text_case.hpp"

namespace armocalc {
namespace {

TEST(LatinNames, TransliterationFollowsTheFixedScheme) {
  EXPECT_EQ(Transliterated("Fв"), "Fv");
  EXPECT_EQ(Transliterated("ан"), "an");
  EXPECT_EQ(Transliterated("КлассБетона"), "KlassBetona");
  EXPECT_EQ(Transliterated("мтПрочностьB"), "mtProchnostB");
  EXPECT_EQ(Transliterated("ЖЩъыьЭЮЯёЁхц"), "ZhShchyEYuYaeEkhts");
  EXPECT_EQ(Transliterated("Класс_арматуры"), "Klass_armatury");
  EXPECT_EQ(Transliterated("L0"), "L0");
}

std::string Folded(std::string_view name) {
  return ToLowerUtf8(name);
}

// A Latin spelling or a look-alike that named two parameters would pick one silently.
TEST(LatinNames, EverySpellingNamesOneParameterAndOneMethod) {
  std::set<std::string> method_latin;
  std::set<std::string> method_skeletons;
  for (const MethodInfo& method : Methods()) {
    EXPECT_TRUE(method_latin.insert(Folded(Transliterated(method.name))).second) << method.name;
    EXPECT_TRUE(method_skeletons.insert(Folded(LookAlikeSkeleton(method.name))).second)
        << method.name;
    std::set<std::string> latin;
    std::set<std::string> skeletons;
    for (const ParamInfo& param : method.params) {
      EXPECT_TRUE(latin.insert(Folded(Transliterated(param.name))).second)
          << method.name << " " << param.name;
      EXPECT_TRUE(skeletons.insert(Folded(LookAlikeSkeleton(param.name))).second)
          << method.name << " " << param.name;
      EXPECT_EQ(LookUpParam(method, Transliterated(param.name)), &param - method.params.data());
    }
    EXPECT_EQ(LookUpMethod(Transliterated(method.name)), &method);
  }
}

TEST(LatinNames, LookUpTakesAnyCaseLatinAndLookAlikes) {
  const MethodInfo* strength = LookUpMethod("MTPROCHNOSTB");
  ASSERT_NE(strength, nullptr);
  EXPECT_EQ(strength->name, "мтПрочностьB");
  EXPECT_EQ(LookUpMethod("мтПрочностьВ"), strength) << "Cyrillic В at the end";
  EXPECT_EQ(LookUpMethod("mtprochnostb"), strength);
  EXPECT_EQ(LookUpMethod("мтПрочность"), nullptr);

  const int top_cover = FindParam(*strength, "ав");
  ASSERT_GE(top_cover, 0);
  EXPECT_EQ(LookUpParam(*strength, "av"), top_cover);
  EXPECT_EQ(LookUpParam(*strength, "aв"), top_cover) << "Latin a, Cyrillic в";
  EXPECT_EQ(LookUpParam(*strength, "FV"), FindParam(*strength, "Fв"));
  EXPECT_EQ(LookUpParam(*strength, "В"), FindParam(*strength, "B")) << "Cyrillic В for B";
  EXPECT_EQ(LookUpParam(*strength, "Fb"), -1) << "b and в do not look alike";
  EXPECT_EQ(LookUpParam(*strength, "Fz"), -1);
}

TEST(LatinNames, TheAutomationServerKeepsTheDeclaredNames) {
  EXPECT_EQ(FindMethod("mtProchnostB"), nullptr);
  EXPECT_NE(FindMethod("МТПРОЧНОСТЬB"), nullptr);
}

}  // namespace
}  // namespace armocalc
