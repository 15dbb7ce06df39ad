#pragma once
// Hot-rolled bar profiles (ГОСТ 5781-82), the bar-layout selector, rounding to a step and sign.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/variant.hpp"

namespace armocalc {

class HostRange;

struct ПрофильСтержня {
  uint8_t d_mm;
  float area_cm2;
};
// The 20 profiles in table order.
const std::vector<ПрофильСтержня>& ПрофилиСтержней();

// Where the two messages of ОбъемСтержня go (an information and an error message with a
// caption). The default sink does nothing; a host with message boxes installs its own.
enum class MessageIcon : uint8_t { Information, Error };
using MessageSink =
    std::function<void(const std::string& text, const std::string& caption, MessageIcon icon)>;
void SetMessageSink(MessageSink sink);

// Bar volume in m³ (area cm² × length m / 10000); 0 for a diameter not in the profile table.
double ОбъемСтержня(uint8_t Диаметр, float Длина, int16_t ПоказыватьСообщения);

double ОкруглитьДоШага(double Значение, double Шаг, int16_t СпособОкругления);

// A layout "d16@200=10,05 (10,05)" covering A cm²/m; Empty when no layout covers A; the text
// "недоступный номер варианта" for a variant outside the list.
Variant ПодборСтержней(double A, int16_t& НомерВарианта, const HostRange* Шаги = nullptr,
                       const HostRange* Диаметры = nullptr);

// Diameter and spacing (m) of the layout for A m²/m; both left unchanged when there is none.
void ДиаметрИШагСтержней(double& Диаметр, double& Шаг, double A, int16_t НомерВарианта);

int16_t Знак(double x);

}  // namespace armocalc
