#pragma once
// The quick reading of a request line (simdjson's on-demand parser) for the ordinary requests of
// a batch. Whatever it does not take on, it leaves to the full reading, which gives every
// refused request its exact error.

#include <optional>
#include <string>
#include <string_view>

#include "cli/cli.hpp"

namespace armocalc::cli {

// Answers `line` when it is a well-formed request of the ordinary shape: a JSON object with
// "method" before "args", scalar arguments or Ranges, no control characters and no \u escapes,
// and nothing the full reading would refuse: returns the answer's error number, 0 on success.
// Returns nothing, having run and written nothing, for any other line.
std::optional<int> TryAnswerQuickly(std::string_view line, const CallOptions& defaults,
                                    std::string& out);

}  // namespace armocalc::cli
