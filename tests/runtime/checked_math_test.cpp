#include "runtime/checked_math.hpp"

#include <cfloat>
#include <cmath>
#include <limits>

#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

TEST(CheckedMath, DivisionFailsLikeTheRuntime) {
  EXPECT_DOUBLE_EQ(Div(3.0, 2.0), 1.5);
  EXPECT_RUNTIME_ERROR(Div(1.0, 0.0), kDivisionByZero);
  EXPECT_RUNTIME_ERROR(Div(-1.0, -0.0), kDivisionByZero);
  EXPECT_RUNTIME_ERROR(Div(0.0, 0.0), kOverflow);
  EXPECT_RUNTIME_ERROR(Div(1e300, 1e-300), kOverflow);
}

TEST(CheckedMath, PowerFollowsTheRuntimeOperator) {
  EXPECT_DOUBLE_EQ(Pow(2.0, 10.0), 1024.0);
  EXPECT_DOUBLE_EQ(Pow(-2.0, 3.0), -8.0);
  EXPECT_DOUBLE_EQ(Pow(0.0, 0.0), 1.0);
  EXPECT_DOUBLE_EQ(Pow(4.0, 0.5), 2.0);
  EXPECT_RUNTIME_ERROR(Pow(-8.0, 1.0 / 3.0), kInvalidProcedureCall);
  EXPECT_RUNTIME_ERROR(Pow(0.0, -1.0), kInvalidProcedureCall);
  EXPECT_RUNTIME_ERROR(Pow(10.0, 400.0), kOverflow);
}

TEST(CheckedMath, RootsAndLogarithmsOfNegativeNumbersFail) {
  EXPECT_DOUBLE_EQ(Sqrt(9.0), 3.0);
  EXPECT_RUNTIME_ERROR(Sqrt(-1e-300), kInvalidProcedureCall);
  EXPECT_RUNTIME_ERROR(Log(0.0), kInvalidProcedureCall);
  EXPECT_DOUBLE_EQ(Atn(1.0) * 4.0, 3.14159265358979311600);
}

TEST(CheckedMath, IntegerConversionsRoundHalvesToEven) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(-3.5), -4);
  EXPECT_EQ(CInt(2.5000001), 3);
  EXPECT_EQ(CByte(0.5), 0);
  EXPECT_EQ(CByte(1.5), 2);
  EXPECT_EQ(CByte(-0.5), 0);
  EXPECT_EQ(CLng(-2147483648.4), INT32_MIN);
  EXPECT_EQ(CLng(2147483646.5), 2147483646);
}

TEST(CheckedMath, IntegerConversionsOverflowOutsideTheirRange) {
  EXPECT_EQ(CByte(255.4), 255);
  EXPECT_RUNTIME_ERROR(CByte(255.5), kOverflow);
  EXPECT_RUNTIME_ERROR(CByte(-0.6), kOverflow);
  EXPECT_EQ(CInt(-32768.5), -32768);
  EXPECT_RUNTIME_ERROR(CInt(32767.5), kOverflow);
  EXPECT_RUNTIME_ERROR(CLng(2147483647.5), kOverflow);
  EXPECT_RUNTIME_ERROR(CLng(std::numeric_limits<double>::quiet_NaN()), kOverflow);
  EXPECT_RUNTIME_ERROR(CInt(std::numeric_limits<double>::infinity()), kOverflow);
}

TEST(CheckedMath, SingleConversionOverflowsBeyondTheSingleRange) {
  EXPECT_EQ(CSng(27.5), 27.5f);
  EXPECT_EQ(CSng(static_cast<double>(FLT_MAX)), FLT_MAX);
  EXPECT_RUNTIME_ERROR(CSng(1e39), kOverflow);
  EXPECT_RUNTIME_ERROR(CSng(-1e39), kOverflow);
}

}  // namespace
}  // namespace armocalc
