#pragma once
// Strength of a normal section of a rectangular reinforced-concrete element without prestressed
// reinforcement by SNiP 2.05.03-84* (bridges and culverts), with SNiP 2.03.01-84* for an
// over-reinforced section: the safety margin in the unit of the margin method.

#include <cstdint>
#include <string>

#include "runtime/variant.hpp"

namespace armocalc {

class HostRange;
class Отчёт;

// Pass bound of the compressed-zone iteration of an over-reinforced section.
inline constexpr int32_t kПроходовВысотыСжатойЗоны = 1001;

// Reinforcement given as the areas of the top and bottom layers (cm²). Normalises the caller's N
// (0 becomes -1e-20), Nl, Ml, БетонирВВертикПолож, СевернКоэфф and, for meshes, s (0 becomes
// 0.07). Returns a Variant holding the margin (a Double).
//
// The report goes to the file Отчет; a caller that wants the lines instead passes its own report
// collector `отчёт` (then Отчет is not looked at). The report is finished (rounded and written)
// only when the call succeeds.
Variant мтПрочность(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                    double& Fв, double& Fн, double& ав, double& ан, double& h, double& B,
                    bool& ОпределятьСМИ, bool& БетонирВВертикПолож, bool& СевернКоэфф,
                    bool& ВодонасыщениеБетона, bool& ЗаморажОттаивание, bool& Солнце,
                    bool& КонструкцияЖД, double& Nl, double& Ml, double& L, double Z,
                    int32_t ЗакрепленияНаКонцахЭлемента, double& s, double& dx, double& dy,
                    double& nx, double& ny, uint8_t& МетодОпределенияЗапаса, std::string& Отчет,
                    Отчёт* отчёт = nullptr);

// The same check with the bars listed in a worksheet bar table (column 1 x, column 2 y in m from
// mid-height, column 3 diameter in mm). The condition flags are the caller's copies; L, s, dx,
// dy, nx, ny of 0 mean no slenderness and no indirect reinforcement; a mesh pitch below 0.07 is
// raised to 0.07 in the caller's s.
Variant мтПрочностьТ(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                     double& B, double& h, const HostRange& ТаблицаАрматурныхСтержней,
                     bool БетонирВВертикПолож, bool СевернКоэфф, bool ВодонасыщениеБетона,
                     bool ЗаморажОттаивание, bool Солнце, bool КонструкцияЖД, double& Nl,
                     double& Ml, double& L, double Z, int32_t ЗакрепленияНаКонцахЭлемента,
                     double& s, double& dx, double& dy, double& nx, double& ny,
                     uint8_t& МетодОпределенияЗапаса, std::string& Отчет, Отчёт* отчёт = nullptr);

// Counts the passes of the compressed-zone iteration that the checks run on this thread while it
// lives: a caller that runs the check many times (the selection of reinforcement) bounds its
// total work with it. Nothing is counted when no counter lives.
class СчётчикПроходовВысоты {
 public:
  СчётчикПроходовВысоты();
  ~СчётчикПроходовВысоты();
  СчётчикПроходовВысоты(const СчётчикПроходовВысоты&) = delete;
  СчётчикПроходовВысоты& operator=(const СчётчикПроходовВысоты&) = delete;

  int64_t Проходов() const noexcept { return проходов_; }
  static void Учесть() noexcept;

 private:
  int64_t проходов_ = 0;
  СчётчикПроходовВысоты* прежний_;
};

// Product, in single precision, of the concrete condition factors of the set bits of the mask:
// 4 → 0.85 (concreted vertically), 16 → 0.9 (northern climate), 32 → 0.9 (freezing and
// thawing), 64 → 0.85 (sun); other bits 1.
float КоэффициентУсловийРаботыБетона(int32_t Маска);

}  // namespace armocalc
