// The viewer's construction, properties and loading.
#include "viewer/page_viewer.h"

#include <QDateTime>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <filesystem>

#include "html/page_file.h"
#include "html/text_util.h"
#include "html/url_helpers.h"
#include "platform/bounded_file.h"
#include "platform/screen_cursor.h"
#include "reader/tag_reader.h"
#include "viewer/fv_load_error.h"
#include "viewer/meta_refresh.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"
#include "viewer/scroll_steps.h"

namespace tessival::viewer {

namespace {

constexpr int kHoverIntervalMs = 200;
constexpr int kMaxAnchorLength = 255;
constexpr int kMinFontSize = 6;
constexpr int kMaxImageCacheCount = 20;
constexpr int kMaxPreFontNameLength = 32;
// Share of the progress bar the parse takes; the layout reports the rest.
constexpr int kParseProgressShare = 75;

enum ProgressStage { kStarted = 0, kDone = 2 };

bool IsExistingFile(const std::string& name) {
  std::error_code error;
  return std::filesystem::is_regular_file(name, error);
}

// Runs the end of a load however it ends: the screen cursor back, the stage-2 progress,
// Busy off.
class LoadEnd {
 public:
  explicit LoadEnd(std::function<void()> finish) : finish_(std::move(finish)) {}
  ~LoadEnd() { finish_(); }
  LoadEnd(const LoadEnd&) = delete;
  LoadEnd& operator=(const LoadEnd&) = delete;

 private:
  std::function<void()> finish_;
};

}  // namespace

TPageViewer::TPageViewer(QWidget* parent, platform::MessageBoxes* messages)
    : QWidget(parent),
      messages_(messages),
      border_panel_(new QFrame(this)),
      panel_(new TPaintPanel(*this, this)),
      v_bar_(new T32ScrollBar(Qt::Vertical, this)),
      h_bar_(new T32ScrollBar(Qt::Horizontal, this)),
      document_(std::make_unique<layout::TSectionList>(messages)) {
  resize(150, 150);
  setFocusPolicy(Qt::StrongFocus);
  // The viewer paints nothing itself: the ring left by an unfocused border and the corner
  // between the scroll bars are the border panel's background.
  border_panel_->setAutoFillBackground(true);
  border_panel_->setFrameStyle(QFrame::NoFrame);
  border_panel_->lower();
  panel_->setFocusProxy(this);
  v_bar_->setSingleStep(kVerticalSmallChange);
  v_bar_->setFocusPolicy(Qt::NoFocus);
  v_bar_->hide();
  scroll_bar_width_ = v_bar_->sizeHint().width();
  h_bar_->setSingleStep(kHorizontalSmallChange);
  h_bar_->setFocusPolicy(Qt::NoFocus);
  h_bar_->hide();
  connect(v_bar_, &QScrollBar::valueChanged, this, &TPageViewer::VerticalBarMoved);
  connect(h_bar_, &QScrollBar::valueChanged, this, &TPageViewer::HorizontalBarMoved);
  document_->ShowImages = true;
  document_->OnInvalidate = [this] { panel_->update(); };
  InstallImageRequests();
  InstallFormControls();
  hover_timer_.setInterval(kHoverIntervalMs);
  connect(&hover_timer_, &QTimer::timeout, this, &TPageViewer::HoverTimerTick);
  autoscroll_timer_.setInterval(kAutoScrollIntervalMs);
  connect(&autoscroll_timer_, &QTimer::timeout, this, [this] {
    if (!AutoScrollPass()) autoscroll_timer_.stop();
  });
  ticks_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
  cursor_point_ = [this] { return last_mouse_; };
  document_->SetFonts(StyleDefaults(), def_background_, false);
  ComputeScrollBars();
}

TPageViewer::~TPageViewer() {
  hover_timer_.stop();
  autoscroll_timer_.stop();
  animation_timer_.stop();
}

// --- properties -------------------------------------------------------------------------

void TPageViewer::SetViewImages(bool view) {
  if (view == view_images_ || busy_) return;
  platform::BusyCursor hourglass;
  SetBusy(true);
  LoadEnd end([this] { SetBusy(false); });
  view_images_ = view;
  document_->ShowImages = view;
  if (!document_->Empty()) {
    RelayoutKeepingPosition();
    panel_->update();
  }
  UpdateAnimationTimer();
}

void TPageViewer::SetDefBackground(platform::TColor color) {
  if (busy_) return;
  def_background_ = color;
  document_->Background = color;
  panel_->update();
}

void TPageViewer::SetBorderStyle(THTMLBorderStyle style) {
  border_style_ = style;
  UpdateBorder();
  ComputeScrollBars();
}

void TPageViewer::SetHistoryMaxCount(int count) {
  if (history_.SetMaxCount(count) && OnHistoryChange) OnHistoryChange();
}

void TPageViewer::SetDefPreFontName(const std::string& name) {
  if (html::ToLower(name) == html::ToLower(def_pre_font_name_)) return;
  def_pre_font_name_ = name;
  document_->PreFontName = name.substr(0, kMaxPreFontNameLength);
}

void TPageViewer::SetDefFontSize(int size) { def_font_size_ = std::max(size, kMinFontSize); }

void TPageViewer::SetVisitedMaxCount(int count) {
  visited_.SetMaxCount(count);
  if (visited_.MaxCount() == 0) {
    for (layout::TFontObj* link : document_->LinkList()) link->SetVisited(false);
    panel_->update();
  }
}

void TPageViewer::SetImageCacheCount(int count) {
  image_cache_count_ = std::clamp(count, 0, kMaxImageCacheCount);
  ImageCache().SetMaxAge(image_cache_count_);
}

void TPageViewer::SetNoSelect(bool no_select) {
  no_select_ = no_select;
  if (no_select) {
    document_->SelStart = -1;
    document_->SelEnd = -1;
    panel_->update();
  }
}

void TPageViewer::SetScrollBars(TScrollStyle style) {
  scroll_bars_ = style;
  if (!document_->Empty() && !busy_) {
    RelayoutKeepingPosition();
  } else {
    ComputeScrollBars();
  }
}

void TPageViewer::SetServerRoot(const std::string& root) {
  std::string path = html::UrlToFileName(root);
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  server_root_ = path;
}

void TPageViewer::SethtOptions(ThtOptions options) {
  options_ = options;
  document_->LinksActive = (options & htOverLinksActive) != 0;
  document_->PrintBackgrounds = (options & htPrintTableBackground) != 0;
  document_->PrintMonoBlack = (options & htPrintMonochromeBlack) != 0;
  document_->ShowCaret = (options & htShowDummyCaret) != 0;
  ComputeScrollBars();
}

void TPageViewer::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (OnProcessing) OnProcessing(busy);
}

html::TStyleDefaults TPageViewer::StyleDefaults() const {
  html::TStyleDefaults defaults;
  defaults.FontName = def_font_name_;
  defaults.PreFontName = def_pre_font_name_;
  defaults.MarginWidth = margin_width_;
  defaults.MarginHeight = margin_height_;
  defaults.Charset = char_set_;
  defaults.UnderlineLinks = (options_ & htNoLinkUnderline) == 0;
  defaults.HoverColor = platform::PlainColor(def_over_link_color_);
  defaults.VisitedColor = platform::PlainColor(def_visited_link_color_);
  defaults.LinkColor = platform::PlainColor(def_hot_spot_color_);
  defaults.TextColor = platform::PlainColor(def_font_color_);
  defaults.FontSize = def_font_size_;
  return defaults;
}

// --- loading ------------------------------------------------------------------------------

void TPageViewer::LoadFromFile(const std::string& name) { LoadFileKeepingHistory(name, dkHtml); }
void TPageViewer::LoadTextFromFile(const std::string& name) { LoadFileKeepingHistory(name, dkText); }
void TPageViewer::LoadImageFromFile(const std::string& name) { LoadFileKeepingHistory(name, dkImage); }

ShownPlace TPageViewer::CurrentPlace() const {
  return ShownPlace{document_file_, document_title_, document_kind_, DocumentPosition()};
}

void TPageViewer::RecordHistory(const ShownPlace& left, layout::TFormData form_data) {
  if (history_.Record(left, std::move(form_data), CurrentPlace()) && OnHistoryChange) OnHistoryChange();
}

void TPageViewer::LoadFileKeepingHistory(const std::string& name, TDocumentKind kind) {
  if (busy_ || name.empty()) return;
  const ShownPlace left = CurrentPlace();
  layout::TFormData form_data = document_->GetFormData();
  LoadFile(name, kind);
  if (left.File != document_file_ || left.Kind != document_kind_)
    RecordHistory(left, std::move(form_data));
}

void TPageViewer::SetHistoryCursor(int index) {
  const auto& entries = history_.Entries();
  if (busy_ || index == history_.Cursor() || index < 0 || index >= static_cast<int>(entries.size()))
    return;
  const HistoryEntry target = entries[static_cast<std::size_t>(index)];
  const ShownPlace left = CurrentPlace();
  layout::TFormData form_data = document_->GetFormData();
  const auto kind = static_cast<TDocumentKind>(target.Kind);
  if (!IsSameFile(target.File, document_file_) || kind != document_kind_) LoadFile(target.File, kind);
  SetDocumentPosition(target.Position.Pos);
  if (!target.Position.FormData.empty()) SetFormData(target.Position.FormData);
  history_.StepTo(index, left, std::move(form_data));
  if (OnHistoryChange) OnHistoryChange();
}

void TPageViewer::LoadFile(const std::string& name, TDocumentKind kind) {
  platform::BusyCursor hourglass;
  const std::size_t hash = name.find('#');
  const std::string file_name = name.substr(0, hash);
  const std::string anchor = hash == std::string::npos ? "" : name.substr(hash + 1, kMaxAnchorLength);
  refresh_seconds_ = 0;
  SetBusy(true);
  {
    LoadEnd end([this] {
      panel_->update();
      if (OnProgress) OnProgress(kDone, 100);
      SetBusy(false);
    });
    const std::string expanded = ExpandDocumentName(file_name);
    // Checked before anything is cleared, so a failed load leaves the page on screen.
    if (!IsExistingFile(expanded)) throw EfvLoadError("Can't locate file: " + file_name);
    html::PageText page;
    if (kind != dkImage) {
      std::optional<html::PageText> read = html::LoadPageText(expanded, forced_charset_);
      if (!read) throw EfvLoadError("Can't locate file: " + file_name);
      page = std::move(*read);
    }
    document_->ProgressBase = kParseProgressShare;
    if (OnProgress) OnProgress(kStarted, 0);
    PrepareDocument();
    caret_index_ = 0;
    selection_anchor_ = -1;
    const std::string previous_file = document_file_;
    document_file_ = expanded;
    document_kind_ = kind;
    raw_text_ = std::move(page.text);
    raw_text_converted_ = page.Converted();
    if (kind != dkImage && OnParseBegin) OnParseBegin(raw_text_);
    ParseText(kind, expanded);
    if (kind != dkImage && OnParseEnd) OnParseEnd();
    AfterParse();
    MarkVisitedLinks();
    if ((anchor.empty() || !JumpToAnchor(anchor)) && !IsSameFile(expanded, previous_file)) {
      ScrollToY(0);
      SetHScrollBarPosition(0);
    }
  }
  // The refresh event comes after the load has ended, so its handler may load again.
  if (refresh_seconds_ > 0 && OnMetaRefresh) OnMetaRefresh(refresh_seconds_, refresh_target_);
}

void TPageViewer::LoadFromString(std::string_view text, TDocumentKind kind) {
  LoadMemory(std::string(text), kind == dkImage ? dkHtml : kind);
}

void TPageViewer::LoadFromText(const std::vector<std::string>& lines, TDocumentKind kind) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  LoadMemory(std::move(text), kind == dkImage ? dkHtml : kind);
}

void TPageViewer::LoadFromBuffer(const char* buffer, std::size_t size) {
  LoadMemory(buffer ? std::string(buffer, size) : std::string(), dkHtml);
}

void TPageViewer::LoadFromStream(platform::TStream& stream) {
  std::string text;
  char chunk[8192];
  for (std::size_t got = stream.Read(chunk, sizeof chunk); got > 0;
       got = stream.Read(chunk, sizeof chunk)) {
    text.append(chunk, got);
  }
  LoadMemory(std::move(text), dkHtml);
}

void TPageViewer::LoadMemory(std::string text, TDocumentKind kind) {
  if (busy_) return;
  refresh_seconds_ = 0;
  SetBusy(true);
  {
    LoadEnd end([this] {
      panel_->update();
      if (OnProgress) OnProgress(kDone, 100);
      SetBusy(false);
    });
    document_->ProgressBase = kParseProgressShare;
    if (OnProgress) OnProgress(kStarted, 0);
    PrepareDocument();
    caret_index_ = 0;
    selection_anchor_ = -1;
    document_kind_ = kind;
    raw_text_ = std::move(text);
    raw_text_converted_ = false;
    if (OnParseBegin) OnParseBegin(raw_text_);
    ParseText(kind, "");
    if (OnParseEnd) OnParseEnd();
    AfterParse();
    ScrollToY(0);
    SetHScrollBarPosition(0);
    document_file_.clear();
  }
  if (refresh_seconds_ > 0 && OnMetaRefresh) OnMetaRefresh(refresh_seconds_, refresh_target_);
}

void TPageViewer::Reload() {
  if (busy_ || document_file_.empty()) return;
  const std::string file = document_file_;
  switch (document_kind_) {
    case dkText: LoadFile(file, dkText); break;
    case dkImage: LoadFile(file, dkImage); break;
    default: LoadFile(file, dkHtml); break;
  }
}

void TPageViewer::EmptyDocument() {
  hover_timer_.stop();
  animation_timer_.stop();
  document_->Clear();
  // A new document: pictures no shown page uses grow older, and the oldest go.
  document_->Images.Cache().Age();
  document_->SetFonts(StyleDefaults(), def_background_, (options_ & htOverLinksActive) != 0);
}

void TPageViewer::PrepareDocument() {
  EmptyDocument();
  document_->PreFontName = def_pre_font_name_.substr(0, kMaxPreFontNameLength);
  document_->ShowImages = view_images_;
  document_->OnScript = OnScript;
  HandHostEventsToDocument();
  hover_url_.clear();
  hover_target_.clear();
}

void TPageViewer::ParseText(TDocumentKind kind, const std::string& file_name) {
  layout::TReaderSettings settings;
  settings.MarginWidth = margin_width_;
  settings.MarginHeight = margin_height_;
  settings.TextConverted = raw_text_converted_;
  layout::TDocumentHead head;
  if (kind == dkHtml) {
    if (OnSoundRequest) OnSoundRequest("", 0, true);
    layout::TReaderHandlers handlers;
    handlers.OnInclude = OnInclude;
    if (OnSoundRequest) {
      handlers.OnSoundRequest = [this](const std::string& src, int loop) {
        OnSoundRequest(src, loop, false);
      };
    }
    handlers.OnMeta = [this](const std::string& http_eq, const std::string& name,
                             const std::string& content) { HandleMeta(http_eq, name, content); };
    handlers.OnLink = OnLink;
    handlers.OnStyleSheet = [this](const std::string& href, std::string& text, std::string& base) {
      // Only local sheets: the viewer reads files, the program fetches nothing for a page.
      if (!LocalStyleSheets) return false;
      const std::string path = ExpandDocumentName(href);
      if (path.find("://") != std::string::npos) return false;
      platform::BoundedFile sheet = platform::ReadBoundedFile(path, platform::kStyleSheetFileLimit);
      if (!sheet.ok()) return false;
      base = path;
      text = std::move(sheet.bytes);
      return true;
    };
    head = layout::ParseDocument(raw_text_, *document_, settings, handlers);
  } else if (kind == dkText) {
    layout::ParseTextDocument(raw_text_, *document_);
  } else {
    layout::ParseDocument("<img src=\"" + file_name + "\">", *document_, settings);
  }
  // The document keeps what it shows; the text it was read from is read again from its
  // file on a reload, so holding it would only double the page in memory.
  std::string().swap(raw_text_);
  document_title_ = head.Title;
  document_base_ = head.Base.empty() ? forced_base_ : head.Base;
  document_base_target_ = head.BaseTarget;
}

void TPageViewer::AfterParse() {
  // The background picture arrives with the images; with images off there is none to fetch.
  DoLayout();
}

void TPageViewer::HandleMeta(const std::string& http_eq, const std::string& name,
                             const std::string& content) {
  if (OnMeta) OnMeta(http_eq, name, content);
  if (!OnMetaRefresh || html::ToLower(http_eq) != "refresh") return;
  if (const auto refresh = ParseMetaRefresh(content)) {
    refresh_seconds_ = refresh->Seconds;
    refresh_target_ = refresh->Url;
  }
}

void TPageViewer::Clear() {
  if (busy_) return;
  EmptyDocument();
  forced_base_.clear();
  document_base_.clear();
  document_base_target_.clear();
  document_title_.clear();
  doc_height_ = 0;
  doc_width_ = 0;
  v_bar_->SetParams(0, 0, 0, PanelHeight());
  v_bar_->hide();
  h_bar_->hide();
  caret_index_ = 0;
  selection_anchor_ = -1;
  if (OnSoundRequest) OnSoundRequest("", 0, true);
  panel_->update();
}

}  // namespace tessival::viewer
