#include <gtest/gtest.h>

#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/errors.hpp"
#include "runtime/variant.hpp"

namespace armocalc {
namespace {

double Бетон(float класс, uint8_t код) {
  return мтБетон(класс, код);
}

int КодОшибки(const std::function<void()>& действие) {
  try {
    действие();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(Concrete, TabulatedValuesAreReturnedExactly) {
  EXPECT_EQ(Бетон(25.0f, 1), 13.0);
  EXPECT_EQ(Бетон(27.5f, 7), 13.2);
  EXPECT_EQ(Бетон(60.0f, 10), 33.0);
  EXPECT_EQ(Бетон(20.0f, 6), 0.0);
  EXPECT_EQ(Бетон(45.0f, 8), 37500.0);
}

TEST(Concrete, ModulusUpToB40ComesFromTheFormula) {
  EXPECT_EQ(Бетон(22.5f, 8), 28562.5);
  EXPECT_EQ(Бетон(27.5f, 8), 31312.5);
  EXPECT_EQ(Бетон(20.0f, 8), 27000.0);
  EXPECT_EQ(Бетон(40.0f, 8), 36000.0);
  // Above B40 the table: halfway between B40 and B45.
  EXPECT_DOUBLE_EQ(Бетон(42.5f, 8), 36750.0);
}

TEST(Concrete, ClassesBetweenAndBeyondTheTableInterpolate) {
  EXPECT_DOUBLE_EQ(Бетон(32.5f, 1), 16.5);
  EXPECT_DOUBLE_EQ(Бетон(65.0f, 1), 32.5);
  // Below B20 the line runs from the code number at class 0 to the B20 value.
  EXPECT_DOUBLE_EQ(Бетон(15.0f, 1), 8.125);
  // Code 0 gives the class; codes above 10 extrapolate from 9 and 10.
  EXPECT_DOUBLE_EQ(Бетон(27.5f, 0), 27.5);
  EXPECT_DOUBLE_EQ(Бетон(25.0f, 11), 6.0);
}

Variant Rs(double класс, double диаметр, uint8_t тип) {
  return СНиП_Rs(Variant(класс), Variant(диаметр), тип);
}

TEST(Steel, ResistanceOfAIIIDependsOnTheDiameterRange) {
  EXPECT_EQ(Rs(3, 8, 3), Variant(int16_t{340}));
  EXPECT_EQ(Rs(3, 0, 2), Variant(int16_t{320}));
  EXPECT_TRUE(Rs(3, 9, 3).IsEmpty());
  EXPECT_TRUE(Rs(3, -1, 3).IsEmpty());
  EXPECT_EQ(Rs(3, 10, 3), Variant(int16_t{350}));
  EXPECT_EQ(Rs(3, 40, 1), Variant(int16_t{390}));
  EXPECT_TRUE(Rs(3, 41, 3).IsEmpty());
}

TEST(Steel, ClassIsTestedBeforeTheDiameter) {
  EXPECT_EQ(Rs(1, 100, 2), Variant(int16_t{200}));
  EXPECT_EQ(СНиП_Rs(Variant(uint8_t{2}), Variant("not a number"), 1), Variant(int16_t{295}));
}

TEST(Steel, UnknownValueTypeGivesEmptyAndUnknownClassError) {
  EXPECT_TRUE(Rs(2, 10, 4).IsEmpty());
  EXPECT_TRUE(Rs(1, 10, 0).IsEmpty());
  EXPECT_EQ(Rs(4, 10, 3), Variant("ERROR"));
  EXPECT_EQ(Rs(4, 10, 9), Variant("ERROR"));
  EXPECT_EQ(Rs(1.5, 10, 3), Variant("ERROR"));
  EXPECT_EQ(СНиП_Rs(Variant(), Variant(10.0), 3), Variant("ERROR"));
}

TEST(Steel, PublicDefaults) {
  EXPECT_EQ(Rs(1, 10, 3), Variant(int16_t{210}));
  EXPECT_EQ(Rs(2, 10, 3), Variant(int16_t{265}));
  EXPECT_EQ(Rs(3, 10, 3), Variant(int16_t{350}));
}

TEST(Steel, Modulus) {
  EXPECT_EQ(СНиП_Es(Variant(uint8_t{1})), Variant(int32_t{206000}));
  EXPECT_EQ(СНиП_Es(Variant(uint8_t{2})), Variant(int32_t{206000}));
  EXPECT_EQ(СНиП_Es(Variant(1.5)), Variant(int32_t{206000}));
  EXPECT_EQ(СНиП_Es(Variant(uint8_t{3})), Variant(int32_t{196000}));
  EXPECT_EQ(СНиП_Es(Variant(uint8_t{0})), Variant("ERROR"));
  EXPECT_EQ(СНиП_Es(Variant(uint8_t{4})), Variant("ERROR"));
}

TEST(Steel, NumericReadingOfTheResults) {
  EXPECT_EQ(RsValue(3, 10, 2), 330.0);
  EXPECT_EQ(RsValue(3, 9, 3), 0.0);
  EXPECT_EQ(RsValue(1, 10, 7), 0.0);
  EXPECT_EQ(EsValue(3), 196000.0);
  EXPECT_EQ(КодОшибки([] { RsValue(5, 10, 3); }), kTypeMismatch);
  EXPECT_EQ(КодОшибки([] { EsValue(0); }), kTypeMismatch);
}

}  // namespace
}  // namespace armocalc
