#include "app/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include "widgets/pane.h"
#include "widgets/splitter_wnd.h"
#include <QStatusBar>
#include <QToolBar>
#include <QComboBox>
#include <QLineEdit>
#include <QHelpEvent>
#include <QScreen>
#include <QMenu>
#include <fstream>
#include <set>
#include <stdexcept>

#include "app/conversion_dialog.h"
#include "net/http_cli.h"
#include "net/socket_exception.h"
#include "platform/clipboard.h"
#include "platform/qt/text_convert.h"
#include "tests/widgets/qt_app_fixture.h"
#include "scratch_directory.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_load_error.h"
#include "viewer/page_viewer.h"

namespace tessival::app {
namespace {

using ::testing::ElementsAre;

// An HTTP client whose Get runs a script of the test's choosing.
class ScriptedHttp : public HttpFetcher {
 public:
  std::function<void(ScriptedHttp&)> on_get;
  std::string url;
  platform::TStream* stream = nullptr;
  int status = 0;
  std::string reason;

  void SetURL(const std::string& u) override { url = u; }
  void SetRcvdStream(platform::TStream* s) override { stream = s; }
  void Get() override {
    if (on_get) on_get(*this);
  }
  void Abort() override { ++aborts; }
  int StatusCode() const override { return status; }
  std::string ReasonPhrase() const override { return reason; }
  std::string ContentType() const override { return content_type; }
  std::string content_type;

  void Answer(int code, const std::string& phrase, const std::string& body) {
    status = code;
    reason = phrase;
    if (stream) stream->WriteBuffer(body.data(), body.size());
    if (code >= 400) throw net::EHttpException(phrase, code);
  }
  int aborts = 0;
};

class ScriptedDialogs : public UserDialogs {
 public:
  bool answer = false;
  std::vector<std::string> questions, errors;
  int beeps = 0;
  bool Confirm(const std::string& q) override {
    questions.push_back(q);
    return answer;
  }
  void ShowError(const std::string& m) override { errors.push_back(m); }
  void Beep() override { ++beeps; }
};

class MainWindowTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    tessival::testing::EnsureQtApplication();
    platform::Clipboard::SetSystem(&clipboard_);
    ::setenv("TESSIVAL_SERVICE_HOST", "127.0.0.1:1", 1);
    MainWindowServices services;
    auto http = std::make_unique<ScriptedHttp>();
    http_ = http.get();
    services.http = std::move(http);
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    services.dialogs = std::move(dialogs);
    services.launch = [this](const std::vector<std::string>& argv) {
      started_.insert(started_.end(), argv.begin(), argv.end());
      return true;
    };
    services.find_browser = [] { return std::optional<std::string>("mybrowser %u"); };
    services.terminate_application = [this] { ++terminations_; };
    form_ = std::make_unique<TForm1>(std::move(services));
  }
  void TearDown() override {
    form_.reset();
    platform::Clipboard::SetSystem(nullptr);
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }
  void Click(const char* component) { form_->ButtonByComponent(component)->click(); }
  viewer::TFrameViewer& Viewer() { return form_->FrameViewer1(); }
  // The file the lower pane shows, by its full name; empty before anything was shown.
  std::string Shown() { return Viewer().TopSet().DocumentName(); }
  static std::string FullName(const std::string& file) {
    return std::filesystem::absolute(file).lexically_normal().string();
  }

  platform::MemoryClipboard clipboard_;
  ScriptedHttp* http_ = nullptr;
  ScriptedDialogs* dialogs_ = nullptr;
  std::vector<std::string> started_;
  int terminations_ = 0;
  std::unique_ptr<TForm1> form_;
};

TEST_F(MainWindowTest, WindowHasItsCaptionGeometryMenuAndStatusPanels) {
  form_->show();
  QApplication::processEvents();
  EXPECT_EQ(form_->windowTitle().toStdString(), "Tessival - Browser (Free-Edition V 0.0.9 2005-07-31)");
  // The designed place and size where the screen has room for them, always inside it.
  const QRect designed(135, 258, 921, 536);
  const QRect available = form_->screen()->availableGeometry();
  // (A screen narrower than the toolbar leaves the window at the toolbar's width.)
  EXPECT_TRUE(available.contains(form_->geometry().topLeft()));
  if (available.contains(designed)) EXPECT_EQ(form_->geometry(), designed);
  EXPECT_EQ(form_->font().family(), "MS Sans Serif");
  EXPECT_EQ(form_->font().pointSizeF(), QApplication::font().pointSizeF());  // the desktop's
  const auto menus = form_->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), "&Datei");
  ASSERT_EQ(menus[0]->menu()->actions().size(), 1);
  EXPECT_EQ(menus[0]->menu()->actions()[0]->text(), "&Beenden");
  const auto panels = form_->statusBar()->findChildren<QLabel*>();
  ASSERT_EQ(panels.size(), 3);
  EXPECT_EQ(panels[0]->width(), 50);
  EXPECT_EQ(panels[1]->width(), 50);
  EXPECT_EQ(form_->statusBar()->height(), 19);
  EXPECT_EQ(form_->SplitterWnd1()->Orientation(), widgets::swHorizontal);
  EXPECT_EQ(form_->SplitterWnd1()->Thickness(), 3);
  EXPECT_EQ(form_->Pane1()->PaneSize(), 70);
}

TEST_F(MainWindowTest, LowerPaneHoldsTheViewBelowTheMemo) {
  form_->show();
  QApplication::processEvents();
  widgets::TSplitterWnd* splitter = form_->SplitterWnd1();
  ASSERT_EQ(splitter->PaneCount(), 2);
  EXPECT_EQ(splitter->Pane(0), form_->Pane1());
  widgets::TPane* lower = splitter->Pane(1);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->objectName(), "Pane3");
  EXPECT_EQ(lower->widget(), &Viewer());
  EXPECT_TRUE(Viewer().isVisible());
  // It fills the pane below the bar.
  EXPECT_GT(lower->y(), form_->Pane1()->y());
  EXPECT_EQ(Viewer().size(), lower->viewport()->size());
}

TEST_F(MainWindowTest, ToolbarHoldsTheButtonsInOrderWithTheirWidthsAndSeparators) {
  auto* bar = form_->findChild<QToolBar*>("ToolBar1");
  ASSERT_NE(bar, nullptr);
  std::vector<std::string> items;
  for (QAction* action : bar->actions()) {
    QWidget* widget = bar->widgetForAction(action);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      // The caption as read, without the marks of its underlined keyboard letter.
      items.push_back(button->text().remove('&').toStdString() + "/" + std::to_string(button->width()) +
                      (action->isVisible() ? "" : "/hidden") + (button->isEnabled() ? "" : "/disabled"));
      EXPECT_EQ(button->height(), 26);
    } else {
      items.push_back("|" + std::to_string(widget->width()));
    }
  }
  EXPECT_THAT(items, ElementsAre("W:DE- EN/57", "W:DE-FR/56", "|8", "T:DE>EN/54", "T:EN>DE/54", "|8",
                                 "Abkürzungen/71", "Wikipedia/57", "Wortschatz/64", "|8", "QA1/30",
                                 "QA2/30", "QA3/30", "|8", "Domain/48", "IP-Whois/56", "IP-Ort/40", "|8",
                                 "Preise/40", "|8", "News/37", "|8", "->Browser/55", "|8", "4L/25",
                                 "Rechn./40/hidden/disabled"));
}

TEST_F(MainWindowTest, ButtonsMemoAndStatusPanelsAreReadableByAssistiveTechnology) {
  form_->show();
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(
      form_->ButtonByComponent("Button4"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(QAccessible::Name), "Wikipedia");
  EXPECT_EQ(button->role(), QAccessible::Button);
  http_->on_get = [](ScriptedHttp& h) { h.Answer(200, "OK", "12345"); };
  Click("Button12");
  auto* panel = form_->statusBar()->findChild<QLabel*>("StatusPanel2");
  QAccessibleInterface* label = QAccessible::queryAccessibleInterface(panel);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(QAccessible::Name), "Empfangen 5 Bytes");
  QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(
      form_->findChild<QWidget*>("Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->text(QAccessible::Name), "Memo1");
}

TEST_F(MainWindowTest, SuccessfulQueryRemembersTheAddressFirstThenFetchesAndShows) {
  form_->SetMemoText("Haus");
  std::string url_file_during_get;
  http_->on_get = [&](ScriptedHttp& h) {
    url_file_during_get = ReadFile("url.txt");
    h.Answer(200, "OK", "<html>Haus</html>");
  };
  Click("Button1");
  const std::string address =
      "http://127.0.0.1:1/?lp=ende&lang=de&searchLoc=0&cmpType=relaxed&relink=on&sectHdr=on"
      "&spellToler=std&search=Haus";
  EXPECT_EQ(url_file_during_get, address + "\r\n");
  EXPECT_EQ(http_->url, address);
  EXPECT_EQ(http_->stream, nullptr);  // the receive stream is unset again afterwards
  EXPECT_EQ(ReadFile("translate.htm"), "<html>Haus</html>");
  EXPECT_EQ(form_->StatusPanelText(2), "Empfangen 17 Bytes");
  EXPECT_EQ(form_->StatusPanelText(1), "");
  EXPECT_EQ(Shown(), FullName("translate.htm"));
  EXPECT_EQ(form_->GoToWebUrl(), address);
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(MainWindowTest, FailedQueriesReportStatusKeepThePageAndStillRememberTheAddress) {
  struct Case {
    int code;
    const char* reason;
    const char* partial_body;
  };
  const Case cases[] = {{404, "Not Found", "<html>partial"},
                        {404, "can't resolve hostname to IP address", ""}};
  for (const Case& c : cases) {
    http_->on_get = [&](ScriptedHttp& h) { h.Answer(c.code, c.reason, c.partial_body); };
    Click("Button12");
    EXPECT_EQ(form_->StatusPanelText(2), "Fehler : 404 " + std::string(c.reason));
    EXPECT_EQ(form_->StatusPanelText(1), "");
    EXPECT_EQ(ReadFile("news.htm"), c.partial_body);
    EXPECT_EQ(ReadFile("url.txt"), "http://127.0.0.1:1/tick/km/\r\n");
  }
  // The pane tells the failure instead of keeping a page that did not answer it.
  EXPECT_EQ(Shown(), FullName("fehler.htm"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(MainWindowTest, SocketAndFileFailuresOfTheFetchAreReportedInTheStatusBarToo) {
  // The table keeps its hand-made columns.
  // clang-format off
  const std::function<void()> failures[] = {
      [] { throw net::ESocketException("Connection refused (#10061 in connect)"); },
      [] { throw platform::EStreamError("Stream write error"); }};
  for (const auto& fail : failures) {
    http_->on_get = [&](ScriptedHttp& h) {
      h.status = 404;
      h.reason = "refused";
      fail();
    };
    Click("Button12");
    EXPECT_EQ(form_->StatusPanelText(2), "Fehler : 404 refused");
    EXPECT_EQ(http_->stream, nullptr);
  }
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(MainWindowTest, AFaultInsideTheClientReachesTheErrorBoxAndTheNextQueryRuns) {
  http_->on_get = [](ScriptedHttp&) { throw std::logic_error("broken invariant"); };
  Click("Button12");
  EXPECT_THAT(dialogs_->errors, ElementsAre("broken invariant"));
  EXPECT_NE(form_->StatusPanelText(2).rfind("Fehler", 0), 0u);
  EXPECT_EQ(http_->stream, nullptr);  // the closed file is not left with the client
  http_->on_get = [](ScriptedHttp& h) { h.Answer(200, "OK", "news"); };
  Click("Button12");
  EXPECT_EQ(form_->StatusPanelText(2), "Empfangen 4 Bytes");
  EXPECT_EQ(Shown(), FullName("news.htm"));
}

TEST_F(MainWindowTest, WikipediaPageIsConvertedFromUtf8BeforeItIsShown) {
  http_->on_get = [](ScriptedHttp& h) { h.Answer(200, "OK", "Gr\xC3\xBC\xC3\x9F" "e"); };
  Click("Button4");
  EXPECT_EQ(ReadFile("wikipediax.htm"), "Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_EQ(ReadFile("wikipedia.htm"), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Shown(), FullName("wikipedia.htm"));
  // The converted file is single-byte text, whatever set its META still names.
  EXPECT_EQ(ReadFile("wikipedia.htm.content-type"), "text/html; charset=windows-1252");
}

TEST_F(MainWindowTest, TheAnswersTypeIsKeptBesideItsFileUntilAFetchFails) {
  http_->on_get = [](ScriptedHttp& h) {
    h.content_type = "text/html; charset=utf-8";
    h.Answer(200, "OK", "news");
  };
  Click("Button12");
  EXPECT_EQ(ReadFile("news.htm.content-type"), "text/html; charset=utf-8");
  http_->on_get = [](ScriptedHttp& h) {
    h.content_type = "text/html";
    h.Answer(404, "Not Found", "gone");
  };
  Click("Button12");
  EXPECT_FALSE(std::ifstream("news.htm.content-type"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(MainWindowTest, BrokenUtf8PageIsReportedAsAnErrorAndNotShown) {
  http_->on_get = [](ScriptedHttp& h) { h.Answer(200, "OK", "cut \xC3"); };
  Click("Button4");
  ASSERT_EQ(dialogs_->errors.size(), 1u);
  EXPECT_THAT(dialogs_->errors[0], ::testing::HasSubstr("Read beyond end of file"));
  EXPECT_EQ(Shown(), "");
}

TEST_F(MainWindowTest, UnwritableUrlFileIsReportedAndNothingIsFetched) {
  std::filesystem::create_directory("url.txt");
  bool fetched = false;
  http_->on_get = [&](ScriptedHttp&) { fetched = true; };
  Click("Button12");
  EXPECT_FALSE(fetched);
  ASSERT_EQ(dialogs_->errors.size(), 1u);
  EXPECT_THAT(dialogs_->errors[0], ::testing::HasSubstr("url.txt"));
}

TEST_F(MainWindowTest, ASecondQueryDuringAFetchIsRefusedAndTheFirstFileSurvives) {
  int gets = 0;
  http_->on_get = [&](ScriptedHttp& h) {
    ASSERT_EQ(++gets, 1) << "second fetch started";
    form_->RunQuery(*FindService("W:DE-FR"));  // pressed while the first one waits
    EXPECT_THAT(form_->StatusPanelText(2), ::testing::HasSubstr("W:DE-FR"));
    h.Answer(200, "OK", "first answer");
  };
  // clang-format on
  Click("Button1");
  EXPECT_EQ(ReadFile("translate.htm"), "first answer");
  EXPECT_EQ(form_->StatusPanelText(2), "Empfangen 12 Bytes");
}

TEST_F(MainWindowTest, FetchIntoADirectoryThatCannotBeEnteredFailsSilently) {
  bool fetched = false;
  http_->on_get = [&](ScriptedHttp&) { fetched = true; };
  EXPECT_FALSE(form_->FetchToFile("http://x/", (dir() / "missing").string(), "out.htm"));
  EXPECT_FALSE(fetched);
  EXPECT_EQ(form_->StatusPanelText(2), "");
  EXPECT_EQ(std::filesystem::current_path(), dir());
}

TEST_F(MainWindowTest, ActivationReplacesTypedTextWithTheClipboardText) {
  form_->SetMemoText("typed");
  clipboard_.SetText("from the clipboard\r\nline two");
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(form_.get(), &activate);
  EXPECT_EQ(form_->MemoText(), "from the clipboard\r\nline two");
  EXPECT_EQ(ReadFile("clip.tmp"), "from the clipboard\r\nline two");
}

TEST_F(MainWindowTest, ClipboardWithoutTextKeepsTheMemoAndRemovesTheOldCapture) {
  WriteFile("clip.tmp", "old capture");
  form_->SetMemoText("typed");
  clipboard_.Clear();
  form_->RefreshMemoFromClipboard();
  EXPECT_EQ(form_->MemoText(), "typed");
  EXPECT_FALSE(std::filesystem::exists("clip.tmp"));
}

TEST_F(MainWindowTest, CaptureStopsAtTheFirstZeroByte) {
  clipboard_.SetText(std::string("abc\0def", 7));
  EXPECT_TRUE(form_->CaptureClipboard("clip.tmp"));
  EXPECT_EQ(ReadFile("clip.tmp"), "abc");
}

TEST_F(MainWindowTest, ARepeatedCaptureErrorIsReportedOnce) {
  std::filesystem::create_directories("clip.tmp/blocker");  // cannot be deleted as a file
  clipboard_.SetText("x");
  for (int i = 0; i < 3; ++i) {
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form_.get(), &activate);
  }
  EXPECT_EQ(dialogs_->errors.size(), 1u);
}

TEST_F(MainWindowTest, CloseQuestionAnsweredNoKeepsTheProgramRunning) {
  form_->show();
  dialogs_->answer = false;
  EXPECT_FALSE(form_->close());
  form_->Beenden1Click();
  EXPECT_THAT(dialogs_->questions,
              ElementsAre("Tessival Browser beenden?", "Tessival Browser beenden?"));
  EXPECT_EQ(terminations_, 0);
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(MainWindowTest, CloseQuestionAnsweredYesEndsTheProgram) {
  dialogs_->answer = true;
  form_->Beenden1Click();
  EXPECT_EQ(terminations_, 1);
  EXPECT_EQ(http_->aborts, 0);
  // The toolkit closes the windows on the way out: that is not asked again.
  EXPECT_TRUE(form_->close());
  EXPECT_EQ(dialogs_->questions.size(), 1u);
}

TEST_F(MainWindowTest, CtrlCInTheViewerCopiesTheSelectionIntoTheMemo) {
  WriteFile("page.htm", "<p>selected words");
  Viewer().LoadFromFile("page.htm");
  viewer::TPageViewer* page = Viewer().CurrentViewer();
  ASSERT_NE(page, nullptr);
  form_->SetMemoText("old");
  page->SelectAll();
  QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard_.GetText(), "selected words\r\n");
  EXPECT_EQ(form_->MemoText(), "selected words\r\n\r\n");

  WriteFile("empty.htm", "");
  Viewer().LoadFromFile("empty.htm");
  QTest::keyClick(Viewer().CurrentViewer(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(form_->MemoText(), "\r\n");  // an empty line

  form_->SetMemoText("kept");
  QTest::keyClick(Viewer().CurrentViewer(), Qt::Key_X);
  EXPECT_EQ(form_->MemoText(), "kept");
}

TEST_F(MainWindowTest, LinksBeepAndAreNeverFollowedAndFileRequestsGetNoSubstitute) {
  WriteFile("other.htm", "<p>elsewhere");
  WriteFile("page.htm", "<a href=other.htm>link</a>");
  Viewer().LoadFromFile("page.htm");
  bool handled = false;
  Viewer().HotSpotClick(*Viewer().CurrentViewer(), "other.htm", handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(dialogs_->beeps, 1);
  EXPECT_EQ(Shown(), FullName("page.htm"));
  std::string new_name = "something";
  Viewer().OnFileRequest("page.htm", new_name);
  EXPECT_EQ(new_name, "");
}

TEST_F(MainWindowTest, TheViewerRunsWithTheProgramsSettings) {
  EXPECT_FALSE(Viewer().ViewImages);
  EXPECT_FALSE(Viewer().NoSelect);
  EXPECT_EQ(Viewer().DefBackground(), 0xE6FEFFu);
  EXPECT_EQ(Viewer().DefFontName, "Times New Roman");
  EXPECT_EQ(Viewer().DefPreFontName, "Courier New");
  EXPECT_EQ(Viewer().HistoryMaxCount, 0);
  WriteFile("page.htm", "<p>x");
  Viewer().LoadFromFile("page.htm");
  EXPECT_FALSE(Viewer().CurrentViewer()->ViewImages());
  EXPECT_EQ(Viewer().CurrentViewer()->DefBackground(), 0xE6FEFFu);
}

TEST_F(MainWindowTest, ScriptButtonPassesTheAddressAsOneArgumentWithoutAShell) {
  form_->SetMemoText("a\"; rm -rf ~ &\r\nb");
  http_->on_get = [](ScriptedHttp& h) { h.Answer(404, "Not Found", ""); };
  Click("Button1");
  Click("Button15");
  EXPECT_EQ(form_->StatusPanelText(2), "./browser.sh nicht gefunden");
  WriteFile("browser.sh", "");
  Click("Button15");
  ASSERT_EQ(started_.size(), 2u);
  EXPECT_EQ(started_[0], "./browser.sh");
  EXPECT_EQ(started_[1], form_->GoToWebUrl());
  EXPECT_THAT(started_[1], ::testing::HasSubstr("a\";%20rm%20-rf%20~%20&\r\nb"));
  started_.clear();
  Click("Button10");
  EXPECT_THAT(started_, ElementsAre("mybrowser", form_->GoToWebUrl()));
}

TEST_F(MainWindowTest, EveryButtonHasItsOwnKeyboardLetterAndATip) {
  std::set<QChar> letters{QChar('D')};  // the menu's "&Datei"
  form_->SetMemoText("Haus");
  for (QPushButton* button : form_->findChildren<QPushButton*>()) {
    QString text = button->text();
    const qsizetype mark = text.indexOf('&');
    ASSERT_GE(mark, 0) << text.toStdString();
    EXPECT_TRUE(letters.insert(text.at(mark + 1).toUpper()).second) << text.toStdString();
    if (const ServiceRow* row = FindService(platform::FromQString(text.remove('&')))) {
      QHelpEvent tip(QEvent::ToolTip, {1, 1}, button->mapToGlobal(QPoint(1, 1)));
      QApplication::sendEvent(button, &tip);
      EXPECT_THAT(button->toolTip().toStdString(),
                  ::testing::HasSubstr(BuildQueryAddress(*row, "Haus")));
    } else {
      EXPECT_FALSE(button->toolTip().isEmpty()) << text.toStdString();
    }
  }
  EXPECT_EQ(letters.size(), 19u);
}

TEST_F(MainWindowTest, TheTrayIconComesBackOnOneClickAndHasAMenu) {
  form_->show();
  form_->MinimizeToTray();
  QMenu* menu = form_->TaskBarIcon1().Menu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "&Anzeigen");
  EXPECT_EQ(menu->actions()[1]->text(), "&Beenden");
  menu->actions()[0]->trigger();
  EXPECT_FALSE(form_->isMinimized());
  menu->actions()[1]->trigger();
  EXPECT_THAT(dialogs_->questions, ElementsAre("Tessival Browser beenden?"));
}

TEST_F(MainWindowTest, ConversionDialogIsLaidOutAndIgnoresText) {
  TForm2* dialog = form_->Form2();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Tessival - Umrechnungen");
  EXPECT_EQ(dialog->size(), QSize(492, 166));
  EXPECT_EQ(dialog->Edit1()->text(), "Edit1");
  EXPECT_EQ(dialog->Edit2()->text(), "Edit2");
  EXPECT_FALSE(dialog->Edit2()->isEnabled());
  EXPECT_EQ(dialog->ComboBox1()->count(), 3);
  EXPECT_EQ(dialog->ComboBox1()->itemText(0), "Fahrenheit °F");
  dialog->Edit1()->setText("not a number");
  dialog->Button1Click();
  dialog->Edit1()->setText("98.6");
  dialog->Button1Click();
  EXPECT_EQ(dialog->Edit2()->text(), "Edit2");
  form_->Button5Click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
}

// The dialog costs a tenth of the start, so it is made when first opened; opening it
// then shows that one dialog, the same each time.
TEST_F(MainWindowTest, ConversionDialogIsMadeWhenFirstOpened) {
  EXPECT_EQ(form_->findChild<TForm2*>(), nullptr);
  form_->Button5Click();
  TForm2* const opened = form_->findChild<TForm2*>();
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(opened->isVisible());
  opened->hide();
  form_->Button5Click();
  EXPECT_EQ(form_->Form2(), opened);
  EXPECT_EQ(form_->findChildren<TForm2*>().size(), 1);
  EXPECT_TRUE(opened->isVisible());
}

}  // namespace
}  // namespace tessival::app
