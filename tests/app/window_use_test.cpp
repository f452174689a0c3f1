// The window as a person uses it, against a local nginx that logs every query: typed text
// that stays, the keyboard flow, the wheel, the answer's context menu, and failures told in
// words in the answer pane.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>
#include <chrono>
#include <fstream>
#include <sstream>

#include "app/main_window.h"
#include "loopback_peer.h"
#include "nginx_config.h"
#include "peer_process.h"
#include "platform/clipboard.h"
#include "real_client_window.h"
#include "scratch_directory.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"

namespace tessival::app {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Answers every service with a page naming its query; "/tick/" fails with a page of its own.
class LoggingNginx {
 public:
  bool Start() {
    const std::string nginx = net::testing::FindProgram("nginx");
    if (nginx.empty()) return false;
    port_ = net::testing::UnusedPort();
    const std::string dir = folder_.path().string();
    folder_.Write("tmp/.keep", "");
    folder_.Write("www/.keep", "");
    folder_.Write("nginx.conf",
                  net::testing::NginxConfig(
                      dir, "  log_format query '$request_uri';\n  access_log " + dir +
                               "/access.log query;\n" +
                               net::testing::NginxServer(
                                   port_, dir,
                                   "    default_type text/html;\n"
                                   "    location /tick/ { return 404 '<p>Eigene Fehlerseite'; }\n"
                                   "    location / { return 200 '<p>Antwort auf $request_uri'; }\n")));
    return process_.Start({nginx, "-p", dir, "-c", dir + "/nginx.conf"}, port_);
  }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& error() const { return process_.error(); }
  // The queries received so far, in order.
  std::vector<std::string> Log() const {
    std::ifstream in(folder_.path() / "access.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

 private:
  net::testing::ScratchFolder folder_{"tessival-window-nginx"};
  net::testing::PeerProcess process_;
  int port_ = 0;
};

class WindowUseTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx does not start: " << nginx_.error();
    ::setenv("TESSIVAL_SERVICE_HOST", nginx_.address().c_str(), 1);
    platform::Clipboard::SetSystem(&clipboard_);
    clipboard_.SetText("vom Klemmbrett");
    form_ = MakeRealClientWindow(dialogs_);
    form_->resize(800, 600);
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }
  void TearDown() override {
    form_.reset();
    platform::Clipboard::SetSystem(nullptr);
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }

  viewer::TFrameViewer& Pane() { return form_->FrameViewer1(); }
  viewer::TPageViewer& Page() { return *Pane().CurrentViewer(); }
  // The words the answer pane shows.
  std::string PaneText() {
    Page().SelectAll();
    return Page().SelText();
  }
  // Waits until the server has logged `count` queries; the last one.
  std::string LastQuery(std::size_t count) {
    for (int i = 0; i < 500 && nginx_.Log().size() < count; ++i) QTest::qWait(10);
    const auto log = nginx_.Log();
    return log.size() == count ? log.back() : "(" + std::to_string(log.size()) + " queries)";
  }
  void Activate() {
    QEvent event(QEvent::WindowActivate);
    QApplication::sendEvent(form_.get(), &event);
  }

  LoggingNginx nginx_;
  platform::MemoryClipboard clipboard_;
  RecordingDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(WindowUseTest, TypedTextStaysUntilTheClipboardReallyChanges) {
  EXPECT_EQ(form_->MemoText(), "vom Klemmbrett");  // taken at the start, as before
  form_->SetMemoText("Haus");
  // Nothing of what a window goes through on its own brings the old text back.
  form_->repaint();
  QTest::mouseMove(form_->findChild<QToolBar*>("ToolBar1"));
  Activate();
  form_->showMinimized();
  QApplication::processEvents();
  form_->showNormal();
  Activate();
  QApplication::processEvents();
  EXPECT_EQ(form_->MemoText(), "Haus");
  clipboard_.SetText("neu kopiert");
  Activate();
  EXPECT_EQ(form_->MemoText(), "neu kopiert");
  EXPECT_EQ(QApplication::focusWidget(), form_->findChild<QWidget*>("Memo1"));
}

TEST_F(WindowUseTest, TheKeyboardRunsEveryServiceFromTheMemo) {
  ASSERT_EQ(QApplication::focusWidget(), form_->findChild<QWidget*>("Memo1"));
  form_->SetMemoText("Haus");
  struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* query_start;
  };
  const KeyCase cases[] = {
      {Qt::Key_Return, Qt::NoModifier, "/?lp=ende&"},             // the first row before any other
      {Qt::Key_K, Qt::AltModifier, "/w/wiki.phtml?search=Haus"},  // "Wi&kipedia"
      {Qt::Key_Return, Qt::NoModifier, "/w/wiki.phtml?search=Haus"},
      {Qt::Key_2, Qt::ControlModifier, "/?lp=frde&"},             // the second row
      {Qt::Key_1, Qt::AltModifier, "/startfarm.cgi?query=Haus"},  // "QA&1"
      {Qt::Key_Enter, Qt::KeypadModifier, "/startfarm.cgi?query=Haus"},
  };
  std::size_t count = 0;
  for (const KeyCase& c : cases) {
    QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
    EXPECT_THAT(LastQuery(++count), ::testing::StartsWith(c.query_start)) << "key " << c.key;
  }
  // Shift+Enter starts a new line instead, Tab leaves the memo, F6 comes back to it.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(QApplication::focusWidget(), "Dach");
  EXPECT_EQ(form_->MemoText(), "Haus\r\nDach");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), form_->findChild<QWidget*>("Memo1"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
  EXPECT_EQ(QApplication::focusWidget(), form_->findChild<QWidget*>("Memo1"));
  EXPECT_EQ(nginx_.Log().size(), count);
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(WindowUseTest, TheWheelScrollsTheAnswerByTheDesktopsLines) {
  std::string page = "<pre>";
  for (int i = 0; i < 200; ++i) page += "Zeile " + std::to_string(i) + std::string(400, 'x') + "\n";
  WriteFile("lang.htm", page);
  Pane().LoadFromFile("lang.htm");
  QApplication::processEvents();
  const int notch = 3 * 16;  // three lines of the viewer's line step; the desktop's default
  ASSERT_EQ(QApplication::wheelScrollLines(), 3);
  struct WheelCase {
    QPoint angle;
    QPoint pixels;
    Qt::KeyboardModifiers modifiers;
    int events;
    QPoint moved;  // sideways, down
  };
  const WheelCase cases[] = {
      {{0, -120}, {}, Qt::NoModifier, 1, {0, notch}},
      {{0, 120}, {}, Qt::NoModifier, 1, {0, -notch}},
      {{0, -30}, {}, Qt::NoModifier, 4, {0, notch}},  // a high-resolution wheel, in quarters
      {{0, -120}, {}, Qt::ShiftModifier, 1, {3 * 15, 0}},
      {{0, -120}, {0, -7}, Qt::NoModifier, 1, {0, 7}},  // a touchpad's pixels
  };
  for (const WheelCase& c : cases) {
    Page().SetVScrollBarPosition(200);
    Page().SetHScrollBarPosition(100);
    const QPoint at(100, 100);
    for (int i = 0; i < c.events; ++i) {
      QWheelEvent wheel(at, Page().PaintPanel().mapToGlobal(at), c.pixels, c.angle, Qt::NoButton,
                        c.modifiers, Qt::NoScrollPhase, false);
      // Sent to the viewer: a wheel event made by a test does not travel up from the panel
      // to its parent as the window system's do.
      QApplication::sendEvent(&Page(), &wheel);
    }
    EXPECT_EQ(Page().HScrollBarPosition() - 100, c.moved.x()) << c.angle.y() << "/" << c.events;
    EXPECT_EQ(Page().VScrollBarPosition() - 200, c.moved.y()) << c.angle.y() << "/" << c.events;
  }
}

TEST_F(WindowUseTest, LookingUpTheSelectionFetchesItWithTheLastService) {
  form_->SetMemoText("Haus");
  form_->ButtonByComponent("Button6")->click();  // "Wortschatz"
  ASSERT_THAT(LastQuery(1), HasSubstr("Wort=Haus"));
  Page().SelectAll();
  const std::unique_ptr<QMenu> menu = form_->AnswerContextMenu({});
  std::vector<std::string> entries;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) entries.push_back(action->text().toStdString());
  }
  EXPECT_THAT(entries, ::testing::ElementsAre("&Kopieren", "&Alles markieren", "Auswahl &nachschlagen"));
  menu->findChild<QAction*>("AuswahlNachschlagen")->trigger();
  EXPECT_THAT(LastQuery(2), HasSubstr("Wort=Antwort%20auf%20"));
  EXPECT_THAT(form_->MemoText(), ::testing::StartsWith("Antwort auf "));
  // Over a link the menu offers its address, resolved against the query it came from.
  viewer::TRightClickParameters on_link;
  on_link.URL = "weiter.htm";
  form_->AnswerContextMenu(on_link)->findChild<QAction*>("LinkAdresseKopieren")->trigger();
  EXPECT_EQ(clipboard_.GetText(), "http://" + nginx_.address() + "/cgi-bin/weiter.htm");
}

TEST_F(WindowUseTest, AFailureIsToldInThePaneInPlaceOfThePreviousAnswer) {
  const std::string refused_host = "127.0.0.1:" + std::to_string(net::testing::UnusedPort());
  struct FailureCase {
    std::string host;
    const char* component;
    std::vector<std::string> shown;
  };
  const FailureCase cases[] = {
      {refused_host, "Button1", {"Der Server hat die Verbindung abgelehnt", refused_host + "/?"}},
      {nginx_.address(),
       "Button12",
       {"Die Seite wurde auf dem Server nicht gefunden (404 Not Found)", "Eigene Fehlerseite"}},
  };
  for (const FailureCase& c : cases) {
    ::setenv("TESSIVAL_SERVICE_HOST", nginx_.address().c_str(), 1);
    form_->SetMemoText("Haus");
    form_->ButtonByComponent("Button6")->click();
    ASSERT_THAT(PaneText(), HasSubstr("Antwort auf"));
    ::setenv("TESSIVAL_SERVICE_HOST", c.host.c_str(), 1);
    form_->ButtonByComponent(c.component)->click();
    EXPECT_THAT(form_->StatusPanelText(2), ::testing::StartsWith("Fehler : 404 "));
    const std::string text = PaneText();
    EXPECT_THAT(text, Not(HasSubstr("Antwort auf")));
    for (const std::string& words : c.shown) EXPECT_THAT(text, HasSubstr(words)) << text;
  }
  EXPECT_TRUE(dialogs_->errors.empty());
}

}  // namespace
}  // namespace tessival::app

namespace tessival::app {
namespace {

// Runs only where the screen is scaled twice (the suite runs it once more with
// QT_SCALE_FACTOR=2): the window opens inside the screen, and the page is drawn at the
// screen's pixels, its lines two pixels wide and its text finer than two pixels.
TEST(WindowAtDoubleScale, OpensOnTheScreenAndDrawsThePageSharp) {
  tessival::testing::EnsureQtApplication();
  if (qApp->devicePixelRatio() != 2.0) GTEST_SKIP() << "the screen is not scaled twice";
  RecordingDialogs* dialogs = nullptr;
  const std::unique_ptr<TForm1> form = MakeRealClientWindow(dialogs);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  const QRect available = form->screen()->availableGeometry();
  // (The test screen, halved, is smaller than the toolbar: only the corner can be inside.)
  EXPECT_TRUE(available.contains(form->geometry().topLeft()))
      << form->geometry().x() << "," << form->geometry().y() << " " << form->width() << "x"
      << form->height();

  const std::filesystem::path page = std::filesystem::temp_directory_path() /
                                     ("tessival-scale-" + std::to_string(::getpid()) + ".htm");
  std::ofstream(page) << "<table cellspacing=0 bgcolor=#FFFFFF><tr><td height=40 width=200>"
                         "</td></tr></table><hr noshade size=1 width=200><p>Wortschatz</p>";
  form->FrameViewer1().LoadFromFile(page.string());
  std::filesystem::remove(page);
  QApplication::processEvents();
  const QImage image = form->FrameViewer1().CurrentViewer()->PaintPanel().grab().toImage();
  ASSERT_EQ(image.devicePixelRatio(), 2.0);
  // Down the rule, right of the word: the dark pixels are two rows, one page pixel.
  const int x = 2 * 150;
  ASSERT_LT(x, image.width());
  int dark_rows = 0;
  for (int y = 0; y < image.height(); ++y) dark_rows += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
  EXPECT_EQ(dark_rows, 2);
  // A page drawn at one pixel and blown up repeats every pixel in pairs; sharp text does not.
  int finer = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int pair = 0; pair + 1 < image.width(); pair += 2) {
      finer += image.pixel(pair, y) != image.pixel(pair + 1, y) ? 1 : 0;
    }
  }
  EXPECT_GT(finer, 20);
  EXPECT_TRUE(dialogs->errors.empty());
}

}  // namespace
}  // namespace tessival::app
