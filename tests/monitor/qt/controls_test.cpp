// The window's own widgets: single-line boxes without control characters and
// page controls placed relative to the tab control.
#include "monitor/qt/controls.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <functional>

#include "qt_test_support.h"

namespace kelvorat {
namespace {

using testing::PressKey;

class ControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
};

void Paste(QLineEdit& line, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  line.paste();
}

TEST_F(ControlsTest, SingleLineBoxKeepsLineBreaksAndControlCharactersOut) {
  const struct {
    const char* name;
    std::function<void(QLineEdit&)> act;
    QString expected;
  } rows[] = {
      {"typed Return", [](QLineEdit& l) { PressKey(&l, Qt::Key_Return, "\r"); }, "12"},
      {"typed keypad Enter", [](QLineEdit& l) { PressKey(&l, Qt::Key_Enter, "\r", Qt::KeypadModifier); }, "12"},
      {"typed line feed", [](QLineEdit& l) { PressKey(&l, 0, "\n"); }, "12"},
      {"typed control character", [](QLineEdit& l) { PressKey(&l, 0, QString(QChar(0x01))); }, "12"},
      {"typed letter still works", [](QLineEdit& l) { PressKey(&l, Qt::Key_A, "a"); }, "12a"},
      {"pasted CRLF", [](QLineEdit& l) { Paste(l, "ab\r\ncd"); }, "12abcd"},
      {"pasted lone LF and CR", [](QLineEdit& l) { Paste(l, "a\nb\rc\n"); }, "12abc"},
      {"pasted tab, escape and DEL", [](QLineEdit& l) { Paste(l, "a\tb\x1b\x7f" "c"); }, "12abc"},
      {"pasted Unicode line breaks",
       [](QLineEdit& l) { Paste(l, QString("a") + QChar(0x2028) + "b" + QChar(0x2029) + "c" + QChar(0x85) + "d"); },
       "12abcd"},
      {"pasted Chinese kept", [](QLineEdit& l) { Paste(l, "域名\r\n正常"); }, "12域名正常"},
      {"inserted by the program", [](QLineEdit& l) { l.insert("x\r\ny"); }, "12xy"},
      {"set by the program", [](QLineEdit& l) { l.setText("p\r\nq\t"); }, "pq"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EditLine line(EditBorder::kSunken, nullptr);
    line.setText("12");
    line.setCursorPosition(2);
    row.act(line);
    EXPECT_EQ(line.text(), row.expected);
    EXPECT_LE(line.cursorPosition(), line.text().size());
  }
}

TEST_F(ControlsTest, PastingInTheMiddleLeavesTheCursorAfterThePastedText) {
  EditLine line(EditBorder::kThin, nullptr);
  line.setText("abcd");
  line.setCursorPosition(2);
  Paste(line, "\r\nXY\r\n");
  EXPECT_EQ(line.text(), "abXYcd");
  EXPECT_EQ(line.cursorPosition(), 4);
}

TEST_F(ControlsTest, PageControlsAreMeasuredFromTheTabControlWhateverTheTabRowHeight) {
  for (int fontPixels : {12, 40}) {
    SCOPED_TRACE(fontPixels);
    TabControl tabs;
    QFont font;
    font.setPixelSize(fontPixels);
    tabs.setFont(font);
    tabs.addTab(new QWidget, "one");
    tabs.addTab(new QWidget, "two");
    auto* onFirst = new QWidget(tabs.widget(0));
    auto* onSecond = new QWidget(tabs.widget(1));
    tabs.AddPageControl(0, onFirst, QRect(8, 80, 50, 20));
    tabs.AddPageControl(1, onSecond, QRect(20, 90, 30, 10));
    tabs.resize(300, 200);
    tabs.show();
    EXPECT_EQ(QRect(onFirst->mapTo(&tabs, QPoint(0, 0)), onFirst->size()), QRect(8, 80, 50, 20));
    tabs.setCurrentIndex(1);
    EXPECT_EQ(QRect(onSecond->mapTo(&tabs, QPoint(0, 0)), onSecond->size()), QRect(20, 90, 30, 10));
  }
}

}  // namespace
}  // namespace kelvorat
