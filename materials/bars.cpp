#include "materials/bars.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/host.hpp"
#include "runtime/number_text.hpp"
#include "runtime/pi.hpp"

namespace armocalc {
namespace {

constexpr const char* kЗаголовокСообщений = "Расчет объема арматуры";
constexpr const char* kДлинаПревышена =
    "Превышена максимальная дина арматурного стержня 11700мм!!!";
constexpr const char* kПрофильНеСуществует =
    "Указанный номер профиля не существует по ГОСТ 5781-82";
constexpr const char* kНедоступныйВариант = "недоступный номер варианта";

constexpr double kНаибольшаяДлина = 11.7;  // m, the longest rolled bar

constexpr double kШагиПоУмолчанию[] = {50,  60,  70,  80,  90,  100, 110, 120, 130, 140, 150, 160,
                                       170, 180, 190, 200, 210, 220, 230, 240, 250, 300, 350};
constexpr double kДиаметрыПоУмолчанию[] = {6,  8,  10, 12, 14, 16, 18, 20,
                                           22, 25, 28, 32, 36, 40, 45};

// The list index of the layout selector is a 16-bit integer, like the variant number: more layouts
// raise error 6 at once instead of overflowing it and sorting without end.
constexpr size_t kНаибольшееЧислоРаскладок = 32767;

std::mutex& МьютексПолучателя() {
  static std::mutex мьютекс;
  return мьютекс;
}

MessageSink& Получатель() {
  static MessageSink получатель;
  return получатель;
}

void Сообщить(const char* текст, MessageIcon значок) {
  MessageSink получатель;
  {
    const std::lock_guard<std::mutex> замок(МьютексПолучателя());
    получатель = Получатель();
  }
  if (получатель) получатель(текст, kЗаголовокСообщений, значок);
}

// Area of one bar (cm²) of a profile, 0 when the diameter is not rolled.
float ПлощадьПрофиля(uint8_t диаметр) {
  for (const ПрофильСтержня& профиль : ПрофилиСтержней()) {
    if (профиль.d_mm == диаметр) return профиль.area_cm2;
  }
  return 0.0f;
}

// A diameter from a spacing or diameter list matches a profile only when it is a whole
// number of millimetres within the profile table's range.
double ПлощадьПрофиляНаМетр(double диаметр, double шаг) {
  if (диаметр != std::floor(диаметр) || диаметр < 0.0 || диаметр > 255.0) return 0.0;
  const double объём = ОбъемСтержня(static_cast<uint8_t>(диаметр), 10000.0f, 0);
  return (Число(объём) * 1000 / шаг).v;
}

struct Раскладка {
  double диаметр;  // mm
  double шаг;      // mm
  double площадь;  // cm² per metre of width
};

double ПлощадьРаскладки(double диаметр, double шаг, double пи) {
  return (Число(диаметр) * диаметр * пи / 4 * 10 / шаг).v;
}

// A cell counts when its text reads as a positive number; a number cell is taken as it stands
// (not through its text, which Val would cut at a comma separator: 212,5 read as 212).
double ЧислоЯчейки(const Variant& ячейка) {
  switch (ячейка.Type()) {
    case VarType::String:
      return Val(ячейка.Text());
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
      return ToDouble(ячейка);
    default:
      return 0.0;
  }
}

std::vector<double> СписокИзДиапазона(const HostRange* диапазон,
                                      std::span<const double> умолчание) {
  std::vector<double> список;
  if (диапазон != nullptr) {
    const int32_t строк = диапазон->RowsCount();
    const int32_t столбцов = диапазон->ColumnsCount();
    for (int32_t i = 1; i <= строк; ++i) {
      for (int32_t j = 1; j <= столбцов; ++j) {
        const double значение = ЧислоЯчейки(диапазон->Cell(i, j));
        if (значение > 0.0) {
          if (список.size() >= kНаибольшееЧислоРаскладок) Raise(kOverflow);
          список.push_back(значение);
        }
      }
    }
  }
  if (список.empty()) список.assign(умолчание.begin(), умолчание.end());
  return список;
}

std::vector<Раскладка> ВсеРаскладки(const std::vector<double>& шаги,
                                    const std::vector<double>& диаметры) {
  if (шаги.size() * диаметры.size() >= kНаибольшееЧислоРаскладок) Raise(kOverflow);
  const double пи = ПиАрктангенс();
  std::vector<Раскладка> раскладки;
  раскладки.reserve(шаги.size() * диаметры.size() + 1);
  раскладки.push_back({0.0, 1000.0, 0.0});  // no bars: below every layout
  for (const double s : шаги) {
    for (const double d : диаметры) раскладки.push_back({d, s, ПлощадьРаскладки(d, s, пи)});
  }
  return раскладки;
}

// The exchange sort the variant numbering has always followed; layouts of equal area keep the
// order it produces.
void УпорядочитьПоПлощади(std::vector<Раскладка>& раскладки) {
  const size_t n = раскладки.size();
  for (size_t i = 0; i + 1 < n; ++i) {
    for (size_t j = i + 1; j < n; ++j) {
      if (раскладки[i].площадь > раскладки[j].площадь) std::swap(раскладки[i], раскладки[j]);
    }
  }
}

std::string ТекстРаскладки(const Раскладка& раскладка) {
  const double расчётная = ОкруглитьДоШага(раскладка.площадь, 0.01, 2);
  const double по_профилю =
      ОкруглитьДоШага(ПлощадьПрофиляНаМетр(раскладка.диаметр, раскладка.шаг), 0.01, 2);
  std::string текст = "d";
  текст += Текст(раскладка.диаметр);
  текст += '@';
  текст += Текст(раскладка.шаг);
  текст += '=';
  текст += FixedText(расчётная, 2);
  текст += " (";
  текст += FixedText(по_профилю, 2);
  текст += ')';
  return текст;
}

// The default lists always give the same sorted layouts: sorted once, not on every call.
const std::vector<Раскладка>& РаскладкиПоУмолчанию() {
  static const std::vector<Раскладка> раскладки = [] {
    const std::vector<double> шаги(std::begin(kШагиПоУмолчанию), std::end(kШагиПоУмолчанию));
    const std::vector<double> диаметры(std::begin(kДиаметрыПоУмолчанию),
                                       std::end(kДиаметрыПоУмолчанию));
    std::vector<Раскладка> список = ВсеРаскладки(шаги, диаметры);
    УпорядочитьПоПлощади(список);
    return список;
  }();
  return раскладки;
}

// The first i with area[i] < A <= area[i + 1] (none for A at or below the no-bars layout, above
// the largest one, or NaN). The layouts are sorted by area and none is NaN, so the first layout
// not below A is the upper one of the pair.
std::optional<size_t> РаскладкаПередПлощадью(const std::vector<Раскладка>& раскладки, double A) {
  const auto верхняя = std::partition_point(раскладки.begin(), раскладки.end(),
                                            [A](const Раскладка& р) { return р.площадь < A; });
  if (верхняя == раскладки.begin() || верхняя == раскладки.end()) return std::nullopt;
  return static_cast<size_t>(верхняя - раскладки.begin()) - 1;
}

// The layout НомерВарианта places on from the i-th one (1: the upper one of the pair), nullptr
// outside the list.
const Раскладка* РаскладкаВарианта(const std::vector<Раскладка>& раскладки, size_t i,
                                   int16_t НомерВарианта) {
  const int64_t k = static_cast<int64_t>(i) + НомерВарианта;
  if (k < 0 || k >= static_cast<int64_t>(раскладки.size())) return nullptr;
  return &раскладки[static_cast<size_t>(k)];
}

}  // namespace

const std::vector<ПрофильСтержня>& ПрофилиСтержней() {
  // ГОСТ 5781-82; the 45 mm bar has 15.9 cm².
  static const std::vector<ПрофильСтержня> профили = {
      {6, 0.283f},  {8, 0.503f},  {10, 0.785f}, {12, 1.131f}, {14, 1.54f},
      {16, 2.01f},  {18, 2.54f},  {20, 3.14f},  {22, 3.8f},   {25, 4.91f},
      {28, 6.16f},  {32, 8.01f},  {36, 10.18f}, {40, 12.57f}, {45, 15.9f},
      {50, 19.63f}, {55, 23.76f}, {60, 28.27f}, {70, 38.48f}, {80, 50.27f},
  };
  return профили;
}

void SetMessageSink(MessageSink sink) {
  const std::lock_guard<std::mutex> замок(МьютексПолучателя());
  Получатель() = std::move(sink);
}

double ОбъемСтержня(uint8_t Диаметр, float Длина, int16_t ПоказыватьСообщения) {
  if (static_cast<double>(Длина) > kНаибольшаяДлина && ПоказыватьСообщения != 0) {
    Сообщить(kДлинаПревышена, MessageIcon::Information);
  }
  const float площадь = ПлощадьПрофиля(Диаметр);
  if (площадь == 0.0f) {
    if (ПоказыватьСообщения != 0) Сообщить(kПрофильНеСуществует, MessageIcon::Error);
    return 0.0;
  }
  // Single times Single divided by a whole number stays a Single, as the runtime computes it.
  const float объём_см2м = CSng(static_cast<double>(площадь) * static_cast<double>(Длина));
  return static_cast<double>(CSng((Число(объём_см2м) / 10000).v));
}

double ОкруглитьДоШага(double Значение, double Шаг, int16_t СпособОкругления) {
  const int16_t знак = Знак(Значение);
  const double частное = (Число(std::fabs(Значение)) / Шаг).v;
  double число_шагов = Int(частное);
  const double первая_отброшенная = Int(10.0 * (частное - число_шагов));
  const bool нечётное = std::fmod(число_шагов, 2.0) != 0.0;
  if (СпособОкругления == 1 && первая_отброшенная >= 5.0) {
    число_шагов += 1.0;
  } else if (СпособОкругления == 2 &&
             (первая_отброшенная > 5.0 || (первая_отброшенная == 5.0 && нечётное))) {
    число_шагов += 1.0;
  }
  return (Число(Шаг) * (знак * число_шагов)).v;
}

Variant ПодборСтержней(double A, int16_t& НомерВарианта, const HostRange* Шаги,
                       const HostRange* Диаметры) {
  std::vector<Раскладка> из_диапазонов;
  if (Шаги != nullptr || Диаметры != nullptr) {
    из_диапазонов = ВсеРаскладки(СписокИзДиапазона(Шаги, kШагиПоУмолчанию),
                                 СписокИзДиапазона(Диаметры, kДиаметрыПоУмолчанию));
    УпорядочитьПоПлощади(из_диапазонов);
  }
  const std::vector<Раскладка>& раскладки =
      Шаги != nullptr || Диаметры != nullptr ? из_диапазонов : РаскладкиПоУмолчанию();

  const std::optional<size_t> i = РаскладкаПередПлощадью(раскладки, A);
  if (!i) return Variant();
  const Раскладка* выбранная = РаскладкаВарианта(раскладки, *i, НомерВарианта);
  if (выбранная == nullptr) return Variant(kНедоступныйВариант);
  return Variant(ТекстРаскладки(*выбранная));
}

// The layout ПодборСтержней would name, read straight from the default layouts instead of through
// its text: the text's diameter and spacing are whole millimetres, which it spells exactly.
void ДиаметрИШагСтержней(double& Диаметр, double& Шаг, double A, int16_t НомерВарианта) {
  const double площадь = (Число(A) * 10000).v;
  const std::vector<Раскладка>& раскладки = РаскладкиПоУмолчанию();
  const std::optional<size_t> i = РаскладкаПередПлощадью(раскладки, площадь);
  if (!i) return;
  const Раскладка* выбранная = РаскладкаВарианта(раскладки, *i, НомерВарианта);
  if (выбранная == nullptr) return;
  Диаметр = (Число(выбранная->диаметр) / 1000).v;
  Шаг = (Число(выбранная->шаг) / 1000).v;
}

int16_t Знак(double x) {
  if (x > 0.0) return 1;
  if (x < 0.0) return -1;
  return 0;
}

}  // namespace armocalc
