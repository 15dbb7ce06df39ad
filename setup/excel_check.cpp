#include "setup/excel_check.hpp"

#include "setup/texts.hpp"

namespace armocalc::setup {

namespace {

std::string_view UpToFirstNul(std::string_view title) {
  return title.substr(0, title.find('\0'));
}

}  // namespace

bool AnyTitleContains(const std::vector<std::string>& titles, std::string_view word) {
  for (const std::string& title : titles) {
    if (UpToFirstNul(title).find(word) != std::string_view::npos) return true;
  }
  return false;
}

bool ExcelIsRunning(const std::vector<std::string>& titles) {
  return AnyTitleContains(titles, kExcelWord);
}

}  // namespace armocalc::setup
