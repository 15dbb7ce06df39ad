#pragma once
#include <cstdint>

#include "runtime/variant.hpp"

namespace armocalc {

// Resistance of hot-rolled steel A-I … A-III (MPa, an Integer), Empty for an unknown value type
// or an A-III diameter outside the table, the text "ERROR" for an unknown class.
// ТипЗначеня: 1 normative, 2 railway, 3 road and city.
Variant СНиП_Rs(const Variant& Класс_арматуры, const Variant& Диаметр_арматуры, uint8_t ТипЗначеня);
// Modulus of elasticity (MPa, a Long), or "ERROR".
Variant СНиП_Es(const Variant& Класс_арматуры);

// The same as numbers for the calculation routines: Empty reads 0, "ERROR" raises error 13.
double RsValue(uint8_t класс, double диаметр_мм, uint8_t тип);
double EsValue(uint8_t класс);
// A result of СНиП_Rs or СНиП_Es as a number: Empty reads 0, "ERROR" raises error 13.
double ЗначениеСтали(const Variant& значение);

// Value type the checks use: 2 for railway structures, 3 otherwise.
inline uint8_t ТипЗначенияRs(bool КонструкцияЖД) {
  return КонструкцияЖД ? 2 : 3;
}

}  // namespace armocalc
