#pragma once
// The common course of the two rectangular strength checks. They differ only in where the
// reinforcement comes from (two layer areas or a worksheet bar table) and in a few report lines;
// everything else is this one sequence of report sections.

#include <cstdint>
#include <optional>
#include <string>

#include "kernel/work_character.hpp"
#include "rectangular/indirect_reinforcement.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/variant.hpp"

namespace armocalc {
class Отчёт;
}

namespace armocalc::rectangular {

// The caller's arguments that both methods share, as the caller's own variables (the condition
// flags of the bar-table method are its private copies).
struct АргументыПрочности {
  uint8_t& КлассАрматурнойСтали;
  float& КлассБетона;
  double& N;
  double& M;
  double& h;
  double& b;
  bool& БетонирВВертикПолож;
  bool& СевернКоэфф;
  bool& ВодонасыщениеБетона;
  bool& ЗаморажОттаивание;
  bool& Солнце;
  bool& КонструкцияЖД;
  double& Nl;
  double& Ml;
  double& L;
  double Z;
  int32_t ЗакрепленияНаКонцахЭлемента;
  double& s;
  double& dx;
  double& dy;
  double& nx;
  double& ny;
  uint8_t& Метод;
};

// Working values of one call (lengths in m, forces in MN, stresses in MPa).
struct Расчёт {
  Расчёт(АргументыПрочности& аргументы, Отчёт& отчёт, bool таблица)
      : арг(аргументы), rep(отчёт), по_таблице(таблица), h(аргументы.h), b(аргументы.b) {}

  АргументыПрочности& арг;
  Отчёт& rep;
  bool по_таблице;  // the source is a bar table (ИсточникАрматуры::ТаблицаСтержней)

  Число h;
  Число b;
  Число Fs, Fsi, a, ai;  // tension and compressed layer: area (m²), centroid to the edge
  Число Js, Jsi;         // their moments of inertia about mid-height
  Число ho, Fb, Jb;
  Число ec;  // eccentricity of N
  Число Nm;  // short-term part of N
  Число Lo;
  bool L_задана = false;
  ХарактерРаботы характер = ХарактерРаботы::НеОпределен;
  Число Rb, Rs, Rsc, Eb, Es;
  Число X;                    // height of the compressed zone
  std::optional<Число> этап;  // the limit carried from the zone height into the limit forces
  bool косвенное = false;     // indirect reinforcement counted
  Число мю;
  Число c_ef;
  Число ню = 1;
  Число Esj, Esj_y, ш;
  bool армируемое = true;
};

// Indirect reinforcement as the source of the reinforcement finds it.
struct КосвенноеНайдено {
  ВидКосвенногоАрмирования вид;
  ИтогКосвенногоАрмирования итог;
};

class ИсточникАрматуры {
 public:
  virtual ~ИсточникАрматуры() = default;
  // True for the worksheet bar table, whose report differs in a few lines.
  virtual bool ТаблицаСтержней() const = 0;
  // Input-data lines of the layers (section 1).
  virtual void ИсходныеДанные(Расчёт& расч) = 0;
  // Areas, distances and moments of inertia of the layers, ho, Fb, Jb, with their lines.
  virtual void Слои(Расчёт& расч) = 0;
  // Rs and Rsc.
  virtual void Сталь(Расчёт& расч) = 0;
  virtual bool КосвенноеЗадано(double s) const = 0;
  virtual bool ДлинаЗадана(double L) const = 0;
  // Meshes or a spiral from the caller's s, dx, dy, nx, ny; nothing when none is recognised.
  virtual std::optional<КосвенноеНайдено> Косвенное(Расчёт& расч) = 0;
};

// Runs the check of either method on the caller's arguments with the reinforcement from
// `арматура`: writes the closing line, finishes the report (to the file Отчет, or into the
// caller's collector `отчёт`) and returns the margin.
Variant ПроверитьСечение(ИсточникАрматуры& арматура, uint8_t& КлассАрматурнойСтали,
                         float& КлассБетона, double& N, double& M, double& h, double& b,
                         bool& БетонирВВертикПолож, bool& СевернКоэфф, bool& ВодонасыщениеБетона,
                         bool& ЗаморажОттаивание, bool& Солнце, bool& КонструкцияЖД, double& Nl,
                         double& Ml, double& L, double Z, int32_t ЗакрепленияНаКонцахЭлемента,
                         double& s, double& dx, double& dy, double& nx, double& ny, uint8_t& Метод,
                         const std::string& Отчет, Отчёт* отчёт);

}  // namespace armocalc::rectangular
