#pragma once
// An Excel Range (or any object with the same members) passed to a method, read through late
// binding: Rows.Count, Columns.Count, the default member with (row, column) and Value.

#include "interface/windows/platform.hpp"
#include "runtime/host.hpp"

namespace armocalc::com {

class ExcelRange final : public HostRange {
 public:
  explicit ExcelRange(IDispatch* range);  // holds a reference for its lifetime
  ~ExcelRange() override;
  ExcelRange(const ExcelRange&) = delete;
  ExcelRange& operator=(const ExcelRange&) = delete;

  IDispatch* Dispatch() const { return range_; }

  int32_t RowsCount() const override;
  int32_t ColumnsCount() const override;
  Variant Cell(int32_t row, int32_t column) const override;
  Variant Value() const override;

 private:
  int32_t CountOf(const wchar_t* collection) const;
  IDispatch* range_;
};

}  // namespace armocalc::com
