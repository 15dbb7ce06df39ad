#include "kernel/work_character.hpp"

#include <cmath>

#include "runtime/checked_math.hpp"

namespace armocalc {

ХарактерРаботы ОпределитьХарактерРаботы(double h, double M, double N) {
  if (N == 0.0) return ХарактерРаботы::ЧистыйИзгиб;
  const double e = std::fabs(Div(M, N));
  const double граница_ядра = Div(h, 6.0);
  if (e <= граница_ядра) {
    if (N > 0.0) return ХарактерРаботы::ЦентральноеСжатие;
    if (N < 0.0) return ХарактерРаботы::ЦентральноеРастяжение;
  } else if (e > граница_ядра) {
    if (N > 0.0) return ХарактерРаботы::ВнецентренноеСжатие;
    if (N < 0.0) return ХарактерРаботы::ВнецентренноеРастяжение;
  }
  return ХарактерРаботы::НеОпределен;
}

std::string_view ТекстХарактераРаботы(ХарактерРаботы code) {
  switch (code) {
    case ХарактерРаботы::ЦентральноеСжатие:
      return "центральное сжатие";
    case ХарактерРаботы::ВнецентренноеСжатие:
      return "внецентренное сжатие";
    case ХарактерРаботы::ВнецентренноеРастяжение:
      return "внецентренное растяжение";
    case ХарактерРаботы::ЦентральноеРастяжение:
      return "центральное растяжение";
    case ХарактерРаботы::ЧистыйИзгиб:
    case ХарактерРаботы::НеОпределен:
      break;
  }
  return "чистый изгиб";
}

double РасчетнаяДлина(double L, int32_t Закрепления) {
  return Div(Mul(L, static_cast<double>(Закрепления)), 10.0);
}

}  // namespace armocalc
