#pragma once
// The type library KelvorVBA 1.0, generated from the method table: the dual interface
// _ClassBrige (IDispatch, then the methods in table order, each returning an HRESULT with its
// result as the final out/retval parameter) and the creatable class ClassBrige. A Range
// parameter is declared as IDispatch: Excel's own type library is not ours to reference or to
// register, and its Range interface derives from IDispatch, so callers pass the same pointer.

#include <string>

#include "interface/windows/platform.hpp"

namespace armocalc::com {

// How recorded defaults are stored. Exact keeps each default in its parameter's own type. Wine's
// type-library writer cannot store Double defaults (the functions that have one become
// unreadable), so a library written there keeps them as Long when whole and as Single otherwise,
// and Boolean ones as Integer; callers convert them to the parameter's type as usual.
enum class DefaultEncoding { Exact, WineWriter };

// Builds the library; with a non-empty `file` it is also written there (the file name recorded
// in it). `library` receives the in-memory library.
HRESULT BuildTypeLibrary(const std::wstring& file, DefaultEncoding encoding, ITypeLib** library);

// Writes the library to `file`, reads it back and checks every method and recorded default; when
// the platform's writer loses defaults the library is written again with DefaultEncoding::
// WineWriter. `library` receives the library as loaded from the file.
HRESULT WriteTypeLibrary(const std::wstring& file, ITypeLib** library);

// The type description of _ClassBrige, from a library built in memory (always the one that
// matches this server's v-table, whatever is registered).
HRESULT ClassInterfaceTypeInfo(ITypeInfo** info);

}  // namespace armocalc::com
