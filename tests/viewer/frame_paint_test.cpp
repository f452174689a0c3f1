// What the frame viewer looks like on screen: every pixel of its frames is painted, the
// frames' sunken bevels included, also after a link has replaced a frame's page or the
// focus has moved to another frame.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>

#include "frame_viewer_fixture.h"
#include "viewer/frame_set.h"
#include "viewer/fv_frame.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;

constexpr QRgb kUnpainted = 0xFFFF00FF;

class FramePaintTest : public FrameViewerTest {
 protected:
  // The frame viewer drawn over a colour no widget uses, so a pixel nobody paints shows.
  QImage Screen() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QImage screen(viewer_->size(), QImage::Format_ARGB32);
    screen.fill(kUnpainted);
    viewer_->render(&screen);
    return screen;
  }
  static int Unpainted(const QImage& screen) {
    int count = 0;
    for (int y = 0; y < screen.height(); ++y) {
      for (int x = 0; x < screen.width(); ++x) count += screen.pixel(x, y) == kUnpainted ? 1 : 0;
    }
    return count;
  }
  // A sunken bevel is darker on a frame's left edge than the page inside it.
  bool BevelDrawn(const QImage& screen, const TfvFrame& frame) {
    const QPoint edge = frame.mapTo(viewer_.get(), QPoint(0, frame.height() / 2));
    const QPoint inside = frame.mapTo(viewer_.get(), QPoint(frame.width() / 2, frame.height() / 2));
    return qGray(screen.pixel(edge)) + 40 < qGray(screen.pixel(inside));
  }
};

TEST_F(FramePaintTest, FramesArePaintedWholeAfterLinksReplaceTheirPages) {
  viewer_->SetDefBackground(0xFFFFFF);
  Write("b.htm", "<p>Second page");
  Write("c.htm", "<p>Third page");
  Write("nav.htm", "<h1><a href=b.htm>WWWW</a></h1>");
  Write("inner.htm", "<frameset rows=*,*><frame src=b.htm><frame src=c.htm></frameset>");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=nav.htm><frame name=main src=c.htm></frameset>"));
  QImage screen = Screen();
  EXPECT_EQ(Unpainted(screen), 0);
  EXPECT_TRUE(BevelDrawn(screen, Frame(0)));
  EXPECT_TRUE(BevelDrawn(screen, Frame(1)));

  // A link clicked with the mouse: the page is replaced and the focus moves to its frame,
  // which takes the focus border from the other viewer.
  ClickWithMouse(*Frame(1).Viewer(), QPoint(5, 300));
  ClickWithMouse(*Frame(0).Viewer(), QPoint(30, 30));
  ASSERT_EQ(AllText(*Frame(0).Viewer()), "Second page");
  screen = Screen();
  EXPECT_EQ(Unpainted(screen), 0);
  EXPECT_TRUE(BevelDrawn(screen, Frame(0)));
  EXPECT_TRUE(BevelDrawn(screen, Frame(1)));

  // A frame set in place of a page, then a page again in the frame that held the set.
  Frame(1).LoadFrameDocument((dir_ / "inner.htm").string(), {});
  ASSERT_NE(Frame(1).FrameSet(), nullptr);
  EXPECT_EQ(Unpainted(Screen()), 0);
  Frame(1).LoadFrameDocument((dir_ / "c.htm").string(), {});
  ASSERT_NE(Frame(1).Viewer(), nullptr);
  screen = Screen();
  EXPECT_EQ(Unpainted(screen), 0);
  EXPECT_TRUE(BevelDrawn(screen, Frame(1)));
}

TEST_F(FramePaintTest, BorderlessFramesWithBothScrollBarsArePaintedWhole) {
  // The corner between a viewer's two scroll bars belongs to no bar.
  viewer_->SetfvOptions(fvNoBorder);
  std::string wide = "<pre>";
  for (int line = 0; line < 80; ++line) wide += std::string(120, 'W') + "\n";
  Write("wide.htm", wide);
  viewer_->LoadFromFile(
      Write("set.htm",
            "<frameset cols=*,* border=0><frame src=wide.htm><frame src=wide.htm></frameset>"));
  ASSERT_TRUE(Frame(0).Viewer()->HScrollBar().isVisible());
  ASSERT_TRUE(Frame(0).Viewer()->VScrollBar().isVisible());
  ClickWithMouse(*Frame(1).Viewer(), QPoint(30, 30));
  EXPECT_EQ(Unpainted(Screen()), 0);
}

}  // namespace
}  // namespace tessival::viewer
