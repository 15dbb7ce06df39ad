#include "runtime/errors.hpp"

#include <gtest/gtest.h>

namespace armocalc {
namespace {

TEST(Errors, StandardDescriptionsOfTheRuntime) {
  const std::pair<int, const char*> cases[] = {
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {7, "Out of memory"},
      {9, "Subscript out of range"},
      {11, "Division by zero"},
      {13, "Type mismatch"},
      {51, "Internal error"},
      {52, "Bad file name or number"},
      {53, "File not found"},
      {61, "Disk full"},
      {70, "Permission denied"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {424, "Object required"},
      {438, "Object doesn't support this property or method"},
      {448, "Named argument not found"},
      {449, "Argument not optional"},
      {450, "Wrong number of arguments or invalid property assignment"},
      {1, "Application-defined or object-defined error"},
      {1004, "Application-defined or object-defined error"},
      {-7, "Application-defined or object-defined error"},
  };
  for (const auto& [number, description] : cases) {
    EXPECT_EQ(ErrorDescription(number), description) << number;
  }
}

TEST(Errors, RaiseCarriesNumberAndDescription) {
  try {
    Raise(kSubscriptOutOfRange);
    FAIL() << "Raise returned";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 9);
    EXPECT_STREQ(e.what(), "Subscript out of range");
  }
  const RuntimeError custom(1004, "Unable to do that");
  EXPECT_EQ(custom.Number(), 1004);
  EXPECT_STREQ(custom.what(), "Unable to do that");
}

TEST(Errors, HresultsOfRunTimeErrors) {
  EXPECT_EQ(HresultOf(11), static_cast<int32_t>(0x800A000Bu));
  EXPECT_EQ(HresultOf(6), static_cast<int32_t>(0x800A0006u));
  EXPECT_EQ(HresultOf(11), -2146828277);
  EXPECT_EQ(HresultOf(1004), static_cast<int32_t>(0x800A03ECu));
  EXPECT_EQ(kNotImplementedHresult, -2147467263);
  const NotImplementedError not_implemented("мтХомутыB");
  EXPECT_NE(std::string(not_implemented.what()).find("мтХомутыB"), std::string::npos);
}

}  // namespace
}  // namespace armocalc
