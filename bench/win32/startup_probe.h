// Shared by the Win32 start-up tools: notes the wall-clock time of a window's
// first paint, then, after a quiet second, the process's working set, writes
// both as "shown_ns=<ns since the epoch> rss_kb=<kB>" to a file (a windowed
// program has no standard output) and closes the window. The window is
// subclassed: its own procedure runs first for every message.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <cstdio>

namespace startup_probe {

constexpr UINT_PTR kIdleTimer = 0x5EED;  // clear of the window's own timer ids

struct State {
  WNDPROC original = nullptr;
  const wchar_t* outPath = nullptr;
  long long shownNs = 0;
};

inline State& Probe() {
  static State state;
  return state;
}

inline long long NowNs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);  // 100 ns units since 1601
  const auto ticks = static_cast<long long>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
                                            now.dwLowDateTime);
  return (ticks - 116444736000000000LL) * 100;
}

inline void Report(HWND window) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  const long kb = GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
                      ? static_cast<long>(counters.WorkingSetSize / 1024)
                      : -1;
  if (FILE* out = _wfopen(Probe().outPath, L"w")) {
    std::fprintf(out, "shown_ns=%lld rss_kb=%ld\n", Probe().shownNs, kb);
    std::fclose(out);
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
}

inline LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kIdleTimer) {
    KillTimer(window, kIdleTimer);
    Report(window);
    return 0;
  }
  const LRESULT result = CallWindowProcW(Probe().original, window, message, wParam, lParam);
  if (message == WM_PAINT && Probe().shownNs == 0) {
    Probe().shownNs = NowNs();
    SetTimer(window, kIdleTimer, 1000, nullptr);
  }
  return result;
}

// Watches window; the report goes to outPath, which must outlive the window.
inline void Watch(HWND window, const wchar_t* outPath) {
  Probe().outPath = outPath;
  Probe().original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProbeProc)));
}

}  // namespace startup_probe
