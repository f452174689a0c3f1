// Forms in a shown viewer on the offscreen platform: real widgets on the paint panel,
// typed into and submitted through Qt's key and mouse events.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "layout/form_control_obj.h"
#include "platform/qt/qt_form_controls.h"
#include "viewer_fixture.h"

namespace tessival::viewer::testing {
namespace {

struct Submitted {
  std::string action, method;
  std::vector<std::string> results;
};

class ViewerFormsTest : public ViewerTest {
 protected:
  void LoadForm(std::string_view html) {
    viewer.OnFormSubmit = [this](const std::string& action, const std::string&, const std::string&,
                                 const std::string& method, const std::vector<std::string>& results) {
      submitted.push_back({action, method, results});
    };
    viewer.LoadFromString(html);
    PaintNow();
  }
  template <typename W>
  W* WidgetOf(std::size_t n) {
    const auto* window = dynamic_cast<const platform::QtFormControl*>(
        viewer.Document().FormControlList.at(n)->GetControl());
    return window ? qobject_cast<W*>(window->Widget()) : nullptr;
  }

  std::vector<Submitted> submitted;
};

TEST_F(ViewerFormsTest, TypedTextIsSubmittedByEnterAfterTheKeyIsHandled) {
  LoadForm(R"(<form action="/find" method=post><input name=a><input name=b>
      <input type=submit name=go value=Go></form>)");
  auto* a = WidgetOf<QLineEdit>(0);
  auto* b = WidgetOf<QLineEdit>(1);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->parentWidget(), &Panel());
  EXPECT_TRUE(a->isVisible());
  a->setFocus();
  QTest::keyClicks(a, "x");
  QTest::keyClick(a, Qt::Key_Tab);
  EXPECT_TRUE(b->hasFocus());
  QTest::keyClicks(b, "y");
  QTest::keyClick(b, Qt::Key_Return);
  EXPECT_TRUE(submitted.empty());  // delivered from the event queue
  QCoreApplication::processEvents();
  ASSERT_EQ(submitted.size(), 1u);
  EXPECT_EQ(submitted[0].action, "/find");
  EXPECT_EQ(submitted[0].method, "post");
  EXPECT_EQ(submitted[0].results, (std::vector<std::string>{"a=x", "b=y"}));
}

TEST_F(ViewerFormsTest, ClickingTheSubmitButtonAddsItsOwnEntry) {
  LoadForm(R"(<form><input name=q value="Stra&szlig;e"><input type=checkbox name=c>
      <input type=submit name=go value=Go></form>)");
  auto* box = WidgetOf<QCheckBox>(1);
  auto* button = WidgetOf<QPushButton>(2);
  ASSERT_TRUE(box && button);
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::mouseClick(button, Qt::LeftButton);
  QCoreApplication::processEvents();
  ASSERT_EQ(submitted.size(), 1u);
  EXPECT_EQ(submitted[0].results, (std::vector<std::string>{"q=Stra\xDF"
                                                            "e",
                                                            "c=on", "go=Go"}));
}

TEST_F(ViewerFormsTest, EnterInATextAreaBreaksTheLineAndDoesNotSubmit) {
  LoadForm("<form><textarea name=t></textarea><input name=e></form>");
  auto* area = WidgetOf<QPlainTextEdit>(0);
  ASSERT_TRUE(area);
  area->setFocus();
  QTest::keyClicks(area, "one");
  QTest::keyClick(area, Qt::Key_Return);
  QTest::keyClicks(area, "two");
  QCoreApplication::processEvents();
  EXPECT_TRUE(submitted.empty());
  EXPECT_EQ(viewer.FormData(), (layout::TFormData{{"t=one\r\ntwo", "e="}}));
}

TEST_F(ViewerFormsTest, RepaintHidesTheControlsAndThePaintShowsThoseInView) {
  LoadForm("<input name=e>");
  auto* edit = WidgetOf<QLineEdit>(0);
  ASSERT_TRUE(edit);
  viewer.Repaint();
  EXPECT_FALSE(edit->isVisible());
  PaintNow();
  EXPECT_TRUE(edit->isVisible());
}

TEST_F(ViewerFormsTest, KeysABoxOrRadioButtonDoesNotUseScrollThePage) {
  std::string page = R"(<form><input type=checkbox name=c>
      <input type=radio name=r value=1><input type=radio name=r value=2></form>)";
  for (int i = 0; i < 100; ++i) page += "<p>Zeile " + std::to_string(i) + "</p>";
  LoadForm(page);
  auto* box = WidgetOf<QCheckBox>(0);
  auto* first = WidgetOf<QRadioButton>(1);
  auto* second = WidgetOf<QRadioButton>(2);
  ASSERT_TRUE(box && first && second);

  first->setFocus();
  QTest::keyClick(first, Qt::Key_Right);
  EXPECT_TRUE(second->hasFocus()) << "arrows move within the radio group";
  QTest::keyClick(second, Qt::Key_Right);
  EXPECT_TRUE(second->hasFocus()) << "and stop at its end";
  EXPECT_EQ(viewer.VScrollBarPosition(), 0);
  QTest::keyClick(second, Qt::Key_End);
  EXPECT_GT(viewer.VScrollBarPosition(), 0);
  QTest::keyClick(second, Qt::Key_Home);
  EXPECT_EQ(viewer.VScrollBarPosition(), 0);

  box->setFocus();
  QTest::keyClick(box, Qt::Key_PageDown);
  const int paged = viewer.VScrollBarPosition();
  EXPECT_GT(paged, 0);
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(viewer.VScrollBarPosition(), paged + 16) << "a box has no arrow keys of its own";
  EXPECT_TRUE(box->hasFocus());
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_TRUE(box->isChecked()) << "Space stays the box's";
  EXPECT_EQ(viewer.VScrollBarPosition(), paged + 16);
}

}  // namespace
}  // namespace tessival::viewer::testing
