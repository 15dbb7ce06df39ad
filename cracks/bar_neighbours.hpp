#pragma once
// Near neighbours of the bars of a worksheet bar table: for each bar, how many bars (itself
// included) lie closer than its own reach, the distance taken as (dx ^ 2 + dy ^ 2) ^ 0.5 of the
// runtime. Only 0, 1, 2 and "3 or more" matter to the bundle coefficient, so counts stop at 3.

#include <cstdint>
#include <vector>

#include "materials/bar_table.hpp"

namespace armocalc::cracks {

inline constexpr int kБлижнихДостаточно = 3;

// Reach of each bar, 2 · d / 1000 m, raising error 6 where it overflows.
std::vector<double> ПределыБлизости(const std::vector<СтерженьТаблицы>& стержни);

// Counts of near bars, at most 3 each, by a k-d tree over the positions; raises error 6 exactly
// where the pairwise comparison would (an overflowing or undefined coordinate difference, square
// or sum of squares).
std::vector<uint8_t> ЧислаБлижних(const std::vector<СтерженьТаблицы>& стержни,
                                  const std::vector<double>& пределы);

// The same counts by comparing every bar with every other one (uncapped).
std::vector<int64_t> ЧислаБлижнихПопарно(const std::vector<СтерженьТаблицы>& стержни,
                                         const std::vector<double>& пределы);

}  // namespace armocalc::cracks
