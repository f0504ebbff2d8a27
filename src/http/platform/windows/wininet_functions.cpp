// wininet.dll, loaded once and never unloaded.
#include "http/platform/windows/wininet_functions.h"

namespace kelvorat::wininet::windows {
namespace {

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
  if (module == nullptr) return;
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

const WinInetFunctions& SystemFunctions() {
  static const WinInetFunctions functions = [] {
    WinInetFunctions f;
    const HMODULE module = LoadLibraryW(L"wininet.dll");
    Bind(module, "InternetOpenA", f.open);
    Bind(module, "InternetConnectA", f.connect);
    Bind(module, "HttpOpenRequestA", f.openRequest);
    Bind(module, "InternetSetOptionA", f.setOption);
    Bind(module, "HttpSendRequestA", f.send);
    Bind(module, "InternetQueryDataAvailable", f.queryDataAvailable);
    Bind(module, "InternetReadFile", f.read);
    Bind(module, "HttpQueryInfoA", f.query);
    Bind(module, "InternetCloseHandle", f.close);
    Bind(module, "InternetSetStatusCallbackA", f.setStatusCallback);
    return f;
  }();
  return functions;
}

}  // namespace kelvorat::wininet::windows
