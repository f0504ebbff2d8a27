// The control table as data: names, parents, pages and places hold together.
#include "monitor/control_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "monitor/control_names.h"

namespace kelvorat {
namespace {

TEST(ControlTable, NamesAreUniqueAndParentsComeFirstOnTheSamePage) {
  std::set<std::string_view> seen;
  for (const ControlSpec& spec : MainWindowControls()) {
    SCOPED_TRACE(std::string(spec.name));
    EXPECT_TRUE(seen.insert(spec.name).second) << "duplicate name";
    if (spec.parent.empty()) {
      EXPECT_EQ(spec.kind, ControlKind::kTabControl);
      continue;
    }
    const ControlSpec* parent = FindControlSpec(spec.parent);
    ASSERT_NE(parent, nullptr);
    EXPECT_TRUE(seen.count(spec.parent)) << "parent listed later";
    EXPECT_TRUE(parent->kind == ControlKind::kTabControl || parent->kind == ControlKind::kGroupBox);
    if (parent->kind == ControlKind::kTabControl) {
      EXPECT_GE(spec.page, 1);
      EXPECT_LE(spec.page, static_cast<int>(parent->items.size()));
    } else {
      EXPECT_EQ(spec.page, parent->page) << "a group box's controls show on its page";
    }
  }
}

TEST(ControlTable, EveryVisibleControlLiesInsideItsParent) {
  const WindowSpec& window = MainWindowSpec();
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.kind == ControlKind::kTimer) continue;
    SCOPED_TRACE(std::string(spec.name));
    int width = window.clientWidth, height = window.clientHeight;
    if (const ControlSpec* parent = FindControlSpec(spec.parent)) {
      width = parent->width;
      height = parent->height;
    }
    EXPECT_GT(spec.width, 0);
    EXPECT_GT(spec.height, 0);
    EXPECT_GE(spec.left, 0);
    EXPECT_GE(spec.top, 0);
    EXPECT_LE(spec.left + spec.width, width);
    EXPECT_LE(spec.top + spec.height, height);
  }
}

TEST(ControlTable, HoldsEveryControlTheMonitorUsesWithItsKind) {
  namespace c = controls;
  const struct {
    std::string_view name;
    ControlKind kind;
  } rows[] = {
      {c::kTabs, ControlKind::kTabControl},          {c::kDomainEdit, ControlKind::kEditBox},
      {c::kCodeEdit, ControlKind::kEditBox},         {c::kInterfaceList, ControlKind::kDropDownList},
      {c::kFrequencyList, ControlKind::kDropDownList}, {c::kTimer, ControlKind::kTimer},
      {c::kStartButton, ControlKind::kPushButton},   {c::kStopButton, ControlKind::kPushButton},
      {c::kLastCheckEdit, ControlKind::kEditBox},    {c::kCheckCountEdit, ControlKind::kEditBox},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.name));
    const ControlSpec* spec = FindControlSpec(row.name);
    ASSERT_NE(spec, nullptr);
    EXPECT_EQ(spec->kind, row.kind);
  }
  EXPECT_EQ(FindControlSpec("no such control"), nullptr);
  EXPECT_EQ(FindControlSpec(c::kTimer)->timerPeriod, 0) << "idle at start";
}

TEST(ControlTable, WindowOuterSizeIsTheClientAreaPlusTheFixedFrame) {
  const WindowSpec& window = MainWindowSpec();
  EXPECT_EQ(window.outerWidth, 514);
  EXPECT_EQ(window.outerHeight, 227);
  EXPECT_EQ(window.outerWidth - window.clientWidth, 2 * 3);
  EXPECT_EQ(window.outerHeight - window.clientHeight, 23 + 2 * 3);
}

}  // namespace
}  // namespace kelvorat
