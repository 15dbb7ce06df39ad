#pragma once
// Module state of the in-process server: the module handle and the counts of live objects and
// server locks that decide DllCanUnloadNow.

#include "interface/windows/platform.hpp"

namespace armocalc::com {

HMODULE ModuleHandle();
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool CanUnload();

}  // namespace armocalc::com
