#pragma once
// The native test client of Armocalc.dll: shared helpers. Every check prints one line,
// "PASS <name>" or "FAIL <name>: <detail>", which the test driver counts.

#include <string>
#include <string_view>

#include "interface/windows/platform.hpp"

namespace client {

void Check(bool ok, std::string_view name, std::string_view detail = {});
void Skip(std::string_view name, std::string_view reason);
std::string Hex(long value);
std::string Narrow(std::wstring_view text);  // UTF-8
std::wstring Wide(std::string_view utf8);

template <class T>
class Ptr {
 public:
  Ptr() = default;
  explicit Ptr(T* p) : p_(p) {}
  ~Ptr() { reset(); }
  Ptr(const Ptr&) = delete;
  Ptr& operator=(const Ptr&) = delete;
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T** out() {
    reset();
    return &p_;
  }
  void** void_out() { return reinterpret_cast<void**>(out()); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Var {
 public:
  Var() { VariantInit(&v_); }
  ~Var() { VariantClear(&v_); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// The server under test.
struct Server {
  std::wstring dll_path;
  HMODULE module = nullptr;
  HRESULT(STDAPICALLTYPE* get_class_object)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* can_unload_now)() = nullptr;
  HRESULT(STDAPICALLTYPE* register_server)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregister_server)() = nullptr;
};

void RunRegistryChecks(const Server& server);
void RunUnregistrationChecks(const Server& server);
void RunTypeLibraryChecks();
void RunLifetimeChecks(const Server& server);
void RunDispatchChecks();
void RunVtableChecks();
void RunRangeChecks();
void RunSeparatorChecks(const std::wstring& work_folder, const std::wstring& separator);

// A fresh ClassBrige created through the registration.
HRESULT CreateObject(IDispatch** object);

}  // namespace client
