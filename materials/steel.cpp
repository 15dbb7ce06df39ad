#include "materials/steel.hpp"

#include <string>

#include "runtime/errors.hpp"

namespace armocalc {
namespace {

constexpr const char* kОшибка = "ERROR";

// Resistances (MPa) by value type 1 normative, 2 railway, 3 road and city.
struct СтрокаRs {
  int16_t по_типу[3];
};
constexpr СтрокаRs kA_I{{235, 200, 210}};
constexpr СтрокаRs kA_II{{295, 250, 265}};
constexpr СтрокаRs kA_III_до8{{390, 320, 340}};
constexpr СтрокаRs kA_III_10_40{{390, 330, 350}};

Variant ЗначениеПоТипу(const СтрокаRs& строка, uint8_t тип) {
  if (тип < 1 || тип > 3) return Variant();
  return Variant(строка.по_типу[тип - 1]);
}

}  // namespace

double ЗначениеСтали(const Variant& значение) {
  if (значение.IsEmpty()) return 0.0;
  if (значение.Type() == VarType::String) Raise(kTypeMismatch);
  return ToDouble(значение);
}

Variant СНиП_Rs(const Variant& Класс_арматуры, const Variant& Диаметр_арматуры,
                uint8_t ТипЗначеня) {
  const double класс = ToDouble(Класс_арматуры);
  if (класс == 1.0) return ЗначениеПоТипу(kA_I, ТипЗначеня);
  if (класс == 2.0) return ЗначениеПоТипу(kA_II, ТипЗначеня);
  if (класс == 3.0) {
    const double d = ToDouble(Диаметр_арматуры);
    if (0.0 <= d && d <= 8.0) return ЗначениеПоТипу(kA_III_до8, ТипЗначеня);
    if (10.0 <= d && d <= 40.0) return ЗначениеПоТипу(kA_III_10_40, ТипЗначеня);
    return Variant();
  }
  return Variant(kОшибка);
}

Variant СНиП_Es(const Variant& Класс_арматуры) {
  const double класс = ToDouble(Класс_арматуры);
  if (1.0 <= класс && класс <= 2.0) return Variant(int32_t{206000});
  if (класс == 3.0) return Variant(int32_t{196000});
  return Variant(kОшибка);
}

double RsValue(uint8_t класс, double диаметр_мм, uint8_t тип) {
  return ЗначениеСтали(СНиП_Rs(Variant(класс), Variant(диаметр_мм), тип));
}

double EsValue(uint8_t класс) {
  return ЗначениеСтали(СНиП_Es(Variant(класс)));
}

}  // namespace armocalc
