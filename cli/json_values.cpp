#include "cli/json_values.hpp"

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "cli/named_call.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

const char* JsonKindName(const Json& value) {
  switch (value.type()) {
    case Json::value_t::object:
      return "an object";
    case Json::value_t::array:
      return "an array";
    case Json::value_t::string:
      return "a text";
    default:
      return "a value";
  }
}

Variant NumberFromJson(const Json& value) {
  if (value.is_number_integer() && !value.is_number_unsigned()) {
    const auto n = value.get<int64_t>();
    if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max()) {
      return static_cast<int32_t>(n);
    }
    return static_cast<double>(n);
  }
  if (value.is_number_unsigned()) {
    const auto n = value.get<uint64_t>();
    if (n <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
      return static_cast<int32_t>(n);
    }
    return static_cast<double>(n);
  }
  const auto d = value.get<double>();
  if (!std::isfinite(d)) RequestError(kOverflow, "a number beyond the range of Double");
  return d;
}

// A scalar: number, text, true/false or null (Empty); anything else is not a value.
std::optional<Variant> ScalarFromJson(const Json& value) {
  if (value.is_null()) return Variant();
  if (value.is_boolean()) return Variant(value.get<bool>());
  if (value.is_number()) return NumberFromJson(value);
  if (value.is_string()) return Variant(value.get<std::string>());
  return std::nullopt;
}

// Worksheet cells hold numbers as Doubles.
Variant CellFromJson(const Json& value) {
  auto cell = ScalarFromJson(value);
  if (!cell)
    RequestError(kTypeMismatch, "a cell of a Range is a number, a text, true, false or null");
  if (cell->Type() == VarType::Long) return static_cast<double>(cell->Get<int32_t>());
  return *cell;
}

Variant RangeFromJson(const ParamInfo& param, const Json& value) {
  if (value.is_null()) return Variant();
  if (!value.is_array()) {
    RequestError(kTypeMismatch, "parameter '" + std::string(param.name) +
                                    "' takes a Range, an array of rows of cells");
  }
  std::vector<std::vector<Variant>> rows;
  rows.reserve(value.size());
  for (const Json& row : value) {
    if (!row.is_array()) {
      RequestError(kTypeMismatch,
                   "a row of Range '" + std::string(param.name) + "' is an array of cells");
    }
    std::vector<Variant> cells;
    cells.reserve(row.size());
    for (const Json& cell : row) cells.push_back(CellFromJson(cell));
    rows.push_back(std::move(cells));
  }
  return std::shared_ptr<HostRange>(std::make_shared<GridRange>(std::move(rows)));
}

OrderedJson RangeToJson(const HostRange& range) {
  OrderedJson rows = OrderedJson::array();
  const int32_t row_count = range.RowsCount();
  const int32_t column_count = range.ColumnsCount();
  for (int32_t r = 1; r <= row_count; ++r) {
    OrderedJson row = OrderedJson::array();
    for (int32_t c = 1; c <= column_count; ++c) row.push_back(VariantToJson(range.Cell(r, c)));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

Variant ArgumentFromJson(const ParamInfo& param, const Json& value) {
  if (param.type == VarType::Range) return RangeFromJson(param, value);
  auto scalar = ScalarFromJson(value);
  if (!scalar) {
    RequestError(kTypeMismatch, "parameter '" + std::string(param.name) + "' takes a " +
                                    VarTypeName(param.type) + ", not " + JsonKindName(value));
  }
  return *scalar;
}

OrderedJson VariantToJson(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return nullptr;
    case VarType::Byte:
      return value.Get<uint8_t>();
    case VarType::Integer:
      return value.Get<int16_t>();
    case VarType::Long:
      return value.Get<int32_t>();
    case VarType::Single:
      return static_cast<double>(value.Get<float>());
    case VarType::Double:
      return value.Get<double>();
    case VarType::Boolean:
      return value.Get<bool>();
    case VarType::String:
      return value.Text();
    case VarType::Range:
      if (!value.Range()) return nullptr;
      return RangeToJson(*value.Range());
    case VarType::Array: {
      OrderedJson rows = OrderedJson::array();
      if (!value.Array()) return rows;
      for (const auto& row : *value.Array()) {
        OrderedJson cells = OrderedJson::array();
        for (const auto& cell : row) cells.push_back(VariantToJson(cell));
        rows.push_back(std::move(cells));
      }
      return rows;
    }
  }
  return nullptr;
}

std::string DumpLine(const OrderedJson& value) {
  return value.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
}

}  // namespace armocalc::cli
