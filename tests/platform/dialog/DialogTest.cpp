#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dialog/Dialog.h"

namespace tiecalc {
namespace {

ControlTemplate Control(int id, ControlKind kind, unsigned style = kStyleNone, std::vector<std::string> items = {}) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.style = style;
  c.items = std::move(items);
  return c;
}

DialogTemplate SmallTemplate() {
  DialogTemplate t;
  t.id = 7;
  t.width = 100;
  t.height = 50;
  t.controls = {Control(kStaticId, ControlKind::Static),
                Control(1, ControlKind::Edit),
                Control(2, ControlKind::Edit),
                Control(3, ControlKind::Edit, kReadOnly),
                Control(4, ControlKind::Static),
                Control(5, ControlKind::ComboBox, kStyleNone, {"Q235", "Q345"}),
                Control(6, ControlKind::CheckBox),
                Control(7, ControlKind::Button)};
  t.controls[1].tooltip = ">0,单位(mm)";
  return t;
}

class Recording : public CDialog {
 public:
  Recording() : CDialog(SmallTemplate()) {}
  std::vector<std::string> log;
  int inits = 0;

 protected:
  void OnInitDialog() override { ++inits; }
};

TEST(DialogChange, SettingATextRunsItsHandlerBeforeTheCallReturnsAndCascades) {
  Recording d;
  d.OnChange(1, [&] {
    d.log.push_back("1:" + d.GetText(1));
    d.SetText(2, d.GetText(1) + "!");  // a handler that sets another field
    d.log.push_back("1 done");
  });
  d.OnChange(2, [&] { d.log.push_back("2:" + d.GetText(2)); });
  d.SetText(1, "a");
  EXPECT_EQ(d.log, (std::vector<std::string>{"1:a", "2:a!", "1 done"}));
  d.log.clear();
  d.SetText(1, "a");  // the same text fires again
  EXPECT_EQ(d.log.size(), 3u);
}

TEST(DialogChange, CodeSetsReadOnlyEditsAndStaticsButOnlyEditsNotify) {
  Recording d;
  int fired = 0;
  d.OnChange(3, [&] { ++fired; });
  d.SetText(3, "x");
  EXPECT_EQ(fired, 1);
  d.SetText(4, "status");
  EXPECT_EQ(d.GetText(4), "status");
}

TEST(DialogUser, TypingIsRefusedWhereAUserCannotType) {
  Recording d;
  int fired = 0;
  d.OnChange(3, [&] { ++fired; });
  EXPECT_FALSE(d.UserType(3, "x"));   // read-only
  EXPECT_FALSE(d.UserType(4, "x"));   // a static
  EXPECT_FALSE(d.UserType(99, "x"));  // no such control
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(d.GetText(3), "");
  d.SetReadOnly(3, false);
  EXPECT_TRUE(d.UserType(3, "x"));
  EXPECT_EQ(fired, 1);
}

TEST(DialogUser, SelectionAndCheckBox) {
  Recording d;
  std::vector<std::string> seen;
  d.OnSelChange(5, [&] { seen.push_back(d.GetText(5)); });
  d.OnClick(6, [&] { seen.push_back(d.GetCheck(6) ? "on" : "off"); });
  d.SetCurSel(5, 0);  // code: no notification
  EXPECT_EQ(d.GetText(5), "Q235");
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(d.UserSelect(5, 0));  // the item already selected: no change, nothing fired
  EXPECT_TRUE(d.UserSelect(5, 1));
  EXPECT_FALSE(d.UserSelect(5, 2));
  EXPECT_EQ(d.GetCurSel(5), 1);
  EXPECT_TRUE(d.UserClick(6));  // toggles before the handler runs
  EXPECT_TRUE(d.UserClick(6));
  EXPECT_FALSE(d.UserClick(4));  // a static is not clickable
  EXPECT_EQ(seen, (std::vector<std::string>{"Q345", "on", "off"}));
}

TEST(DialogUser, AnExceptionEndingAHandlerIsShownAsAnErrorBox) {
  Recording d;
  CScriptedDesktop desktop;
  d.OnClick(7, [] { throw std::runtime_error("无法打开文件"); });
  EXPECT_THROW(d.UserClick(7), std::runtime_error);  // no desktop to show it on
  d.SetDesktop(&desktop);
  EXPECT_TRUE(d.UserClick(7));
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, "无法打开文件");
  EXPECT_EQ(desktop.Messages()[0].icon, MessageIcon::Error);
}

TEST(DialogState, ChangeRecordListsEachControlOnceInOrderOfFirstChange) {
  Recording d;
  d.SetText(2, "a");
  d.SetReadOnly(1, true);
  d.SetText(2, "b");
  d.SetReadOnly(3, true);  // already read-only: no change
  d.SetBitmap(4, 135);
  EXPECT_EQ(d.TakeChanges(), (std::vector<int>{2, 1, 4}));
  EXPECT_TRUE(d.TakeChanges().empty());
}

TEST(DialogState, CreateInitialisesOnceTooltipsAndIds) {
  Recording d;
  d.Create();
  d.Create();
  EXPECT_EQ(d.inits, 1);
  EXPECT_EQ(d.TooltipText(1), ">0,单位(mm)");
  EXPECT_FALSE(d.TooltipText(2).has_value());
  EXPECT_FALSE(d.TooltipText(0).has_value());
  EXPECT_THROW(d.GetText(99), std::out_of_range);

  DialogTemplate dup = SmallTemplate();
  dup.controls.push_back(Control(1, ControlKind::Edit));
  EXPECT_THROW(CDialog{dup}, std::logic_error);
}

}  // namespace
}  // namespace tiecalc
