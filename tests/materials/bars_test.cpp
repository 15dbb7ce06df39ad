#include "materials/bars.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

const char* const kНедоступный = "недоступный номер варианта";

struct Сообщение {
  std::string текст;
  std::string заголовок;
  MessageIcon значок;
};

class BarVolume : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageSink(
        [this](const std::string& текст, const std::string& заголовок, MessageIcon значок) {
          сообщения.push_back({текст, заголовок, значок});
        });
  }
  void TearDown() override { SetMessageSink(nullptr); }
  std::vector<Сообщение> сообщения;
};

TEST_F(BarVolume, AreaTimesLengthOfTheProfile) {
  // Computed in single precision, as a Single area times a Single length.
  EXPECT_EQ(ОбъемСтержня(16, 6.0f, 0), static_cast<double>(2.01f * 6.0f / 10000.0f));
  EXPECT_NEAR(ОбъемСтержня(16, 6.0f, 0), 0.001206, 1e-10);
  EXPECT_EQ(ОбъемСтержня(30, 6.0f, 0), 0.0);
  EXPECT_TRUE(сообщения.empty());
}

TEST_F(BarVolume, The45mmBarHasItsStandardArea) {
  EXPECT_EQ(ОбъемСтержня(45, 10000.0f, 0), static_cast<double>(15.9f));
  EXPECT_EQ(ПрофилиСтержней().size(), 20u);
}

TEST_F(BarVolume, MessagesGoToTheSinkOnlyWhenAsked) {
  EXPECT_NEAR(ОбъемСтержня(16, 12.0f, 1), 2.01 * 12 / 10000, 1e-9);
  ASSERT_EQ(сообщения.size(), 1u);
  EXPECT_EQ(сообщения[0].текст, "Превышена максимальная дина арматурного стержня 11700мм!!!");
  EXPECT_EQ(сообщения[0].заголовок, "Расчет объема арматуры");
  EXPECT_EQ(сообщения[0].значок, MessageIcon::Information);

  EXPECT_EQ(ОбъемСтержня(30, 1.0f, -1), 0.0);
  ASSERT_EQ(сообщения.size(), 2u);
  EXPECT_EQ(сообщения[1].текст, "Указанный номер профиля не существует по ГОСТ 5781-82");
  EXPECT_EQ(сообщения[1].значок, MessageIcon::Error);

  ОбъемСтержня(30, 12.0f, 0);
  EXPECT_EQ(сообщения.size(), 2u);
}

TEST(BarVolumeDefaultSink, DoesNothing) {
  EXPECT_EQ(ОбъемСтержня(99, 20.0f, 1), 0.0);
}

TEST(RoundToStep, WholeSteps) {
  EXPECT_EQ(ОкруглитьДоШага(2.5, 1, 2), 2.0);
  EXPECT_EQ(ОкруглитьДоШага(3.5, 1, 2), 4.0);
  EXPECT_EQ(ОкруглитьДоШага(-2.5, 1, 2), -2.0);
  EXPECT_EQ(ОкруглитьДоШага(2.5, 1, 1), 3.0);
  EXPECT_EQ(ОкруглитьДоШага(-2.5, 1, 1), -3.0);
  EXPECT_EQ(ОкруглитьДоШага(2.6, 1, 2), 3.0);
  EXPECT_EQ(ОкруглитьДоШага(2.4, 1, 1), 2.0);
  EXPECT_EQ(ОкруглитьДоШага(0.0, 1, 1), 0.0);
}

TEST(RoundToStep, DroppedDigitComesFromTheComputedQuotient) {
  EXPECT_DOUBLE_EQ(ОкруглитьДоШага(2.345, 0.01, 2), 2.34);
  EXPECT_DOUBLE_EQ(ОкруглитьДоШага(2.345, 0.01, 1), 2.35);
}

TEST(RoundToStep, ZeroStepRaises) {
  try {
    ОкруглитьДоШага(1.0, 0.0, 1);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kDivisionByZero);
  }
}

Variant Подбор(double A, int16_t вариант, const HostRange* шаги = nullptr,
               const HostRange* диаметры = nullptr) {
  return ПодборСтержней(A, вариант, шаги, диаметры);
}

TEST(BarLayout, SmallestCoveringLayoutWithTheUsersSeparator) {
  {
    ScopedDecimalSeparator запятая(",");
    EXPECT_EQ(Подбор(10, 1), Variant("d16@200=10,05 (10,05)"));
  }
  {
    ScopedDecimalSeparator точка(".");
    EXPECT_EQ(Подбор(10, 1), Variant("d16@200=10.05 (10.05)"));
  }
}

TEST(BarLayout, NeighbouringVariants) {
  ScopedDecimalSeparator точка(".");
  // d8@50 has the same area as d16@200 and follows it; its bars give 10.06 per metre.
  EXPECT_EQ(Подбор(10, 2), Variant("d8@50=10.05 (10.06)"));
  EXPECT_EQ(Подбор(10, 0), Variant("d10@80=9.82 (9.81)"));
}

TEST(BarLayout, UncoveredAreasGiveEmpty) {
  EXPECT_TRUE(Подбор(0, 1).IsEmpty());
  EXPECT_TRUE(Подбор(-5, 1).IsEmpty());
  EXPECT_TRUE(Подбор(400, 1).IsEmpty());
}

TEST(BarLayout, VariantOutsideTheList) {
  EXPECT_EQ(Подбор(300, 2), Variant(kНедоступный));
  EXPECT_EQ(Подбор(10, -1000), Variant(kНедоступный));
  EXPECT_EQ(Подбор(10, 32767), Variant(kНедоступный));
}

TEST(BarLayout, Bars45UseTheirStandardArea) {
  ScopedDecimalSeparator точка(".");
  EXPECT_EQ(Подбор(300, 1), Variant("d45@50=318.09 (318.00)"));
}

TEST(BarLayout, TinyAreaVariantZeroIsTheEmptyLayout) {
  ScopedDecimalSeparator точка(".");
  EXPECT_EQ(Подбор(0.01, 0), Variant("d0@1000=0.00 (0.00)"));
}

TEST(BarLayout, ListsFromRanges) {
  ScopedDecimalSeparator запятая(",");
  // Only cells reading as a positive number count; a number text is read with a point.
  GridRange шаги({{Variant("150 mm"), Variant(), Variant(-100.0)},
                  {Variant("abc"), Variant(0.0), Variant(250.0)}});
  GridRange диаметры({{Variant("12"), Variant(true)}, {Variant(16.0), Variant("20,5 mm")}});
  // Layouts by area: d12@250, d12@150, d16@250, d20@250, d16@150, d20@150.
  EXPECT_EQ(Подбор(5, 1, &шаги, &диаметры), Variant("d12@150=7,54 (7,54)"));
  EXPECT_EQ(Подбор(8, 2, &шаги, &диаметры), Variant("d20@250=12,57 (12,56)"));
  EXPECT_TRUE(Подбор(21, 1, &шаги, &диаметры).IsEmpty());
}

TEST(BarLayout, NumberCellsKeepTheirFraction) {
  ScopedDecimalSeparator запятая(",");
  GridRange шаги({{Variant(212.5)}});
  GridRange диаметры({{Variant(16.0)}});
  EXPECT_EQ(Подбор(9, 1, &шаги, &диаметры), Variant("d16@212,5=9,46 (9,46)"));
}

TEST(BarLayout, TooManyLayoutsOverflowTheVariantIndex) {
  std::vector<Variant> ряд;
  for (int i = 1; i <= 200; ++i) ряд.emplace_back(static_cast<double>(i));
  GridRange много({ряд});
  try {
    Подбор(10, 1, &много, &много);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), kOverflow);
  }
}

TEST(BarLayout, RangesWithoutNumbersFallBackToTheDefaults) {
  ScopedDecimalSeparator точка(".");
  GridRange пусто({{Variant("x"), Variant()}});
  EXPECT_EQ(Подбор(10, 1, &пусто, &пусто), Variant("d16@200=10.05 (10.05)"));
}

TEST(BarDiameterAndSpacing, ReadFromTheLayout) {
  double d = -1, s = -1;
  ScopedDecimalSeparator запятая(",");
  ДиаметрИШагСтержней(d, s, 0.001, 1);
  EXPECT_DOUBLE_EQ(d, 0.016);
  EXPECT_DOUBLE_EQ(s, 0.2);
}

TEST(BarDiameterAndSpacing, UnchangedWhenThereIsNoLayout) {
  double d = -1, s = -2;
  ДиаметрИШагСтержней(d, s, 0.0, 1);
  ДиаметрИШагСтержней(d, s, 0.04, 1);
  ДиаметрИШагСтержней(d, s, 0.03, 2);
  EXPECT_EQ(d, -1);
  EXPECT_EQ(s, -2);
}

TEST(Sign, ThreeWays) {
  EXPECT_EQ(Знак(2.5), 1);
  EXPECT_EQ(Знак(0.0), 0);
  EXPECT_EQ(Знак(-0.0), 0);
  EXPECT_EQ(Знак(-1e-300), -1);
}

}  // namespace
}  // namespace armocalc
