#pragma once
#include <cstdint>
#include <string_view>

namespace armocalc {

// How a section is loaded, found from h, M and N (N > 0 compression) with the kern limit h / 6.
enum class ХарактерРаботы : uint8_t {
  НеОпределен = 0,
  ЦентральноеСжатие = 1,
  ВнецентренноеСжатие = 2,
  ЧистыйИзгиб = 3,
  ВнецентренноеРастяжение = 4,
  ЦентральноеРастяжение = 5,
};

ХарактерРаботы ОпределитьХарактерРаботы(double h, double M, double N);

// The report text of a work character ("чистый изгиб", "центральное сжатие", ...).
std::string_view ТекстХарактераРаботы(ХарактерРаботы code);

// Effective length: L × Закрепления / 10 (the product first).
double РасчетнаяДлина(double L, int32_t Закрепления);

}  // namespace armocalc
