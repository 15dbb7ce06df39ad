#pragma once
// What the library calls on its spreadsheet host: the Range objects passed as arguments, and
// the worksheet functions of the host application. The CLI and the tests use the in-memory grid;
// the Windows server adapts Excel's objects through late binding.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/variant.hpp"

namespace armocalc {

class HostRange {
 public:
  virtual ~HostRange() = default;
  virtual int32_t RowsCount() const = 0;
  virtual int32_t ColumnsCount() const = 0;
  // The cell at (row, column), both counted from 1 relative to the top-left cell: a number as a
  // Double, a text as a String, an empty cell as Empty. Outside the range's own size the cell of
  // the worksheet beyond it is read (Empty for the grid).
  virtual Variant Cell(int32_t row, int32_t column) const = 0;
  // The value of the whole range: the cell's value for one cell, an Array for several.
  virtual Variant Value() const = 0;
};

// A rectangular block of cell values held in memory.
class GridRange : public HostRange {
 public:
  explicit GridRange(std::vector<std::vector<Variant>> rows);
  int32_t RowsCount() const override;
  int32_t ColumnsCount() const override;
  Variant Cell(int32_t row, int32_t column) const override;
  Variant Value() const override;

 private:
  std::vector<std::vector<Variant>> rows_;
  int32_t columns_ = 0;
};

// Worksheet functions of the host application.
class HostApplication {
 public:
  virtual ~HostApplication() = default;
  virtual double Pi() const;
  // First letter of each word upper case, the others lower case (Cyrillic included).
  virtual std::string Proper(const std::string& text) const;
  // The text with `count` characters from position `start` (1-based, in characters) replaced.
  virtual std::string Replace(const std::string& text, int32_t start, int32_t count,
                              const std::string& replacement) const;
};

// The host of the running call on this thread (the in-library functions when none is set).
const HostApplication& Host();

// Sets the host for the calls made on this thread while the guard lives.
class ScopedHost {
 public:
  explicit ScopedHost(const HostApplication& host);
  ~ScopedHost();
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  const HostApplication* previous_;
};

}  // namespace armocalc
