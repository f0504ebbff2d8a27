// The program's main window over Qt Widgets, built whole from the control
// table. It stays alive after being closed, until its owner destroys it.
#pragma once

#include <QString>
#include <QWidget>

#include <map>
#include <string>
#include <string_view>

#include "monitor/monitor_window.h"

class QTimer;

namespace kelvorat {

class TabControl;

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  // The control (widget or timer) of that name, nullptr when there is none.
  [[nodiscard]] QObject* Control(std::string_view name) const;
  [[nodiscard]] TabControl* Tabs() const { return tabs_; }
  // Replaces the handlers the two buttons and the timer call.
  void BindHandlers(WindowHandlers handlers);
  // True once the window got its close event.
  [[nodiscard]] bool IsClosed() const { return closed_; }

  // While one exists, a handler due to run is put off to the next event
  // dispatch after it is gone: the window only paints meanwhile.
  class HandlersHeld {
   public:
    explicit HandlersHeld(MainWindow& window) : window_(window) { ++window_.handlersHeld_; }
    ~HandlersHeld() { --window_.handlersHeld_; }
    HandlersHeld(const HandlersHeld&) = delete;
    HandlersHeld& operator=(const HandlersHeld&) = delete;

   private:
    MainWindow& window_;
  };

 signals:
  // Emitted once, when the window is closed.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void Call(const std::function<void()> WindowHandlers::*handler);

  std::map<std::string, QObject*, std::less<>> controls_;
  TabControl* tabs_ = nullptr;
  QTimer* timer_ = nullptr;
  WindowHandlers handlers_;
  bool closed_ = false;
  int handlersHeld_ = 0;
};

// Font families the window names that this system may lack, mapped to ones it
// has. Safe to call more than once.
void InstallFontSubstitutions();

}  // namespace kelvorat
