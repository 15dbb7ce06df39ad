#pragma once
// Elastic stresses in the concrete and the reinforcement of a cracked rectangular section.

#include <cstdint>
#include <string>
#include <string_view>

namespace armocalc {

// Pass bound of the neutral-axis iteration (passes numbered 0 … 1000).
inline constexpr int kПроходовНапряжений = 1001;

// The largest compressive stress in the concrete Sb, the stress in the tension reinforcement Ss
// and in the compressed reinforcement Ssi (MPa), written to the out arguments; returns Sb, Ss or
// Ssi for Где = 0, 1, 2 and 0 for any other value. Only the three stresses are written back; the
// inputs are read. The report of a non-empty Отчет goes to the file named by ИмяОтчетаНапряжений.
double мтНапряжение(uint8_t КлассАрматурнойСтали, float КлассБетона, double N, double M, double Fв,
                    double Fн, double ав, double ан, double h, double B, uint8_t Где,
                    bool ОпределятьСМИ, int32_t ТипКонструкции, bool Фиброползучесть,
                    double Точность, double& Sb, double& Ss, double& Ssi, const std::string& Отчет);

// The report file of the stresses for the report path Отчет: the same folder, the file name with
// "Stress-" in front ("\" and "/" both separate folders; a bare file name gets the prefix too).
std::string ИмяОтчетаНапряжений(std::string_view Отчет);

}  // namespace armocalc
