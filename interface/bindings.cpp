// Each built method of ClassBrige bound to its calculation routine, one line a method; the
// parameters' types and modes come from the routine's declaration (see binding.hpp). A method
// without a binding answers "not implemented".

#include <span>
#include <string>
#include <string_view>

#include "circular/circle_strength.hpp"
#include "circular/pile_strength.hpp"
#include "circular/ring_strength.hpp"
#include "civil_defence/dynamic_strength.hpp"
#include "civil_defence/punching.hpp"
#include "cracks/crack_width.hpp"
#include "cracks/endurance.hpp"
#include "cracks/longitudinal_cracks.hpp"
#include "cracks/working_reinforcement.hpp"
#include "interface/binding.hpp"
#include "interface/method_table.hpp"
#include "materials/civil_defence.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "rectangular/strength.hpp"
#include "rectangular/stress.hpp"
#include "shear/stirrup_selection.hpp"
#include "shear/stirrups.hpp"
#include "words/number_in_words.hpp"

namespace armocalc {
namespace binding {
namespace {

constexpr BoundMethod kBindings[] = {
    Bind<&мтRingStrength>("мтRingStrengthB"),
    Bind<&мтБетон>("мтБетонB"),
    Bind<&гоБетон>("гоБетонB"),
    Bind<&гоАрматура>("гоАрматураB"),
    Bind<&СНиП_Rs>("СНиП_RsB"),
    Bind<&СНиП_Es>("СНиП_EsB"),
    Bind<&ЧислоПрописью>("ЧислоПрописьюB"),
    Bind<&гПрочностьГО>("гПрочностьГОB"),
    Bind<&гПродавливание>("гПродавливаниеB"),
    Bind<&мтПрочность>("мтПрочностьB"),
    Bind<&мтПрочностьТ>("мтПрочностьТB"),
    Bind<&мтТрещиностойкостьПродольныеТ>("мтТрещиностойкостьПродольныеТB"),
    Bind<&мтТрещиностойкостьПродольные>("мтТрещиностойкостьПродольныеB"),
    Bind<&мтХомуты>("мтХомутыB"),
    Bind<&мтТрещиностойкостьТ>("мтТрещиностойкостьТB"),
    Bind<&мтТрещиностойкость>("мтТрещиностойкостьB"),
    Bind<&мтТрещиностойкость2>("мтТрещиностойкость2B"),
    Bind<&мтВыносливость>("мтВыносливостьB"),
    Bind<&мтНапряжение>("мтНапряжениеB"),
    Bind<&ПодборРабочейАрматуры>("ПодборРабочейАрматурыB"),
    Bind<&ПодборПоперечнойАрматуры>("ПодборПоперечнойАрматурыB"),
    Bind<&гRing>("гRingB"),
    Bind<&мтПрочностьКруга>("мтПрочностьКругаB"),
};

std::string_view TypeName(VarType type) {
  return type == VarType::Empty ? "Variant" : VarTypeName(type);
}

}  // namespace

std::span<const BoundMethod> Bindings() {
  return kBindings;
}

std::string DisagreementWithTable(const BoundMethod& bound, const MethodInfo& method) {
  if (bound.shapes.size() != method.params.size()) {
    return "the routine takes " + std::to_string(bound.shapes.size()) + " parameters, the table " +
           std::to_string(method.params.size());
  }
  for (size_t i = 0; i < method.params.size(); ++i) {
    const ParamInfo& param = method.params[i];
    const ParamShape& shape = bound.shapes[i];
    const std::string where = std::string(param.name) + " (" + std::to_string(i + 1) + "): ";
    if (shape.type != VarType::Empty && shape.type != param.type) {
      return where + "the routine takes " + std::string(TypeName(shape.type)) +
             ", the table says " + std::string(TypeName(param.type));
    }
    if (shape.writes_back && param.mode == PassingMode::ByVal) {
      return where + "the routine writes a by-value parameter";
    }
  }
  return {};
}

}  // namespace binding

Routine BoundRoutine(std::string_view method_name) {
  for (const binding::BoundMethod& bound : binding::Bindings()) {
    if (bound.name == method_name) return bound.routine;
  }
  return nullptr;
}

}  // namespace armocalc
