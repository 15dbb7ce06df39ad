#pragma once
// The platform headers of the automation layer, in the order they build on each other.

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>
#include <oleauto.h>
#include <dispex.h>
// clang-format on
