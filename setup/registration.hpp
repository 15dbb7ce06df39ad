#pragma once
// The registry entries that make the class ClassBrige creatable, in the order they are written.

#include <string>
#include <string_view>
#include <vector>

#include "setup/platform.hpp"

namespace armocalc::setup {

struct RegistryEntry {
  RegistryRoot root;
  std::string key;
  std::string name;  // empty: the key's default value
  std::string data;
  bool key_only = false;  // the key is created, no value is set
};

// The entries for a library registered at `library_path`, identifiers in braced form.
std::vector<RegistryEntry> RegistrationEntries(const std::string& library_path);

// The class key "CLSID\{...}" under HKEY_CLASSES_ROOT for a class identifier.
std::string ClassKey(std::string_view clsid);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits.
bool IsBracedGuid(std::string_view text);

// "HKEY_CLASSES_ROOT\key" and the like, for messages and the log.
std::string RootName(RegistryRoot root);

}  // namespace armocalc::setup
