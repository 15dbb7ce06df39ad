#pragma once
// A stand-in for an Excel Range as Excel offers it to late binding: IDispatch only (no
// IDispatchEx), members found by GetIDsOfNames, Rows and Columns objects with Count, the default
// member with (row, column) answering a one-cell range whose default member is its value, and
// Value (the value of one cell, or an array for several).

#include <vector>

#include "interface/windows/tests/client.hpp"

namespace client {

// Cells as VARIANTs ([row][column]); creates an object with one reference.
IDispatch* NewGridRange(const std::vector<std::vector<double>>& cells);
IDispatch* NewTextCell(const wchar_t* text);
// The number of Invoke calls any grid object has answered.
long GridCalls();

}  // namespace client
