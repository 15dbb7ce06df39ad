#pragma once
// Helpers shared by the runtime and kernel tests.

#include <gtest/gtest.h>

#include "runtime/errors.hpp"

// Expects `statement` to raise the run-time error `number`.
#define EXPECT_RUNTIME_ERROR(statement, number)               \
  do {                                                        \
    try {                                                     \
      statement;                                              \
      ADD_FAILURE() << "no run-time error from " #statement;  \
    } catch (const armocalc::RuntimeError& raised_error) {    \
      EXPECT_EQ(raised_error.Number(), number) << #statement; \
    }                                                         \
  } while (false)
