#pragma once
// Helpers shared by the runtime and kernel tests.

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/errors.hpp"

// A fresh, empty folder for the running test: `parent` / the test's name.
inline std::filesystem::path FreshTestFolder(const std::filesystem::path& parent) {
  const std::filesystem::path folder =
      parent / ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

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
