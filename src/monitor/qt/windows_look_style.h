// A small proxy style that gives the window the layout of the Windows build
// over whatever style Qt picked: group box captions set into the frame's top
// line with the frame around the controls, tab rows as tall as on Windows
// (so that the page area starts where the layout expects it), and message
// boxes with centred buttons.
#pragma once

#include <QProxyStyle>

namespace kelvorat {

class WindowsLookStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  // The one instance the window's widgets share; made on first use, after
  // the QApplication.
  static WindowsLookStyle* Instance();

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override;

 private:
  WindowsLookStyle();
};

}  // namespace kelvorat
