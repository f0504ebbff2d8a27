// The main window: every control of the table as a Win32 child window, the
// tab control owning one page window per tab, group boxes owning theirs.
#include "monitor/win32/main_window.h"

#include <commctrl.h>

#include "monitor/control_names.h"
#include "monitor/win32/pictures.h"
#include "monitor/win32/wide_text.h"

namespace kelvorat::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KelvoratMainWindow";
constexpr wchar_t kPageClass[] = L"KelvoratTabPage";
constexpr wchar_t kPictureClass[] = L"KelvoratPictureBox";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kGroupBoxSubclassId = 1;
// A handler put off while the thread waits on the network, posted to the
// window (wParam: its MainWindow::Handler); a private message, held while
// waiting as every one of its kind is.
constexpr UINT kDeferredHandler = WM_APP + 1;
// At most this many messages of each kind per DispatchWhileWaiting, so that a
// window that never stops invalidating itself cannot hold the thread.
constexpr int kMostWhileWaiting = 200;
// Control identifiers start above IDOK and IDCANCEL, which the dialog keys
// send for Enter and Esc.
constexpr int kFirstControlId = 100;
// Drop-down lists: the closed box is the table's height; the list that drops
// below it gets this much room.
constexpr int kDropDownListRoom = 120;

COLORREF ToColorRef(Rgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

// Posted messages that must wait for the pending-events step while the
// thread waits on the network: user input, what it turns into (clicks,
// commands, the close button), timers, quitting, and private messages, whose
// effect is unknown.
bool IsHeldWhileWaiting(UINT message) {
  if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return true;
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) return true;
  if (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) return true;
  if (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE) return true;
  if (message >= WM_USER && message <= 0xBFFF) return true;
  switch (message) {
    case WM_INPUT:
    case WM_HOTKEY:
    case WM_APPCOMMAND:
    case WM_CONTEXTMENU:
    case WM_TIMER:
    case 0x0118:  // WM_SYSTIMER: the caret's blink and the like
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case BM_CLICK:
    case WM_CLOSE:
    case WM_QUIT:
      return true;
    default:
      return false;
  }
}

// Pages and group boxes hand what their controls report (clicks, colours,
// notifications) up to the main window, which handles them all.
bool IsForwarded(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsForwarded(message)) return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

// Group boxes: forwarding as pages do, and a white background, which a
// group box does not paint itself.
LRESULT CALLBACK GroupBoxSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
  if (IsForwarded(message)) return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
  if (message == WM_ERASEBKGND) {
    RECT area;
    GetClientRect(window, &area);
    FillRect(reinterpret_cast<HDC>(wParam), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return 1;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// A picture box: its bitmap (GWLP_USERDATA) stretched over the whole box,
// proportions not kept.
LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT box;
    GetClientRect(window, &box);
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA));
    BITMAP size{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof size, &size) != 0) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ previous = SelectObject(source, bitmap);
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, 0, 0, box.right, box.bottom, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
      SelectObject(source, previous);
      DeleteDC(source);
    } else {
      FillRect(dc, &box, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;  // the picture covers the whole box
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

MainWindow::~MainWindow() {
  if (window_ != nullptr) {
    KillTimer(window_, kTimerId);
    DestroyWindow(window_);
  }
  for (HBITMAP bitmap : bitmaps_) DeleteObject(bitmap);
  for (HFONT font : ownFonts_) DeleteObject(font);
  for (auto& [colour, brush] : backgroundBrushes_) DeleteObject(brush);
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool MainWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  bigIcon_ = static_cast<HICON>(LoadImageW(instance, L"KELVORAT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(instance, L"KELVORAT_ICON", IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &MainWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = bigIcon_;
  windowClass.hIconSm = smallIcon_;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);  // already registered by an earlier window: fine

  WNDCLASSEXW pageClass = windowClass;
  pageClass.lpfnWndProc = &PageProc;
  pageClass.hIcon = nullptr;
  pageClass.hIconSm = nullptr;
  pageClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  pageClass.lpszClassName = kPageClass;
  RegisterClassExW(&pageClass);

  WNDCLASSEXW pictureClass = pageClass;
  pictureClass.lpfnWndProc = &PictureProc;
  pictureClass.lpszClassName = kPictureClass;
  RegisterClassExW(&pictureClass);

  guiFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  whiteBrush_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

  const WindowSpec& spec = MainWindowSpec();
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - spec.outerWidth) / 2;
  const int top = work.top + (work.bottom - work.top - spec.outerHeight) / 2;
  // A fixed frame: no sizing border, no maximize button.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, WideFromUtf8(spec.title).c_str(), style, left, top,
                            spec.outerWidth, spec.outerHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  BuildControls();
  return true;
}

void MainWindow::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

HWND MainWindow::Control(std::string_view name) const {
  const auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

bool MainWindow::IsEditBox(HWND control) const { return edits_.contains(control); }

bool MainWindow::IsMultiLine(HWND control) const {
  const auto found = edits_.find(control);
  return found != edits_.end() && found->second->multiLine;
}

void MainWindow::BindHandlers(WindowHandlers handlers) { handlers_ = std::move(handlers); }

void MainWindow::BuildControls() {
  int id = kFirstControlId;
  for (const ControlSpec& spec : MainWindowControls()) {
    ++id;
    if (spec.kind == ControlKind::kTimer) {
      SetTimerPeriod(spec.timerPeriod);  // window-wide: SetTimer on the main window
      continue;
    }
    HWND parent = spec.parent.empty() ? window_ : Control(spec.parent);
    int left = spec.left, top = spec.top;
    if (parent == tabs_ && tabs_ != nullptr && spec.page > 0 && spec.page <= static_cast<int>(pages_.size())) {
      // Placed relative to the tab control's rectangle, owned by the page.
      parent = pages_[static_cast<std::size_t>(spec.page - 1)];
      RECT page;
      GetWindowRect(parent, &page);
      MapWindowPoints(HWND_DESKTOP, tabs_, reinterpret_cast<POINT*>(&page), 2);
      left -= page.left;
      top -= page.top;
    }
    HWND control = MakeControl(spec, parent, left, top, id);
    if (control == nullptr) continue;
    controls_.emplace(std::string(spec.name), control);
  }
  ShowPage(0);
}

HWND MainWindow::MakeControl(const ControlSpec& spec, HWND parent, int left, int top, int id) {
  const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  const std::wstring text = WideFromUtf8(spec.text);
  HWND control = nullptr;
  HFONT font = guiFont_;
  switch (spec.kind) {
    case ControlKind::kTabControl: {
      control = CreateWindowExW(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, left, top, spec.width,
                                spec.height, parent, menu, instance_, nullptr);
      tabs_ = control;
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont_), FALSE);
      int index = 0;
      for (std::string_view page : spec.items) {
        std::wstring caption = WideFromUtf8(page);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(control, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
      }
      // Each page is a window of the tab control covering its display area.
      RECT area{0, 0, spec.width, spec.height};
      SendMessageW(control, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
      for (std::size_t i = 0; i < spec.items.size(); ++i) {
        pages_.push_back(CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPCHILDREN,
                                         area.left, area.top, area.right - area.left, area.bottom - area.top,
                                         control, nullptr, instance_, nullptr));
      }
      return control;
    }
    case ControlKind::kGroupBox:
      control = CreateWindowExW(WS_EX_CONTROLPARENT, L"BUTTON", text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | BS_GROUPBOX, left, top, spec.width,
                                spec.height, parent, menu, instance_, nullptr);
      if (control != nullptr) {
        SetWindowSubclass(control, &GroupBoxSubclass, kGroupBoxSubclassId, 0);
        groupBoxes_.push_back(control);
      }
      break;
    case ControlKind::kEditBox: {
      const EditSettings& settings = spec.edit;
      DWORD style = WS_CHILD | WS_VISIBLE;
      DWORD exStyle = 0;
      if (settings.multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
      } else {
        style |= ES_AUTOHSCROLL;
      }
      if (settings.border == EditBorder::kSunken) {
        exStyle |= WS_EX_CLIENTEDGE;
      } else {
        style |= WS_BORDER;
      }
      if (settings.readOnly) style |= ES_READONLY;
      if (!settings.enabled) style |= WS_DISABLED;
      if (settings.tabStop) style |= WS_TABSTOP;
      control = CreateWindowExW(exStyle, L"EDIT", text.c_str(), style, left, top, spec.width, spec.height, parent,
                                menu, instance_, nullptr);
      if (control == nullptr) break;
      if (settings.unlimitedLength) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // 0: the largest limit
      edits_.emplace(control, &settings);
      if (!settings.fontFamily.empty()) {
        LOGFONTW logFont{};
        logFont.lfHeight = -settings.fontPixelHeight;  // negative: character height, not cell height
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = GB2312_CHARSET;
        logFont.lfQuality = DEFAULT_QUALITY;
        const std::wstring family = WideFromUtf8(settings.fontFamily);
        lstrcpynW(logFont.lfFaceName, family.c_str(), LF_FACESIZE);
        font = CreateFontIndirectW(&logFont);
        ownFonts_.push_back(font);
      }
      break;
    }
    case ControlKind::kDropDownList: {
      control = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                left, top, spec.width, spec.height + kDropDownListRoom, parent, menu, instance_,
                                nullptr);
      if (control == nullptr) break;
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont_), FALSE);
      for (std::string_view item : spec.items) {
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(item).c_str()));
      }
      // The closed box as high as the table says, as far as the system lets
      // it: the selection field's height is what can be set, the frame
      // around it is the system's, so the field is corrected by what the box
      // measures. (wine's themed box keeps the height its font needs.)
      LRESULT field = SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
      for (int attempt = 0; attempt < 3 && field > 0; ++attempt) {
        RECT closed;
        GetWindowRect(control, &closed);
        const int difference = spec.height - (closed.bottom - closed.top);
        if (difference == 0) break;
        field += difference;
        SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
      }
      SendMessageW(control, CB_SETCURSEL, spec.items.empty() ? static_cast<WPARAM>(-1) : 0, 0);
      break;
    }
    case ControlKind::kPushButton:
      control = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                left, top, spec.width, spec.height, parent, menu, instance_, nullptr);
      if (spec.name == controls::kStartButton) startId_ = id;
      if (spec.name == controls::kStopButton) stopId_ = id;
      break;
    case ControlKind::kPictureBox: {
      control = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE, left, top, spec.width, spec.height,
                                parent, menu, instance_, nullptr);
      HBITMAP bitmap = LoadPngResource(instance_, PictureResourceName(spec.picture));
      if (bitmap != nullptr) {
        bitmaps_.push_back(bitmap);
        if (control != nullptr) SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
      }
      return control;
    }
    case ControlKind::kTimer:
      return nullptr;
  }
  if (control != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

int MainWindow::CurrentPage() const {
  return tabs_ == nullptr ? -1 : static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
}

void MainWindow::SelectPage(int page) {
  if (tabs_ == nullptr) return;
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  ShowPage(CurrentPage());
}

void MainWindow::ShowPage(int page) {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    ShowWindow(pages_[i], static_cast<int>(i) == page ? SW_SHOW : SW_HIDE);
  }
}

void MainWindow::SetTimerPeriod(int milliseconds) {
  if (window_ == nullptr || closed_) return;
  if (milliseconds <= 0) {
    KillTimer(window_, kTimerId);
    timerPeriod_ = 0;
  } else if (milliseconds != timerPeriod_) {
    // Replacing a timer of the same id restarts it: the first event one full period from now.
    SetTimer(window_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
    timerPeriod_ = milliseconds;
  }
}

void MainWindow::Dispatch(MSG& message) {
  if (window_ != nullptr && IsDialogMessageW(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void MainWindow::ProcessPendingEvents() {
  MSG message;
  while (!closed_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the event loop ends on it
      return;
    }
    Dispatch(message);
  }
}

// Nothing here peeks at input, so the input queue is left as it was; a
// posted message held back stops the posted ones behind it, which keep
// their order for the pending-events step.
void MainWindow::DispatchWhileWaiting() {
  if (waiting_) return;
  waiting_ = true;
  MSG message;
  // Messages sent from other threads are delivered inside PeekMessage.
  for (int n = 0; n < kMostWhileWaiting && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++n) {
    DispatchMessageW(&message);
  }
  for (int n = 0; n < kMostWhileWaiting; ++n) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) break;
    if (IsHeldWhileWaiting(message.message)) break;
    // The one just seen: the first posted message of its kind.
    if (!PeekMessageW(&message, nullptr, message.message, message.message, PM_REMOVE | PM_QS_POSTMESSAGE)) break;
    DispatchMessageW(&message);
  }
  waiting_ = false;
}

void MainWindow::Call(Handler handler) {
  static constexpr std::function<void()> WindowHandlers::*kHandlers[] = {
      &WindowHandlers::startClicked, &WindowHandlers::stopClicked, &WindowHandlers::timerFired};
  if (closed_) return;
  if (waiting_) {
    PostMessageW(window_, kDeferredHandler, static_cast<WPARAM>(handler), 0);
    return;
  }
  // A copy: the handler may rebind the handlers while it runs.
  const std::function<void()> call = handlers_.*kHandlers[handler];
  if (call) call();
}

LRESULT MainWindow::ControlColours(HDC dc, HWND control, UINT message) {
  const auto edit = edits_.find(control);
  if (edit != edits_.end() && edit->second->ownColours && IsWindowEnabled(control)) {
    const EditSettings& settings = *edit->second;
    SetTextColor(dc, ToColorRef(settings.textColour));
    const COLORREF background = ToColorRef(settings.backgroundColour);
    SetBkColor(dc, background);
    HBRUSH& brush = backgroundBrushes_[background];
    if (brush == nullptr) brush = CreateSolidBrush(background);
    return reinterpret_cast<LRESULT>(brush);
  }
  for (HWND group : groupBoxes_) {
    if (group == control) {
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(whiteBrush_);
    }
  }
  return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        const int id = LOWORD(wParam);
        if (id == startId_) Call(kStartClicked);
        if (id == stopId_) Call(kStopClicked);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId) Call(kTimerFired);
      return 0;
    case kDeferredHandler:
      if (wParam <= static_cast<WPARAM>(kTimerFired)) Call(static_cast<Handler>(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) ShowPage(CurrentPage());
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);
    case WM_CLOSE:
      // Never refused. The window only hides; it is destroyed after the loop.
      if (!closed_) {
        closed_ = true;
        KillTimer(window_, kTimerId);
        timerPeriod_ = 0;
        ShowWindow(window_, SW_HIDE);
        PostQuitMessage(0);
      }
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace kelvorat::win32
