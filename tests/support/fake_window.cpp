#include "fake_window.h"

#include <algorithm>

#include "monitor/control_names.h"
#include "monitor/control_table.h"

namespace kelvorat::testing {

FakeWindow::FakeWindow() {
  texts[std::string(controls::kDomainEdit)] = "example.com";
  texts[std::string(controls::kCodeEdit)] = "Rb8nQe2";
  texts[std::string(controls::kFrequencyList)] = "60\xC3\xEB";  // 60秒
  texts[std::string(controls::kInterfaceList)] = "\xA2\xD9\xBA\xC5\xBD\xD3\xBF\xDA";  // ①号接口
  selectedIndex[std::string(controls::kFrequencyList)] = 0;
  selectedIndex[std::string(controls::kInterfaceList)] = 0;
  for (auto control : {controls::kDomainEdit, controls::kCodeEdit, controls::kStartButton,
                       controls::kStopButton}) {
    enabled[std::string(control)] = true;
  }
}

Text FakeWindow::ReadText(std::string_view control) {
  NoteTouch();
  auto it = texts.find(control);
  return it == texts.end() ? Text() : it->second;
}

namespace {

bool IsSingleLineBox(std::string_view control) {
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.name == control) return spec.kind == ControlKind::kEditBox && !spec.edit.multiLine;
  }
  return false;
}

}  // namespace

void FakeWindow::WriteText(std::string_view control, std::string_view text) {
  NoteTouch();
  Text& box = texts[std::string(control)];
  box = Text(text);
  // As the real windows do: a single-line box holds no control characters.
  // (Bytes of a code-page-936 pair are never below 0x40, so bytes are enough.)
  if (IsSingleLineBox(control)) {
    std::erase_if(box, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
  }
}

int FakeWindow::SelectedIndex(std::string_view control) {
  NoteTouch();
  auto it = selectedIndex.find(control);
  return it == selectedIndex.end() ? -1 : it->second;
}

Text FakeWindow::ShownText(std::string_view control) {
  NoteTouch();
  if (SelectedIndex(control) < 0) return Text();
  return ReadText(control);
}

void FakeWindow::SetEnabled(std::string_view control, bool on) {
  NoteTouch();
  enabled[std::string(control)] = on;
}

bool FakeWindow::IsEnabled(std::string_view control) const {
  auto it = enabled.find(control);
  return it != enabled.end() && it->second;
}

void FakeWindow::SetTimerPeriod(std::string_view, int milliseconds) {
  NoteTouch();
  if (closed_ || milliseconds == timerPeriod) return;
  timerPeriod = milliseconds > 0 ? milliseconds : 0;
  if (timerPeriod > 0) ++timerRestarts;
}

int FakeWindow::TimerPeriod(std::string_view) const { return timerPeriod; }

void FakeWindow::ShowMessageBox(std::string_view text, std::string_view title) {
  NoteTouch();
  if (closed_) return;
  messages.push_back({Text(text), Text(title)});
}

void FakeWindow::SetFocus(std::string_view control) {
  NoteTouch();
  focus = std::string(control);
}

void FakeWindow::ProcessPendingEvents() {
  ++pendingEventRuns;
  if (onProcessPendingEvents) onProcessPendingEvents();
  while (!pendingEvents.empty() && !closed_) {
    auto event = std::move(pendingEvents.front());
    pendingEvents.pop_front();
    event();
  }
}

}  // namespace kelvorat::testing
