#include "viewer/frame_set.h"

#include <algorithm>
#include <filesystem>

#include "html/ascii_text.h"
#include "reader/frame_set_reader.h"
#include "viewer/fv_frame.h"
#include "viewer/fv_load_error.h"
#include "viewer/page_viewer.h"

namespace tessival::viewer {

namespace {

std::string Upper(const std::string& text) {
  std::string upper = text;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
  return upper;
}

bool Contains(const QWidget& outer, const QWidget* inner) {
  for (const QWidget* w = inner; w != nullptr; w = w->parentWidget()) {
    if (w == &outer) return true;
  }
  return false;
}

}  // namespace

TFrameSet::TFrameSet(TFrameHost& host, QWidget* parent)
    : TSubFrameSet(this, nullptr, parent), host_(host) {
  const bool no_border = (host.Options() & fvNoBorder) != 0;
  SetBorderSize(no_border ? 0 : 2);
  SetOuterBorder(no_border ? 0 : 2);
}

void TFrameSet::Clear() {
  frame_names_.clear();
  viewers_.clear();
  current_viewer_ = nullptr;
  dragging_set_ = nullptr;
  ClearSet();
  document_name_.clear();
  title_.clear();
  SetCharSet(host_.DefaultCharSet());
  LoadDepth = 0;
}

void TFrameSet::LoadDocument(const std::string& name, const std::string& anchor) {
  const TDocumentKind kind = host_.NameKind(name);
  if (kind != dkHtml) {
    LoadShownFile(host_.ExpandSourceName(name), anchor, kind);
    return;
  }
  // Everything is read before the set is cleared, so a document that cannot be read
  // leaves the set as it was.
  const FrameRequest answer = host_.RequestDocument(name);
  const layout::TFrameSetSource source = answer.Source();
  const bool frame_document = layout::IsFrameDocument(source);
  Clear();
  // A document the host answered keeps the name it was asked by.
  document_name_ = answer.Answered ? name : answer.FileName;
  if (frame_document) {
    const std::string file = answer.InMemory() ? host_.ExpandSourceName(name) : answer.FileName;
    const std::string directory = std::filesystem::path(file).parent_path().string();
    const layout::TFrameSetHandlers handlers = Handlers(directory);
    const layout::TFrameSetHead head = layout::ParseFrameSet(source, host_.FrameSetBuilder(), *this,
                                                             directory, handlers);
    if (!Finished()) Finish();
    title_ = head.Title;
    SetBaseAndTarget(head.Base, head.BaseTarget);
    LoadFiles();
    DistributeSizes();
    PlaceChildren();
    ComputeNoDrag();
    StartRefresh();
    return;
  }
  TfvFrame& frame = AddSingleFrame(anchor);
  // The document is already read and known to be no frame set: the frame only shows it.
  frame.LoadPageAnswer(answer, source);
  TakeTitleAndTarget(frame);
}

void TFrameSet::LoadShownFile(const std::string& file, const std::string& anchor, int kind) {
  if (!std::filesystem::is_regular_file(file)) throw EfvLoadError("Can't locate file: " + file);
  Clear();
  document_name_ = file;
  TfvFrame& frame = AddSingleFrame(anchor);
  frame.LoadShownFile(kind);
  TakeTitleAndTarget(frame);
}

TfvFrame& TFrameSet::AddSingleFrame(const std::string& anchor) {
  TfvFrame* frame = AddFrame(html::TAttributeList(), {});
  frame->SetSource(document_name_, anchor);
  Finish();
  DistributeSizes();
  PlaceChildren();
  return *frame;
}

void TFrameSet::TakeTitleAndTarget(const TfvFrame& frame) {
  if (TPageViewer* viewer = frame.Viewer()) {
    title_ = viewer->DocumentTitle();
    SetBaseAndTarget(Base(), viewer->DocumentBaseTarget());
  }
}

void TFrameSet::TakeOverDocument(const TPageViewer& viewer) {
  document_name_ = viewer.DocumentFile();
  title_ = viewer.DocumentTitle();
  SetBaseAndTarget(viewer.DocumentBase(), viewer.DocumentBaseTarget());
}

std::vector<TfvFrame*> TFrameSet::Frames() const {
  std::vector<TfvFrame*> frames;
  CollectFrames(frames);
  return frames;
}

void TFrameSet::ClearForwardFrameHistory() {
  for (TfvFrame* frame : Frames()) frame->ClearForwardHistory();
}

TfvFrame* TFrameSet::FrameNamed(const std::string& name) const {
  const auto found = frame_names_.find(Upper(name));
  return found == frame_names_.end() ? nullptr : found->second;
}

void TFrameSet::RegisterFrameName(const std::string& name, TfvFrame& frame) {
  frame_names_[Upper(name)] = &frame;
}

void TFrameSet::ForgetFramesInside(const TSubFrameSet& set) {
  std::erase_if(frame_names_, [&set](const auto& entry) { return Contains(set, entry.second); });
  std::erase_if(viewers_, [&set](const TPageViewer* viewer) { return Contains(set, viewer); });
  if (current_viewer_ != nullptr && Contains(set, current_viewer_)) current_viewer_ = nullptr;
}

void TFrameSet::AddViewer(TPageViewer& viewer) { viewers_.push_back(&viewer); }

void TFrameSet::RemoveViewer(TPageViewer& viewer) {
  std::erase(viewers_, &viewer);
  if (current_viewer_ == &viewer) current_viewer_ = nullptr;
}

TPageViewer* TFrameSet::CurrentViewer() const {
  if (viewers_.size() == 1) return viewers_.front();
  return current_viewer_;
}

}  // namespace tessival::viewer
