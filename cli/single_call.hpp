#pragma once
// One method called from the command line: its arguments as the user typed them, the call, and
// what it prints for people (result, meaning, verdict, changed outputs, reports written) or the
// protocol's answer line.

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli.hpp"

namespace armocalc::cli {

// A usage error: wrong command line, reported with exit status 2. `hint` helps to mend it,
// `topic` is the help to read.
struct UsageError {
  explicit UsageError(std::string what, std::string mend = {}, std::string help = "armocalc --help")
      : message(std::move(what)), hint(std::move(mend)), topic(std::move(help)) {}
  std::string message;
  std::string hint;
  std::string topic;
};

// The value of an option given as "--name VALUE" or "--name=VALUE" at args[i] (i moves past a
// separate value); false when args[i] is another argument. A missing value is a UsageError.
bool TakeOption(const std::vector<std::string>& args, size_t& i, std::string_view name,
                std::string& value);

// A command-line value: JSON when it reads as JSON (numbers with "."), otherwise the text itself.
Variant CommandLineValue(const ParamInfo& param, const std::string& text);

struct SingleCall {
  const MethodInfo* method = nullptr;
  CallOptions options;
  bool json = false;                                      // print the protocol's answer line
  std::vector<std::pair<std::string, std::string>> args;  // NAME, VALUE as typed
};

// Runs the call; returns the exit status (0 success, 1 run-time error). Throws UsageError for an
// argument that names no parameter or names one twice.
int RunSingleCall(const SingleCall& call, std::ostream& out, std::ostream& err);

}  // namespace armocalc::cli
