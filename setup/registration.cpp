#include "setup/registration.hpp"

#include "runtime/identifiers.hpp"
#include "setup/texts.hpp"

namespace armocalc::setup {

std::string ClassKey(std::string_view clsid) {
  return std::string(kClsidPrefix) + std::string(clsid);
}

std::vector<RegistryEntry> RegistrationEntries(const std::string& library_path) {
  const std::string clsid(ids::kClsid);
  const std::string key = ClassKey(clsid);
  const RegistryRoot hkcr = RegistryRoot::kClassesRoot;
  return {
      {hkcr, key, "", std::string(kClassTitle)},
      {hkcr, key, std::string(kAppIdValue), clsid},
      {hkcr, key + std::string(kImplementedCategories) + std::string(kAutomationCategory), "", "",
       true},
      {hkcr, key + std::string(kInprocServer), "", library_path},
      {hkcr, key + std::string(kInprocServer), std::string(kThreadingModelValue),
       std::string(kApartment)},
      {hkcr, key + std::string(kProgIdKey), "", std::string(kProgIdData)},
      {hkcr, key + std::string(kTypeLibKey), "", std::string(ids::kTypeLibraryId)},
      {hkcr, key + std::string(kVersionKey), "", std::string(kVersionData)},
      {RegistryRoot::kCurrentUser, std::string(kUserKey), std::string(kAppIdValue), clsid},
  };
}

bool IsBracedGuid(std::string_view text) {
  constexpr std::string_view kPattern = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != kPattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (kPattern[i] == 'X' ? !hex : c != kPattern[i]) return false;
  }
  return true;
}

std::string RootName(RegistryRoot root) {
  return root == RegistryRoot::kClassesRoot ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
}

}  // namespace armocalc::setup
