// The frame viewer's history: top-level documents with the sets built for them, and in
// every frame the documents it showed. Back and Forward step through both in the order
// the user moved: frame moves inside the shown set are newer than the set itself, and
// among frames the process-wide sequence numbers tell which moved last.
#include <algorithm>

#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_frame.h"

namespace tessival::viewer {

namespace {

bool CanGoBack(const TfvFrame& frame) {
  return frame.HistoryIndex() + 1 < static_cast<int>(frame.History().size());
}

}  // namespace

void TFrameViewer::HistoryChanged() const {
  if (OnHistoryChange) OnHistoryChange();
}

int TFrameViewer::SinglePosition(const TFrameSet& set) const {
  return set.Viewers().size() == 1 ? set.Viewers().front()->DocumentPosition() : 0;
}

bool TFrameViewer::HeldByHistory(const TFrameSet& set) const {
  return std::ranges::any_of(history_,
                             [&set](const FrameViewerHistoryEntry& e) { return e.Set == &set; });
}

void TFrameViewer::ReleaseSet(TFrameSet* set) {
  if (set == nullptr || set == top_set_ || HeldByHistory(*set)) return;
  set->hide();
  set->deleteLater();  // a viewer inside may be handling the click that replaced it
}

void TFrameViewer::RecordTopHistory(const FrameViewerHistoryEntry& left) {
  if (HistoryMaxCount <= 0 || top_set_->DocumentName().empty()) return;
  std::vector<TFrameSet*> dropped;
  if (!history_.empty()) {
    history_.at(static_cast<std::size_t>(history_index_)) = left;
    if (left.Set != nullptr) left.Set->ClearForwardFrameHistory();
    const auto newer_end = history_.begin() + history_index_;
    for (auto entry = history_.begin(); entry != newer_end; ++entry) dropped.push_back(entry->Set);
    history_.erase(history_.begin(), newer_end);
  }
  history_index_ = 0;
  history_.insert(history_.begin(),
                  FrameViewerHistoryEntry{top_set_->DocumentName(), top_set_, top_set_->Title(), 0});
  if (history_.size() > static_cast<std::size_t>(HistoryMaxCount)) {
    dropped.push_back(history_.back().Set);
    history_.pop_back();
  }
  for (TFrameSet* set : dropped) ReleaseSet(set);
  HistoryChanged();
}

void TFrameViewer::RecordSingleViewerMove(const std::string& old_source, const std::string& old_title,
                                          int old_position) {
  RecordTopHistory(FrameViewerHistoryEntry{old_source, top_set_, old_title, old_position});
}

void TFrameViewer::ShowSet(TFrameSet& set) {
  TFrameSet* old = top_set_;
  old->UnloadFiles();
  set.setGeometry(rect());
  {
    const HistoryReplay replay(*this);
    set.ReloadFiles();
  }
  top_set_ = &set;
  set.show();
  set.raise();
  old->hide();
  update();
}

void TFrameViewer::SetHistoryIndex(int index) {
  if (Busy() || index < 0 || index >= static_cast<int>(history_.size()) || index == history_index_)
    return;
  const OwnBusyScope busy(*this);
  history_.at(static_cast<std::size_t>(history_index_)).Position = SinglePosition(*top_set_);
  const FrameViewerHistoryEntry target = history_.at(static_cast<std::size_t>(index));
  if (target.Set != top_set_) {
    ShowSet(*target.Set);
  } else {
    // Entries that share the set are moves of its only viewer: the frame shows the
    // entry's document again.
    const std::vector<TfvFrame*> frames = top_set_->Frames();
    if (frames.empty()) return;
    const HistoryReplay replay(*this);
    frames.front()->LoadFrameDocument(target.Name, {}, FrameReload::kNo, FrameRecord::kNo);
    if (TPageViewer* viewer = frames.front()->Viewer()) top_set_->TakeOverDocument(*viewer);
  }
  history_index_ = index;
  if (top_set_->Viewers().size() == 1) top_set_->Viewers().front()->SetDocumentPosition(target.Position);
  MarkVisitedLinks();
  HistoryChanged();
}

void TFrameViewer::GoBack() {
  if (Busy()) return;
  TfvFrame* latest = nullptr;
  for (TfvFrame* frame : top_set_->Frames()) {
    if (CanGoBack(*frame) && (latest == nullptr || frame->SequenceAt(0) > latest->SequenceAt(0)))
      latest = frame;
  }
  if (latest == nullptr) {
    SetHistoryIndex(history_index_ + 1);
    return;
  }
  const OwnBusyScope busy(*this);
  latest->GoToHistory(latest->HistoryIndex() + 1);
  MarkVisitedLinks();
}

void TFrameViewer::GoFwd() {
  if (Busy()) return;
  TfvFrame* earliest = nullptr;
  for (TfvFrame* frame : top_set_->Frames()) {
    if (frame->HistoryIndex() > 0 &&
        (earliest == nullptr || frame->SequenceAt(-1) < earliest->SequenceAt(-1)))
      earliest = frame;
  }
  if (earliest == nullptr) {
    SetHistoryIndex(history_index_ - 1);
    return;
  }
  const OwnBusyScope busy(*this);
  earliest->GoToHistory(earliest->HistoryIndex() - 1);
  MarkVisitedLinks();
}

bool TFrameViewer::FwdButtonEnabled() const {
  if (history_index_ > 0) return true;
  const std::vector<TfvFrame*> frames = top_set_->Frames();
  return std::ranges::any_of(frames, [](const TfvFrame* f) { return f->HistoryIndex() > 0; });
}

bool TFrameViewer::BackButtonEnabled() const {
  if (static_cast<int>(history_.size()) - 2 >= history_index_) return true;
  const std::vector<TfvFrame*> frames = top_set_->Frames();
  return std::ranges::any_of(frames, [](const TfvFrame* f) { return CanGoBack(*f); });
}

void TFrameViewer::SetHistoryMaxCount(int count) {
  if (count < 0 || count == HistoryMaxCount) return;
  ClearHistory();
  HistoryMaxCount = count;
  for (TPageViewer* viewer : top_set_->Viewers()) viewer->SetHistoryMaxCount(count);
}

void TFrameViewer::ClearHistory() {
  const std::vector<TfvFrame*> frames = top_set_->Frames();
  bool had_entries = !history_.empty();
  for (TfvFrame* frame : frames) {
    had_entries = had_entries || !frame->History().empty();
    frame->ClearHistory();
  }
  std::vector<TFrameSet*> sets;
  for (const FrameViewerHistoryEntry& entry : history_) sets.push_back(entry.Set);
  history_.clear();
  history_index_ = 0;
  for (TFrameSet* set : sets) ReleaseSet(set);
  if (had_entries) HistoryChanged();
}

}  // namespace tessival::viewer
