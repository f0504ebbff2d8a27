// The few widgets the main window needs beyond stock Qt: edit lines with the
// window's border kinds and no control characters, and a tab control that
// places page controls relative to its own rectangle.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QValidator>

#include <vector>

#include "monitor/control_table.h"

namespace kelvorat {

// Keeps line breaks and every other control character out of a single-line
// box, whether typed, pasted or set by the program: they are dropped.
class SingleLineValidator final : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override;
  void fixup(QString& input) const override;
};

// A single-line edit box framed by a sunken client edge or a thin line.
class EditLine final : public QLineEdit {
  Q_OBJECT

 public:
  EditLine(EditBorder border, QWidget* parent);
  [[nodiscard]] EditBorder border() const { return border_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  EditBorder border_;
};

// A borderless picture stretched over the whole box, proportions not kept.
// The PNG is read when the box is first shown, so pictures on pages the user
// never opens cost nothing at start.
class PictureBox final : public QLabel {
  Q_OBJECT

 public:
  PictureBox(QString picturePath, QWidget* parent);
  [[nodiscard]] const QString& picturePath() const { return path_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString path_;
};

// A tab control whose page controls are given relative to the tab control's
// own top-left corner, not the page's; it keeps them there whatever height
// the style gives the tab row.
class TabControl final : public QTabWidget {
  Q_OBJECT

 public:
  using QTabWidget::QTabWidget;
  // widget must be a child of page `page` (0-based).
  void AddPageControl(int page, QWidget* widget, const QRect& rectInTabControl);
  // Places them again, after a change of style.
  void PlacePageControls();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct Placed {
    int page;
    QWidget* widget;
    QRect rect;
  };
  std::vector<Placed> placed_;
};

}  // namespace kelvorat
