#pragma once
// Hints for people after a failed call: the nearest declared name to a misspelt one, why a value
// cannot be a parameter's and how to write it, which required parameters are missing. They are
// built only once a call has failed, so the successful path never pays for them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"
#include "cli/json_values.hpp"

namespace armocalc::cli {

// Where the hint is read: the fix for a separator is an option on the command line and a field of
// a protocol request.
enum class HintStyle { CommandLine, Protocol };

// The edit distance (insertions, deletions, substitutions of characters) of two names compared as
// people confuse them: letter case ignored, look-alike letters of the two scripts equal.
size_t NameDistance(std::string_view a, std::string_view b);

// "did you mean 'мтБетонB'?" over the declared names and their Latin spellings; empty when no
// name is near enough to be meant.
std::string MethodNameHint(std::string_view spelling);
std::string ParamNameHint(const MethodInfo& method, std::string_view spelling);

// Why `value` cannot be passed as `param` under the current decimal separator, and how to write
// it ("N = '1,2' is not a number: use '.' or --decimal-separator ,"); empty when it converts.
std::string ValueHint(const ParamInfo& param, const Variant& value, HintStyle style);

// The required parameters a call left out ("КлассБетона is required (класс бетона ...)").
std::string MissingArgumentsHint(const MethodInfo& method, const std::vector<bool>& given);

// The hint to a failed protocol request with the runtime error `number`; empty when none helps.
std::string RequestHint(const Json& request, int number, const CallOptions& defaults);

}  // namespace armocalc::cli
