// The main window: builds every control of the table and binds the handlers.
#include "monitor/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <limits>

#include "monitor/control_names.h"
#include "monitor/control_table.h"
#include "monitor/qt/controls.h"
#include "monitor/qt/windows_look_style.h"

// The pictures live in a static library, whose resource initializer the
// linker would otherwise drop; this must be called outside any namespace.
static void InitWindowResources() { Q_INIT_RESOURCE(resources); }

namespace kelvorat {
namespace {

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QColor ToColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QRect RectOf(const ControlSpec& spec) { return QRect(spec.left, spec.top, spec.width, spec.height); }

// The layout is drawn for a 12-pixel GUI font (9 points at 96 dots per inch).
constexpr int kDefaultFontPixelHeight = 12;

void ApplyEditSettings(QWidget* box, const EditSettings& settings) {
  if (!settings.fontFamily.empty()) {
    QFont font(Q(settings.fontFamily));
    font.setPixelSize(settings.fontPixelHeight);
    font.setWeight(QFont::Normal);
    box->setFont(font);
  }
  if (settings.ownColours) {
    // Only the active and inactive groups: a disabled box keeps the greyed look.
    QPalette palette = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      palette.setColor(group, QPalette::Text, ToColor(settings.textColour));
      palette.setColor(group, QPalette::Base, ToColor(settings.backgroundColour));
    }
    box->setPalette(palette);
  }
  box->setFocusPolicy(settings.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
  box->setEnabled(settings.enabled);
}

QWidget* MakeEditBox(const ControlSpec& spec, QWidget* parent) {
  const EditSettings& settings = spec.edit;
  QWidget* box = nullptr;
  if (settings.multiLine) {
    auto* text = new QPlainTextEdit(parent);
    // The table writes line breaks as "\r\n"; the document keeps plain '\n'.
    text->setPlainText(Q(spec.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    text->setReadOnly(settings.readOnly);
    if (settings.readOnly) {
      text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (settings.border == EditBorder::kSunken) {
      text->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
      text->setLineWidth(2);
    } else {
      text->setFrameStyle(QFrame::Box | QFrame::Plain);
      text->setLineWidth(1);
    }
    box = text;
  } else {
    auto* line = new EditLine(settings.border, parent);
    if (settings.unlimitedLength) line->setMaxLength(std::numeric_limits<int>::max());
    line->setText(Q(spec.text));
    line->setCursorPosition(0);
    line->setReadOnly(settings.readOnly);
    box = line;
  }
  ApplyEditSettings(box, settings);
  return box;
}

QWidget* MakeGroupBox(const ControlSpec& spec, QWidget* parent) {
  auto* group = new QGroupBox(Q(spec.text), parent);
  QPalette palette = group->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  group->setPalette(palette);
  group->setAutoFillBackground(true);
  return group;
}

QWidget* MakeDropDownList(const ControlSpec& spec, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setEditable(false);
  for (std::string_view item : spec.items) list->addItem(Q(item));
  list->setCurrentIndex(spec.items.empty() ? -1 : 0);
  return list;
}

QWidget* MakePushButton(const ControlSpec& spec, QWidget* parent) {
  auto* button = new QPushButton(Q(spec.text), parent);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QWidget* MakePictureBox(const ControlSpec& spec, QWidget* parent) {
  return new PictureBox(Q(spec.picture), parent);
}

}  // namespace

void InstallFontSubstitutions() {
  const QStringList available = {QStringLiteral("WenQuanYi Micro Hei")};
  QFont::insertSubstitutions(QStringLiteral("微软雅黑"), available);
  QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei"), available);
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  InitWindowResources();
  InstallFontSubstitutions();

  const WindowSpec& spec = MainWindowSpec();
  setWindowTitle(Q(spec.title));
  setWindowIcon(QIcon(Q(spec.icon)));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  // The window manager adds its own frame around the client area.
  setFixedSize(spec.clientWidth, spec.clientHeight);

  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  setPalette(palette);
  setAutoFillBackground(true);

  QFont font = this->font();
  font.setPixelSize(kDefaultFontPixelHeight);
  setFont(font);

  BuildControls();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - spec.outerWidth) / 2, area.y() + (area.height() - spec.outerHeight) / 2);
  }
}

void MainWindow::BuildControls() {
  for (const ControlSpec& spec : MainWindowControls()) {
    QObject* parentObject = spec.parent.empty() ? this : Control(spec.parent);
    auto* parentWidget = qobject_cast<QWidget*>(parentObject);
    const bool onTabPage = parentWidget == tabs_ && tabs_ != nullptr && spec.page > 0;
    if (onTabPage) parentWidget = tabs_->widget(spec.page - 1);

    QObject* control = nullptr;
    switch (spec.kind) {
      case ControlKind::kTabControl: {
        tabs_ = new TabControl(parentWidget);
        tabs_->setUsesScrollButtons(false);
        for (std::string_view page : spec.items) {
          // White pages, as themed tab controls draw them.
          auto* pageWidget = new QWidget;
          QPalette pagePalette = pageWidget->palette();
          pagePalette.setColor(QPalette::Window, Qt::white);
          pageWidget->setPalette(pagePalette);
          pageWidget->setAutoFillBackground(true);
          tabs_->addTab(pageWidget, Q(page));
        }
        tabs_->setCurrentIndex(0);
        control = tabs_;
        break;
      }
      case ControlKind::kGroupBox: control = MakeGroupBox(spec, parentWidget); break;
      case ControlKind::kEditBox: control = MakeEditBox(spec, parentWidget); break;
      case ControlKind::kDropDownList: control = MakeDropDownList(spec, parentWidget); break;
      case ControlKind::kPushButton: control = MakePushButton(spec, parentWidget); break;
      case ControlKind::kPictureBox: control = MakePictureBox(spec, parentWidget); break;
      case ControlKind::kTimer: {
        timer_ = new QTimer(parentObject);
        timer_->setTimerType(Qt::PreciseTimer);
        if (spec.timerPeriod > 0) timer_->start(spec.timerPeriod);
        control = timer_;
        break;
      }
    }
    control->setObjectName(Q(spec.name));
    controls_.emplace(std::string(spec.name), control);

    if (auto* widget = qobject_cast<QWidget*>(control)) {
      if (onTabPage) {
        tabs_->AddPageControl(spec.page - 1, widget, RectOf(spec));
      } else {
        widget->setGeometry(RectOf(spec));
      }
    }
  }

  // The Windows build's layout for every control (a widget's style does not
  // pass to its children by itself).
  setStyle(WindowsLookStyle::Instance());
  for (QWidget* widget : findChildren<QWidget*>()) widget->setStyle(WindowsLookStyle::Instance());
  tabs_->PlacePageControls();

  auto bind = [this](std::string_view name, std::function<void()> WindowHandlers::*handler) {
    connect(qobject_cast<QPushButton*>(Control(name)), &QPushButton::clicked, this,
            [this, handler] { Call(handler); });
  };
  bind(controls::kStartButton, &WindowHandlers::startClicked);
  bind(controls::kStopButton, &WindowHandlers::stopClicked);
  connect(timer_, &QTimer::timeout, this, [this] { Call(&WindowHandlers::timerFired); });
}

QObject* MainWindow::Control(std::string_view name) const {
  const auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second;
}

void MainWindow::BindHandlers(WindowHandlers handlers) { handlers_ = std::move(handlers); }

void MainWindow::Call(const std::function<void()> WindowHandlers::*handler) {
  if (closed_) return;
  if (handlersHeld_ > 0) {
    QMetaObject::invokeMethod(this, [this, handler] { Call(handler); }, Qt::QueuedConnection);
    return;
  }
  // A copy: the handler may rebind the handlers while it runs.
  const std::function<void()> call = handlers_.*handler;
  if (call) call();
}

// Closing is never refused. The window only hides: its owner destroys it once
// the event loop has returned, so a handler still running in a nested event
// dispatch never touches a destroyed control.
void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) return;
  closed_ = true;
  if (timer_ != nullptr) timer_->stop();
  emit Closed();
}

}  // namespace kelvorat
