// Group box, tab and message box metrics as the Windows build shows them.
#include "monitor/qt/windows_look_style.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include <algorithm>

namespace kelvorat {
namespace {

// Where a group box caption starts, and the air on either side of it that
// cuts the frame line.
constexpr int kCaptionLeft = 8;
constexpr int kCaptionAir = 2;
// Height of a tab of the tab row, as on Windows with a 12-pixel font.
constexpr int kTabHeight = 20;

}  // namespace

// Over the application's own style, whichever it is.
WindowsLookStyle::WindowsLookStyle() {
  setParent(qApp);  // destroyed with the application
}

WindowsLookStyle* WindowsLookStyle::Instance() {
  static QPointer<WindowsLookStyle> style;
  if (style == nullptr) style = new WindowsLookStyle;
  return style;
}

QRect WindowsLookStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                       const QWidget* widget) const {
  const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || group == nullptr) return QProxyStyle::subControlRect(control, option, sub, widget);
  // The caption sits on the top line; the frame's top line runs through the
  // middle of the caption.
  const QFontMetrics& metrics = group->fontMetrics;
  const int captionHeight = metrics.height();
  const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(group->text) + 2 * kCaptionAir, captionHeight);
  const QRect frame = group->rect.adjusted(0, group->text.isEmpty() ? 0 : captionHeight / 2, 0, 0);
  switch (sub) {
    case SC_GroupBoxLabel: return group->text.isEmpty() ? QRect() : caption;
    case SC_GroupBoxFrame: return frame;
    case SC_GroupBoxContents: return frame.adjusted(1, 1, -1, -1);
    case SC_GroupBoxCheckBox: return QRect();
    default: return QProxyStyle::subControlRect(control, option, sub, widget);
  }
}

// A plain one-pixel line, as a Windows group box frame.
void WindowsLookStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                     const QWidget* widget) const {
  if (element != PE_FrameGroupBox) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  painter->save();
  painter->setPen(option->palette.color(QPalette::Button).darker(140));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
  painter->restore();
}

QSize WindowsLookStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                         const QWidget* widget) const {
  QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
  if (type == CT_TabBarTab) result.setHeight(std::min(result.height(), kTabHeight));
  return result;
}

int WindowsLookStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returned) const {
  switch (hint) {
    case SH_MessageBox_CenterButtons: return 1;
    case SH_DialogButtonBox_ButtonsHaveIcons: return 0;
    default: return QProxyStyle::styleHint(hint, option, widget, returned);
  }
}

}  // namespace kelvorat
