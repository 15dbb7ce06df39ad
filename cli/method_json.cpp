// The method table as JSON for tools (`armocalc methods --json`): what a script needs to call
// every method by name, with the Latin spellings the command line accepts.

#include "cli/cli.hpp"
#include "cli/json_values.hpp"
#include "interface/latin_names.hpp"
#include "runtime/version.hpp"

namespace armocalc::cli {
namespace {

OrderedJson CodesJson(const ParamDoc& doc) {
  OrderedJson codes = OrderedJson::array();
  for (const CodeMeaning& code : doc.codes) {
    OrderedJson entry = OrderedJson::object();
    entry["value"] = code.value;
    entry["meaning"] = code.meaning;
    codes.push_back(std::move(entry));
  }
  return codes;
}

OrderedJson ParamJson(const ParamInfo& param) {
  OrderedJson entry = OrderedJson::object();
  entry["name"] = param.name;
  entry["latin"] = Transliterated(param.name);
  entry["type"] = VarTypeName(param.type);
  entry["mode"] = param.mode == PassingMode::ByRef ? "ByRef" : "ByVal";
  entry["optional"] = param.optional;
  // What an omitted optional takes (null for a required parameter and for a Range's Nothing).
  entry["default"] = param.optional && param.type != VarType::Range
                         ? VariantToJson(DefaultArgument(param))
                         : OrderedJson(nullptr);
  entry["meaning"] = param.doc.meaning;
  entry["unit"] = param.doc.unit;
  entry["codes"] = CodesJson(param.doc);
  return entry;
}

OrderedJson MethodJson(const MethodInfo& method) {
  OrderedJson entry = OrderedJson::object();
  entry["name"] = method.name;
  entry["latin"] = Transliterated(method.name);
  entry["dispid"] = method.dispid;
  entry["result"] = method.result == VarType::Double ? "Double" : "Variant";
  entry["summary"] = method.summary;
  entry["result_meaning"] = method.result_meaning;
  entry["example"] = method.example;
  entry["built"] = method.routine != nullptr;
  OrderedJson params = OrderedJson::array();
  for (const ParamInfo& param : method.params) params.push_back(ParamJson(param));
  entry["params"] = std::move(params);
  return entry;
}

}  // namespace

std::string MethodListJson() {
  OrderedJson methods = OrderedJson::array();
  for (const MethodInfo& method : Methods()) methods.push_back(MethodJson(method));
  OrderedJson list = OrderedJson::object();
  list["version"] = kArmocalcVersion;
  list["methods"] = std::move(methods);
  return DumpLine(list) + '\n';
}

}  // namespace armocalc::cli
