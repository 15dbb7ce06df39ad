#pragma once
// The installer's fixed texts: captions and messages of the dialog, file and folder names,
// registry keys and values. All UTF-8.

#include <string_view>

namespace armocalc::setup {

inline constexpr std::string_view kWindowTitle = "Установка модуля KelvorVBA v. 3.7";
inline constexpr std::string_view kFrameCaption = "Установка надстройки KelvorVBA";
inline constexpr std::string_view kFolderLabel = "Загрузочный каталог Excel определён как: ";
inline constexpr std::string_view kInstallCaption = "Обновить/Установить";
inline constexpr std::string_view kRemoveCaption = "Удалить";
inline constexpr std::string_view kCloseExcel = "Необходимо закрыть Microsoft Excel!";
inline constexpr std::string_view kInstalled = "Установка успешно завершена!";
inline constexpr std::string_view kExcelWord = "Excel";
inline constexpr std::string_view kLibrarySource = "\\Armocalc.dll";
inline constexpr std::string_view kWorkbookSource = "\\xls.xls";
inline constexpr std::string_view kWorkbookDestination = "\\KelvorVBA.xls";
inline constexpr std::string_view kDescriptionSource = "\\xls.txt";
inline constexpr std::string_view kDescriptionFolder = "\\Description";
inline constexpr std::string_view kDescriptionDestination = "\\Description\\KelvorVBA.txt";
inline constexpr std::string_view kClsidPrefix = "CLSID\\";
inline constexpr std::string_view kClassTitle = "KelvorVBA.ClassBrige";
inline constexpr std::string_view kAppIdValue = "AppID";
inline constexpr std::string_view kImplementedCategories = "\\Implemented Categories\\";
inline constexpr std::string_view kAutomationCategory = "{40FC6ED5-2438-11CF-A3DB-080036F12502}";
inline constexpr std::string_view kInprocServer = "\\InprocServer32";
inline constexpr std::string_view kThreadingModelValue = "ThreadingModel";
inline constexpr std::string_view kApartment = "Apartment";
inline constexpr std::string_view kProgIdKey = "\\ProgID";
inline constexpr std::string_view kProgIdData = "KelvorVBA.ClassQorn";
inline constexpr std::string_view kTypeLibKey = "\\TypeLib";
inline constexpr std::string_view kVersionKey = "\\VERSION";
inline constexpr std::string_view kVersionData = "1.0";
inline constexpr std::string_view kUserKey = "Software\\Qorn\\Armocalc";
inline constexpr std::string_view kDocumentsAndSettings = ":\\Documents and Settings\\";
inline constexpr std::string_view kXlstartTail = "\\Application Data\\Microsoft\\Excel\\XLSTART";

// The 64-bit library sits in its own subfolder of the installer folder.
inline constexpr std::string_view kLibrary64Source = "\\x64\\Armocalc.dll";

}  // namespace armocalc::setup
