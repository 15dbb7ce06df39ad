#include "interface/method_table.hpp"

#include <array>

#include "runtime/text_case.hpp"

namespace armocalc {
namespace {

constexpr size_t kMethodCount = 23;
constexpr PassingMode kRef = PassingMode::ByRef;
constexpr PassingMode kVal = PassingMode::ByVal;
constexpr bool kOpt = true;
constexpr bool kReq = false;
constexpr VarType kVariantResult = VarType::Empty;
const std::optional<Variant> kNone;

MethodInfo Method(std::string_view name, int32_t dispid, std::span<const ParamInfo> params,
                  VarType result, std::string_view summary) {
  return MethodInfo{name, dispid, params, result, BoundRoutine(name), summary};
}

// Built on first use, so that callers running before this file's static initialisation (the
// server's class factory, other tables) still find it complete.
const std::array<MethodInfo, kMethodCount>& Table() {
  static const ParamInfo pмтRingStrengthB[] = {
      {"M", VarType::Double, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"L0", VarType::Double, kRef, kReq, kNone},
      {"D", VarType::Double, kRef, kReq, kNone},
      {"ns", VarType::Integer, kRef, kReq, kNone},
      {"ds", VarType::Integer, kRef, kReq, kNone},
      {"Cov", VarType::Double, kRef, kReq, kNone},
      {"A", VarType::Integer, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kReq, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтБетонB[] = {
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"Параметр", VarType::Byte, kRef, kOpt, Variant(uint8_t{1})},
  };
  static const ParamInfo pгоБетонB[] = {
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"Параметр", VarType::Byte, kVal, kOpt, Variant(uint8_t{1})},
      {"ПредельноеСостояние_Iб", VarType::Boolean, kRef, kOpt, kNone},
      {"ТепловаяОбработкаБетона", VarType::Boolean, kRef, kOpt, kNone},
      {"АрматураОтсутствует", VarType::Boolean, kRef, kOpt, kNone},
      {"НарастаниеПрочности", VarType::Boolean, kRef, kOpt, kNone},
      {"ЗаводскоеИзготовление", VarType::Boolean, kRef, kOpt, kNone},
      {"ВодонасыщениеКонструкции", VarType::Long, kRef, kOpt, Variant(int32_t{1})},
      {"ЗимняяТемпература", VarType::Integer, kRef, kOpt, kNone},
  };
  static const ParamInfo pгоАрматураB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kVal, kReq, kNone},
      {"Параметр", VarType::Byte, kVal, kOpt, Variant(uint8_t{1})},
      {"ВРастянутойЗоне", VarType::Boolean, kRef, kOpt, kNone},
      {"РасчётНаИзгиб", VarType::Boolean, kRef, kOpt, kNone},
  };
  static const ParamInfo pСНиП_RsB[] = {
      {"Класс_арматуры", VarType::Byte, kVal, kReq, kNone},
      {"Диаметр_арматуры", VarType::Double, kRef, kOpt, Variant(10.0)},
      {"ТипЗначеня", VarType::Byte, kVal, kOpt, Variant(uint8_t{3})},
  };
  static const ParamInfo pСНиП_EsB[] = {
      {"Класс_арматуры", VarType::Byte, kVal, kReq, kNone},
  };
  static const ParamInfo pЧислоПрописьюB[] = {
      {"rCells", VarType::Range, kRef, kReq, kNone},
  };
  static const ParamInfo pгПрочностьГОB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"Fв", VarType::Double, kRef, kReq, kNone},
      {"Fн", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"L", VarType::Double, kRef, kOpt, kNone},
      {"U", VarType::Long, kVal, kOpt, Variant(int32_t{12})},
      {"Nl", VarType::Double, kRef, kOpt, kNone},
      {"КлассУбежища", VarType::Byte, kRef, kOpt, Variant(uint8_t{4})},
      {"ПредельноеСостояние_Iб", VarType::Boolean, kRef, kOpt, kNone},
      {"ТепловаяОбработкаБетона", VarType::Boolean, kRef, kOpt, kNone},
      {"НарастаниеПрочности", VarType::Boolean, kRef, kOpt, kNone},
      {"ЗаводскоеИзготовление", VarType::Boolean, kRef, kOpt, kNone},
      {"ВодонасыщениеКонструкции", VarType::Long, kVal, kOpt, Variant(int32_t{1})},
      {"ЗимняяТемпература", VarType::Integer, kRef, kOpt, kNone},
      {"МетодЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pгПродавливаниеB[] = {
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"ho", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kVal, kOpt, kNone},
      {"ДиаметрХомутов", VarType::Byte, kRef, kOpt, kNone},
      {"ШагХомутов", VarType::Double, kRef, kOpt, kNone},
      {"Угол", VarType::Byte, kRef, kOpt, Variant(uint8_t{45})},
      {"МетодЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтПрочностьB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"Fв", VarType::Double, kRef, kReq, kNone},
      {"Fн", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"ОпределятьСМИ", VarType::Boolean, kRef, kOpt, kNone},
      {"БетонирВВертикПолож", VarType::Boolean, kRef, kOpt, kNone},
      {"СевернКоэфф", VarType::Boolean, kRef, kOpt, kNone},
      {"ВодонасыщениеБетона", VarType::Boolean, kRef, kOpt, kNone},
      {"ЗаморажОттаивание", VarType::Boolean, kRef, kOpt, kNone},
      {"Солнце", VarType::Boolean, kRef, kOpt, kNone},
      {"КонструкцияЖД", VarType::Boolean, kRef, kOpt, kNone},
      {"Nl", VarType::Double, kRef, kOpt, kNone},
      {"Ml", VarType::Double, kRef, kOpt, kNone},
      {"L", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"Z", VarType::Double, kVal, kOpt, Variant(-1.0)},
      {"ЗакрепленияНаКонцахЭлемента", VarType::Long, kVal, kOpt, Variant(int32_t{12})},
      {"s", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"dx", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"dy", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"nx", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"ny", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтПрочностьТB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"ТаблицаАрматурныхСтержней", VarType::Range, kRef, kReq, kNone},
      {"БетонирВВертикПолож", VarType::Boolean, kVal, kOpt, kNone},
      {"СевернКоэфф", VarType::Boolean, kVal, kOpt, kNone},
      {"ВодонасыщениеБетона", VarType::Boolean, kVal, kOpt, kNone},
      {"ЗаморажОттаивание", VarType::Boolean, kVal, kOpt, kNone},
      {"Солнце", VarType::Boolean, kVal, kOpt, kNone},
      {"КонструкцияЖД", VarType::Boolean, kVal, kOpt, kNone},
      {"Nl", VarType::Double, kRef, kOpt, kNone},
      {"Ml", VarType::Double, kRef, kOpt, kNone},
      {"L", VarType::Double, kRef, kOpt, kNone},
      {"Z", VarType::Double, kVal, kOpt, Variant(-1.0)},
      {"ЗакрепленияНаКонцахЭлемента", VarType::Long, kVal, kOpt, Variant(int32_t{12})},
      {"s", VarType::Double, kRef, kOpt, kNone},
      {"dx", VarType::Double, kRef, kOpt, kNone},
      {"dy", VarType::Double, kRef, kOpt, kNone},
      {"nx", VarType::Double, kRef, kOpt, kNone},
      {"ny", VarType::Double, kRef, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтТрещиностойкостьПродольныеТB[] = {
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"ТаблицаАрматурныхСтержней", VarType::Range, kRef, kReq, kNone},
      {"d_mm", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"s", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтТрещиностойкостьПродольныеB[] = {
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"Fв", VarType::Double, kRef, kReq, kNone},
      {"Fн", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"ОпределятьСМИ", VarType::Boolean, kRef, kOpt, kNone},
      {"d_mm", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"s", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтХомутыB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"Q", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kReq, kNone},
      {"ho", VarType::Double, kRef, kReq, kNone},
      {"s_wx", VarType::Double, kRef, kReq, kNone},
      {"s_wz", VarType::Double, kRef, kReq, kNone},
      {"dw_mm", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kVal, kOpt, kNone},
      {"M", VarType::Double, kVal, kOpt, kNone},
      {"Qн", VarType::Double, kVal, kOpt, kNone},
      {"ПлощадьГоризонтальнойАрматуры_sm2", VarType::Double, kVal, kOpt, kNone},
      {"КлассСталиГоризонтальнойАрматуры", VarType::Byte, kVal, kOpt, Variant(uint8_t{3})},
      {"КонструкцияЖД", VarType::Boolean, kVal, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
      {"C_max", VarType::Double, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтТрещиностойкостьТB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"ТаблицаАрматурныхСтержней", VarType::Range, kRef, kReq, kNone},
      {"acr_sm", VarType::Double, kRef, kReq, kNone},
      {"Q", VarType::Double, kRef, kOpt, kNone},
      {"xd", VarType::Double, kRef, kOpt, Variant(6.0)},
      {"Угол", VarType::Double, kRef, kOpt, kNone},
      {"s_wx", VarType::Double, kRef, kOpt, kNone},
      {"s_wz", VarType::Double, kRef, kOpt, kNone},
      {"dw_mm", VarType::Double, kRef, kOpt, kNone},
      {"Bw", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"КонструкцияЖД", VarType::Boolean, kRef, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтТрещиностойкостьB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"Fв", VarType::Double, kRef, kReq, kNone},
      {"Fн", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"acr_sm", VarType::Double, kRef, kOpt, Variant(0.02)},
      {"Q", VarType::Double, kRef, kOpt, kNone},
      {"xd", VarType::Double, kRef, kOpt, Variant(6.0)},
      {"Угол", VarType::Double, kRef, kOpt, kNone},
      {"s_wx", VarType::Double, kRef, kOpt, kNone},
      {"s_wz", VarType::Double, kRef, kOpt, kNone},
      {"dw_mm", VarType::Double, kRef, kOpt, kNone},
      {"Bw", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"Bs", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"КонструкцияЖД", VarType::Boolean, kRef, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтТрещиностойкость2B[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"dв", VarType::Double, kRef, kReq, kNone},
      {"шв", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"dн", VarType::Double, kRef, kReq, kNone},
      {"шн", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"acr_sm", VarType::Double, kRef, kOpt, Variant(0.02)},
      {"Q", VarType::Double, kRef, kOpt, kNone},
      {"xd", VarType::Double, kRef, kOpt, Variant(6.0)},
      {"Угол", VarType::Double, kRef, kOpt, kNone},
      {"s_wx", VarType::Double, kRef, kOpt, kNone},
      {"s_wz", VarType::Double, kRef, kOpt, kNone},
      {"dw_mm", VarType::Double, kRef, kOpt, kNone},
      {"Bw", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"Bs", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"КонструкцияЖД", VarType::Boolean, kRef, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтВыносливостьB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"Nmin", VarType::Double, kRef, kReq, kNone},
      {"Mmin", VarType::Double, kRef, kReq, kNone},
      {"Nmax", VarType::Double, kRef, kReq, kNone},
      {"Mmax", VarType::Double, kRef, kReq, kNone},
      {"Fв", VarType::Double, kRef, kReq, kNone},
      {"Fн", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"Сварка", VarType::Long, kVal, kOpt, Variant(int32_t{3})},
      {"ОпределятьСМИ", VarType::Boolean, kRef, kOpt, kNone},
      {"ТипКонструкции", VarType::Long, kVal, kOpt, Variant(int32_t{2})},
      {"ПоАрматуреИБетону", VarType::Byte, kRef, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтНапряжениеB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"Fв", VarType::Double, kRef, kReq, kNone},
      {"Fн", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"Где", VarType::Byte, kRef, kOpt, kNone},
      {"ОпределятьСМИ", VarType::Boolean, kRef, kOpt, kNone},
      {"ТипКонструкции", VarType::Long, kVal, kOpt, Variant(int32_t{2})},
      {"Фиброползучесть", VarType::Boolean, kRef, kOpt, Variant(true)},
      {"Точность", VarType::Double, kRef, kOpt, Variant(0.0001)},
      {"Sb", VarType::Double, kRef, kOpt, kNone},
      {"Ss", VarType::Double, kRef, kOpt, kNone},
      {"Ssi", VarType::Double, kRef, kOpt, kNone},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pПодборРабочейАрматурыB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"ав", VarType::Double, kRef, kReq, kNone},
      {"ан", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kRef, kReq, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"УчитыватьТрещиностойкость", VarType::Boolean, kRef, kOpt, Variant(true)},
      {"acr", VarType::Double, kRef, kOpt, Variant(0.02)},
      {"ТочностьПодбора", VarType::Double, kRef, kOpt, Variant(0.1)},
  };
  static const ParamInfo pПодборПоперечнойАрматурыB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"Q", VarType::Double, kRef, kReq, kNone},
      {"ho", VarType::Double, kRef, kReq, kNone},
      {"h", VarType::Double, kVal, kOpt, kNone},
      {"B", VarType::Double, kRef, kOpt, Variant(1.0)},
      {"M", VarType::Double, kVal, kOpt, kNone},
      {"ПлощадьГоризонтальнойАрматуры_sm2", VarType::Double, kVal, kOpt, kNone},
      {"ТочностьПодбора", VarType::Double, kRef, kOpt, Variant(0.1)},
  };
  static const ParamInfo pгRingB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"dв", VarType::Double, kRef, kReq, kNone},
      {"dн", VarType::Double, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kVal, kOpt, kNone},
      {"r", VarType::Double, kVal, kOpt, kNone},
      {"D", VarType::Double, kRef, kOpt, kNone},
      {"ns", VarType::Double, kRef, kOpt, kNone},
      {"МетодОпределенияЗапаса", VarType::Byte, kRef, kOpt, Variant(uint8_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const ParamInfo pмтПрочностьКругаB[] = {
      {"КлассАрматурнойСтали", VarType::Byte, kRef, kReq, kNone},
      {"КлассБетона", VarType::Single, kRef, kReq, kNone},
      {"N", VarType::Double, kRef, kReq, kNone},
      {"M", VarType::Double, kRef, kReq, kNone},
      {"ДиаметрНаружний", VarType::Double, kRef, kReq, kNone},
      {"ДиаметрВнутренний", VarType::Double, kRef, kOpt, kNone},
      {"ДиаметрКаркаса", VarType::Double, kRef, kOpt, kNone},
      {"Fs", VarType::Double, kRef, kOpt, kNone},
      {"ns", VarType::Long, kRef, kOpt, kNone},
      {"ds", VarType::Double, kRef, kOpt, kNone},
      {"КлассКонструкции", VarType::Long, kRef, kOpt, Variant(int32_t{2})},
      {"Nl", VarType::Double, kRef, kOpt, kNone},
      {"Ml", VarType::Double, kRef, kOpt, kNone},
      {"L", VarType::Double, kRef, kOpt, Variant(-1.0)},
      {"Z", VarType::Double, kVal, kOpt, Variant(-1.0)},
      {"ЗакрепленияНаКонцахЭлемента", VarType::Long, kVal, kOpt, Variant(int32_t{12})},
      {"МетодОпределенияЗапаса", VarType::Long, kRef, kOpt, Variant(int32_t{3})},
      {"Отчет", VarType::String, kRef, kOpt, kNone},
  };
  static const std::array<MethodInfo, kMethodCount> methods = {{
      Method("мтRingStrengthB", 0x60030000, pмтRingStrengthB, VarType::Double,
             "Strength of a circular pile section by the bridge code (margin)"),
      Method("мтБетонB", 0x60030001, pмтБетонB, VarType::Double,
             "Design property of heavy concrete by the bridge code, by class and property code"),
      Method("гоБетонB", 0x60030002, pгоБетонB, VarType::Double,
             "Dynamic design property of concrete of civil-defence shelters"),
      Method("гоАрматураB", 0x60030003, pгоАрматураB, VarType::Double,
             "Dynamic design resistance of reinforcing steel of civil-defence shelters"),
      Method("СНиП_RsB", 0x60030004, pСНиП_RsB, kVariantResult,
             "Design resistance Rs of hot-rolled steel A-I to A-III by class, diameter and value "
             "type"),
      Method("СНиП_EsB", 0x60030005, pСНиП_EsB, kVariantResult,
             "Modulus of elasticity Es of hot-rolled steel by class"),
      Method("ЧислоПрописьюB", 0x60030006, pЧислоПрописьюB, kVariantResult,
             "The amount in a worksheet cell written as Russian words for roubles with kopecks"),
      Method("гПрочностьГОB", 0x60030007, pгПрочностьГОB, VarType::Double,
             "Strength of a rectangular section of a civil-defence structure under dynamic load "
             "(margin)"),
      Method("гПродавливаниеB", 0x60030008, pгПродавливаниеB, VarType::Double,
             "Punching of a slab (margin)"),
      Method("мтПрочностьB", 0x60030009, pмтПрочностьB, kVariantResult,
             "Normal-section strength of a rectangular section, reinforcement as areas (margin)"),
      Method(
          "мтПрочностьТB", 0x6003000A, pмтПрочностьТB, kVariantResult,
          "Normal-section strength of a rectangular section with a worksheet bar table (margin)"),
      Method("мтТрещиностойкостьПродольныеТB", 0x6003000B, pмтТрещиностойкостьПродольныеТB,
             kVariantResult,
             "Longitudinal cracks of a compressed rectangular section with a bar table (margin)"),
      Method("мтТрещиностойкостьПродольныеB", 0x6003000C, pмтТрещиностойкостьПродольныеB,
             kVariantResult, "Longitudinal cracks of a compressed rectangular section (margin)"),
      Method("мтХомутыB", 0x6003000D, pмтХомутыB, VarType::Double,
             "Inclined-section strength with stirrups (margin)"),
      Method("мтТрещиностойкостьТB", 0x6003000E, pмтТрещиностойкостьТB, VarType::Double,
             "Crack width of a rectangular section with a worksheet bar table (margin)"),
      Method("мтТрещиностойкостьB", 0x6003000F, pмтТрещиностойкостьB, VarType::Double,
             "Crack width of a rectangular section (margin)"),
      Method("мтТрещиностойкость2B", 0x60030010, pмтТрещиностойкость2B, VarType::Double,
             "Crack width of a rectangular section with bar diameters and spacings (margin)"),
      Method("мтВыносливостьB", 0x60030011, pмтВыносливостьB, kVariantResult,
             "Endurance of a rectangular section under repeated loading (margin)"),
      Method("мтНапряжениеB", 0x60030012, pмтНапряжениеB, VarType::Double,
             "Elastic stresses in the concrete and the reinforcement of a rectangular section"),
      Method("ПодборРабочейАрматурыB", 0x60030013, pПодборРабочейАрматурыB, VarType::Double,
             "Selection of the working reinforcement of a rectangular section"),
      Method("ПодборПоперечнойАрматурыB", 0x60030014, pПодборПоперечнойАрматурыB, VarType::Double,
             "Selection of the transverse reinforcement (stirrups)"),
      Method("гRingB", 0x60030015, pгRingB, VarType::Double,
             "Strength of a ring section by the design manual (margin)"),
      Method("мтПрочностьКругаB", 0x60030016, pмтПрочностьКругаB, VarType::Double,
             "Strength of a circular or ring section"),
  }};
  return methods;
}

}  // namespace

std::span<const MethodInfo> Methods() {
  return Table();
}

const MethodInfo* FindMethod(std::string_view name) {
  // Exact spelling first: the workbook and the CLI pass the names as declared.
  for (const MethodInfo& method : Table()) {
    if (method.name == name) return &method;
  }
  for (const MethodInfo& method : Table()) {
    if (EqualsIgnoreCase(method.name, name)) return &method;
  }
  return nullptr;
}

const MethodInfo* FindMethod(int32_t dispid) {
  const int64_t index = int64_t{dispid} - kFirstDispid;
  if (index < 0 || index >= static_cast<int64_t>(kMethodCount)) return nullptr;
  return &Table()[static_cast<size_t>(index)];
}

int FindParam(const MethodInfo& method, std::string_view name) {
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (method.params[i].name == name) return static_cast<int>(i);
  }
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (EqualsIgnoreCase(method.params[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

Variant DefaultArgument(const ParamInfo& param) {
  if (param.default_value) return *param.default_value;
  switch (param.type) {
    case VarType::Byte:
      return uint8_t{0};
    case VarType::Integer:
      return int16_t{0};
    case VarType::Long:
      return int32_t{0};
    case VarType::Single:
      return 0.0f;
    case VarType::Double:
      return 0.0;
    case VarType::Boolean:
      return false;
    case VarType::String:
      return std::string();
    case VarType::Range:
      return std::shared_ptr<HostRange>();
    case VarType::Empty:
    case VarType::Array:
      break;
  }
  return {};
}

}  // namespace armocalc
