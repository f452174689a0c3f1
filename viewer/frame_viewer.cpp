#include "viewer/frame_viewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "html/ascii_text.h"
#include "html/url_helpers.h"
#include "platform/clipboard.h"
#include "platform/qt/text_convert.h"
#include "viewer/document_names.h"
#include "viewer/frame_set.h"
#include "viewer/fv_frame.h"
#include "viewer/fv_load_error.h"

namespace tessival::viewer {

namespace {

constexpr char kCtrlC = 3;
// Extensions are compared this long, the dot included.
constexpr std::size_t kExtensionLength = 5;

TSubFrameSet& AsSet(layout::TFrameSetNode& node) { return dynamic_cast<TSubFrameSet&>(node); }

// Holds a widget's painting off while a set is swapped or rebuilt, also when that throws.
class RedrawOff {
 public:
  explicit RedrawOff(QWidget& widget) : widget_(widget) { widget_.setUpdatesEnabled(false); }
  ~RedrawOff() { widget_.setUpdatesEnabled(true); }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  QWidget& widget_;
};

}  // namespace

TFrameViewer::TFrameViewer(QWidget* parent, platform::MessageBoxes* messages)
    : QWidget(parent), messages_(messages), image_cache_(std::make_unique<html::TStringBitmapList>()) {
  resize(150, 150);
  setFocusPolicy(Qt::NoFocus);
  shared_cache_ = image_cache_.get();
  top_set_ = new TFrameSet(*this, this);  // owned by this widget
  top_set_->setGeometry(rect());
  top_set_->show();
  ApplyImageCacheCount();
  connect(qApp, &QApplication::focusChanged, this, &TFrameViewer::FocusMoved);
}

TFrameViewer::~TFrameViewer() {
  // The viewers give their pictures back to the shared cache as they go, so they go
  // before it does.
  qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void TFrameViewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  top_set_->setGeometry(rect());
}

void TFrameViewer::SetDefBackground(platform::TColor color) {
  def_background_ = color;
  for (TPageViewer* viewer : top_set_->Viewers()) viewer->SetDefBackground(color);
  QPalette palette = this->palette();
  const unsigned rgb = color & 0xFFFFFFU;
  if ((color & 0x80000000U) == 0) {
    palette.setColor(QPalette::Window,
                     QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                            static_cast<int>((rgb >> 16) & 0xFF)));
    setPalette(palette);
  }
}

void TFrameViewer::SetfvOptions(TFrameViewerOptions options) {
  options_ = options;
  page_options_ = PageOptionsOf(options);
  for (TPageViewer* viewer : top_set_->Viewers()) viewer->SethtOptions(page_options_);
  top_set_->SetOuterBorder((options & fvNoBorder) != 0 ? 0 : 2);
}

void TFrameViewer::LoadFromFile(const std::string& name) {
  if (Busy()) return;
  const auto [file, anchor] = SplitAnchor(name);
  if (!std::filesystem::is_regular_file(file)) throw EfvLoadError("Can't locate file: " + file);
  // The file just found is the one shown: a relative name must not be read again against
  // the directory of the page shown before.
  const std::string found = std::filesystem::absolute(file).lexically_normal().string();
  const OwnBusyScope busy(*this);
  busy_viewers_.clear();
  if (OnSoundRequest) OnSoundRequest({}, 0, true);
  if (SameName(found, top_set_->DocumentName())) {
    ReloadSameDocument(found, anchor);
  } else {
    ReplaceTopSet(found, anchor);
  }
  AddVisited(anchor.empty() && name.find('#') == std::string::npos ? found : found + "#" + anchor);
  MarkVisitedLinks();
}

void TFrameViewer::Reload() {
  if (Busy()) return;
  const OwnBusyScope busy(*this);
  busy_viewers_.clear();
  top_set_->UnloadFiles();
  top_set_->ReloadFiles();
  MarkVisitedLinks();
}

void TFrameViewer::ReplaceTopSet(const std::string& file, const std::string& anchor) {
  // The new set loads beside the old one; only a set that loaded replaces it.
  auto* fresh = new TFrameSet(*this, this);  // owned by this widget from here on
  fresh->setGeometry(rect());
  try {
    fresh->LoadDocument(file, anchor);
  } catch (...) {
    delete fresh;  // NOLINT(cppcoreguidelines-owning-memory): never shown, never referenced
    throw;
  }
  TFrameSet* old = top_set_;
  const FrameViewerHistoryEntry left{old->DocumentName(), old, old->Title(), SinglePosition(*old)};
  top_set_ = fresh;
  {
    const RedrawOff redraw(*this);
    fresh->show();
    fresh->raise();
  }
  old->hide();
  RecordTopHistory(left);
  if (HeldByHistory(*old)) {
    // A set kept for Back is emptied, once the event that may have come from one of its
    // viewers (a link click) has been handled.
    QTimer::singleShot(0, old, [this, old] {
      if (old != top_set_) old->UnloadFiles();
    });
  }
  ReleaseSet(old);
  update();
}

void TFrameViewer::ReloadSameDocument(const std::string& file, const std::string& anchor) {
  // The document shown already is read again into the set that shows it.
  {
    const RedrawOff redraw(*this);
    top_set_->LoadDocument(file, anchor);
  }
  update();
  if (HistoryMaxCount <= 0) return;
  if (history_.empty()) {
    // The first entry: the document is one the user may come back to.
    RecordTopHistory(FrameViewerHistoryEntry{});
    return;
  }
  // The entry stays the one of this document and set; only its title may have changed.
  history_.at(static_cast<std::size_t>(history_index_)).Title = top_set_->Title();
  HistoryChanged();
}

void TFrameViewer::CopyToClipboard() {
  TPageViewer* viewer = CurrentViewer();
  if (viewer == nullptr || viewer->SelLength() == 0) return;
  // The whole selection goes to the clipboard: a long selection is copied, not refused.
  platform::Clipboard::System().SetText(viewer->SelText());
}

std::string TFrameViewer::SelText() const {
  TPageViewer* viewer = CurrentViewer();
  return viewer != nullptr ? viewer->SelText() : std::string();
}

TPageViewer* TFrameViewer::CurrentViewer() const { return top_set_->CurrentViewer(); }
int TFrameViewer::ViewerCount() const { return static_cast<int>(top_set_->Viewers().size()); }
TPageViewer* TFrameViewer::ViewerAt(int index) const {
  return top_set_->Viewers().at(static_cast<std::size_t>(index));
}
std::string TFrameViewer::DocumentTitle() const { return top_set_->Title(); }
bool TFrameViewer::IsTopSet(const TSubFrameSet& set) const { return &set == top_set_; }

// --- the frame-set reader's calls ------------------------------------------------------

void TFrameViewer::CreateFrame(layout::TFrameSetNode& parent, const html::TAttributeList& attributes,
                               const std::string& directory) {
  AsSet(parent).AddFrame(attributes, directory);
}

layout::TFrameSetNode& TFrameViewer::CreateSubFrameSet(layout::TFrameSetNode& parent) {
  TSubFrameSet* set = AsSet(parent).AddSubFrameSet();
  if (set != nullptr) return *set;
  // A set with no room left still reads its content, into a set nobody shows.
  auto* ignored = new TSubFrameSet(AsSet(parent).MasterSet(), &AsSet(parent), &AsSet(parent));
  ignored->hide();
  return *ignored;
}

void TFrameViewer::ApplyFrameSetAttributes(layout::TFrameSetNode& set,
                                           const html::TAttributeList& attributes) {
  TSubFrameSet& target = AsSet(set);
  target.ApplyAttributes(attributes, &target == target.MasterSet(), (options_ & fvNoBorder) != 0);
}

void TFrameViewer::FinishFrameSet(layout::TFrameSetNode& set) { AsSet(set).Finish(); }

// --- viewers ---------------------------------------------------------------------------

TPageViewer& TFrameViewer::MakeViewer(TfvFrame& frame) {
  auto* viewer = new TPageViewer(&frame, messages_);  // owned by the frame's widget tree
  if (frame.MasterSet()->BorderSize() == 0) viewer->SetBorderStyle(htNone);
  if (frame.NoScroll()) viewer->SetScrollBars(ssNone);
  ApplyTo(*viewer);
  viewer->SetCharSet(frame.CharSet());
  viewer->InsideFrame = true;
  // MARGINWIDTH and MARGINHEIGHT of the FRAME, else the frame viewer's margins.
  viewer->SetMarginWidth(frame.MarginWidth());
  viewer->SetMarginHeight(frame.MarginHeight());
  viewer->OnHotSpotClick = [this, viewer](const std::string& url, bool& handled) {
    HotSpotClick(*viewer, url, handled);
  };
  viewer->OnHotSpotCovered = [this, viewer](const std::string& url) {
    if (OnHotSpotTargetCovered) OnHotSpotTargetCovered(*viewer, viewer->HoverTarget(), url);
  };
  viewer->OnProcessing = [this, viewer](bool on) { ViewerProcessing(*viewer, on); };
  HandMouseTo(*viewer);
  HandEventsTo(*viewer);
  viewer->OnMetaRefresh = [&frame](int seconds, const std::string& url) {
    frame.StartRefresh(seconds, url);
  };
  if (RequestMode()) {
    viewer->OnhtStreamRequest = [this](const std::string& src, std::string& data) {
      ImageStream(src, data);
    };
  }
  viewer->installEventFilter(this);
  frame.MasterSet()->AddViewer(*viewer);
  viewer->show();
  return *viewer;
}

void TFrameViewer::HandMouseTo(TPageViewer& viewer) {
  // Copied as they are now, like every handler, with the viewer as the sender.
  if (auto down = OnMouseDown) {
    viewer.OnMouseDown = [&viewer, down](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                         int y) { down(viewer, button, shift, x, y); };
  }
  if (auto move = OnMouseMove) {
    viewer.OnMouseMove = [&viewer, move](Qt::KeyboardModifiers shift, int x, int y) {
      move(viewer, shift, x, y);
    };
  }
  if (auto up = OnMouseUp) {
    viewer.OnMouseUp = [&viewer, up](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
      up(viewer, button, shift, x, y);
    };
  }
}

bool TFrameViewer::eventFilter(QObject* watched, QEvent* event) {
  auto* viewer = qobject_cast<TPageViewer*>(watched);
  if (viewer == nullptr) return false;
  if (event->type() == QEvent::FocusIn) top_set_->SetCurrentViewer(viewer);
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  return ViewerKey(*viewer, *event);
}

bool TFrameViewer::ViewerKey(TPageViewer& viewer, QEvent& event) {
  auto& key_event = static_cast<QKeyEvent&>(event);
  // The host sees the key before the viewer does, and may keep it from the viewer.
  const bool down = event.type() == QEvent::KeyPress;
  const auto& handler = down ? OnKeyDown : OnKeyUp;
  if (handler) {
    int code = key_event.key();
    handler(viewer, code, key_event.modifiers());
    if (code == 0) return true;
  }
  if (!down) return false;
  char key = KeyCharacter(key_event);
  if (key == 0) return false;  // keys without a character (arrows, pages) scroll the viewer
  const bool copy = key == kCtrlC;
  // The viewer's own copy goes through a buffer of fixed size; the frame viewer copies
  // the whole selection in its place.
  if (copy) CopyToClipboard();
  if (OnKeyPress) OnKeyPress(viewer, key);
  return copy || key == 0;
}

bool TFrameViewer::Holds(const QWidget* widget) const {
  return widget != nullptr && (widget == this || isAncestorOf(widget));
}

void TFrameViewer::FocusMoved(const QWidget* old_focus, const QWidget* now_focus) {
  // Moving between the frames is no entering: only focus from or to elsewhere counts.
  const bool was_inside = Holds(old_focus);
  const bool is_inside = Holds(now_focus);
  if (!was_inside && is_inside && OnEnter) OnEnter();
  if (was_inside && !is_inside && OnExit) OnExit();
}

char TFrameViewer::KeyCharacter(const QKeyEvent& event) {
  if (event.key() == Qt::Key_C && (event.modifiers() & Qt::ControlModifier)) return kCtrlC;
  const std::string text = platform::FromQString(event.text());
  return text.size() == 1 ? text[0] : 0;
}

TDocumentKind TFrameViewer::NameKind(const std::string& name) const {
  if (RequestMode()) return dkHtml;
  const std::string extension =
      html::ToLower(std::filesystem::path(name).extension().string()).substr(0, kExtensionLength);
  if (extension == ".gif" || extension == ".jpg" || extension == ".jpeg" || extension == ".bmp" ||
      extension == ".png")
    return dkImage;
  return extension == ".txt" ? dkText : dkHtml;
}

std::string TFrameViewer::CurrentBase() const {
  const TPageViewer* viewer = CurrentViewer();
  if (viewer != nullptr && !viewer->DocumentBase().empty()) return viewer->DocumentBase();
  const TfvFrame* frame = viewer != nullptr ? FrameOf(*viewer) : nullptr;
  for (const TSubFrameSet* set = frame != nullptr ? frame->ParentSet() : nullptr; set != nullptr;
       set = set->ParentSet()) {
    if (!set->Base().empty()) return set->Base();
  }
  return top_set_->Base();
}

std::string TFrameViewer::ExpandSourceName(const std::string& name) const {
  // A local path is absolute and root-relative links look the same: a file that exists
  // there is the file, not a link to be put under the server root.
  if (!name.empty() && name.front() == '/' && std::filesystem::is_regular_file(name))
    return std::filesystem::path(name).lexically_normal().string();
  std::string path = html::ExpandFileName(name, ServerRoot);
  if (path.empty() || path.front() == '/') return path;
  const std::string base = CurrentBase();
  if (SameName(base, "DosPath")) return path;
  if (!base.empty()) {
    return (std::filesystem::path(html::UrlToFileName(html::GetBase(base))) / path)
        .lexically_normal()
        .string();
  }
  // No base: the name belongs beside the document shown, not beside the program.
  if (const TPageViewer* viewer = CurrentViewer()) return viewer->ExpandDocumentName(path);
  const std::filesystem::path directory = std::filesystem::path(top_set_->DocumentName()).parent_path();
  return std::filesystem::absolute(directory / path).lexically_normal().string();
}

// --- busy ------------------------------------------------------------------------------

void TFrameViewer::SetOwnBusy(bool busy) {
  const bool was = Busy();
  own_busy_ = busy;
  FireProcessing(was);
}

void TFrameViewer::ViewerProcessing(TPageViewer& viewer, bool processing) {
  const bool was = Busy();
  std::erase(busy_viewers_, &viewer);
  if (processing) busy_viewers_.push_back(&viewer);
  FireProcessing(was);
}

void TFrameViewer::FireProcessing(bool was_busy) {
  if (Busy() != was_busy && OnProcessing) OnProcessing(Busy());
}

// --- links -----------------------------------------------------------------------------

TfvFrame* TFrameViewer::FrameOf(const TPageViewer& viewer) const {
  return qobject_cast<TfvFrame*>(viewer.parentWidget());
}

std::string TFrameViewer::LinkTarget(TPageViewer& viewer) const {
  if (!viewer.HoverTarget().empty()) return viewer.HoverTarget();
  if (!viewer.DocumentBaseTarget().empty()) return viewer.DocumentBaseTarget();
  const TfvFrame* frame = FrameOf(viewer);
  for (const TSubFrameSet* set = frame != nullptr ? frame->ParentSet() : nullptr; set != nullptr;
       set = set->ParentSet()) {
    if (!set->BaseTarget().empty()) return set->BaseTarget();
  }
  return top_set_->BaseTarget();
}

void TFrameViewer::HotSpotClick(TPageViewer& viewer, const std::string& url, bool& handled) {
  if (Busy()) {
    handled = true;
    return;
  }
  const std::string target = LinkTarget(viewer);
  handled = false;
  if (OnHotSpotTargetClick) OnHotSpotTargetClick(target, url, handled);
  if (handled) return;
  handled = true;  // the viewer never follows a link itself
  auto [source, anchor] = SplitAnchor(url);
  std::string query;
  if (const std::size_t mark = source.find('?'); mark != std::string::npos) {
    query = source.substr(mark);
    source.erase(mark);
  }
  if (!source.empty() && !RequestMode()) source = viewer.ExpandDocumentName(source);

  TfvFrame* frame = nullptr;
  bool to_top = false;
  const std::string lower = html::ToLower(target);
  if (target.empty() || lower == "_self") {
    frame = FrameOf(viewer);
  } else if (TfvFrame* named = top_set_->FrameNamed(target)) {
    frame = named;
  } else if (lower == "_top") {
    to_top = true;
  } else if (lower == "_parent") {
    const TfvFrame* own = FrameOf(viewer);
    const TSubFrameSet* set = own != nullptr ? own->ParentSet() : nullptr;
    auto* enclosing = set != nullptr ? qobject_cast<TfvFrame*>(set->parentWidget()) : nullptr;
    if (enclosing != nullptr) {
      frame = enclosing;
    } else {
      to_top = true;
    }
  } else {
    if (OnBlankWindowRequest) {
      AddVisited(source + query + (anchor.empty() ? "" : "#" + anchor));
      MarkVisitedLinks();
      OnBlankWindowRequest(target, url);
    }
    return;
  }
  if (frame == nullptr && !to_top) return;
  const OwnBusyScope busy(*this);
  if (frame != nullptr && ViewerCount() == 1 && !source.empty() &&
      !SameName(source, top_set_->DocumentName())) {
    to_top = true;
  }
  const std::string anchored = anchor.empty() ? source : source + "#" + anchor;
  if (to_top) {
    own_busy_ = false;  // the top-level load brackets itself
    LoadFromFile(anchored);
  } else {
    frame->LoadFrameDocument(source, anchor);
  }
  if (!query.empty()) AddVisited(source + query + (anchor.empty() ? "" : "#" + anchor));
  MarkVisitedLinks();
}

}  // namespace tessival::viewer
