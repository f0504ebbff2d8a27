// Widgets of the main window beyond stock Qt.
#include "monitor/qt/controls.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <qdrawutil.h>

namespace kelvorat {
namespace {

bool IsControlCharacter(QChar ch) {
  const char16_t u = ch.unicode();
  return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029;
}

int RemoveControlCharacters(QString& text, int position) {
  int kept = 0;
  int newPosition = position;
  for (int i = 0; i < text.size(); ++i) {
    if (IsControlCharacter(text[i])) {
      if (i < position) --newPosition;
      continue;
    }
    text[kept++] = text[i];
  }
  text.truncate(kept);
  return newPosition;
}

int BorderWidth(EditBorder border) { return border == EditBorder::kSunken ? 2 : 1; }

}  // namespace

QValidator::State SingleLineValidator::validate(QString& input, int& position) const {
  position = RemoveControlCharacters(input, position);
  return Acceptable;
}

void SingleLineValidator::fixup(QString& input) const { RemoveControlCharacters(input, 0); }

EditLine::EditLine(EditBorder border, QWidget* parent) : QLineEdit(parent), border_(border) {
  setFrame(false);
  const int width = BorderWidth(border);
  // One pixel of air between the border and the text, as a native edit box has.
  setTextMargins(width + 1, width, width + 1, width);
  setValidator(new SingleLineValidator(this));
}

void EditLine::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter painter(this);
  if (border_ == EditBorder::kSunken) {
    qDrawWinPanel(&painter, rect(), palette(), /*sunken=*/true);
  } else {
    qDrawPlainRect(&painter, rect(), palette().color(QPalette::Shadow), 1);
  }
}

PictureBox::PictureBox(QString picturePath, QWidget* parent) : QLabel(parent), path_(std::move(picturePath)) {
  setFrameShape(QFrame::NoFrame);
  setScaledContents(true);
}

void PictureBox::showEvent(QShowEvent* event) {
  if (pixmap().isNull()) setPixmap(QPixmap(path_));
  QLabel::showEvent(event);
}

void TabControl::AddPageControl(int page, QWidget* widget, const QRect& rectInTabControl) {
  placed_.push_back({page, widget, rectInTabControl});
  widget->setGeometry(rectInTabControl);
  PlacePageControls();
}

void TabControl::resizeEvent(QResizeEvent* event) {
  QTabWidget::resizeEvent(event);
  PlacePageControls();
}

void TabControl::showEvent(QShowEvent* event) {
  QTabWidget::showEvent(event);
  PlacePageControls();
}

// The page area is where QTabWidget puts its pages: the style's tab contents
// rectangle. Computed here rather than read back, since a hidden tab control
// lays its pages out only later.
void TabControl::PlacePageControls() {
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  const QPoint origin = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
  for (const Placed& p : placed_) {
    p.widget->setGeometry(p.rect.translated(-origin));
  }
}

}  // namespace kelvorat
