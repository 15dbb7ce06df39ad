#pragma once
// Identifiers of the automation class, shared by the server's registration and the installer.

#include <string_view>

namespace armocalc::ids {

inline constexpr std::string_view kProgId = "KelvorVBA.ClassBrige";
inline constexpr std::string_view kClassName = "ClassBrige";
inline constexpr std::string_view kInterfaceName = "_ClassBrige";
inline constexpr std::string_view kTypeLibraryName = "KelvorVBA";
inline constexpr unsigned short kTypeLibraryMajor = 1;
inline constexpr unsigned short kTypeLibraryMinor = 0;
inline constexpr std::string_view kLibraryFile = "Armocalc.dll";

// Registry-form GUIDs (with braces).
inline constexpr std::string_view kClsid = "{D68FD521-7D52-4014-AB49-0841D1600827}";
inline constexpr std::string_view kInterfaceIid = "{691C635D-2866-4CE5-80EC-B6F3CA5DFAA5}";
inline constexpr std::string_view kTypeLibraryId = "{587B4B41-160B-46A5-9F5B-E80B16616DC7}";

}  // namespace armocalc::ids
