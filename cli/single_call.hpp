#pragma once
// One method called from the command line: its arguments as the user typed them, the call, and
// what it prints for people (result, meaning, verdict, changed outputs, reports written) or the
// protocol's answer line.

#include <iosfwd>
#include <string>
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
