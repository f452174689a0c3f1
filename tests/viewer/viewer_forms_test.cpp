// Forms in a shown viewer on the offscreen platform: real widgets on the paint panel,
// typed into and submitted through Qt's key and mouse events.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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

}  // namespace
}  // namespace tessival::viewer::testing
