#include "viewer/fv_frame.h"

#include <QMouseEvent>
#include <filesystem>
#include <utility>

#include "html/ascii_text.h"
#include "html/url_helpers.h"
#include "reader/frame_set_reader.h"
#include "viewer/document_names.h"
#include "viewer/frame_set.h"
#include "viewer/fv_load_error.h"
#include "viewer/page_viewer.h"
#include "viewer/sub_frame_set.h"

namespace tessival::viewer {

namespace {

// Documents nested this deep in frames are left empty, so a frame set that holds itself
// ends.
constexpr int kMaxLoadDepth = 4;
constexpr std::size_t kMaxErrorDocument = 255;

std::string AttributeText(const html::TAttributeList& attributes, html::Symbol symbol) {
  const html::TAttribute* attribute = attributes.Find(symbol);
  return attribute != nullptr ? attribute->StrValue : std::string();
}

class LoadDepthGuard {
 public:
  explicit LoadDepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~LoadDepthGuard() { --depth_; }
  LoadDepthGuard(const LoadDepthGuard&) = delete;
  LoadDepthGuard& operator=(const LoadDepthGuard&) = delete;

 private:
  int& depth_;
};

std::string DirectoryOf(const std::string& file) {
  return std::filesystem::path(file).parent_path().string();
}

constexpr int kMillisecondsPerSecond = 1000;

}  // namespace

TfvFrame::TfvFrame(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent)
    : TFrameBase(master, parent_set, parent) {
  setMouseTracking(true);
  refresh_timer_.setSingleShot(true);
  connect(&refresh_timer_, &QTimer::timeout, this, &TfvFrame::RefreshTick);
  if (master != nullptr) {
    margin_width_ = master->Host().Settings().MarginWidth;
    margin_height_ = master->Host().Settings().MarginHeight;
  }
}

void TfvFrame::ApplyAttributes(const html::TAttributeList& attributes, const std::string& directory) {
  frame_name_ = AttributeText(attributes, html::NameSy);
  const std::string server_root = MasterSet() != nullptr ? MasterSet()->Host().Settings().ServerRoot
                                                         : std::string();
  const std::string given = AttributeText(attributes, html::SrcSy);
  auto [source, anchor] = SplitAnchor(html::ExpandFileName(given, server_root));
  frame_anchor_ = std::move(anchor);
  // Relative sources belong beside the frame-set document that names them, or under its
  // BASE; without a directory they are taken as they stand, from the working directory.
  if (!source.empty() && source.find(':') == std::string::npos && source.front() != '/') {
    const std::filesystem::path path = directory.empty() ? std::filesystem::absolute(source)
                                                         : std::filesystem::path(directory) / source;
    source = path.lexically_normal().string();
  }
  initial_file_ = source;
  if (MasterSet() != nullptr && MasterSet()->Host().RequestMode()) {
    // A host that serves documents by name is asked by the name the document gives;
    // where that name leads on disk is kept for when the host has no answer.
    source = SplitAnchor(html::ExpandFileName(given, {})).first;
  }
  frame_source_ = frame_initial_source_ = source;
  no_resize_ = attributes.Find(html::NoResizeSy) != nullptr;
  no_scroll_ = html::ToLower(AttributeText(attributes, html::ScrollingSy)) == "no";
  if (const html::TAttribute* width = attributes.Find(html::MarginWidthSy))
    margin_width_ = width->NumValue;
  if (const html::TAttribute* height = attributes.Find(html::MarginHeightSy))
    margin_height_ = height->NumValue;
  if (!frame_name_.empty() && MasterSet() != nullptr) MasterSet()->RegisterFrameName(frame_name_, *this);
  if (ParentSet() != nullptr) char_set_ = ParentSet()->CharSet();
}

void TfvFrame::SetSource(const std::string& source, const std::string& anchor) {
  frame_source_ = source;
  frame_anchor_ = anchor;
}

void TfvFrame::LoadFiles() {
  if (frame_source_.empty()) return;
  LoadGuarded([this] {
    LoadSource();
    RecordHistory(frame_source_, viewer_ != nullptr ? viewer_->DocumentPosition() : 0, 0, {});
  });
}

void TfvFrame::LoadPageAnswer(const FrameRequest& answer, const layout::TFrameSetSource& source) {
  LoadGuarded([&] {
    ShowPage(answer, source);
    RecordHistory(frame_source_, viewer_ != nullptr ? viewer_->DocumentPosition() : 0, 0, {});
  });
}

void TfvFrame::LoadShownFile(int kind) {
  LoadGuarded([&] {
    ShowFile(frame_source_, kind);
    RecordHistory(frame_source_, viewer_ != nullptr ? viewer_->DocumentPosition() : 0, 0, {});
  });
}

void TfvFrame::LoadGuarded(const std::function<void()>& load) {
  TFrameSet& master = *MasterSet();
  if (master.LoadDepth >= kMaxLoadDepth) return;
  LoadDepthGuard depth(master.LoadDepth);
  try {
    load();
  } catch (const std::exception&) {
    DropFrameSet();
    ShowErrorDocument(frame_source_);
  }
}

void TfvFrame::LoadSource() {
  TFrameHost& host = MasterSet()->Host();
  const TDocumentKind kind = host.NameKind(frame_source_);
  if (kind != dkHtml) {
    ShowFile(host.ExpandSourceName(frame_source_), kind);
    return;
  }
  LoadDocument(RequestSource());
}

FrameRequest TfvFrame::RequestSource() const {
  FrameRequest answer = MasterSet()->Host().RequestDocument(frame_source_);
  if (!answer.Answered) answer.FileName = UnansweredFile();
  return answer;
}

std::string TfvFrame::UnansweredFile() const {
  // The name the frame-set document gave is read beside that document, not beside the
  // page shown when it was asked for (a new top set loads while the old one is shown).
  if (!initial_file_.empty() && frame_source_ == frame_initial_source_) return initial_file_;
  return MasterSet()->Host().ExpandSourceName(frame_source_);
}

void TfvFrame::ShowFile(const std::string& file, int kind) {
  DropFrameSet();
  TPageViewer& viewer = EnsureViewer();
  viewer.SetForcedBase(MasterSet()->Base());
  if (kind == dkImage) {
    viewer.LoadImageFromFile(file);
  } else {
    viewer.LoadTextFromFile(frame_anchor_.empty() ? file : file + "#" + frame_anchor_);
  }
}

void TfvFrame::LoadDocument(const FrameRequest& answer) {
  TFrameHost& host = MasterSet()->Host();
  const layout::TFrameSetSource source = answer.Source();
  if (layout::IsFrameDocument(source)) {
    DropViewer();
    DropFrameSet();
    frame_set_ = new TSubFrameSet(MasterSet(), ParentSet(), this);  // owned by this frame
    frame_set_->SetCharSet(char_set_);
    frame_set_->setGeometry(contentsRect());
    // Frames of a document held in memory are found beside the name it was asked by.
    const std::string directory = DirectoryOf(answer.InMemory() ? UnansweredFile() : answer.FileName);
    layout::ParseFrameSet(source, host.FrameSetBuilder(), *frame_set_, directory,
                          frame_set_->Handlers(directory));
    if (!frame_set_->Finished()) frame_set_->Finish();
    SetBevel(0);
    frame_set_->setGeometry(rect());
    frame_set_->show();
    frame_set_->LoadFiles();
    frame_set_->ComputeNoDrag();
    frame_set_->DistributeSizes();
    frame_set_->PlaceChildren();
    frame_set_->StartRefresh();
    return;
  }
  ShowPage(answer, source);
}

void TfvFrame::ShowPage(const FrameRequest& answer, const layout::TFrameSetSource& source) {
  // A frame holds a page or a frame set, never both.
  DropFrameSet();
  TPageViewer& viewer = EnsureViewer();
  viewer.SetForcedBase(MasterSet()->Base());
  if (answer.InMemory()) {
    viewer.LoadFromString(source.Text());
    if (!frame_anchor_.empty()) viewer.JumpToAnchor(frame_anchor_);
    return;
  }
  const std::string& file = answer.FileName;
  viewer.LoadFromFile(frame_anchor_.empty() ? file : file + "#" + frame_anchor_);
}

void TfvFrame::CheckReadable() const {
  TFrameHost& host = MasterSet()->Host();
  std::string file;
  if (host.NameKind(frame_source_) != dkHtml) {
    file = host.ExpandSourceName(frame_source_);
  } else {
    const FrameRequest answer = RequestSource();
    if (answer.InMemory()) return;
    file = answer.FileName;
  }
  if (!std::filesystem::is_regular_file(file)) throw EfvLoadError("Can't load: " + frame_source_);
}

void TfvFrame::LoadFrameDocument(const std::string& source, const std::string& anchor,
                                 FrameReload reload, FrameRecord record) {
  refresh_timer_.stop();
  const std::string old_source = frame_source_;
  const std::string old_anchor = frame_anchor_;
  frame_source_ = source.empty() ? old_source : source;
  frame_anchor_ = anchor;
  TFrameHost& host = MasterSet()->Host();
  const bool same_page = viewer_ != nullptr && SameName(frame_source_, old_source);
  const int old_position = viewer_ != nullptr ? viewer_->DocumentPosition() : 0;
  const std::string old_title = viewer_ != nullptr ? viewer_->DocumentTitle() : std::string();
  try {
    if (frame_set_ != nullptr && SameName(frame_source_, old_source) && reload == FrameReload::kNo) {
      // The frame set shown already: its frames go back to the documents it names.
      frame_set_->ShowInitialSources();
    } else if (same_page && reload == FrameReload::kNo) {
      // The page shown already: a link to one of its anchors only moves there.
      if (!anchor.empty()) viewer_->JumpToAnchor(anchor);
      if (record == FrameRecord::kYes && viewer_->DocumentPosition() != old_position)
        RecordHistory(frame_source_, viewer_->DocumentPosition(), old_position, {});
    } else {
      CheckReadable();
      layout::TFormData form_data = viewer_ != nullptr ? viewer_->FormData() : layout::TFormData{};
      const bool reused_viewer = viewer_ != nullptr;
      if (frame_set_ != nullptr) MasterSet()->ForgetFramesInside(*frame_set_);
      LoadSource();
      if (viewer_ != nullptr) SetBevel(MasterSet()->BorderSize());
      if (same_page) {
        if (viewer_ != nullptr) viewer_->SetDocumentPosition(old_position);
      } else if (record == FrameRecord::kYes) {
        RecordMove(reused_viewer, old_source, old_title, old_position, std::move(form_data));
      }
    }
  } catch (...) {
    frame_source_ = old_source;
    frame_anchor_ = old_anchor;
    throw;
  }
  host.AddVisited(anchor.empty() ? frame_source_ : frame_source_ + "#" + anchor);
  update();
}

void TfvFrame::RecordMove(bool reused_viewer, const std::string& old_source,
                          const std::string& old_title, int old_position, layout::TFormData form_data) {
  TFrameHost& host = MasterSet()->Host();
  const int position = viewer_ != nullptr ? viewer_->DocumentPosition() : 0;
  // A lone viewer is the whole document: the top level's history records the move.
  if (reused_viewer && viewer_ != nullptr && host.ViewerCount() < 2) {
    MasterSet()->TakeOverDocument(*viewer_);
    host.RecordSingleViewerMove(old_source, old_title, old_position);
    return;
  }
  RecordHistory(frame_source_, position, old_position, std::move(form_data));
}

// --- history -------------------------------------------------------------------------------

void TfvFrame::RecordHistory(const std::string& source, int position, int old_position,
                             layout::TFormData form_data) {
  // Kept whatever the history count: only the top level's list is limited by it.
  TFrameHost& host = MasterSet()->Host();
  FrameHistoryEntry entry{source, layout::PositionObj{position, {}}, host.NextHistorySequence()};
  // Frames rebuilt while an entry is shown again start their own history, and leave the
  // others' forward entries alone.
  if (host.ReplayingHistory()) {
    if (history_.empty()) history_.push_back(std::move(entry));
    return;
  }
  if (!history_.empty()) {
    FrameHistoryEntry& left = history_.at(static_cast<std::size_t>(history_index_));
    left.Position.Pos = old_position;
    // Form contents belong to the page they were typed into, not to a jump inside it.
    left.Position.FormData = SameName(left.Source, source) ? layout::TFormData{} : std::move(form_data);
  }
  MasterSet()->ClearForwardFrameHistory();
  history_.insert(history_.begin(), std::move(entry));
  history_index_ = 0;
  host.HistoryChanged();
}

void TfvFrame::ClearForwardHistory() {
  history_.erase(history_.begin(), history_.begin() + history_index_);
  history_index_ = 0;
}

void TfvFrame::ClearHistory() {
  history_.clear();
  history_index_ = 0;
}

long long TfvFrame::SequenceAt(int offset) const {
  const int index = history_index_ + offset;
  return history_.at(static_cast<std::size_t>(index)).Sequence;
}

void TfvFrame::GoToHistory(int index) {
  if (index < 0 || index >= static_cast<int>(history_.size()) || index == history_index_) return;
  TFrameHost& host = MasterSet()->Host();
  FrameHistoryEntry& left = history_.at(static_cast<std::size_t>(history_index_));
  const FrameHistoryEntry target = history_.at(static_cast<std::size_t>(index));
  if (viewer_ != nullptr) {
    left.Position.Pos = viewer_->DocumentPosition();
    left.Position.FormData = SameName(left.Source, target.Source) ? layout::TFormData{}
                                                                  : viewer_->FormData();
  }
  const int left_index = history_index_;
  history_index_ = index;
  try {
    const HistoryReplay replay(host);
    LoadFrameDocument(target.Source, {}, FrameReload::kNo, FrameRecord::kNo);
  } catch (...) {
    history_index_ = left_index;
    throw;
  }
  RestorePlace(target.Position.Pos, target.Position.FormData);
  host.HistoryChanged();
}

void TfvFrame::RestorePlace(int position, const layout::TFormData& form_data) {
  if (viewer_ == nullptr) return;
  viewer_->SetDocumentPosition(position);
  if (!form_data.empty()) viewer_->SetFormData(form_data);
}

// --- unload and reload ---------------------------------------------------------------------

void TfvFrame::UnloadFiles() {
  refresh_timer_.stop();
  unloaded_ = true;
  if (frame_set_ != nullptr) {
    frame_set_->UnloadFiles();
    return;
  }
  if (viewer_ == nullptr) return;
  saved_position_ = viewer_->DocumentPosition();
  saved_form_data_ = viewer_->FormData();
  viewer_->Clear();
  // An emptied page plays nothing until it is read again.
  viewer_->OnSoundRequest = nullptr;
}

void TfvFrame::ReloadFiles() {
  refresh_timer_.stop();
  const bool was_unloaded = std::exchange(unloaded_, false);
  if (frame_set_ != nullptr) {
    frame_set_->ReloadFiles();
    return;
  }
  if (viewer_ == nullptr || frame_source_.empty()) return;
  const int position = was_unloaded ? saved_position_ : viewer_->DocumentPosition();
  const layout::TFormData form_data = was_unloaded ? std::move(saved_form_data_) : viewer_->FormData();
  saved_form_data_.clear();
  // The page read again may play its background sound again.
  viewer_->OnSoundRequest = MasterSet()->Host().Settings().OnSoundRequest;
  try {
    LoadSource();
  } catch (const std::exception&) {
    DropFrameSet();
    ShowErrorDocument(frame_source_);
    return;
  }
  RestorePlace(position, form_data);
}

void TfvFrame::StartRefresh(int seconds, const std::string& url) {
  TFrameHost& host = MasterSet()->Host();
  if ((host.Options() & fvMetaRefresh) == 0 || seconds <= 0) return;
  // A relative URL names a document beside the page that asked, not beside the program.
  if (url.empty()) {
    refresh_url_ = frame_source_;
  } else if (host.RequestMode() || viewer_ == nullptr) {
    refresh_url_ = host.ExpandSourceName(url);
  } else {
    refresh_url_ = viewer_->ExpandDocumentName(url);
  }
  const std::string file = SplitAnchor(refresh_url_).first;
  if (!host.RequestMode() && !std::filesystem::is_regular_file(file)) return;
  refresh_timer_.start(seconds * kMillisecondsPerSecond);
}

void TfvFrame::RefreshTick() {
  refresh_timer_.stop();
  TFrameHost& host = MasterSet()->Host();
  // Nobody waits for a refresh: a document gone by now leaves the page as it is.
  try {
    if (host.ViewerCount() > 1) {
      const auto [source, anchor] = SplitAnchor(refresh_url_);
      LoadFrameDocument(source, anchor, FrameReload::kYes);
      host.MarkVisitedLinks();
    } else if (SameName(refresh_url_, MasterSet()->DocumentName())) {
      host.Reload();
    } else {
      host.LoadFromFile(refresh_url_);
    }
  } catch (const std::exception&) {
  }
}

void TfvFrame::ShowErrorDocument(const std::string& name) {
  std::string text = "<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + name;
  if (text.size() > kMaxErrorDocument) text.resize(kMaxErrorDocument);
  EnsureViewer().LoadFromString(text);
}

TPageViewer& TfvFrame::EnsureViewer() {
  if (viewer_ == nullptr) {
    viewer_ = &MasterSet()->Host().MakeViewer(*this);
    viewer_->setGeometry(contentsRect());
  }
  return *viewer_;
}

void TfvFrame::DropViewer() {
  if (viewer_ == nullptr) return;
  MasterSet()->RemoveViewer(*viewer_);
  // A link clicked in this very viewer may be what replaces it: it goes once its event
  // has been handled.
  viewer_->hide();
  viewer_->deleteLater();
  viewer_ = nullptr;
}

void TfvFrame::DropFrameSet() {
  if (frame_set_ == nullptr) return;
  MasterSet()->ForgetFramesInside(*frame_set_);
  frame_set_->hide();
  frame_set_->deleteLater();  // a viewer inside may be handling the click that replaced it
  frame_set_ = nullptr;
}

void TfvFrame::resizeEvent(QResizeEvent* event) {
  TFrameBase::resizeEvent(event);
  if (viewer_ != nullptr) viewer_->setGeometry(contentsRect());
  if (frame_set_ != nullptr) frame_set_->setGeometry(rect());
}

void TfvFrame::mouseMoveEvent(QMouseEvent* event) {
  // A frame that may not be resized never offers its borders for dragging.
  if (no_resize_ && !ParentSet()->Dragging()) return;
  if (Empty()) {
    const TViewerSettings& settings = MasterSet()->Host().Settings();
    if (settings.OnMouseMove)
      settings.OnMouseMove(*this, event->modifiers(), event->position().toPoint().x(),
                           event->position().toPoint().y());
    return;
  }
  ParentSet()->BorderMouseMove(*this, mapTo(ParentSet(), event->position().toPoint()));
}

void TfvFrame::mousePressEvent(QMouseEvent* event) {
  if (Empty()) {
    const TViewerSettings& settings = MasterSet()->Host().Settings();
    const QPoint p = event->position().toPoint();
    if (settings.OnMouseDown)
      settings.OnMouseDown(*this, event->button(), event->modifiers(), p.x(), p.y());
    return;
  }
  ParentSet()->BorderMouseDown(*this, event->button(), mapTo(ParentSet(), event->position().toPoint()));
}

void TfvFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (Empty()) {
    const TViewerSettings& settings = MasterSet()->Host().Settings();
    const QPoint p = event->position().toPoint();
    if (settings.OnMouseUp) settings.OnMouseUp(*this, event->button(), event->modifiers(), p.x(), p.y());
    return;
  }
  ParentSet()->BorderMouseUp(*this, event->button(), mapTo(ParentSet(), event->position().toPoint()));
}

}  // namespace tessival::viewer
