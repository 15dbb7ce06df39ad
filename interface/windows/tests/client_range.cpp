// The Range adapter on its own: an Excel-like object reached through GetIDsOfNames (Rows.Count,
// Columns.Count, the default member with row and column, Value) and the conversion of cell
// values to the library's variants.

#include <string>

#include "interface/windows/excel_range.hpp"
#include "interface/windows/late_binding.hpp"
#include "interface/windows/tests/client.hpp"
#include "interface/windows/tests/grid_range.hpp"
#include "runtime/errors.hpp"

namespace client {
namespace {

using armocalc::Variant;
using armocalc::VarType;

// The run-time error number a call raises, or 0.
template <class F>
int ErrorOf(F&& call) {
  try {
    call();
  } catch (const armocalc::RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

void CheckGrid() {
  IDispatch* grid = NewGridRange({{1, 0.45, 20}, {2, -0.45, 25}});
  armocalc::com::ExcelRange range(grid);
  grid->Release();
  Check(range.RowsCount() == 2 && range.ColumnsCount() == 3, "Range: Rows.Count and Columns.Count");
  const Variant cell = range.Cell(2, 2);
  Check(cell.Type() == VarType::Double && cell.Get<double>() == -0.45,
        "Range: the cell (2, 2) through the default member");
  Check(range.Cell(3, 1).IsEmpty(), "Range: a cell beyond the range is empty");
  const Variant value = range.Value();
  Check(value.Type() == VarType::Array && value.Array()->size() == 2 &&
            (*value.Array())[0].size() == 3 && (*value.Array())[1][2] == Variant(25.0),
        "Range: Value of several cells is an array of rows");

  IDispatch* one = NewGridRange({{1234.5}});
  armocalc::com::ExcelRange single(one);
  one->Release();
  Check(single.Value() == Variant(1234.5), "Range: Value of one cell is its number");
}

void CheckValues() {
  using armocalc::com::ToLibraryValue;
  VARIANT v;
  V_VT(&v) = VT_ERROR;
  V_ERROR(&v) = static_cast<SCODE>(0x800A07FA);  // #N/A
  Check(ToLibraryValue(v) == Variant("Error 2042"), "cell values: an error value is a text");
  V_VT(&v) = VT_CY;
  V_CY(&v).int64 = 12345;  // 1.2345
  Check(ToLibraryValue(v) == Variant(1.2345), "cell values: currency is a number");
  V_VT(&v) = VT_DATE;
  V_DATE(&v) = 45000.5;
  Check(ToLibraryValue(v) == Variant(45000.5), "cell values: a date is its serial number");
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = VARIANT_TRUE;
  Check(ToLibraryValue(v) == Variant(true), "cell values: a Boolean");
  V_VT(&v) = VT_EMPTY;
  Check(ToLibraryValue(v).IsEmpty(), "cell values: an empty cell");

  IDispatch* text = NewTextCell(L"сто");
  armocalc::com::ExcelRange cell(text);
  text->Release();
  Check(cell.Value() == Variant(std::string("сто")), "cell values: a text cell");
  Check(ErrorOf([&] { (void)cell.RowsCount(); }) == armocalc::kObjectDoesNotSupport,
        "Range: a member the object lacks raises error 438");
  armocalc::com::ExcelRange nothing(nullptr);
  Check(ErrorOf([&] { (void)nothing.Value(); }) == armocalc::kObjectVariableNotSet,
        "Range: Nothing raises error 91");
}

}  // namespace

void RunRangeChecks() {
  CheckGrid();
  CheckValues();
}

}  // namespace client
