#pragma once
// Runs the command in-process, as the binary would with these arguments and this input.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"

namespace armocalc::cli {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

inline Outcome RunCli(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = Run(args, in, out, err);
  return {status, out.str(), err.str()};
}

inline std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

}  // namespace armocalc::cli
