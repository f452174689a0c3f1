// What forms hand to the host: entries in form order, the triggers that submit, reset.
#include <gtest/gtest.h>

#include "form_test_support.h"
#include "layout/form_buttons.h"
#include "layout/image_obj.h"

namespace tessival::layout::testing {
namespace {

using Entries = std::vector<std::string>;
using platform::kKeyReturn;

TEST_F(FormTest, SubmitButtonHandsTheEntriesInFormOrderWithItsOwnLast) {
  ReadForms(R"(<form action="/find" target=main method=post enctype="text/plain">
      <input name=a><input name=b><input type=submit name=go value=Go></form>)");
  Window(0).Type("x");
  Window(1).Type("y");
  Window(2).Click();
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(LastResults(), (Entries{"a=x", "b=y", "go=Go"}));
  EXPECT_EQ(Submitted[0].Action, "/find");
  EXPECT_EQ(Submitted[0].Target, "main");
  EXPECT_EQ(Submitted[0].EncType, "text/plain");
  EXPECT_EQ(Submitted[0].Method, "post");
}

TEST_F(FormTest, EnterInAnEditSubmitsWithoutTheButtonAndIsSwallowed) {
  ReadForms("<form><input name=q value=start><input type=submit name=go value=Go></form>");
  Window(0).PressKey(kKeyReturn);
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(LastResults(), Entries{"q=start"});
  EXPECT_EQ(Window(0).Text(), "start");
}

TEST_F(FormTest, EnterInATextAreaStartsANewLineAndDoesNotSubmit) {
  ReadForms("<form><textarea name=t>one</textarea></form>");
  Window(0).PressKey(kKeyReturn);
  Window(0).Type("two");
  EXPECT_TRUE(Submitted.empty());
  EXPECT_EQ(Window(0).Text(), "one\r\ntwo");
}

TEST_F(FormTest, BoxesGiveEntriesOnlyWhenCheckedAndABoxWithoutValueSaysOn) {
  ReadForms(R"(<form><input type=checkbox name=off><input type=checkbox name=c checked>
      <input type=checkbox name=v value=yes checked><input type=radio name=r value=1>
      <input type=radio name=r value=2 checked><input type=hidden name=h value=secret>
      <input type=submit></form>)");
  Window(6).Click();
  EXPECT_EQ(LastResults(), (Entries{"c=on", "v=yes", "r=2", "h=secret"}));
}

TEST_F(FormTest, ListsGiveTheirChosenOptionsAndANamelessSubmitAddsNothing) {
  ReadForms(R"(<form><select name=one><option value=a>A<option value=b selected>B</select>
      <select name=many multiple><option>x<option selected>y<option selected>z</select>
      <select name=none size=3></select><input type=submit value="Go"></form>)");
  Window(3).Click();
  EXPECT_EQ(LastResults(), (Entries{"one=b", "many=y", "many=z"}));
}

TEST_F(FormTest, ATextAreaWithHardWrapSubmitsItsDisplayedLines) {
  ReadForms("<form><textarea name=t wrap=hard>a\nb</textarea><textarea name=s>c\nd</textarea></form>");
  Doc->FormList[0]->Submit();
  EXPECT_EQ(LastResults(), (Entries{"t=a\r\nb", "s=c\r\nd"}));
}

TEST_F(FormTest, ResetButtonPutsEveryControlBackAndSubmitsNothing) {
  ReadForms(R"(<form><input name=e value=orig><input type=checkbox name=c checked>
      <select name=s><option>p<option selected>q</select><textarea name=t>text</textarea>
      <input type=reset></form>)");
  Window(0).SetText("changed");
  Window(1).Click();
  Window(2).SetItemIndex(0);
  Window(3).SetText("other");
  Window(4).Click();
  EXPECT_TRUE(Submitted.empty());
  EXPECT_EQ(Window(0).Text(), "orig");
  EXPECT_TRUE(Window(1).Checked());
  EXPECT_EQ(Window(2).ItemIndex(), 1);
  EXPECT_EQ(Window(3).Text(), "text");
}

TEST_F(FormTest, NothingIsSubmittedWithoutAHostHandler) {
  ReadForms("<form><input name=q><input type=submit></form>");
  Doc->FormHost.OnFormSubmit = nullptr;
  Window(1).Click();
  Window(0).PressKey(kKeyReturn);
  EXPECT_TRUE(Submitted.empty());
}

TEST_F(FormTest, AnImageInputClickedInItsPictureSubmitsThePointOnce) {
  ReadForms(R"(<form><input type=image name=n src=go.gif width=40 height=20 alt=Go>
      <input type=image src=go.gif width=40 height=20><input type=hidden name=h value=1></form>)");
  LayOut();
  Paint(0);
  auto& named = static_cast<TImageFormControlObj&>(Control(0));
  ASSERT_NE(named.Image(), nullptr);
  platform::TestCanvas canvas(400, 100);
  std::string title;
  TFormControlObj* found = nullptr;
  std::unique_ptr<html::TUrlTarget> link;
  const int flags = Doc->FindLink(canvas, named.Image()->DrawX + 10, title, found, link,
                                  named.Image()->DrawY + 7);
  EXPECT_TRUE(flags & flFormControl);
  ASSERT_EQ(found, &named);
  named.ImageClicked();
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(LastResults(), (Entries{"n.x=10", "n.y=7", "h=1"}));
  // The click is forgotten once submitted; a nameless input gives plain x and y.
  auto& nameless = static_cast<TImageFormControlObj&>(Control(1));
  nameless.SetClickPoint(3, 4);
  nameless.ImageClicked();
  EXPECT_EQ(LastResults(), (Entries{"x=3", "y=4", "h=1"}));
}

}  // namespace
}  // namespace tessival::layout::testing
