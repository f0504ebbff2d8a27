// The program's main window over Win32 and the common controls, built whole
// from the control table. Closing it only hides it and ends the event loop;
// the window is destroyed with this object, so a handler still running in a
// nested event dispatch never touches a destroyed control.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/control_table.h"
#include "monitor/monitor_window.h"

namespace kelvorat::win32 {

class MainWindow {
 public:
  MainWindow() = default;
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window with every control of the table, centred on the
  // primary screen's work area, page 1 selected, not yet shown. False when
  // the window could not be created. COM and the common controls must be
  // initialized on this thread.
  bool Create(HINSTANCE instance);
  void Show();

  [[nodiscard]] HWND Handle() const { return window_; }
  // The control of that name; nullptr for an unknown name and for the timer.
  [[nodiscard]] HWND Control(std::string_view name) const;
  [[nodiscard]] bool IsEditBox(HWND control) const;
  [[nodiscard]] bool IsMultiLine(HWND control) const;
  // Replaces the handlers the two buttons and the timer call.
  void BindHandlers(WindowHandlers handlers);
  // True once the window got its close request.
  [[nodiscard]] bool IsClosed() const { return closed_; }

  // 0 stops the timer; a positive value that differs from the current one
  // (re)starts it; the same value changes nothing. Ignored once closed.
  void SetTimerPeriod(int milliseconds);
  [[nodiscard]] int TimerPeriod() const { return timerPeriod_; }

  // 0-based page of the tab control shown now; SelectPage shows another, as
  // a click on its tab would.
  [[nodiscard]] int CurrentPage() const;
  void SelectPage(int page);

  // Hands one message to the window the way the event loop does, dialog
  // keys (Tab between the controls) included.
  void Dispatch(MSG& message);
  // Dispatches every message already waiting, then returns; stops early when
  // the program is asked to quit (the quit request is left for the loop).
  void ProcessPendingEvents();
  // While the thread waits on the network: repaints and dispatches messages
  // sent to the thread and posted ones that are not user input, in their
  // order. User input, the close button, timers and posted clicks stay
  // queued for the next ProcessPendingEvents, and so does everything posted
  // after them; a handler reached meanwhile is put off to then.
  void DispatchWhileWaiting();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void BuildControls();
  HWND MakeControl(const ControlSpec& spec, HWND parent, int left, int top, int id);
  void ShowPage(int page);
  // The handlers by number, so that a put-off call fits in a message.
  enum Handler : int { kStartClicked, kStopClicked, kTimerFired };
  void Call(Handler handler);
  LRESULT ControlColours(HDC dc, HWND control, UINT message);

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  std::vector<HWND> pages_;
  std::map<std::string, HWND, std::less<>> controls_;
  std::map<HWND, const EditSettings*> edits_;
  std::vector<HWND> groupBoxes_;
  std::vector<HBITMAP> bitmaps_;
  HFONT guiFont_ = nullptr;
  std::vector<HFONT> ownFonts_;
  HBRUSH whiteBrush_ = nullptr;
  std::map<COLORREF, HBRUSH> backgroundBrushes_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  int startId_ = 0;
  int stopId_ = 0;
  int timerPeriod_ = 0;
  WindowHandlers handlers_;
  bool closed_ = false;
  bool waiting_ = false;  // inside DispatchWhileWaiting
};

}  // namespace kelvorat::win32
