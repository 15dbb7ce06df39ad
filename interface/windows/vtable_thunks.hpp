#pragma once
// The v-table entries of the methods of the dual interface. Each entry is a small machine-code
// stub that records its slot and jumps to a common one; that one collects the native arguments
// (stdcall on i686, the Microsoft x64 convention on x86_64) and calls the decoder, which reads
// them by the method table's types and passing modes and runs the same call as IDispatch::Invoke.

#include <cstddef>

namespace armocalc::com {

using VtableEntry = void (*)();

inline constexpr size_t kMaxVtableMethods = 32;

// The v-table entry of the method with this index in the table (below kMaxVtableMethods).
VtableEntry MethodVtableEntry(size_t method_index);

}  // namespace armocalc::com
