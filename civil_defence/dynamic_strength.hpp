#pragma once
// Normal-section strength of a rectangular reinforced-concrete element of a civil-defence
// shelter under special (blast) loads by SNiP II-11-77*, with the dynamic design resistances of
// concrete and steel: the safety margin of the limit moment over the acting one.

#include <cstdint>
#include <optional>
#include <string>

namespace armocalc {

// The shelter-class coefficient of table 23а; no value (Empty) for a class other than 2, 3, 4.
std::optional<double> гоТабл23а(uint8_t КлассУбежища, bool ПредельноеСостояние_Iб);

// Areas Fв, Fн in cm², lengths in m, forces in MN (N > 0 compression), moments in MN·m. L ≤ 0
// means no element length; U is ten times the effective-length factor; Nl = 0 means the whole N
// is permanent (the caller's Nl then receives N). Writes the report to the file Отчет.
double гПрочностьГО(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                    double& h, double& Fв, double& Fн, double& ав, double& ан, double& B, double& L,
                    int32_t U, double& Nl, uint8_t& КлассУбежища, bool& ПредельноеСостояние_Iб,
                    bool& ТепловаяОбработкаБетона, bool& НарастаниеПрочности,
                    bool& ЗаводскоеИзготовление, int32_t ВодонасыщениеКонструкции,
                    int16_t& ЗимняяТемпература, uint8_t& МетодЗапаса, std::string& Отчет);

}  // namespace armocalc
