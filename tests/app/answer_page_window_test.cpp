// The whole query flow as a user meets it: a service button fetches a page from a local
// nginx, and the lower pane shows it rendered, lets the user select and copy from it, and
// keeps it when a link is clicked. A frame-set answer shows its frames.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <optional>
#include <utility>

#include "app/main_window.h"
#include "loopback_peer.h"
#include "nginx_config.h"
#include "peer_process.h"
#include "platform/clipboard.h"
#include "real_client_window.h"
#include "scratch_directory.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_frame.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"

namespace tessival::app {
namespace {

using ::testing::HasSubstr;

// The answer page in Windows-1252, as the service's header says.
const std::string kHeading =
    "Gr\xFC\xDF"
    "e aus K\xF6ln";
const std::string kPage =
    "<html><body><h1>" + kHeading +
    "</h1><table bgcolor=\"#FF0000\" width=\"200\" height=\"60\"><tr><td>"
    "Stra\xDF"
    "e</td></tr></table><p><a href=\"weiter.htm\">Weiter lesen</a></p></body></html>";
const std::string kFrameSet =
    "<html><frameset cols=\"50%,*\"><frame name=links src=\"links.htm\"><frame name=rechts "
    "src=\"rechts.htm\">"
    "</frameset></html>";

class PageNginx {
 public:
  bool Start() {
    const std::string nginx = net::testing::FindProgram("nginx");
    if (nginx.empty()) return false;
    port_ = net::testing::UnusedPort();
    const std::string dir = folder_.path().string();
    folder_.Write("www/cgi-bin/wort_www", kPage);
    folder_.Write("www/cgi-bin/checkdomain.pl", kFrameSet);
    // The frames of the frame-set answer, fetched from beside it on the server.
    folder_.Write("www/cgi-bin/links.htm", "<p>Linker Rahmen");
    folder_.Write("www/cgi-bin/rechts.htm", "<p>Rechter Rahmen");
    folder_.Write("tmp/.keep", "");
    folder_.Write("nginx.conf",
                  net::testing::NginxConfig(
                      dir,
                      "  access_log off;\n" +
                          net::testing::NginxServer(port_, dir,
                                                    "    location /cgi-bin/ { types {} default_type "
                                                    "\"text/html; charset=windows-1252\"; }\n")));
    return process_.Start({nginx, "-p", dir, "-c", dir + "/nginx.conf"}, port_);
  }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& error() const { return process_.error(); }

 private:
  net::testing::ScratchFolder folder_{"tessival-page-nginx"};
  net::testing::PeerProcess process_;
  int port_ = 0;
};

class AnswerPageWindowTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx does not start: " << nginx_.error();
    ::setenv("TESSIVAL_SERVICE_HOST", nginx_.address().c_str(), 1);
    platform::Clipboard::SetSystem(&clipboard_);
    form_ = MakeRealClientWindow(dialogs_);
    form_->resize(800, 600);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }
  void TearDown() override {
    form_.reset();
    platform::Clipboard::SetSystem(nullptr);
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }

  viewer::TFrameViewer& Pane() { return form_->FrameViewer1(); }
  QImage PanePixels() {
    QCoreApplication::processEvents();
    return Pane().grab().toImage();
  }
  // The first point of the pane painted in `color`.
  static std::optional<QPoint> Find(const QImage& image, QColor color) {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == color) return QPoint(x, y);
      }
    }
    return std::nullopt;
  }
  // The smallest rectangle holding every point painted in `color`, and how many there are.
  static std::pair<QRect, int> Extent(const QImage& image, QColor color) {
    QRect extent;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) != color) continue;
        extent |= QRect(x, y, 1, 1);
        ++count;
      }
    }
    return {extent, count};
  }
  static void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
  }

  PageNginx nginx_;
  platform::MemoryClipboard clipboard_;
  RecordingDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(AnswerPageWindowTest, TheAnswerIsRenderedSelectableAndItsLinksOnlyBeep) {
  // The clipboard holds text, so the memo is refreshed from it at every paint: empty it.
  clipboard_.Clear();
  form_->SetMemoText("Haus");
  form_->ButtonByComponent("Button6")->click();  // "Wortschatz"
  ASSERT_EQ(form_->StatusPanelText(2).rfind("Empfangen", 0), 0u) << form_->StatusPanelText(2);
  ASSERT_EQ(Pane().ViewerCount(), 1);
  viewer::TPageViewer& page = *Pane().CurrentViewer();

  // Rendered, not shown as text: the pale cream page, and the table as a red block of its
  // width and height, under the heading, almost all red but for its cell's word.
  const QImage pixels = PanePixels();
  EXPECT_TRUE(Find(pixels, QColor(255, 254, 230))) << "no cream background";
  const auto [table, red] = Extent(pixels, QColor(255, 0, 0));
  EXPECT_NEAR(table.width(), 200, 4) << "table " << table.x() << "," << table.y();
  EXPECT_NEAR(table.height(), 60, 4);
  EXPECT_GT(table.top(), 30);
  EXPECT_GT(red, table.width() * table.height() * 3 / 4);
  if (const char* shot = std::getenv("TESSIVAL_SCREENSHOT"))
    form_->grab().save(QString::fromLocal8Bit(shot));

  // A drag across the heading selects its words; Ctrl+C copies them into the memo.
  viewer::TPaintPanel& panel = page.PaintPanel();
  QCoreApplication::processEvents();
  const int heading_y = 30;
  Mouse(panel, QEvent::MouseButtonPress, {12, heading_y}, Qt::LeftButton);
  Mouse(panel, QEvent::MouseMove, {600, heading_y}, Qt::LeftButton);
  Mouse(panel, QEvent::MouseButtonRelease, {600, heading_y}, Qt::NoButton);
  QTest::keyClick(&page, Qt::Key_C, Qt::ControlModifier);
  EXPECT_THAT(form_->MemoText(), HasSubstr(kHeading));
  EXPECT_THAT(*clipboard_.GetText(), HasSubstr(kHeading));

  // The link, painted blue: a click beeps and the page stays.
  const std::optional<QPoint> link = Find(PanePixels(), QColor(0, 0, 255));
  ASSERT_TRUE(link);
  const QPoint at = panel.mapFrom(&Pane(), *link);
  Mouse(panel, QEvent::MouseMove, at, Qt::NoButton);
  Mouse(panel, QEvent::MouseButtonPress, at, Qt::LeftButton);
  Mouse(panel, QEvent::MouseButtonRelease, at, Qt::NoButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs_->beeps, 1);
  EXPECT_EQ(Pane().CurrentViewer(), &page);
  EXPECT_THAT(page.DocumentFile(), HasSubstr("wortschatz.htm"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(AnswerPageWindowTest, AFrameSetAnswerShowsItsFrames) {
  // Files of the same names beside the answer are not what an answer's frames show.
  WriteFile("links.htm", "<p>Lokal links");
  WriteFile("rechts.htm", "<p>Lokal rechts");
  form_->SetMemoText("example.de");
  form_->ButtonByComponent("Button7")->click();  // "Domain"
  ASSERT_EQ(form_->StatusPanelText(2).rfind("Empfangen", 0), 0u) << form_->StatusPanelText(2);
  ASSERT_EQ(Pane().ViewerCount(), 2);
  viewer::TFrameSet& set = Pane().TopSet();
  ASSERT_EQ(set.Children().size(), 2u);
  auto& left = dynamic_cast<viewer::TfvFrame&>(*set.Children()[0]);
  auto& right = dynamic_cast<viewer::TfvFrame&>(*set.Children()[1]);
  EXPECT_NEAR(left.width(), right.width(), 2);
  EXPECT_GT(left.height(), 100);
  ASSERT_NE(right.Viewer(), nullptr);
  right.Viewer()->SelectAll();
  EXPECT_THAT(right.Viewer()->SelText(), HasSubstr("Rechter Rahmen"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

}  // namespace
}  // namespace tessival::app
