// The tag reader's side of forms: FORM blocks and the current form, options, text-area
// lines, and controls standing in the text.
#include <gtest/gtest.h>

#include "form_test_support.h"
#include "layout/form_buttons.h"
#include "layout/form_select.h"
#include "layout/form_textarea.h"

namespace tessival::layout::testing {
namespace {

std::vector<std::string> OptionsOf(const TFormControlObj& control) {
  std::vector<std::string> out;
  for (const TOptionObj& option : static_cast<const TListBoxFormControlObj&>(control).Options)
    out.push_back(option.Value + "|" + option.Text + (option.Selected ? "|selected" : ""));
  return out;
}

TEST_F(FormTest, OptionsTakeTheirValueOrTheirTrimmedCaption) {
  ReadForms("<select><option>a<option selected value=2>b</select>");
  EXPECT_EQ(OptionsOf(Control(0)), (std::vector<std::string>{"a|a", "2|b|selected"}));
  EXPECT_EQ(Window(0).Items(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Window(0).ItemIndex(), 1);
}

TEST_F(FormTest, OptionsEndAtACellAndTheCellIsStillRead) {
  ReadForms("<select><option> &nbsp;x y </option>ignored<option>z<p>after</select>");
  EXPECT_EQ(OptionsOf(Control(0)), (std::vector<std::string>{"x y|x y", "z|z"}));
  const std::vector<const TSection*> text = TextSections();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back()->Text().find("after"), std::string::npos);
}

TEST_F(FormTest, TextAreaLinesEndWithCrLfAndTheLastOneWithout) {
  ReadForms("<textarea>line1\nline2</textarea>after");
  auto& area = static_cast<TTextAreaFormControlObj&>(Control(0));
  EXPECT_EQ(area.InitialText, "line1\r\nline2");
  EXPECT_EQ(Window(0).Text(), "line1\r\nline2");
  EXPECT_NE(TextSections().back()->Text().find("after"), std::string::npos);
}

TEST_F(FormTest, TextAreaTextKeepsMarkupAndReadsEntities) {
  ReadForms("<textarea rows=3 cols=7 wrap=off><b>&amp;</TEXTAREA >more");
  auto& area = static_cast<TTextAreaFormControlObj&>(Control(0));
  EXPECT_EQ(area.InitialText, "<b>&");
  EXPECT_EQ(area.Rows, 3);
  EXPECT_EQ(area.Cols, 7);
  EXPECT_EQ(area.Wrap, platform::TextWrap::kOff);
  EXPECT_EQ(TextSections().back()->Text(), std::string(1, InlineObjectChar) + "more");
}

TEST_F(FormTest, FormsTakeTheirAttributesAndControlsOutsideOneGetAFormOfTheirOwn) {
  ReadForms(R"(<input name=loose><form method=postal action=/a><input name=in></form>
      <input name=after><form><input name=second>)");
  ASSERT_EQ(Doc->FormList.size(), 4u);
  EXPECT_EQ(Control(0).Form, Doc->FormList[0].get());
  EXPECT_EQ(Doc->FormList[0]->Method, "Get");
  EXPECT_EQ(Control(1).Form, Doc->FormList[1].get());
  EXPECT_EQ(Doc->FormList[1]->Method, "post");
  EXPECT_EQ(Doc->FormList[1]->Action, "/a");
  // After </form> the next control opens a new form of its own; the loose form is not
  // taken up again.
  EXPECT_EQ(Control(2).Form, Doc->FormList[2].get());
  EXPECT_EQ(Control(3).Form, Doc->FormList[3].get());
}

TEST_F(FormTest, HiddenAndImageInputsTakeNoControlCharacter) {
  ReadForms(R"(a<input type=hidden name=h>b<input type=image src=x.gif>c<input name=e>d)");
  const TSection& section = *TextSections().front();
  EXPECT_EQ(section.Objects().size(), 2u);  // the picture and the edit's slot
  EXPECT_EQ(section.Text(), std::string("ab") + InlineObjectChar + "c" + InlineObjectChar + "d");
  EXPECT_EQ(Doc->FormList[0]->NonHiddenCount, 2);
  EXPECT_EQ(Doc->FormList[0]->ControlList.size(), 3u);
  EXPECT_EQ(Control(0).GetControl(), nullptr);
}

TEST_F(FormTest, InputTypesChooseTheirKind) {
  ReadForms(R"(<input type=PASSWORD><input type=bogus><input><input type=button>
      <input type=reset value=Undo>)");
  EXPECT_EQ(Window(0).Kind(), platform::FormControlKind::kPassword);
  EXPECT_EQ(Window(1).Kind(), platform::FormControlKind::kEdit);
  EXPECT_EQ(Window(2).Kind(), platform::FormControlKind::kEdit);
  EXPECT_EQ(static_cast<TButtonFormControlObj&>(Control(3)).Label(), "Button");
  EXPECT_EQ(static_cast<TButtonFormControlObj&>(Control(4)).Label(), "Undo");
}

}  // namespace
}  // namespace tessival::layout::testing
