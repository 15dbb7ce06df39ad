// armocalc_server_client all <Armocalc.dll> <work folder>
//   Loads the registered server and checks its registration, type library, class factory and
//   unloading, IDispatch and v-table calls, and unregistration (registering it again at the end).
// armocalc_server_client separator <Armocalc.dll> <work folder> <separator>
//   Sets sDecimal of the regional settings, checks that a report follows it, restores it.

#include <cstdio>
#include <string>

#include "interface/windows/com_guids.hpp"
#include "interface/windows/platform.hpp"
#include "interface/windows/tests/client.hpp"

namespace client {
namespace {

int passed = 0;
int failed = 0;

}  // namespace

void Check(bool ok, std::string_view name, std::string_view detail) {
  if (ok) {
    ++passed;
    std::printf("PASS %.*s\n", static_cast<int>(name.size()), name.data());
  } else {
    ++failed;
    std::printf("FAIL %.*s: %.*s\n", static_cast<int>(name.size()), name.data(),
                static_cast<int>(detail.size()), detail.data());
  }
  std::fflush(stdout);
}

void Skip(std::string_view name, std::string_view reason) {
  std::printf("SKIP %.*s: %.*s\n", static_cast<int>(name.size()), name.data(),
              static_cast<int>(reason.size()), reason.data());
  std::fflush(stdout);
}

std::string Hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

HRESULT CreateObject(IDispatch** object) {
  return CoCreateInstance(armocalc::com::kClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(object));
}

}  // namespace client

int wmain(int argc, wchar_t** argv) {
  using namespace client;
  const bool separator_mode = argc == 5 && std::wstring(argv[1]) == L"separator";
  if (!(argc == 4 && std::wstring(argv[1]) == L"all") && !separator_mode) {
    std::fprintf(stderr,
                 "usage: armocalc_server_client all <Armocalc.dll> <work folder>\n"
                 "       armocalc_server_client separator <Armocalc.dll> <work folder> <sep>\n");
    return 2;
  }
  Server server;
  server.dll_path = argv[2];
  const std::wstring work_folder = argv[3];
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  server.module = LoadLibraryW(server.dll_path.c_str());
  Check(server.module != nullptr, "the server loads", "LoadLibrary failed");
  if (server.module == nullptr) return 1;
  auto resolve = [&](auto& entry, const char* name) {
    entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(
        reinterpret_cast<void*>(GetProcAddress(server.module, name)));
    Check(entry != nullptr, std::string("export ") + name, "missing");
  };
  resolve(server.get_class_object, "DllGetClassObject");
  resolve(server.can_unload_now, "DllCanUnloadNow");
  resolve(server.register_server, "DllRegisterServer");
  resolve(server.unregister_server, "DllUnregisterServer");
  if (!server.get_class_object || !server.can_unload_now || !server.register_server ||
      !server.unregister_server) {
    return 1;
  }

  if (separator_mode) {
    RunSeparatorChecks(work_folder, argv[4]);
  } else {
    RunRegistryChecks(server);
    RunLifetimeChecks(server);
    RunTypeLibraryChecks();
    RunDispatchChecks();
    RunVtableChecks();
    RunRangeChecks();
    RunUnregistrationChecks(server);
  }

  CoUninitialize();
  std::printf("client: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
