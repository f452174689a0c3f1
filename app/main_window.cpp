#include "app/main_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string_view>

#include "app/answer_checks.h"
#include "app/answer_context_menu.h"
#include "app/button_mnemonics.h"
#include "app/button_tooltips.h"
#include "app/conversion_dialog.h"
#include "app/fetch_failure_page.h"
#include "app/tray_minimizer.h"
#include "app/in_out_error.h"
#include "app/memo_keys.h"
#include "app/window_placement.h"
#include "app/program_icon.h"
#include "app/query_encoding.h"
#include "html/page_file.h"
#include "net/http_cli.h"
#include "net/socket_exception.h"
#include "platform/clipboard.h"
#include "platform/qt/text_convert.h"
#include "platform/screen_cursor.h"
#include "platform/stream.h"
#include "viewer/frame_viewer.h"
#include "viewer/page_viewer.h"
#include "widgets/pane.h"
#include "widgets/splitter_wnd.h"

namespace tessival::app {
namespace {

namespace fs = std::filesystem;

constexpr int kButtonHeight = 26;
constexpr int kSeparatorWidth = 8;
constexpr int kStatusBarHeight = 19;
constexpr int kStatusPanelWidth = 50;
constexpr int kStatusPanelCount = 3;
constexpr int kMemoPaneSize = 70;
constexpr const char* kConvertedPageType = "text/html; charset=windows-1252";
constexpr const char* kFailurePageType = "text/html; charset=windows-1252";

// The buttons after the fifteen services, which run commands of the window itself.
struct CommandButton {
  const char* caption;
  const char* component;
  int width;
  ToolbarGap gap;
};
constexpr CommandButton kCommandButtons[] = {
    {"->Browser", "Button10", 55, ToolbarGap::kSeparatorAfter},
    {"4L", "Button15", 25, ToolbarGap::kNone},
    {"Rechn.", "Button5", 40, ToolbarGap::kNone},
};

// Puts the current directory back when it goes, whatever happened in between.
class DirectoryRestorer {
 public:
  explicit DirectoryRestorer(fs::path saved) : saved_(std::move(saved)) {}
  ~DirectoryRestorer() {
    std::error_code ignored;
    fs::current_path(saved_, ignored);
  }
  DirectoryRestorer(const DirectoryRestorer&) = delete;
  DirectoryRestorer& operator=(const DirectoryRestorer&) = delete;

 private:
  fs::path saved_;
};

// Hands the output file to the client for one request and takes it back however the
// request ends, so the client never keeps a pointer to a closed file and a fault that
// escapes does not leave the window believing a fetch still runs.
class LentStream {
 public:
  LentStream(HttpFetcher& http, platform::TStream& stream, bool& fetching)
      : http_(http), fetching_(fetching) {
    http_.SetRcvdStream(&stream);
    fetching_ = true;
  }
  ~LentStream() {
    fetching_ = false;
    http_.SetRcvdStream(nullptr);
  }
  LentStream(const LentStream&) = delete;
  LentStream& operator=(const LentStream&) = delete;

 private:
  HttpFetcher& http_;
  bool& fetching_;
};

std::string ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw EInOutError("Cannot open file \"" + name + "\"");
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The memo shows its text with CR LF breaks, whatever breaks the file had.
std::string AdjustLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

TForm1::TForm1(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(kCaption));
  setWindowIcon(ProgramIcon());
  // The program's face at the desktop's size, which follows the screen's font resolution.
  QFont font = this->font();
  font.setFamily(QStringLiteral("MS Sans Serif"));
  setFont(font);
  setGeometry(PlaceInside(QRect(135, 258, 921, 536), screen()->availableGeometry()));
  BuildMenu();
  BuildToolBar();
  BuildPanes();
  BuildStatusBar();
  BuildDesktopComponents();
  BuildKeyboard();
  FormCreate();
  // A clipboard change while the program runs reaches the memo at once.
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          [this] { RefreshMemoWhenClipboardChanged(); });
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  // The memo starts as a narrow strip above a large viewer. The layout runs first, so the
  // splitter has its final height and does not rescale the 70 pixels later.
  layout()->activate();
  pane1_->SetPaneSize(kMemoPaneSize);
}

void TForm1::BuildDesktopComponents() {
  TaskBarIcon1_ = std::make_unique<TTaskBarIcon>(services_.make_tray_area ? services_.make_tray_area()
                                                                          : MakeDesktopTrayArea());
  TaskBarIcon1_->SetIcon(ProgramIcon());
  TaskBarIcon1_->SetTip("Tessival Browser");
  TaskBarIcon1_->OnDblClick = [this](TTaskBarIcon&, TMouseButton, TShiftState, int, int) {
    TaskBarIcon1DblClick();
  };
  // One click brings the window back too, as tray icons do today.
  TaskBarIcon1_->OnUp = [this](TTaskBarIcon&, TMouseButton button, TShiftState, int, int) {
    if (button == mbLeft) TaskBarIcon1DblClick();
  };
  BuildTrayMenu();
  IconHide1_ = std::make_unique<TIconHide>(this);
  GoToWeb1_ = std::make_unique<TGoToWeb>(services_.find_browser, services_.launch);
  GoToWeb1_->BrowserState = gwMaximized;
}

void TForm1::BuildTrayMenu() {
  tray_menu_ = std::make_unique<QMenu>();
  tray_menu_->setObjectName(QStringLiteral("TrayMenu"));
  QAction* show = tray_menu_->addAction(QStringLiteral("&Anzeigen"));
  show->setObjectName(QStringLiteral("Anzeigen"));
  connect(show, &QAction::triggered, this, [this] { TaskBarIcon1DblClick(); });
  QAction* quit = tray_menu_->addAction(QStringLiteral("&Beenden"));
  quit->setObjectName(QStringLiteral("TrayBeenden"));
  connect(quit, &QAction::triggered, this, [this] { Beenden1Click(); });
  TaskBarIcon1_->SetMenu(tray_menu_.get());
}

void TForm1::BuildKeyboard() {
  new MemoKeys(memo_, [this] { ReportErrors([this] { RunQuery(*last_service_); }); });  // memo's child
  constexpr int kDigitShortcuts = 9;
  const auto rows = ServiceTable();
  for (int i = 0; i < kDigitShortcuts && i < static_cast<int>(rows.size()); ++i) {
    const ServiceRow* row = &rows[static_cast<std::size_t>(i)];
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)), this);
    connect(shortcut, &QShortcut::activated, this,
            [this, row] { ReportErrors([this, row] { RunQuery(*row); }); });
  }
  for (const QKeySequence& back : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::Key_L)}) {
    auto* shortcut = new QShortcut(back, this);
    connect(shortcut, &QShortcut::activated, this, [this] { memo_->setFocus(Qt::ShortcutFocusReason); });
  }
  // Typing goes to the memo from the start.
  memo_->setFocus(Qt::OtherFocusReason);
  setFocusProxy(memo_);
}

void TForm1::BuildMenu() {
  QMenu* file_menu = menuBar()->addMenu(QStringLiteral("&Datei"));
  file_menu->setObjectName(QStringLiteral("Datei1"));
  QAction* quit = file_menu->addAction(QStringLiteral("&Beenden"));
  quit->setObjectName(QStringLiteral("Beenden1"));
  connect(quit, &QAction::triggered, this, [this] { Beenden1Click(); });
}

QAction* TForm1::AddToolButton(QToolBar* bar, const std::string& caption, const char* component,
                               int width, ToolbarGap gap) {
  auto* button = new QPushButton(platform::ToQString(CaptionWithMnemonic(component, caption)), bar);
  button->setObjectName(QString::fromLatin1(component));
  button->setFixedSize(width, kButtonHeight);
  button->setFocusPolicy(Qt::TabFocus);
  QAction* action = bar->addWidget(button);
  buttons_[component] = button;
  if (gap == ToolbarGap::kSeparatorAfter) {
    auto* separator = new QWidget(bar);
    separator->setFixedSize(kSeparatorWidth, kButtonHeight);
    bar->addWidget(separator);
  }
  return action;
}

void TForm1::BuildToolBar() {
  auto* bar = new QToolBar(QStringLiteral("ToolBar1"), this);
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  bar->layout()->setSpacing(0);
  bar->layout()->setContentsMargins(0, 0, 0, 0);
  bar->setContentsMargins(0, 0, 0, 0);
  auto* tips = new ButtonToolTips([this] { return MemoText(); }, this);
  for (const ServiceRow& row : ServiceTable()) {
    AddToolButton(bar, row.caption, row.component, row.button_width, row.gap);
    tips->Watch(buttons_[row.component], row);
    connect(buttons_[row.component], &QPushButton::clicked, this,
            [this, &row] { ReportErrors([this, &row] { RunQuery(row); }); });
  }
  for (const CommandButton& command : kCommandButtons) {
    QAction* action = AddToolButton(bar, command.caption, command.component, command.width, command.gap);
    if (std::string_view(command.component) == "Button5") {
      // "Rechn." is there but cannot be reached.
      buttons_["Button5"]->setEnabled(false);
      action->setVisible(false);
    }
  }
  connect(buttons_["Button10"], &QPushButton::clicked, this,
          [this] { ReportErrors([this] { Button10Click(); }); });
  connect(buttons_["Button15"], &QPushButton::clicked, this,
          [this] { ReportErrors([this] { Button15Click(); }); });
  connect(buttons_["Button5"], &QPushButton::clicked, this, [this] { Button5Click(); });
  buttons_["Button10"]->setToolTip(BrowserButtonToolTip());
  buttons_["Button15"]->setToolTip(ScriptButtonToolTip());
  buttons_["Button5"]->setToolTip(QStringLiteral("Umrechnungen"));
  addToolBar(Qt::TopToolBarArea, bar);
}

void TForm1::BuildPanes() {
  splitter_ = new widgets::TSplitterWnd(this);
  splitter_->setObjectName(QStringLiteral("SplitterWnd1"));
  splitter_->SetOrientation(widgets::swHorizontal);
  splitter_->SetThickness(3);
  splitter_->SetBarStyle(widgets::sbCheckered);
  splitter_->SetCursorHorz(Qt::SplitVCursor);
  splitter_->SetCursorVert(Qt::SplitHCursor);
  splitter_->setFrameShape(QFrame::NoFrame);
  setCentralWidget(splitter_);

  pane1_ = new widgets::TPane;
  pane1_->setObjectName(QStringLiteral("Pane1"));
  pane1_->SetPaneSize(220);
  memo_ = new QPlainTextEdit;
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setAccessibleName(QStringLiteral("Memo1"));
  memo_->setFrameShape(QFrame::NoFrame);
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setMinimumSize(1, 1);  // fills the pane at any size, never scrolled by it
  pane1_->setWidget(memo_);
  pane1_->SetSplitterWnd(splitter_);

  pane3_ = new widgets::TPane;
  pane3_->setObjectName(QStringLiteral("Pane3"));
  pane3_->setFrameShape(QFrame::NoFrame);
  pane3_->SetPaneSize(219);
  viewer_ = new viewer::TFrameViewer;  // the pane adopts it below
  viewer_->setObjectName(QStringLiteral("FrameViewer1"));
  viewer_->setAccessibleName(QStringLiteral("FrameViewer1"));
  ConfigureFrameViewer();
  viewer_->setMinimumSize(1, 1);
  pane3_->setWidget(viewer_);
  pane3_->SetSplitterWnd(splitter_);
}

// The program's settings of its viewer: no pictures, the pale cream page, the fonts, no
// history, and handlers that keep every link where it is.
void TForm1::ConfigureFrameViewer() {
  constexpr platform::TColor kPaleCream = 15138559;  // 0xE6FEFF
  constexpr int kDefaultCharset = 1;
  viewer_->ViewImages = false;
  viewer_->LocalStyleSheets = false;  // an answer reads nothing from the disk
  viewer_->NoSelect = false;
  viewer_->SetDefBackground(kPaleCream);
  viewer_->DefFontName = "Times New Roman";
  viewer_->DefPreFontName = "Courier New";
  viewer_->HistoryMaxCount = 0;
  viewer_->CharSet = kDefaultCharset;
  viewer_->Cursor = viewer::crTextCursor;
  viewer_->PrintMarginLeft = viewer_->PrintMarginRight = 2.0;
  viewer_->PrintMarginTop = viewer_->PrintMarginBottom = 2.0;
  viewer_->OnKeyPress = [this](viewer::TPageViewer&, char& key) { FrameViewer1KeyPress(key); };
  viewer_->OnFileRequest = [this](const std::string& src, std::string& new_name) {
    FrameViewer1FileRequest(src, new_name);
  };
  viewer_->OnRightClick = [this](const viewer::TRightClickParameters& where) {
    AnswerContextMenu(where)->exec(QCursor::pos());
  };
  viewer_->OnHotSpotTargetClick = [this](const std::string& target, const std::string& url,
                                         bool& handled) {
    FrameViewer1HotSpotTargetClick(target, url, handled);
  };
}

void TForm1::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setFixedHeight(kStatusBarHeight);
  for (int i = 0; i < kStatusPanelCount; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The last panel runs to the right edge, as status bars do, so a long result is read
    // whole; the others keep their width.
    const bool last = i == kStatusPanelCount - 1;
    if (last) {
      panel->setMinimumWidth(kStatusPanelWidth);
    } else {
      panel->setFixedWidth(kStatusPanelWidth);
    }
    bar->addWidget(panel, last ? 1 : 0);
    status_panels_.push_back(panel);
  }
}

void TForm1::SetStatusPanel(int index, const std::string& text) {
  status_panels_.at(static_cast<std::size_t>(index))->setText(platform::ToQString(text));
}

std::string TForm1::StatusPanelText(int index) const {
  return platform::FromQString(status_panels_.at(static_cast<std::size_t>(index))->text());
}

QPushButton* TForm1::ButtonByComponent(const std::string& component) const {
  const auto found = buttons_.find(component);
  return found == buttons_.end() ? nullptr : found->second;
}

std::string TForm1::MemoText() const { return platform::LinesFromQString(memo_->toPlainText()); }

void TForm1::SetMemoText(const std::string& text) {
  memo_->setPlainText(platform::LinesToQString(text));
}

bool TForm1::FetchToFile(const std::string& url, const std::string& directory,
                         const std::string& file_name) {
  platform::BusyCursor busy;
  std::error_code error;
  const fs::path saved = fs::current_path(error);
  if (error) return false;
  DirectoryRestorer restore(saved);
  fs::current_path(directory, error);
  if (error) return false;

  const FetchOutcome outcome = FetchInto(url, file_name, kAnswerDownloadLimit);
  SetStatusPanel(2, outcome.status);
  if (outcome.ok) KeepContentType(file_name, services_.http->ContentType());
  SetStatusPanel(1, "");
  // A failed fetch leaves a file its kept type would no longer describe.
  if (!outcome.ok) KeepContentType(file_name, "");
  return outcome.ok;
}

TForm1::FetchOutcome TForm1::FetchInto(const std::string& url, const std::string& file_name,
                                       std::int64_t limit) {
  services_.http->SetURL(url);
  platform::TFileStream file(file_name, platform::TFileStream::Mode::kCreate);
  CappedStream stream(file, limit);
  const LentStream lent(*services_.http, stream, fetching_);
  const auto failure = [this] {
    return FetchOutcome{false, "Fehler : " + std::to_string(services_.http->StatusCode()) + " " +
                                   services_.http->ReasonPhrase()};
  };
  // A failed fetch is reported in the status bar only. What the client raises for a
  // failure is one of these; anything else is a fault and goes on to the error box.
  try {
    services_.http->Get();
  } catch (const net::EHttpException&) {
    return failure();
  } catch (const net::ESocketException&) {
    return failure();
  } catch (const platform::EStreamError&) {
    if (!stream.LimitReached()) return failure();
    return FetchOutcome{false, "Antwort zu gro\xDF: nach " + std::to_string(limit) +
                                   " Bytes abgebrochen, gespeichert in " + file_name};
  }
  const std::int64_t size = file.Size();
  if (auto incomplete = IncompleteAnswerText(services_.http->StatusCode(),
                                             services_.http->ContentLength(), size)) {
    return FetchOutcome{false, *incomplete};
  }
  return FetchOutcome{true, "Empfangen " + std::to_string(size) + " Bytes"};
}

void TForm1::KeepContentType(const std::string& file_name, const std::string& content_type) {
  if (!html::KeepContentTypeBeside(file_name, content_type)) {
    throw EInOutError("Cannot write file \"" + html::ContentTypeFileName(file_name) + "\"");
  }
}

void TForm1::RememberUrl(const std::string& url) {
  GoToWeb1_->Url = url;
  std::ofstream out(kUrlFile, std::ios::binary | std::ios::trunc);
  if (!out) throw EInOutError(std::string("Cannot create file \"") + kUrlFile + "\"");
  out << url << "\r\n";
  out.close();
  if (!out) throw EInOutError(std::string("Write error in file \"") + kUrlFile + "\"");
}

void TForm1::RunQuery(const ServiceRow& row) {
  if (fetching_) {
    // The running fetch owns the output stream; a second one would truncate its file.
    SetStatusPanel(2, std::string("Abfrage l\xE4uft noch, \"") + row.caption + "\" ignoriert");
    return;
  }
  last_service_ = &row;
  if (OnServiceRun) OnServiceRun(row);
  const std::string text = row.uses_memo_text ? MemoText() : std::string();
  const std::string address = BuildQueryAddress(row, text);
  RememberUrl(address);
  std::error_code error;
  const std::string directory = fs::current_path(error).string();
  if (!FetchToFile(address, directory, row.output_file)) {
    ShowFetchFailure(row, address);
    return;
  }
  if (row.post_processing == PostProcessing::kConvertUtf8Page) {
    ConvertUtf8Page(row.output_file, row.shown_file);
    // The converted file is single-byte text whatever its META still says.
    KeepContentType(row.shown_file, kConvertedPageType);
  }
  ShowAnswer(row.shown_file, address);
}

void TForm1::ShowFetchFailure(const ServiceRow& row, const std::string& address) {
  const FetchFailure failure{services_.http->StatusCode(), services_.http->ReasonPhrase()};
  std::string cause = DescribeFetchFailure(failure);
  // A failure the client does not name (an answer refused on this side) is told in the
  // status bar's words.
  if (cause.empty()) cause = StatusPanelText(2);
  const bool with_server_page = IsServerAnswer(failure);
  std::error_code error;
  const std::string server_page = with_server_page && fs::exists(row.output_file, error)
                                      ? ReadFileBytes(row.output_file)
                                      : "";
  {
    std::ofstream out(kFailurePageFile, std::ios::binary | std::ios::trunc);
    out << BuildFetchFailurePage(row.caption, address, cause, server_page);
    out.close();
    // Without its page the failure goes to the error box, never unsaid.
    if (!out) throw EInOutError(std::string("Cannot write file \"") + kFailurePageFile + "\"");
  }
  // The page before the server's is plain ASCII: the server's type names the set of both.
  KeepContentType(kFailurePageFile, with_server_page && !server_page.empty()
                                        ? services_.http->ContentType()
                                        : std::string(kFailurePageType));
  // Shown as an answer: what the server's page names comes from the failed address.
  ShowAnswer(kFailurePageFile, address);
}

bool TForm1::CaptureClipboard(const std::string& file_name) {
  const std::optional<std::string> text = platform::Clipboard::System().GetText();
  if (!text) return false;
  // The text block is taken up to its first zero byte, as a C string would be.
  const std::string content = text->substr(0, text->find('\0'));
  std::ofstream out(file_name, std::ios::binary | std::ios::trunc);
  if (!out) throw EInOutError("Cannot create file \"" + file_name + "\"");
  out << content;
  out.close();
  if (!out) throw EInOutError("Write error in file \"" + file_name + "\"");
  return true;
}

void TForm1::RefreshMemoFromClipboard() {
  std::error_code error;
  if (fs::exists(kClipFile, error) && !fs::remove(kClipFile, error)) {
    throw EInOutError(std::string("Cannot delete file \"") + kClipFile + "\". " + error.message());
  }
  if (!CaptureClipboard(kClipFile)) return;
  const std::string text = AdjustLineBreaks(ReadFileBytes(kClipFile));
  // Setting equal text again would only reset the caret; painting must not move it.
  if (text != MemoText()) SetMemoText(text);
}

bool TForm1::RefreshMemoFromClipboardReported() {
  try {
    RefreshMemoFromClipboard();
    last_capture_error_.clear();
    return true;
  } catch (const std::exception& error) {
    if (error.what() != last_capture_error_) {
      last_capture_error_ = error.what();
      services_.dialogs->ShowError(error.what());
    }
    return false;
  }
}

void TForm1::RefreshMemoWhenClipboardChanged() {
  const std::uint64_t changes = platform::Clipboard::System().OutsideChanges();
  if (!capture_policy_.ShouldCapture(changes)) return;
  // A capture that failed is tried again at the next chance.
  if (RefreshMemoFromClipboardReported()) capture_policy_.Taken(changes);
  memo_->setFocus();
}

void TForm1::MinimizeToTray() { app::MinimizeToTray(*this, *TaskBarIcon1_, *IconHide1_); }

void TForm1::TaskBarIcon1DblClick() { RestoreFromTray(*this, *IconHide1_); }

void TForm1::AskToQuit() {
  if (quitting_ || !services_.dialogs->Confirm(kQuitQuestion)) return;
  quitting_ = true;
  if (fetching_) services_.http->Abort();
  TaskBarIcon1_->SetVisible(false);
  services_.terminate_application();
}

void TForm1::Beenden1Click() { AskToQuit(); }

TForm2* TForm1::Form2() {
  if (form2_ == nullptr) form2_ = new TForm2(this);  // owned by this window as its child
  return form2_;
}

void TForm1::Button5Click() { Form2()->show(); }

void TForm1::Button10Click() {
  if (!GoToWeb1_->Execute()) SetStatusPanel(2, "Kein Standardbrowser gefunden");
}

void TForm1::Button15Click() {
  // The address carries raw user text (CR, LF, quotes, "&"): it goes to the script as one
  // argument, never through a shell.
  std::error_code error;
  if (!fs::exists("browser.sh", error)) {
    SetStatusPanel(2, "./browser.sh nicht gefunden");
    return;
  }
  if (!services_.launch({"./browser.sh", GoToWeb1_->Url})) {
    SetStatusPanel(2, "./browser.sh konnte nicht gestartet werden");
  }
}

void TForm1::FrameViewer1KeyPress(char& key) {
  if (key != 3) return;
  viewer_->CopyToClipboard();
  SetMemoText(viewer_->SelText() + "\r\n");
}

std::unique_ptr<QMenu> TForm1::AnswerContextMenu(const viewer::TRightClickParameters& where) {
  const std::string link = LinkAddress(where.URL, GoToWeb1_->Url);
  AnswerMenuCommands commands;
  commands.copy = [this] { viewer_->CopyToClipboard(); };
  commands.select_all = [this] {
    if (viewer::TPageViewer* page = viewer_->CurrentViewer()) page->SelectAll();
  };
  commands.copy_link = [link] { platform::Clipboard::System().SetText(link); };
  // Queued: the look-up fetches, and the menu that asked for it should be gone by then.
  commands.look_up = [this] {
    QMetaObject::invokeMethod(
        this, [this] { LookUpSelection(); }, Qt::QueuedConnection);
  };
  const AnswerMenuPlace place{!viewer_->SelText().empty(), !where.URL.empty()};
  return MakeAnswerContextMenu(place, std::move(commands));
}

void TForm1::LookUpSelection() {
  const std::string selection = viewer_->SelText();
  if (selection.empty()) return;
  SetMemoText(selection);
  ReportErrors([this] { RunQuery(*last_service_); });
}

void TForm1::FrameViewer1HotSpotTargetClick(const std::string&, const std::string&, bool& handled) {
  services_.dialogs->Beep();
  handled = true;
}

void TForm1::ReportErrors(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    services_.dialogs->ShowError(kOutOfMemoryText);
  } catch (const std::exception& error) {
    services_.dialogs->ShowError(error.what());
  }
}

bool TForm1::event(QEvent* event) {
  // Activation catches a change made while the window was in the background.
  if (event->type() == QEvent::WindowActivate) RefreshMemoWhenClipboardChanged();
  return QMainWindow::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  RefreshMemoWhenClipboardChanged();
}

void TForm1::closeEvent(QCloseEvent* event) {
  // The close request never closes the window by itself: only the question does. Once it
  // was answered, the toolkit's own closing of the windows on the way out is let through.
  if (quitting_) {
    event->accept();
    return;
  }
  event->ignore();
  AskToQuit();
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Minimising goes to the tray instead; other state changes take their ordinary course.
  if (event->type() == QEvent::WindowStateChange && isMinimized()) MinimizeToTray();
}

}  // namespace tessival::app
