#pragma once
// Whether Microsoft Excel is running, judged by the titles of the top-level windows.

#include <string>
#include <string_view>
#include <vector>

namespace armocalc::setup {

// True when a title (taken up to its first NUL) contains `word`, case-sensitive. Every title is
// looked at, however many windows there are.
bool AnyTitleContains(const std::vector<std::string>& titles, std::string_view word);

// The test with the word "Excel".
bool ExcelIsRunning(const std::vector<std::string>& titles);

}  // namespace armocalc::setup
