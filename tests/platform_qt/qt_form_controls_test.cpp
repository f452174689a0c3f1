// Form controls on real Qt widgets: values, lists, line breaks and wrapping, and the
// events the document hears, driven through Qt's own key and mouse delivery.
#include "platform/qt/qt_form_controls.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

namespace tessival::platform {
namespace {

class QtFormControlsTest : public ::testing::Test {
 protected:
  QtFormControlsTest() {
    panel.resize(400, 300);
    panel.show();
    panel.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&panel));
  }
  std::unique_ptr<QtFormControl> Make(FormControlKind kind) {
    auto control = std::make_unique<QtFormControl>(kind, &panel);
    control->SetBounds(10, 10, 200, 80);
    control->SetVisible(true);
    return control;
  }
  QWidget panel;
};

TEST_F(QtFormControlsTest, ADropDownAndASingleListKeepOneCurrentItem) {
  for (const FormControlKind kind : {FormControlKind::kComboBox, FormControlKind::kListBox}) {
    auto list = Make(kind);
    list->SetMultiSelect(false);
    list->SetItems({"a", "b\xE4", "c"});
    EXPECT_EQ(list->ItemCount(), 3);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(1);
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetItemSelected(2, true);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_FALSE(list->ItemSelected(1));
    EXPECT_TRUE(list->ItemSelected(2));
  }
}

TEST_F(QtFormControlsTest, AMultipleListKeepsEveryMark) {
  auto list = Make(FormControlKind::kListBox);
  list->SetMultiSelect(true);
  list->SetItems({"x", "y", "z"});
  list->SetItemSelected(0, true);
  list->SetItemSelected(2, true);
  EXPECT_TRUE(list->ItemSelected(0));
  EXPECT_FALSE(list->ItemSelected(1));
  EXPECT_TRUE(list->ItemSelected(2));
  list->SetItemSelected(0, false);
  EXPECT_FALSE(list->ItemSelected(0));
}

TEST_F(QtFormControlsTest, TextAreaKeepsCrLfLinesAndReportsItsWrappedLines) {
  auto area = Make(FormControlKind::kTextArea);
  area->SetWrap(TextWrap::kHard);
  area->SetText(
      "Gr\xFC\xDF"
      "e\r\nzweite Zeile");
  EXPECT_EQ(area->Text(),
            "Gr\xFC\xDF"
            "e\r\nzweite Zeile");
  EXPECT_EQ(area->DisplayedLines(), (std::vector<std::string>{"Gr\xFC\xDF"
                                                              "e",
                                                              "zweite Zeile"}));
  area->SetBounds(10, 10, 60, 200);
  area->SetText("one two three four five six seven");
  EXPECT_GT(area->DisplayedLines().size(), 1u);
}

TEST_F(QtFormControlsTest, EditEventsComeFromRealFocusAndKeys) {
  auto edit = Make(FormControlKind::kEdit);
  auto other = Make(FormControlKind::kEdit);
  std::vector<std::string> heard;
  FormControlEvents events;
  events.OnEnter = [&] { heard.push_back("enter"); };
  events.OnExit = [&] { heard.push_back("exit"); };
  events.OnKeyDown = [&](int key, bool) {
    heard.push_back("key " + std::to_string(key));
    return key == kKeyReturn;  // Enter is the document's
  };
  edit->SetEvents(events);
  edit->SetMaxLength(3);
  edit->SetFocus();
  EXPECT_TRUE(edit->Focused());
  QTest::keyClicks(edit->Widget(), "abcd");
  QTest::keyClick(edit->Widget(), Qt::Key_Return);
  other->SetFocus();
  EXPECT_EQ(edit->Text(), "abc");
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ(heard.front(), "enter");
  EXPECT_EQ(heard[heard.size() - 2], "key 13");
  EXPECT_EQ(heard.back(), "exit");
}

TEST_F(QtFormControlsTest, RadioButtonsOfAPanelDoNotGroupThemselves) {
  auto first = Make(FormControlKind::kRadioButton);
  auto second = Make(FormControlKind::kRadioButton);
  int clicks = 0;
  FormControlEvents events;
  events.OnClick = [&] { ++clicks; };
  second->SetEvents(events);
  first->SetChecked(true);
  second->SetBounds(10, 40, 13, 14);
  QTest::mouseClick(second->Widget(), Qt::LeftButton, {}, QPoint(6, 7));
  EXPECT_TRUE(first->Checked());
  EXPECT_TRUE(second->Checked());
  EXPECT_EQ(clicks, 1);
}

TEST_F(QtFormControlsTest, AControlWhoseParentWentAwayIsQuiet) {
  auto panel_owned = std::make_unique<QWidget>();
  auto edit = std::make_unique<QtFormControl>(FormControlKind::kEdit, panel_owned.get());
  panel_owned.reset();
  EXPECT_EQ(edit->Widget(), nullptr);
  edit->SetText("x");
  EXPECT_EQ(edit->Text(), "");
  EXPECT_FALSE(edit->Visible());
}

}  // namespace
}  // namespace tessival::platform
