#pragma once
#include <cstdint>

namespace armocalc {

// Safety margin of a limit value over an acting value: 0 ratio, 1 per cent of the acting value,
// 2 per cent of the limit, 3 the combination (default of every public method), else 0.
double ОпределитьЗапас(double Предельное, double Фактическое, uint8_t Метод);

}  // namespace armocalc
