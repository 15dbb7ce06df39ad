#pragma once
// A money amount held in a worksheet cell written as Russian words for roubles followed by the
// kopecks in digits, as invoices and estimates write it.

#include "runtime/variant.hpp"

namespace armocalc {

class HostRange;

// "Одна тысяча двести тридцать четыре руб.  50 копеек." for 1234.5 (the kopecks keep the
// blank the number-to-text conversion puts before them). Zero and negative amounts are "Ноль руб."
// with the kopecks of the amount. A cell that is not a number, or a range of several cells,
// gives "Ссылка не содержит числового значения !". Amounts of 10^11 roubles and more fail with
// run-time error 5. The first letter is capitalised through the host's Proper and Replace.
Variant ЧислоПрописью(HostRange& rCells);

}  // namespace armocalc
