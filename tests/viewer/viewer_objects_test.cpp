// What a host sees of the objects in a shown page: clicks and hovering on pictures, a panel
// the host fills, drags over the panel, and a paint that cannot get its memory picture.
#include <QDropEvent>
#include <QFrame>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <string>
#include <vector>

#include "layout/image_obj.h"
#include "platform/qt/qt_panel_window.h"
#include "tests/imaging/gif_builder.h"
#include "viewer_fixture.h"

namespace tessival::viewer::testing {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;

// One 40 × 20 red picture served for every SRC.
class ViewerObjectsTest : public ViewerTest {
 protected:
  ViewerObjectsTest() {
    const std::vector<std::uint8_t> gif =
        imaging::test::MakeGif(40, 20, {0xFF0000, 0x00FF00}, {imaging::test::Solid(0, 0, 40, 20, 0)});
    picture_.Write(gif.data(), gif.size());
    viewer.OnImageRequest = [this](const std::string&, platform::TStream*& answer) {
      picture_.SetPosition(0);
      answer = &picture_;
    };
  }

  QImage Shown() {
    PaintNow();
    return Panel().grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  // The top-left pixel of `colour` on the panel, or (-1, -1).
  QPoint TopLeftOf(QRgb colour) {
    const QImage shown = Shown();
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (shown.pixel(x, y) == colour) return {x, y};
    return {-1, -1};
  }

 private:
  platform::TMemoryStream picture_;
};

struct ImageHit {
  layout::TImageObj* image = nullptr;
  Qt::MouseButton button = Qt::NoButton;
  int x = -1;
  int y = -1;
};

TEST_F(ViewerObjectsTest, PictureClicksAndHoverReportThePointInsideThePicture) {
  std::vector<ImageHit> clicks;
  std::vector<ImageHit> overs;
  viewer.OnImageClick = [&](layout::TImageObj* image, Qt::MouseButton button, Qt::KeyboardModifiers,
                            int x, int y) {
    clicks.push_back({image, button, x, y});
  };
  viewer.OnImageOver = [&](layout::TImageObj* image, Qt::KeyboardModifiers, int x, int y) {
    overs.push_back({image, Qt::NoButton, x, y});
  };
  viewer.LoadFromString("<p>Text before the picture <img src=red.gif> and after");
  const QPoint corner = TopLeftOf(kRed);
  ASSERT_NE(corner, QPoint(-1, -1));

  Move(corner + QPoint(7, 5));
  ASSERT_EQ(overs.size(), 1u);
  ASSERT_NE(overs[0].image, nullptr);
  EXPECT_EQ(overs[0].image->Source, "red.gif");
  EXPECT_EQ(QPoint(overs[0].x, overs[0].y), QPoint(7, 5));
  EXPECT_EQ(viewer.PanelCursor(), crArrow);  // a plain picture is no text

  Press(corner + QPoint(30, 12), Qt::RightButton);
  Release(corner + QPoint(30, 12), Qt::RightButton);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].image, overs[0].image);
  EXPECT_EQ(clicks[0].button, Qt::RightButton);
  EXPECT_EQ(QPoint(clicks[0].x, clicks[0].y), QPoint(30, 12));

  // Beside the picture neither fires, and the text cursor comes back over text.
  Move(PointOfText("before"));
  Click(PointOfText("before"));
  EXPECT_EQ(overs.size(), 1u);
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_EQ(viewer.PanelCursor(), crTextCursor);
}

TEST_F(ViewerObjectsTest, APictureInALinkKeepsTheLinkCursorAndARightClickNamesBoth) {
  int overs = 0;
  viewer.OnImageOver = [&](layout::TImageObj*, Qt::KeyboardModifiers, int, int) { ++overs; };
  std::vector<TRightClickParameters> right_clicks;
  viewer.OnRightClick = [&](const TRightClickParameters& p) { right_clicks.push_back(p); };
  viewer.LoadFromString("<p><a href=\"next.html\" target=main><img src=red.gif border=0></a>");
  const QPoint inside = TopLeftOf(kRed) + QPoint(4, 3);
  Move(inside);
  EXPECT_EQ(overs, 1);
  EXPECT_EQ(viewer.PanelCursor(), crLinkCursor);
  EXPECT_EQ(viewer.HoverURL(), "next.html");

  Press(inside, Qt::RightButton);
  Release(inside, Qt::RightButton);
  ASSERT_EQ(right_clicks.size(), 1u);
  ASSERT_NE(right_clicks[0].Image, nullptr);
  EXPECT_EQ(QPoint(right_clicks[0].ImageX, right_clicks[0].ImageY), QPoint(4, 3));
  EXPECT_EQ(right_clicks[0].URL, "next.html");
  EXPECT_EQ(right_clicks[0].Target, "main");
}

TEST_F(ViewerObjectsTest, APanelIsAWindowOnThePaintPanelThatTheHostFills) {
  std::vector<std::string> created;
  QFrame* filled = nullptr;
  int destroyed = 0;
  viewer.OnPanelCreate = [&](const std::string& name, const std::string& type, const std::string& src,
                             platform::PanelWindow& panel) {
    created = {name, type, src};
    filled = dynamic_cast<platform::QtPanelWindow&>(panel).Widget();
    QPalette palette = filled->palette();
    palette.setColor(QPalette::Window, QColor(kGreen));
    filled->setPalette(palette);
    filled->setAutoFillBackground(true);
  };
  viewer.OnPanelDestroy = [&](platform::PanelWindow&) { ++destroyed; };
  viewer.LoadFromString(
      "<p>A chart: <panel name=chart type=\"x-chart\" src=\"data.csv\" width=120 height=80> here");
  ASSERT_NE(filled, nullptr);
  EXPECT_EQ(created, (std::vector<std::string>{"chart", "x-chart", "data.csv"}));
  EXPECT_EQ(filled->parentWidget(), &Panel());
  EXPECT_EQ(filled->size(), QSize(120, 80));

  const QPoint corner = TopLeftOf(kGreen);  // the panel's own painting shows in the page
  ASSERT_NE(corner, QPoint(-1, -1));
  EXPECT_TRUE(filled->isVisible());
  EXPECT_GT(corner.x(), PointOfText("chart").x());  // after the text before it

  const QPointer<QFrame> window = filled;
  viewer.Clear();
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(window.isNull());  // the window went with its document
}

TEST_F(ViewerObjectsTest, DragsOverThePanelAskTheHostAndDropWhereItAccepts) {
  QMimeData data;
  data.setText("dragged words");
  auto send = [&](QEvent::Type type, QPoint at) {
    if (type == QEvent::DragEnter) {
      QDragEnterEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&Panel(), &event);
      return event.isAccepted();
    }
    if (type == QEvent::DragMove) {
      QDragMoveEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&Panel(), &event);
      return event.isAccepted();
    }
    if (type == QEvent::DragLeave) {
      QDragLeaveEvent event;
      QCoreApplication::sendEvent(&Panel(), &event);
      return false;
    }
    QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Panel(), &event);
    return event.isAccepted();
  };
  viewer.LoadFromString("<p>Drop here");

  // Without handlers nothing is taken.
  EXPECT_FALSE(send(QEvent::DragEnter, QPoint(10, 10)));
  EXPECT_FALSE(send(QEvent::Drop, QPoint(10, 10)));

  std::vector<std::tuple<TDragState, QPoint, std::string>> overs;
  std::vector<QPoint> drops;
  viewer.OnDragOver = [&](const TDragSource& source, int x, int y, TDragState state, bool& accept) {
    overs.emplace_back(state, QPoint(x, y), source.Data ? source.Data->text().toStdString() : "");
    accept = y < 100;  // only the upper part takes drops
  };
  viewer.OnDragDrop = [&](const TDragSource& source, int x, int y) {
    EXPECT_EQ(source.Data, &data);
    drops.emplace_back(x, y);
  };
  EXPECT_TRUE(send(QEvent::DragEnter, QPoint(20, 30)));
  EXPECT_FALSE(send(QEvent::DragMove, QPoint(20, 150)));
  send(QEvent::DragLeave, QPoint());
  EXPECT_TRUE(send(QEvent::DragEnter, QPoint(25, 40)));
  EXPECT_TRUE(send(QEvent::Drop, QPoint(25, 41)));
  ASSERT_EQ(overs.size(), 4u);
  EXPECT_EQ(overs[0], std::make_tuple(dsDragEnter, QPoint(20, 30), std::string("dragged words")));
  EXPECT_EQ(std::get<0>(overs[1]), dsDragMove);
  EXPECT_EQ(std::get<0>(overs[2]), dsDragLeave);
  EXPECT_EQ(std::get<1>(overs[2]), QPoint(20, 150));  // where the drag was last seen
  EXPECT_EQ(std::get<0>(overs[3]), dsDragEnter);
  EXPECT_EQ(drops, std::vector<QPoint>{QPoint(25, 41)});
  send(QEvent::DragLeave, QPoint());  // after the drop: no drag left to leave
  EXPECT_EQ(overs.size(), 4u);
}

class RecordingBoxes final : public platform::MessageBoxes {
 public:
  void ShowError(const std::string& message) override { shown.push_back(message); }
  std::vector<std::string> shown;
};

TEST(ViewerPaintTest, APaintWithoutMemoryForItsPictureIsOutOfResources) {
  tessival::testing::EnsureQtApplication();
  RecordingBoxes boxes;
  TPageViewer viewer(nullptr, &boxes);
  viewer.resize(300, 200);
  viewer.LoadFromString("<p>Some text");
  QImage target(10, 10, QImage::Format_RGB32);
  QPainter painter(&target);
  // A line wider than one picture may address (refused before any memory is asked for).
  const QRect huge(0, 0, 1 << 27, 1);
  try {
    viewer.DrawPanel(painter, huge);
    ADD_FAILURE() << "no error";
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), "Out of Resources");
  }
  viewer.DrawPanel(painter, QRect(0, 0, 0, 0));  // nothing to paint is no error

  // From a real paint the error reaches the error box instead of the event loop.
  QPaintEvent event(huge);
  QCoreApplication::sendEvent(&viewer.PaintPanel(), &event);
  EXPECT_EQ(boxes.shown, std::vector<std::string>{"Out of Resources"});
}

}  // namespace
}  // namespace tessival::viewer::testing
