// The in-process server's entry points: DllMain, DllGetClassObject, DllCanUnloadNow and the
// class factory of ClassBrige.

#include "interface/windows/server.hpp"

#include <new>

#include "interface/windows/class_brige.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/platform.hpp"
#include "interface/windows/registry.hpp"

namespace armocalc::com {
namespace {

HMODULE module_handle = nullptr;
LONG live_objects = 0;  // objects and class factories
LONG server_locks = 0;

class ClassFactory final : public IClassFactory {
 public:
  ClassFactory() { ObjectCreated(); }
  ~ClassFactory() { ObjectDestroyed(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    try {
      InstallRegistryDecimalSeparator();
      return ClassBrige::Create(riid, out);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    com::LockServer(lock != FALSE);
    return S_OK;
  }

 private:
  LONG references_ = 1;
};

}  // namespace

HMODULE ModuleHandle() {
  return module_handle;
}
void ObjectCreated() {
  InterlockedIncrement(&live_objects);
}
void ObjectDestroyed() {
  InterlockedDecrement(&live_objects);
}
void LockServer(bool lock) {
  if (lock) {
    InterlockedIncrement(&server_locks);
  } else {
    InterlockedDecrement(&server_locks);
  }
}
bool CanUnload() {
  return InterlockedCompareExchange(&live_objects, 0, 0) == 0 &&
         InterlockedCompareExchange(&server_locks, 0, 0) == 0;
}

}  // namespace armocalc::com

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) armocalc::com::module_handle = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  using armocalc::com::ClassFactory;
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, armocalc::com::kClassId)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) ClassFactory();
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  return armocalc::com::CanUnload() ? S_OK : S_FALSE;
}
