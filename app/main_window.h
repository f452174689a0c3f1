#pragma once
// The main window: the text pane above, the answer pane below, the toolbar of service
// buttons, the status bar and the menu; every handler of the query workflow.
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/answer_origin.h"
#include "app/clipboard_capture_policy.h"
#include "app/go_to_web.h"
#include "app/http_fetcher.h"
#include "app/icon_hide.h"
#include "app/service_table.h"
#include "app/task_bar_icon.h"
#include "app/user_dialogs.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace tessival::viewer {
class TFrameViewer;
class TPageViewer;
struct TRightClickParameters;
}  // namespace tessival::viewer

namespace tessival::widgets {
class TPane;
class TSplitterWnd;
}  // namespace tessival::widgets

namespace tessival::app {

class TForm2;

// What the window is built with; tests replace any of them.
struct MainWindowServices {
  std::unique_ptr<HttpFetcher> http;  // HttpCli1
  std::unique_ptr<UserDialogs> dialogs;
  // Starts a program from its argument vector, never through a shell ("4L", the browser).
  TGoToWeb::Launcher launch;
  // Finds the desktop's default browser command; empty: the desktop's associations.
  TGoToWeb::CommandFinder find_browser;
  // The notification area; empty: the desktop's.
  std::function<std::unique_ptr<TrayArea>()> make_tray_area;
  // Ends the program once the user has confirmed.
  std::function<void()> terminate_application;
};

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Tessival - Browser (Free-Edition V 0.0.9 2005-07-31)";
  static constexpr const char* kQuitQuestion = "Tessival Browser beenden?";
  static constexpr const char* kUrlFile = "url.txt";
  static constexpr const char* kClipFile = "clip.tmp";
  static constexpr const char* kOutOfMemoryText =
      "Nicht genug Arbeitsspeicher: der Vorgang wurde abgebrochen.";
  // What the answer pane shows when a fetch failed.
  static constexpr const char* kFailurePageFile = "fehler.htm";

  explicit TForm1(MainWindowServices services, QWidget* parent = nullptr);
  ~TForm1() override;

  // The shared fetch routine: one address into one file, status in panel 2.
  bool FetchToFile(const std::string& url, const std::string& directory, const std::string& file_name);
  void RememberUrl(const std::string& url);
  void RunQuery(const ServiceRow& row);
  bool CaptureClipboard(const std::string& file_name);
  void RefreshMemoFromClipboard();
  void MinimizeToTray();

  void Beenden1Click();
  void Button5Click();   // "Rechn."
  void Button10Click();  // "->Browser"
  void Button15Click();  // "4L"
  void TaskBarIcon1DblClick();
  void FrameViewer1KeyPress(char& key);
  void FrameViewer1FileRequest(const std::string& src, std::string& new_name);
  void FrameViewer1HotSpotTargetClick(const std::string& target, const std::string& url, bool& handled);
  // The answer pane's context menu for a right click at `where`; the caller opens it.
  std::unique_ptr<QMenu> AnswerContextMenu(const viewer::TRightClickParameters& where);
  // Puts the answer's selection into the memo and runs the last service with it.
  void LookUpSelection();
  // The service Enter runs: the one used last, the first row before any.
  const ServiceRow& LastService() const { return *last_service_; }
  // Makes `row` the one Enter runs (a setting kept from an earlier start).
  void SetLastService(const ServiceRow& row) { last_service_ = &row; }
  // Told of every service run, however it was started (button, key, menu, later start).
  std::function<void(const ServiceRow& row)> OnServiceRun;

  // The memo's text as engine bytes (CR LF line breaks).
  std::string MemoText() const;
  void SetMemoText(const std::string& text);
  std::string StatusPanelText(int index) const;
  QPushButton* ButtonByComponent(const std::string& component) const;
  const std::string& GoToWebUrl() const { return GoToWeb1_->Url; }
  // The conversion dialog, made when first asked for: most sessions never open it, and
  // building its combo boxes costs a tenth of the start.
  TForm2* Form2();
  widgets::TSplitterWnd* SplitterWnd1() const { return splitter_; }
  widgets::TPane* Pane1() const { return pane1_; }
  TTaskBarIcon& TaskBarIcon1() const { return *TaskBarIcon1_; }
  TIconHide& IconHide1() const { return *IconHide1_; }
  viewer::TFrameViewer& FrameViewer1() const { return *viewer_; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate();
  void BuildMenu();
  void BuildToolBar();
  void BuildPanes();
  void BuildStatusBar();
  void BuildDesktopComponents();
  void ConfigureFrameViewer();
  // Enter in the memo, Ctrl+1 to Ctrl+9 for the first nine services, F6 and Ctrl+L back to
  // the memo.
  void BuildKeyboard();
  void BuildTrayMenu();
  // Adds a button (and the gap after it) to the toolbar; the action shows or hides it.
  QAction* AddToolButton(QToolBar* bar, const std::string& caption, const char* component, int width,
                         ToolbarGap gap);
  void SetStatusPanel(int index, const std::string& text);
  // Keeps the answer's type beside its file for the pane's character-set detection (an
  // empty type removes what was kept); throws EInOutError when it cannot.
  static void KeepContentType(const std::string& file_name, const std::string& content_type);
  // One GET of `url` into `file_name` (in the current directory), at most `limit` bytes;
  // whether a whole answer came, and the status text that says so.
  struct FetchOutcome {
    bool ok = false;
    std::string status;
  };
  FetchOutcome FetchInto(const std::string& url, const std::string& file_name, std::int64_t limit);
  // Shows the answer fetched from `address` into `file_name`, unless it is too large to
  // lay out; from then on what the answer names is fetched relative to its address.
  void ShowAnswer(const std::string& file_name, const std::string& address);
  void ShowAnswerTooLarge(const std::string& file_name);
  // The file a frame of the answer is read from: the answer itself, or the named
  // document fetched from the web into a file of its own (missing when refused or failed);
  // empty, no substitute, while no answer has been shown.
  std::string AnswerDocumentFile(const std::string& source);
  // Shows the failure of `row`'s query in the answer pane, in place of the old answer.
  void ShowFetchFailure(const ServiceRow& row, const std::string& address);
  void AskToQuit();
  // Runs a handler; an exception becomes the standard error box and the program goes on.
  void ReportErrors(const std::function<void()>& handler);
  // False when the capture failed (and was reported, once for the same error).
  bool RefreshMemoFromClipboardReported();
  // Captures only when the clipboard changed since the memo last took it.
  void RefreshMemoWhenClipboardChanged();

  MainWindowServices services_;
  viewer::TFrameViewer* viewer_ = nullptr;  // owned by the lower pane's widget tree
  QPlainTextEdit* memo_ = nullptr;
  widgets::TSplitterWnd* splitter_ = nullptr;
  widgets::TPane* pane1_ = nullptr;
  widgets::TPane* pane3_ = nullptr;
  std::unique_ptr<TTaskBarIcon> TaskBarIcon1_;
  std::unique_ptr<TIconHide> IconHide1_;
  std::unique_ptr<TGoToWeb> GoToWeb1_;
  std::vector<QLabel*> status_panels_;
  std::map<std::string, QPushButton*> buttons_;
  TForm2* form2_ = nullptr;
  bool fetching_ = false;
  AnswerOrigin answer_origin_;  // where what the shown answer names comes from
  std::string answer_file_;     // the shown answer's own file, as the pane names it
  int answer_documents_ = 0;    // documents fetched for it so far
  const ServiceRow* last_service_ = &ServiceTable().front();
  // The owner's confirmation was given: the close that quitting sends is not asked again.
  bool quitting_ = false;
  std::unique_ptr<QMenu> tray_menu_;
  ClipboardCapturePolicy capture_policy_;
  // The last error of the clipboard capture, shown once: a failed capture is tried again at
  // every activation, and an error box that activates the window would come back for ever.
  std::string last_capture_error_;
};

}  // namespace tessival::app
