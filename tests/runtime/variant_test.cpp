#include "runtime/variant.hpp"

#include <gtest/gtest.h>

#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

int ErrorOf(auto&& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(Variant, KindsAndNames) {
  EXPECT_EQ(Variant().Type(), VarType::Empty);
  EXPECT_EQ(Variant(uint8_t{1}).Type(), VarType::Byte);
  EXPECT_EQ(Variant(int16_t{1}).Type(), VarType::Integer);
  EXPECT_EQ(Variant(int32_t{1}).Type(), VarType::Long);
  EXPECT_EQ(Variant(1.0f).Type(), VarType::Single);
  EXPECT_EQ(Variant(true).Type(), VarType::Boolean);
  EXPECT_EQ(Variant("x").Type(), VarType::String);
  EXPECT_STREQ(VarTypeName(VarType::Single), "Single");
  EXPECT_STREQ(VarTypeName(VarType::Range), "Range");
  EXPECT_TRUE(Variant(true).IsNumeric());
  EXPECT_TRUE(Variant(2.0).IsNumeric());
  EXPECT_FALSE(Variant("2").IsNumeric());
  EXPECT_FALSE(Variant().IsNumeric());
}

TEST(Variant, NumbersFromEveryKind) {
  EXPECT_EQ(ToDouble(Variant()), 0.0);
  EXPECT_EQ(ToDouble(Variant(true)), -1.0);
  EXPECT_EQ(ToDouble(Variant(false)), 0.0);
  EXPECT_EQ(ToDouble(Variant(0.1f)), static_cast<double>(0.1f));
  EXPECT_EQ(ToInteger(Variant(true)), -1);
  EXPECT_EQ(ToLong(Variant(-2.5)), -2);
  EXPECT_EQ(ToLong(Variant(-3.5)), -4);
  EXPECT_EQ(ToSingle(Variant(0.1)), 0.1f);
  EXPECT_EQ(ErrorOf([] { ToByte(Variant(true)); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToDouble(Variant(std::shared_ptr<HostRange>())); }), kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { ToSingle(Variant(1e300)); }), kOverflow);
}

TEST(Variant, TextsReadWithTheUsersSeparator) {
  {
    ScopedDecimalSeparator comma(",");
    EXPECT_EQ(ToDouble(Variant("27,5")), 27.5);
    EXPECT_EQ(ToByte(Variant(" 2,5 ")), 2);
    EXPECT_EQ(ToText(Variant(27.5)), "27,5");
    EXPECT_EQ(ToText(Variant(27.5f)), "27,5");
  }
  ScopedDecimalSeparator point(".");
  EXPECT_EQ(ToDouble(Variant("27.5")), 27.5);
  EXPECT_EQ(ToDouble(Variant("-1E-3")), -0.001);
  EXPECT_EQ(ErrorOf([] { ToDouble(Variant("abc")); }), kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { ToDouble(Variant("")); }), kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { ToByte(Variant("300")); }), kOverflow);
}

TEST(Variant, TextOfEveryKind) {
  ScopedDecimalSeparator point(".");
  EXPECT_EQ(ToText(Variant()), "");
  EXPECT_EQ(ToText(Variant(uint8_t{3})), "3");
  EXPECT_EQ(ToText(Variant(int32_t{-12})), "-12");
  EXPECT_EQ(ToText(Variant(0.1 + 0.2)), "0.3");
  EXPECT_EQ(ToText(Variant(0.1f)), "0.1");
  EXPECT_EQ(ToText(Variant(true)), "True");
  EXPECT_EQ(ToText(Variant("как есть")), "как есть");
}

TEST(Variant, BooleansFromNumbersAndTexts) {
  ScopedDecimalSeparator point(".");
  EXPECT_TRUE(ToBoolean(Variant(0.5)));
  EXPECT_FALSE(ToBoolean(Variant()));
  EXPECT_TRUE(ToBoolean(Variant("true")));
  EXPECT_FALSE(ToBoolean(Variant(" FALSE ")));
  EXPECT_TRUE(ToBoolean(Variant("-1")));
  EXPECT_FALSE(ToBoolean(Variant("0")));
  EXPECT_EQ(ErrorOf([] { ToBoolean(Variant("да")); }), kTypeMismatch);
}

TEST(Variant, CoerceToEachKind) {
  EXPECT_EQ(CoerceTo(Variant(int32_t{25}), VarType::Single), Variant(25.0f));
  EXPECT_EQ(CoerceTo(Variant(2.5), VarType::Integer), Variant(int16_t{2}));
  EXPECT_EQ(CoerceTo(Variant("x"), VarType::Empty), Variant("x"));
  EXPECT_EQ(CoerceTo(Variant(), VarType::Range), Variant(std::shared_ptr<HostRange>()));
  EXPECT_EQ(ErrorOf([] { CoerceTo(Variant(1.0), VarType::Range); }), kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { CoerceTo(Variant(1.0), VarType::Array); }), kTypeMismatch);
}

}  // namespace
}  // namespace armocalc
