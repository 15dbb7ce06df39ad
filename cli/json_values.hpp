#pragma once
// Argument values and results as JSON: numbers, texts, true/false, null for Empty, and a Range as
// an array of rows, each an array of cells.

#include <nlohmann/json.hpp>

#include "interface/method_table.hpp"

namespace armocalc::cli {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// The value a JSON argument gives `param`; error 13 for a kind the parameter cannot take
// (an object, an array where no Range is expected, a Range that is not an array of rows),
// error 6 for a number beyond the double range.
Variant ArgumentFromJson(const ParamInfo& param, const Json& value);

// Doubles keep every bit (shortest text that reads back exactly); a Single as its double value.
OrderedJson VariantToJson(const Variant& value);

// One line of JSON; invalid UTF-8 in texts is replaced rather than failing.
std::string DumpLine(const OrderedJson& value);

}  // namespace armocalc::cli
