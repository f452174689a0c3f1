// Form controls as the document keeps them: their kinds and sizes, radio groups, the
// history's save and restore, focus and change events, and controls out of sight.
#include <gtest/gtest.h>

#include "form_test_support.h"
#include "layout/form_edit.h"
#include "layout/form_select.h"
#include "layout/form_textarea.h"

namespace tessival::layout::testing {
namespace {

using platform::FormControlKind;

// The test canvas with the controls' default 10-point font: 6 pixels a character, 13 a line.
constexpr int kCharWidth = 6;
constexpr int kLineHeight = 13;
constexpr int kTextDescent = 4;  // of the page's 12-point text

TEST_F(FormTest, SelectSizeOneIsADropDownAndSizeFourAListOfFourRows) {
  ReadForms(R"(<select size=1 name=d><option>a<option>b</select>
      <select size=4 name=l><option>a<option>b</select>
      <select multiple name=m><option>a<option>b<option>c</select>)");
  LayOut();
  EXPECT_EQ(Window(0).Kind(), FormControlKind::kComboBox);
  EXPECT_EQ(Window(1).Kind(), FormControlKind::kListBox);
  auto& list = static_cast<TListBoxFormControlObj&>(Control(1));
  EXPECT_EQ(list.Rows, 4);
  EXPECT_EQ(list.Height(), 4 * kLineHeight + 2 * Window(1).FrameWidth());
  // Without SIZE a list shows its options, up to eight.
  auto& multiple = static_cast<TListBoxFormControlObj&>(Control(2));
  EXPECT_EQ(Window(2).Kind(), FormControlKind::kListBox);
  EXPECT_TRUE(Window(2).MultiSelect());
  EXPECT_EQ(multiple.Rows, 3);
}

TEST_F(FormTest, ControlsAreSizedFromTheirFontAndTheStyle) {
  ReadForms(R"(<input name=a><input name=b size=4><input name=c style="width:70px;height:30px">
      <input type=submit value=Find><textarea rows=2 cols=10></textarea>
      <input type=checkbox><input type=radio>)");
  LayOut();
  EXPECT_EQ(Control(0).Width(), 15 * kCharWidth + 5);
  EXPECT_EQ(Control(1).Width(), 4 * kCharWidth + 5);
  EXPECT_EQ(Control(2).Width(), 70);
  EXPECT_EQ(Control(2).Height(), 30);
  EXPECT_EQ(Control(3).Width(), 4 * kCharWidth + 20);
  EXPECT_EQ(Control(3).Height(), kLineHeight + 8);
  const int frame = 2 * Window(4).FrameWidth();
  EXPECT_EQ(Control(4).Width(), 10 * kCharWidth + 5 + frame + Window(4).ScrollBarWidth());
  EXPECT_EQ(Control(4).Height(), 2 * kLineHeight + 5 + frame);
  EXPECT_EQ(Control(5).Width(), 13);
  EXPECT_EQ(Control(5).Height(), 13);
  EXPECT_EQ(Control(6).Height(), 14);
}

TEST(EditSizeChars, NumbersListsAndNonsense) {
  const auto chars = [](int number, const char* text) {
    html::TAttributeList list;
    list.Add(html::SizeSy, number, text);
    return EditSizeChars(list[0]);
  };
  EXPECT_EQ(chars(30, "30"), 30);
  EXPECT_EQ(chars(0, "25,1"), 25);
  EXPECT_EQ(chars(0, "x 1"), 20);
  EXPECT_EQ(chars(0, "wide"), 15);
  EXPECT_EQ(chars(2000000000, "2000000000"), 1000);  // a width that stays a number
}

TEST_F(FormTest, ClickingARadioUnchecksItsGroupInItsOwnFormOnly) {
  ReadForms(R"(<form><input type=radio name=pick value=1 checked><input type=radio name=PICK value=2>
      <input type=radio name=other checked></form>
      <form><input type=radio name=pick value=1 checked></form>)");
  Window(1).Click();
  EXPECT_FALSE(Window(0).Checked());
  EXPECT_TRUE(Window(1).Checked());
  EXPECT_TRUE(Window(2).Checked());
  EXPECT_TRUE(Window(3).Checked());
}

TEST_F(FormTest, ArrowKeysMoveTheFocusWithinARadioGroupAndStopAtItsEnds) {
  ReadForms(R"(<form><input type=radio name=g value=1><input type=checkbox name=g>
      <input type=radio name=g value=2><input type=radio name=h></form>)");
  Window(0).Focus();
  Window(0).PressKey(platform::kKeyRight);
  EXPECT_EQ(Controls.Focused(), &Window(2));
  Window(2).PressKey(platform::kKeyDown);
  EXPECT_EQ(Controls.Focused(), &Window(2));
  Window(2).PressKey(platform::kKeyUp);
  EXPECT_EQ(Controls.Focused(), &Window(0));
}

TEST_F(FormTest, FormDataOfEveryControlKindIsSavedAndRestored) {
  const char* page = R"(<form><input name=e><input type=password name=p>
      <input type=checkbox name=c value=C><input type=radio name=r value=1 checked>
      <input type=radio name=r value=2><select name=s><option value=a>A<option value=b>B</select>
      <select name=m multiple><option>x<option>y<option>z</select><textarea name=t></textarea>
      <input type=hidden name=h value=kept></form><form><input name=e></form>)";
  ReadForms(page);
  Window(0).Type("Grüße");
  Window(1).Type("pw");
  Window(2).Click();
  Window(4).Click();
  Window(5).SetItemIndex(1);
  Window(6).SetItemSelected(0, false);
  Window(6).SetItemSelected(1, true);
  Window(6).SetItemSelected(2, true);
  Window(7).SetText("line1\r\nline2");
  Window(9).Type("second");
  const TFormData saved = Doc->GetFormData();
  ASSERT_EQ(saved.size(), 2u);

  ReadForms(page);
  Doc->SetFormData(saved);
  EXPECT_EQ(Window(0).Text(), "Grüße");
  EXPECT_EQ(Window(1).Text(), "pw");
  EXPECT_TRUE(Window(2).Checked());
  EXPECT_FALSE(Window(3).Checked());
  EXPECT_TRUE(Window(4).Checked());
  EXPECT_EQ(Window(5).ItemIndex(), 1);
  EXPECT_FALSE(Window(6).ItemSelected(0));
  EXPECT_TRUE(Window(6).ItemSelected(1));
  EXPECT_TRUE(Window(6).ItemSelected(2));
  EXPECT_EQ(Window(7).Text(), "line1\r\nline2");
  EXPECT_EQ(Window(9).Text(), "second");
  // Data for fewer forms than the page has leaves the others as they are.
  Doc->SetFormData(TFormData{{"e=only"}});
  EXPECT_EQ(Window(0).Text(), "only");
  EXPECT_EQ(Window(9).Text(), "second");
}

TEST_F(FormTest, FocusBlurAndChangeEventsCarryTheElementsScripts) {
  ReadForms(R"html(<input name=a onfocus="f()" onblur="b()" onchange="c()" onclick="k()">
      <input type=checkbox onclick="box()">)html");
  std::vector<std::string> events;
  // Only events with a script are kept.
  const auto keep = [&](const char* kind) {
    return [&events, kind](TFormControlObj&, const std::string& text) {
      if (!text.empty()) events.push_back(std::string(kind) + " " + text);
    };
  };
  Doc->FormHost.OnObjectFocus = keep("focus");
  Doc->FormHost.OnObjectBlur = keep("blur");
  Doc->FormHost.OnObjectChange = keep("change");
  Doc->FormHost.OnObjectClick = keep("click");
  Window(0).Focus();
  Window(1).Focus();  // left unchanged: no change event
  Window(0).Focus();
  Window(0).Type("new");
  Window(1).Click();
  EXPECT_EQ(events, (std::vector<std::string>{"focus f()", "blur b()", "focus f()", "change c()",
                                              "blur b()", "click box()"}));
}

TEST_F(FormTest, ControlsArePlacedWhenPaintedAndKeptOutOfSightWhenScrolledAway) {
  ReadForms(R"(<input name=top><br><br><br><br><br><br><br><br><br><br><input name=low>)");
  LayOut();
  EXPECT_FALSE(Window(0).Visible());  // out of sight until painted
  Paint(0);
  EXPECT_TRUE(Window(0).Visible());
  EXPECT_EQ(Window(0).Bounds().left, 0);
  EXPECT_FALSE(Window(1).Visible());
  // Scrolled away without the focus: hidden. With the focus: parked far left, still shown.
  Paint(150);
  EXPECT_FALSE(Window(0).Visible());
  EXPECT_TRUE(Window(1).Visible());
  Window(1).Focus();
  Paint(0);
  EXPECT_TRUE(Window(1).Visible());
  EXPECT_EQ(Window(1).Bounds().left, ParkedControlX);
  EXPECT_EQ(Window(0).Bounds().left, 0);
}

TEST_F(FormTest, AControlStandsOnTheBaselineOfItsLine) {
  ReadForms("text <input name=a style='height:40px'> <input type=checkbox>");
  LayOut();
  Paint(0);
  const platform::Rect edit = Window(0).Bounds();
  const platform::Rect box = Window(1).Bounds();
  // The line is raised just enough to hold the edit, which reaches down to the text's
  // descent; the box stands on the baseline.
  EXPECT_EQ(edit.top, 0);
  EXPECT_EQ(edit.bottom, box.bottom + kTextDescent);
  EXPECT_GT(edit.left, 4 * 8);
}

}  // namespace
}  // namespace tessival::layout::testing
