#pragma once
// The type library KelvorVBA 1.0, generated from the method table: the dual interface
// _ClassBrige (IDispatch, then the methods in table order, each returning an HRESULT with its
// result as the final out/retval parameter) and the creatable class ClassBrige.

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace armocalc::com {

// Builds the library; with a non-empty `file` it is also written there (the file name recorded
// in it). `library` receives the in-memory library.
HRESULT BuildTypeLibrary(const std::wstring& file, ITypeLib** library);

// The type description of _ClassBrige, from a library built in memory (always the one that
// matches this server's v-table, whatever is registered).
HRESULT ClassInterfaceTypeInfo(ITypeInfo** info);

}  // namespace armocalc::com
