// Each method of ClassBrige bound to its calculation routine: the frame's typed storage is handed
// on in parameter order, by-reference slots as references (the routine's writes reach the caller)
// and by-value slots as copies. A method without a binding answers "not implemented".

#include <string_view>
#include <utility>

#include "circular/circle_strength.hpp"
#include "circular/pile_strength.hpp"
#include "circular/ring_strength.hpp"
#include "cracks/crack_width.hpp"
#include "cracks/endurance.hpp"
#include "cracks/longitudinal_cracks.hpp"
#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"
#include "materials/civil_defence.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "rectangular/strength.hpp"
#include "rectangular/stress.hpp"

namespace armocalc {
namespace {

Variant Bind_мтБетонB(Frame& f) {
  return мтБетон(f.Single(0), f.Byte(1));
}

Variant Bind_гоБетонB(Frame& f) {
  return гоБетон(f.Single(0), f.Byte(1), f.Boolean(2), f.Boolean(3), f.Boolean(4), f.Boolean(5),
                 f.Boolean(6), f.Long(7), f.Integer(8));
}

Variant Bind_гоАрматураB(Frame& f) {
  return гоАрматура(f.Byte(0), f.Byte(1), f.Boolean(2), f.Boolean(3));
}

Variant Bind_СНиП_RsB(Frame& f) {
  return СНиП_Rs(Variant(f.Byte(0)), Variant(f.Double(1)), f.Byte(2));
}

Variant Bind_СНиП_EsB(Frame& f) {
  return СНиП_Es(Variant(f.Byte(0)));
}

Variant Bind_мтПрочностьB(Frame& f) {
  return мтПрочность(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4), f.Double(5),
                     f.Double(6), f.Double(7), f.Double(8), f.Double(9), f.Boolean(10),
                     f.Boolean(11), f.Boolean(12), f.Boolean(13), f.Boolean(14), f.Boolean(15),
                     f.Boolean(16), f.Double(17), f.Double(18), f.Double(19), f.Double(20),
                     f.Long(21), f.Double(22), f.Double(23), f.Double(24), f.Double(25),
                     f.Double(26), f.Byte(27), f.String(28));
}

Variant Bind_мтПрочностьТB(Frame& f) {
  return мтПрочностьТ(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4), f.Double(5),
                      f.Range(6), f.Boolean(7), f.Boolean(8), f.Boolean(9), f.Boolean(10),
                      f.Boolean(11), f.Boolean(12), f.Double(13), f.Double(14), f.Double(15),
                      f.Double(16), f.Long(17), f.Double(18), f.Double(19), f.Double(20),
                      f.Double(21), f.Double(22), f.Byte(23), f.String(24));
}

Variant Bind_мтВыносливостьB(Frame& f) {
  return мтВыносливость(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4), f.Double(5),
                        f.Double(6), f.Double(7), f.Double(8), f.Double(9), f.Double(10),
                        f.Double(11), f.Long(12), f.Boolean(13), f.Long(14), f.Byte(15), f.Byte(16),
                        f.String(17));
}

Variant Bind_мтНапряжениеB(Frame& f) {
  return мтНапряжение(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4), f.Double(5),
                      f.Double(6), f.Double(7), f.Double(8), f.Double(9), f.Byte(10), f.Boolean(11),
                      f.Long(12), f.Boolean(13), f.Double(14), f.Double(15), f.Double(16),
                      f.Double(17), f.String(18));
}

Variant Bind_мтТрещиностойкостьB(Frame& f) {
  return мтТрещиностойкостьB(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4),
                             f.Double(5), f.Double(6), f.Double(7), f.Double(8), f.Double(9),
                             f.Double(10), f.Double(11), f.Double(12), f.Double(13), f.Double(14),
                             f.Double(15), f.Double(16), f.Double(17), f.Double(18), f.Boolean(19),
                             f.Byte(20), f.String(21));
}

Variant Bind_мтТрещиностойкость2B(Frame& f) {
  return мтТрещиностойкость2B(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4),
                              f.Double(5), f.Double(6), f.Double(7), f.Double(8), f.Double(9),
                              f.Double(10), f.Double(11), f.Double(12), f.Double(13), f.Double(14),
                              f.Double(15), f.Double(16), f.Double(17), f.Double(18), f.Double(19),
                              f.Double(20), f.Boolean(21), f.Byte(22), f.String(23));
}

Variant Bind_мтТрещиностойкостьТB(Frame& f) {
  return мтТрещиностойкостьТB(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4),
                              f.Double(5), f.Range(6), f.Double(7), f.Double(8), f.Double(9),
                              f.Double(10), f.Double(11), f.Double(12), f.Double(13), f.Double(14),
                              f.Boolean(15), f.Byte(16), f.String(17));
}

Variant Bind_мтТрещиностойкостьПродольныеB(Frame& f) {
  return мтТрещиностойкостьПродольныеB(
      f.Single(0), f.Double(1), f.Double(2), f.Double(3), f.Double(4), f.Double(5), f.Double(6),
      f.Double(7), f.Double(8), f.Boolean(9), f.Double(10), f.Double(11), f.Byte(12), f.String(13));
}

Variant Bind_мтТрещиностойкостьПродольныеТB(Frame& f) {
  return мтТрещиностойкостьПродольныеТB(f.Single(0), f.Double(1), f.Double(2), f.Double(3),
                                        f.Double(4), f.Range(5), f.Double(6), f.Double(7),
                                        f.Byte(8), f.String(9));
}

Variant Bind_мтRingStrengthB(Frame& f) {
  return мтRingStrengthB(f.Double(0), f.Double(1), f.Double(2), f.Double(3), f.Integer(4),
                         f.Integer(5), f.Double(6), f.Integer(7), f.Double(8), f.Byte(9),
                         f.String(10));
}

Variant Bind_гRingB(Frame& f) {
  return гRingB(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4), f.Double(5),
                f.Double(6), f.Double(7), f.Double(8), f.Byte(9), f.String(10));
}

Variant Bind_мтПрочностьКругаB(Frame& f) {
  return мтПрочностьКругаB(f.Byte(0), f.Single(1), f.Double(2), f.Double(3), f.Double(4),
                           f.Double(5), f.Double(6), f.Double(7), f.Long(8), f.Double(9),
                           f.Long(10), f.Double(11), f.Double(12), f.Double(13), f.Double(14),
                           f.Long(15), f.Long(16), f.String(17));
}

constexpr std::pair<std::string_view, Routine> kBindings[] = {
    {"мтБетонB", &Bind_мтБетонB},
    {"гоБетонB", &Bind_гоБетонB},
    {"гоАрматураB", &Bind_гоАрматураB},
    {"СНиП_RsB", &Bind_СНиП_RsB},
    {"СНиП_EsB", &Bind_СНиП_EsB},
    {"мтПрочностьB", &Bind_мтПрочностьB},
    {"мтПрочностьТB", &Bind_мтПрочностьТB},
    {"мтТрещиностойкостьB", &Bind_мтТрещиностойкостьB},
    {"мтТрещиностойкость2B", &Bind_мтТрещиностойкость2B},
    {"мтТрещиностойкостьТB", &Bind_мтТрещиностойкостьТB},
    {"мтТрещиностойкостьПродольныеB", &Bind_мтТрещиностойкостьПродольныеB},
    {"мтТрещиностойкостьПродольныеТB", &Bind_мтТрещиностойкостьПродольныеТB},
    {"мтВыносливостьB", &Bind_мтВыносливостьB},
    {"мтНапряжениеB", &Bind_мтНапряжениеB},
    {"мтRingStrengthB", &Bind_мтRingStrengthB},
    {"гRingB", &Bind_гRingB},
    {"мтПрочностьКругаB", &Bind_мтПрочностьКругаB},
};

}  // namespace

Routine BoundRoutine(std::string_view method_name) {
  for (const auto& [name, routine] : kBindings) {
    if (name == method_name) return routine;
  }
  return nullptr;
}

}  // namespace armocalc
