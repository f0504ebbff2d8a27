// Pictures of every page of the Win32 main window, as the screen shows them:
// page-1.png, page-2.png and page-3.png in the folder given (a Windows path),
// and message-box.png: the box of a start refused for want of a domain.
//
//     window_screenshot_tool.exe Z:\tmp\shots
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdio>
#include <string>
#include <vector>

#include "monitor/monitor_texts.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/win32_monitor_window.h"

namespace {

// Lets the window draw itself: dispatches messages for a while.
void Settle(kelvorat::win32::MainWindow& window, DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  while (GetTickCount() < until) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) window.Dispatch(message);
    Sleep(10);
  }
}

// The screen's pixels under the window's rectangle, written as a PNG.
bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  auto* pixels = static_cast<BYTE*>(bits);
  for (int i = 0; i < width * height; ++i) pixels[i * 4 + 3] = 255;  // opaque

  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  const UINT stride = static_cast<UINT>(width) * 4;
  const bool ok =
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
      SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
      SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
      SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height), pixels)) &&
      SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  if (frame != nullptr) frame->Release();
  if (encoder != nullptr) encoder->Release();
  if (stream != nullptr) stream->Release();
  if (factory != nullptr) factory->Release();
  DeleteObject(bitmap);
  return ok;
}

struct MessageBoxShot {
  std::wstring path;
  bool saved = false;
};

// Waits for the message box (the dialog class, titled "提示"), takes its
// picture once it has drawn itself and dismisses it.
DWORD WINAPI PhotographMessageBox(void* parameter) {
  auto* shot = static_cast<MessageBoxShot*>(parameter);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (int i = 0; i < 500; ++i) {
    if (HWND box = FindWindowW(L"#32770", L"\x63D0\x793A")) {
      Sleep(700);
      shot->saved = SaveWindowPicture(box, shot->path);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      CoUninitialize();
      return 0;
    }
    Sleep(20);
  }
  CoUninitialize();
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_screenshot_tool <folder>\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  kelvorat::win32::MainWindow window;
  if (!window.Create(GetModuleHandleW(nullptr))) return 1;
  window.Show();
  SetForegroundWindow(window.Handle());
  int failures = 0;
  for (int page = 0; page < 3; ++page) {
    window.SelectPage(page);
    Settle(window, 700);
    const std::wstring path = std::wstring(argv[1]) + L"\\page-" + std::to_wstring(page + 1) + L".png";
    if (!SaveWindowPicture(window.Handle(), path)) ++failures;
  }

  window.SelectPage(0);
  Settle(window, 300);
  MessageBoxShot shot{std::wstring(argv[1]) + L"\\message-box.png"};
  HANDLE photographer = CreateThread(nullptr, 0, &PhotographMessageBox, &shot, 0, nullptr);
  kelvorat::win32::Win32MonitorWindow operations(window);
  operations.ShowMessageBox(kelvorat::monitor_texts::kFillInDomain, kelvorat::monitor_texts::kNoticeTitle);
  if (photographer != nullptr) {
    WaitForSingleObject(photographer, INFINITE);
    CloseHandle(photographer);
  }
  if (!shot.saved) ++failures;
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
