// The main window against its control table: kinds, names, parents, places,
// contents and settings, plus the window's own frame.
#include "monitor/qt/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTimer>

#include <memory>

#include "monitor/control_names.h"
#include "monitor/control_table.h"
#include "monitor/qt/controls.h"
#include "qt_test_support.h"

namespace kelvorat {
namespace {

using testing::EnsureApplication;
using testing::Q;

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override {
    window_ = std::make_unique<MainWindow>();
    window_->show();
  }

  template <typename T>
  T* Find(std::string_view name) const {
    return window_->findChild<T*>(Q(name));
  }

  std::unique_ptr<MainWindow> window_;
};

bool HasKind(QObject* object, const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::kTabControl: return qobject_cast<QTabWidget*>(object) != nullptr;
    case ControlKind::kGroupBox: return qobject_cast<QGroupBox*>(object) != nullptr;
    case ControlKind::kEditBox:
      return spec.edit.multiLine ? qobject_cast<QPlainTextEdit*>(object) != nullptr
                                 : qobject_cast<QLineEdit*>(object) != nullptr;
    case ControlKind::kDropDownList: return qobject_cast<QComboBox*>(object) != nullptr;
    case ControlKind::kPushButton: return qobject_cast<QPushButton*>(object) != nullptr;
    case ControlKind::kPictureBox: return qobject_cast<QLabel*>(object) != nullptr;
    case ControlKind::kTimer: return qobject_cast<QTimer*>(object) != nullptr;
  }
  return false;
}

TEST_F(MainWindowTest, EveryControlHasItsNameKindParentAndPlace) {
  auto* tabs = Find<QTabWidget>(controls::kTabs);
  ASSERT_NE(tabs, nullptr);
  for (const ControlSpec& spec : MainWindowControls()) {
    SCOPED_TRACE(std::string(spec.name));
    const QList<QObject*> named = window_->findChildren<QObject*>(Q(spec.name));
    ASSERT_EQ(named.size(), 1) << "exactly one object carries the name";
    QObject* object = named.front();
    EXPECT_TRUE(HasKind(object, spec));
    EXPECT_EQ(window_->Control(spec.name), object);

    QObject* parent = spec.parent.empty() ? window_.get() : window_->findChild<QObject*>(Q(spec.parent));
    ASSERT_NE(parent, nullptr);
    if (spec.kind == ControlKind::kTimer) {
      EXPECT_EQ(object->parent(), parent);
      continue;
    }
    auto* widget = qobject_cast<QWidget*>(object);
    QPoint topLeft = widget->pos();
    if (parent == tabs) {
      // Placed on a page, measured from the tab control's own corner.
      EXPECT_EQ(widget->parentWidget(), tabs->widget(spec.page - 1));
      topLeft = widget->mapTo(tabs, QPoint(0, 0));
    } else {
      EXPECT_EQ(widget->parentWidget(), parent);
    }
    EXPECT_EQ(QRect(topLeft, widget->size()), QRect(spec.left, spec.top, spec.width, spec.height));
    if (spec.page > 0) {
      EXPECT_TRUE(tabs->widget(spec.page - 1)->isAncestorOf(widget));
    }
  }
}

// The frame and the caption of a group box, where its style draws them, and
// the caption's ink (the text cell's last rows are mostly empty: the layout
// puts some controls a pixel into them, on Windows as well).
struct GroupBoxParts {
  QRect frame, caption, ink;
};
GroupBoxParts PartsOf(const QGroupBox& group) {
  QStyleOptionGroupBox option;
  option.initFrom(&group);
  option.text = group.title();
  option.textAlignment = group.alignment();
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  QStyle* style = group.style();
  GroupBoxParts parts{style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, &group),
                      style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &group),
                      {}};
  const QFontMetrics metrics = group.fontMetrics();
  parts.ink = metrics.tightBoundingRect(group.title())
                  .translated(parts.caption.left(), parts.caption.top() + metrics.ascent())
                  .intersected(parts.caption);
  return parts;
}

// As on Windows: each group box's caption is set into its frame's top line,
// and every control lies inside its group box's frame (clear of the lines and
// of the caption) and inside its tab page, so that nothing is clipped.
TEST_F(MainWindowTest, EveryControlLiesInsideItsGroupBoxFrameAndItsTabPage) {
  auto* tabs = Find<QTabWidget>(controls::kTabs);
  ASSERT_NE(tabs, nullptr);
  for (int page = 0; page < tabs->count(); ++page) {
    tabs->setCurrentIndex(page);
    QCoreApplication::processEvents();
    QWidget* pageWidget = tabs->widget(page);
    // The page is the area the tab control shows inside its frame.
    const QRect pageArea(pageWidget->mapTo(tabs, QPoint(0, 0)), pageWidget->size());
    EXPECT_TRUE(tabs->rect().contains(pageArea)) << "page " << page + 1;
    EXPECT_GE(pageArea.top(), tabs->tabBar()->geometry().bottom()) << "page " << page + 1;
    for (const ControlSpec& spec : MainWindowControls()) {
      if (spec.page != page + 1 || spec.kind == ControlKind::kTimer) continue;
      SCOPED_TRACE(std::string(spec.name));
      auto* widget = window_->findChild<QWidget*>(Q(spec.name));
      ASSERT_NE(widget, nullptr);
      EXPECT_TRUE(pageWidget->rect().contains(QRect(widget->mapTo(pageWidget, QPoint(0, 0)), widget->size())))
          << "inside the page area";
      auto* group = qobject_cast<QGroupBox*>(widget->parentWidget());
      if (group != nullptr) {
        const GroupBoxParts parts = PartsOf(*group);
        const QRect inside = parts.frame.adjusted(1, 1, -1, -1);
        EXPECT_TRUE(inside.contains(widget->geometry())) << "inside the frame of " << group->objectName().toStdString();
        EXPECT_FALSE(parts.ink.intersects(widget->geometry())) << "clear of the caption";
      }
      if (auto* own = qobject_cast<QGroupBox*>(widget)) {
        const GroupBoxParts parts = PartsOf(*own);
        ASSERT_FALSE(parts.ink.isEmpty());
        // The caption straddles the frame's top line, and starts a little
        // way in from the frame's left edge.
        EXPECT_LT(parts.caption.top(), parts.frame.top());
        EXPECT_GT(parts.caption.bottom(), parts.frame.top());
        EXPECT_GT(parts.caption.left(), parts.frame.left());
        EXPECT_GE(parts.frame.top(), 0);
        EXPECT_EQ(parts.frame.bottom(), own->rect().bottom());
      }
    }
  }
}

TEST_F(MainWindowTest, EveryControlStartsWithItsCaptionOrContent) {
  for (const ControlSpec& spec : MainWindowControls()) {
    SCOPED_TRACE(std::string(spec.name));
    QObject* object = window_->Control(spec.name);
    ASSERT_NE(object, nullptr);
    switch (spec.kind) {
      case ControlKind::kTabControl: {
        auto* tabs = qobject_cast<QTabWidget*>(object);
        ASSERT_EQ(tabs->count(), static_cast<int>(spec.items.size()));
        for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), Q(spec.items[i]));
        EXPECT_EQ(tabs->currentIndex(), 0);
        break;
      }
      case ControlKind::kGroupBox: EXPECT_EQ(qobject_cast<QGroupBox*>(object)->title(), Q(spec.text)); break;
      case ControlKind::kEditBox:
        if (auto* line = qobject_cast<QLineEdit*>(object)) {
          EXPECT_EQ(line->text(), Q(spec.text));
        } else {
          EXPECT_EQ(qobject_cast<QPlainTextEdit*>(object)->toPlainText(),
                    Q(spec.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
        break;
      case ControlKind::kDropDownList: {
        auto* list = qobject_cast<QComboBox*>(object);
        ASSERT_EQ(list->count(), static_cast<int>(spec.items.size()));
        for (int i = 0; i < list->count(); ++i) EXPECT_EQ(list->itemText(i), Q(spec.items[i]));
        EXPECT_EQ(list->currentIndex(), 0);
        break;
      }
      case ControlKind::kPushButton: {
        auto* button = qobject_cast<QPushButton*>(object);
        EXPECT_EQ(button->text(), Q(spec.text));
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
        EXPECT_TRUE(button->isEnabled());
        break;
      }
      case ControlKind::kPictureBox: {
        auto* picture = qobject_cast<PictureBox*>(object);
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(picture->hasScaledContents()) << "stretched, proportions not kept";
        EXPECT_EQ(picture->frameShape(), QFrame::NoFrame);
        EXPECT_EQ(picture->picturePath(), Q(spec.picture));
        break;
      }
      case ControlKind::kTimer: EXPECT_FALSE(qobject_cast<QTimer*>(object)->isActive()); break;
    }
  }
  EXPECT_EQ(Find<QLineEdit>(controls::kDomainEdit)->text(), "example.com");
  EXPECT_EQ(Find<QLineEdit>(controls::kCodeEdit)->text(), "Rb8nQe2");
}

TEST_F(MainWindowTest, DonationPicturesShowWithTheirPageAtTheirOwnSizes) {
  const struct {
    std::string_view box;
    QSize size;
  } rows[] = {{"微信_图片框", {301, 300}}, {"微信_图片框1", {293, 292}}};
  Find<QTabWidget>(controls::kTabs)->setCurrentIndex(2);
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.box));
    auto* picture = Find<QLabel>(row.box);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->pixmap().size(), row.size) << "the whole picture, stretched by the box";
  }
}

TEST_F(MainWindowTest, EditBoxesHaveTheirSettings) {
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.kind != ControlKind::kEditBox) continue;
    SCOPED_TRACE(std::string(spec.name));
    const EditSettings& settings = spec.edit;
    auto* box = qobject_cast<QWidget*>(window_->Control(spec.name));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->isEnabled(), settings.enabled);
    EXPECT_EQ((box->focusPolicy() & Qt::TabFocus) != 0, settings.tabStop);
    if (auto* line = qobject_cast<EditLine*>(box)) {
      EXPECT_EQ(line->isReadOnly(), settings.readOnly);
      EXPECT_EQ(line->border(), settings.border);
      if (settings.unlimitedLength) {
        EXPECT_EQ(line->maxLength(), std::numeric_limits<int>::max());
      }
    } else {
      auto* text = qobject_cast<QPlainTextEdit*>(box);
      ASSERT_NE(text, nullptr);
      EXPECT_EQ(text->isReadOnly(), settings.readOnly);
      EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
      EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByKeyboard) << "text can be copied";
      ASSERT_EQ(settings.border, EditBorder::kThin);
      EXPECT_EQ(text->frameShape(), QFrame::Box);
      EXPECT_EQ(text->lineWidth(), 1);
    }
    if (settings.fontFamily.empty()) {
      EXPECT_EQ(box->font(), window_->font());
    } else {
      EXPECT_EQ(QFontInfo(box->font()).family(), "WenQuanYi Micro Hei") << "a font with real glyphs";
      EXPECT_EQ(box->font().pixelSize(), settings.fontPixelHeight);
      EXPECT_EQ(box->font().weight(), QFont::Normal);
    }
    if (settings.ownColours) {
      const Rgb text = settings.textColour, base = settings.backgroundColour;
      EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Text), QColor(text.red, text.green, text.blue));
      EXPECT_EQ(box->palette().color(QPalette::Active, QPalette::Base), QColor(base.red, base.green, base.blue));
    }
  }
  EXPECT_EQ(Find<QPlainTextEdit>("编辑框1")->palette().color(QPalette::Text), QColor(0, 0, 255)) << "blue notice";
}

TEST_F(MainWindowTest, WindowHasItsTitleFixedFrameIconAndPlace) {
  const WindowSpec& spec = MainWindowSpec();
  EXPECT_EQ(window_->windowTitle(), "【Tavrel】Kelvorat V1.0_Ostrevin");
  EXPECT_EQ(window_->size(), QSize(spec.clientWidth, spec.clientHeight));
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize()) << "cannot be resized";
  const Qt::WindowFlags flags = window_->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window_->windowIcon().isNull());
  EXPECT_EQ(window_->palette().color(QPalette::Window), window_->palette().color(QPalette::Button));
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(window_->pos(), QPoint(area.x() + (area.width() - spec.outerWidth) / 2,
                                   area.y() + (area.height() - spec.outerHeight) / 2));
}

TEST_F(MainWindowTest, OnlyTheChosenPageShowsAndHiddenPagesKeepTheirValues) {
  auto* tabs = Find<QTabWidget>(controls::kTabs);
  auto* domain = Find<QLineEdit>(controls::kDomainEdit);
  auto* help = Find<QPlainTextEdit>("如何获取喵码_编辑框");
  EXPECT_TRUE(domain->isVisible());
  EXPECT_FALSE(help->isVisible());
  domain->setText("changed.example");
  tabs->setCurrentIndex(1);
  EXPECT_FALSE(domain->isVisible());
  EXPECT_TRUE(help->isVisible());
  tabs->setCurrentIndex(0);
  EXPECT_EQ(domain->text(), "changed.example");
}

TEST_F(MainWindowTest, ListsCannotBeTypedInto) {
  for (std::string_view name : {controls::kFrequencyList, controls::kInterfaceList}) {
    SCOPED_TRACE(std::string(name));
    auto* list = Find<QComboBox>(name);
    const QString shown = list->currentText();
    EXPECT_FALSE(list->isEditable());
    testing::TypeText(list, "abc");
    testing::PressKey(list, Qt::Key_Down);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->currentText(), shown);
  }
}

TEST_F(MainWindowTest, OnlyTheTwoInputBoxesTakeTyping) {
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.kind != ControlKind::kEditBox) continue;
    SCOPED_TRACE(std::string(spec.name));
    auto* box = qobject_cast<QWidget*>(window_->Control(spec.name));
    auto content = [box] {
      auto* line = qobject_cast<QLineEdit*>(box);
      return line != nullptr ? line->text() : qobject_cast<QPlainTextEdit*>(box)->toPlainText();
    };
    const QString before = content();
    testing::PressKey(box, Qt::Key_End);
    testing::TypeText(box, "x");
    testing::PressKey(box, Qt::Key_Backspace);
    testing::PressKey(box, Qt::Key_Backspace);
    const bool editable = !spec.edit.readOnly && spec.edit.enabled;
    EXPECT_EQ(content() != before, editable);
  }
}

TEST_F(MainWindowTest, ClosingHidesTheWindowStopsTheTimerAndKeepsTheControls) {
  auto* timer = Find<QTimer>(controls::kTimer);
  timer->start(60000);
  int closedSignals = 0;
  QObject::connect(window_.get(), &MainWindow::Closed, [&] { ++closedSignals; });
  EXPECT_TRUE(window_->close()) << "never refused";
  EXPECT_TRUE(window_->IsClosed());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(closedSignals, 1);
  EXPECT_EQ(Find<QLineEdit>(controls::kDomainEdit)->text(), "example.com") << "still alive";
}

}  // namespace
}  // namespace kelvorat
