#pragma once
#include <cstdint>

namespace armocalc {

// Dynamic properties of concrete for civil-defence shelters (MPa; code 4 the grade).
double гоБетон(float КлассБетона, uint8_t Параметр, bool ПредельноеСостояние_Iб,
               bool ТепловаяОбработкаБетона, bool АрматураОтсутствует, bool НарастаниеПрочности,
               bool ЗаводскоеИзготовление, int32_t ВодонасыщениеКонструкции,
               int16_t ЗимняяТемпература);

// Dynamic properties of reinforcing steel for civil-defence shelters (MPa).
double гоАрматура(uint8_t КлассАрматурнойСтали, uint8_t Параметр, bool ВРастянутойЗоне,
                  bool РасчётНаИзгиб);

}  // namespace armocalc
