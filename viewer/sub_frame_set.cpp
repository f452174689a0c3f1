#include "viewer/sub_frame_set.h"

#include <QMouseEvent>
#include <algorithm>
#include <filesystem>
#include <numeric>

#include "html/ascii_text.h"
#include "html/url_helpers.h"
#include "reader/reader_charsets.h"
#include "viewer/document_names.h"
#include "viewer/frame_set.h"
#include "viewer/frame_sizes.h"
#include "viewer/fv_frame.h"
#include "viewer/meta_refresh.h"

namespace tessival::viewer {

namespace {

// Events this close to a set's own edge are meant for the boundary of the set around it.
constexpr int kOwnEdgeReach = 3;
constexpr int kFocusLineWidth = 2;
constexpr int kMillisecondsPerSecond = 1000;

std::optional<std::string_view> AttributeValue(const html::TAttributeList& attributes,
                                               html::Symbol symbol) {
  const html::TAttribute* attribute = attributes.Find(symbol);
  if (attribute == nullptr) return std::nullopt;
  return std::string_view(attribute->StrValue);
}

}  // namespace

TSubFrameSet::TSubFrameSet(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent)
    : TFrameBase(master, parent_set, parent) {
  if (master != nullptr && parent_set != nullptr) border_size_ = master->BorderSize();
  if (parent_set != nullptr) char_set_ = parent_set->CharSet();
  setMouseTracking(true);
  refresh_timer_.setSingleShot(true);
  connect(&refresh_timer_, &QTimer::timeout, this, &TSubFrameSet::RefreshTick);
}

void TSubFrameSet::ApplyAttributes(const html::TAttributeList& attributes, bool top, bool no_border) {
  const FrameSplit split = ChooseFrameSplit(AttributeValue(attributes, html::RowsSy),
                                            AttributeValue(attributes, html::ColsSy));
  splits_rows_ = split.SplitsRows;
  dim_specs_ = split.DimSpecs;
  if (!top || no_border) return;
  const html::TAttribute* border = attributes.Find(html::BorderSy);
  if (border == nullptr) border = attributes.Find(html::FrameBorderSy);
  if (border == nullptr) {
    border_size_ = 2;
    return;
  }
  // A negative width would give frames negative sizes; it reads as no border.
  border_size_ = std::max(0, border->NumValue);
  SetOuterBorder(std::max(2 - border_size_, 0));
}

TfvFrame* TSubFrameSet::AddFrame(const html::TAttributeList& attributes, const std::string& directory) {
  // The layout keeps at most twenty entries; frames beyond them would have no place.
  if (children_.size() >= static_cast<std::size_t>(kMaxFrameEntries)) return nullptr;
  auto* frame = new TfvFrame(MasterSet(), this, this);  // owned by this set's widget tree
  frame->SetBevel(border_size_);
  frame->ApplyAttributes(attributes, directory);
  const QRect inner = InnerRect();
  frame->setGeometry(inner);
  children_.push_back(frame);
  frame->show();
  return frame;
}

TSubFrameSet* TSubFrameSet::AddSubFrameSet() {
  if (children_.size() >= static_cast<std::size_t>(kMaxFrameEntries)) return nullptr;
  auto* set = new TSubFrameSet(MasterSet(), this, this);  // owned by this set's widget tree
  set->setGeometry(InnerRect());
  children_.push_back(set);
  set->show();
  return set;
}

void TSubFrameSet::Finish() {
  finished_ = true;
  while (dim_specs_.size() < children_.size()) dim_specs_.push_back(-1);
  while (children_.size() < dim_specs_.size()) AddFrame(html::TAttributeList(), {});
}

void TSubFrameSet::ClearSet() {
  // The document may be read again from a link clicked in one of these frames: they go
  // once that click has been handled.
  for (TFrameBase* child : children_) {
    child->hide();
    child->deleteLater();
  }
  children_.clear();
  splits_rows_ = false;
  dim_specs_.clear();
  dim_sizes_.clear();
  dim_ends_.assign(1, 0);
  no_drag_.clear();
  base_.clear();
  base_target_.clear();
  finished_ = false;
  focus_line_.reset();
  refresh_timer_.stop();
  refresh_seconds_ = 0;
  refresh_url_.clear();
}

void TSubFrameSet::SetOuterBorder(int width) {
  outer_border_ = width;
  SetBevel(width);
}

void TSubFrameSet::SetBaseAndTarget(const std::string& base, const std::string& target) {
  base_ = base;
  base_target_ = target;
}

QRect TSubFrameSet::InnerRect() const {
  return rect().adjusted(outer_border_, outer_border_, -outer_border_, -outer_border_);
}

void TSubFrameSet::DistributeSizes() {
  const QRect inner = InnerRect();
  dim_sizes_ = DistributeFrameSizes(dim_specs_, splits_rows_ ? inner.height() : inner.width());
  for (TFrameBase* child : children_) {
    if (auto* set = dynamic_cast<TSubFrameSet*>(child)) set->DistributeSizes();
  }
}

void TSubFrameSet::PlaceChildren() {
  if (dim_sizes_.size() != children_.size()) DistributeSizes();
  const QRect inner = InnerRect();
  dim_ends_ = PlaceFrameEnds(dim_sizes_, splits_rows_ ? inner.height() : inner.width());
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const int start = dim_ends_[i];
    const int size = dim_ends_[i + 1] - start;
    const QRect bounds = splits_rows_ ? QRect(inner.left(), inner.top() + start, inner.width(), size)
                                      : QRect(inner.left() + start, inner.top(), size, inner.height());
    children_[i]->setGeometry(bounds);
  }
  OnPlaced();
}

void TSubFrameSet::resizeEvent(QResizeEvent* event) {
  TFrameBase::resizeEvent(event);
  // A drag changed the sizes, not the entries: placing keeps the dragged proportions.
  if (!dim_sizes_.empty()) PlaceChildren();
}

void TSubFrameSet::ComputeNoDrag() {
  std::vector<bool> fixed;
  for (TFrameBase* child : children_) {
    if (auto* set = dynamic_cast<TSubFrameSet*>(child)) set->ComputeNoDrag();
    fixed.push_back(child->IsFixed());
  }
  no_drag_ = viewer::ComputeNoDrag(fixed);
}

bool TSubFrameSet::IsFixed() const {
  return std::any_of(children_.begin(), children_.end(),
                     [](const TFrameBase* c) { return c->IsFixed(); });
}

void TSubFrameSet::LoadFiles() {
  for (TFrameBase* child : children_) child->LoadFiles();
}

void TSubFrameSet::UnloadFiles() {
  refresh_timer_.stop();
  for (TFrameBase* child : children_) child->UnloadFiles();
  TFrameHost& host = MasterSet()->Host();
  if (host.Settings().OnSoundRequest) host.Settings().OnSoundRequest({}, 0, true);
}

void TSubFrameSet::ShowInitialSources() {
  for (TFrameBase* child : children_) {
    if (auto* set = dynamic_cast<TSubFrameSet*>(child)) {
      set->ShowInitialSources();
    } else if (auto* frame = dynamic_cast<TfvFrame*>(child)) {
      if (!frame->FrameInitialSource().empty() &&
          !SameName(frame->FrameSource(), frame->FrameInitialSource()))
        frame->LoadFrameDocument(frame->FrameInitialSource(), {});
    }
  }
}

void TSubFrameSet::CollectFrames(std::vector<TfvFrame*>& frames) const {
  for (TFrameBase* child : children_) {
    if (auto* set = dynamic_cast<TSubFrameSet*>(child)) {
      set->CollectFrames(frames);
    } else if (auto* frame = dynamic_cast<TfvFrame*>(child)) {
      frames.push_back(frame);
      if (frame->FrameSet() != nullptr) frame->FrameSet()->CollectFrames(frames);
    }
  }
}

void TSubFrameSet::ReloadFiles() {
  refresh_timer_.stop();
  for (TFrameBase* child : children_) child->ReloadFiles();
  ComputeNoDrag();
  StartRefresh();
}

layout::TFrameSetHandlers TSubFrameSet::Handlers(const std::string& directory) {
  TFrameHost& host = MasterSet()->Host();
  layout::TFrameSetHandlers handlers;
  handlers.OnMeta = [this, &host, directory](const std::string& http_eq, const std::string& name,
                                             const std::string& content) {
    const std::string kind = html::ToLower(http_eq);
    // The set's frames show their pages in the character set the set's document declared.
    if (kind == "content-type") {
      if (const auto match = layout::CharsetOfDeclaration(content)) char_set_ = match->Charset;
    }
    if (host.Settings().OnMeta) host.Settings().OnMeta(http_eq, name, content);
    if (kind == "refresh") KeepRefresh(content, directory);
  };
  handlers.OnSoundRequest = [&host](const std::string& src, int loop) {
    if (host.Settings().OnSoundRequest) host.Settings().OnSoundRequest(src, loop, false);
  };
  handlers.OnScript = host.Settings().OnScript;
  return handlers;
}

void TSubFrameSet::KeepRefresh(const std::string& content, const std::string& directory) {
  const std::optional<MetaRefresh> refresh = ParseMetaRefresh(content);
  if (!refresh) return;
  refresh_seconds_ = refresh->Seconds;
  refresh_url_.clear();
  TFrameHost& host = MasterSet()->Host();
  if (!refresh->Url.empty()) {
    if (host.RequestMode()) {
      refresh_url_ = refresh->Url;  // the host's own name for its documents
      return;
    }
    // A relative URL names a document beside the frame-set document, wherever the
    // program runs from.
    const std::filesystem::path path = html::ExpandFileName(refresh->Url, host.Settings().ServerRoot);
    refresh_url_ = (path.is_absolute() ? path : std::filesystem::path(directory) / path)
                       .lexically_normal()
                       .string();
    return;
  }
  // Without a URL the set refreshes the document it came from: its frame's source.
  if (const auto* frame = qobject_cast<const TfvFrame*>(parentWidget()))
    refresh_url_ = frame->FrameSource();
}

void TSubFrameSet::StartRefresh() {
  TFrameHost& host = MasterSet()->Host();
  if (refresh_seconds_ <= 0 || refresh_url_.empty() || (host.Options() & fvMetaRefresh) == 0) return;
  const std::string file = SplitAnchor(refresh_url_).first;
  if (!host.RequestMode() && !std::filesystem::is_regular_file(file)) return;
  refresh_timer_.start(refresh_seconds_ * kMillisecondsPerSecond);
}

void TSubFrameSet::RefreshTick() {
  refresh_timer_.stop();
  TFrameHost& host = MasterSet()->Host();
  // Nobody waits for a refresh: a document gone by now leaves the frames as they are.
  try {
    if (auto* frame = qobject_cast<TfvFrame*>(parentWidget())) {
      const auto [source, anchor] = SplitAnchor(refresh_url_);
      frame->LoadFrameDocument(source, anchor, FrameReload::kYes);
      host.MarkVisitedLinks();
    } else if (host.IsTopSet(*this)) {
      host.LoadFromFile(refresh_url_);
    }
  } catch (const std::exception&) {
  }
}

bool TSubFrameSet::NearOwnEdge(QPoint point) const {
  return point.x() < kOwnEdgeReach || point.y() < kOwnEdgeReach ||
         point.x() >= width() - kOwnEdgeReach || point.y() >= height() - kOwnEdgeReach;
}

bool TSubFrameSet::Dragging() const {
  return MasterSet() != nullptr && MasterSet()->DraggingSet() == this;
}

void TSubFrameSet::SetSplitCursor(TFrameBase& sender, bool on_boundary) {
  if (on_boundary) {
    sender.setCursor(splits_rows_ ? Qt::SplitVCursor : Qt::SplitHCursor);
  } else {
    sender.unsetCursor();
  }
}

void TSubFrameSet::BorderMouseMove(TFrameBase& sender, QPoint point) {
  if (Dragging()) {
    const DragRange range = DragLimits(dim_ends_, drag_boundary_);
    ShowFocusLine(std::clamp(AlongSplit(point) - (splits_rows_ ? InnerRect().top() : InnerRect().left()),
                             range.Low, range.High));
    return;
  }
  if (NearOwnEdge(point) && ParentSet() != nullptr) {
    ParentSet()->BorderMouseMove(sender, mapTo(ParentSet(), point));
    return;
  }
  const int p = AlongSplit(point) - (splits_rows_ ? InnerRect().top() : InnerRect().left());
  const bool on_boundary = DraggableBoundary(dim_ends_, no_drag_, p).has_value();
  SetSplitCursor(sender, on_boundary);
  if (!on_boundary && ParentSet() == nullptr) unsetCursor();
}

void TSubFrameSet::BorderMouseDown(TFrameBase& sender, Qt::MouseButton button, QPoint point) {
  if (button != Qt::LeftButton) return;
  if (NearOwnEdge(point) && ParentSet() != nullptr) {
    ParentSet()->BorderMouseDown(sender, button, mapTo(ParentSet(), point));
    return;
  }
  const Qt::CursorShape shape = sender.cursor().shape();
  if (!sender.testAttribute(Qt::WA_SetCursor) ||
      (shape != Qt::SplitHCursor && shape != Qt::SplitVCursor))
    return;
  const int p = AlongSplit(point) - (splits_rows_ ? InnerRect().top() : InnerRect().left());
  const std::optional<int> boundary = DraggableBoundary(dim_ends_, no_drag_, p);
  if (!boundary || MasterSet() == nullptr) return;
  drag_boundary_ = *boundary;
  MasterSet()->SetDraggingSet(this);
  ShowFocusLine(dim_ends_[static_cast<std::size_t>(drag_boundary_)]);
}

void TSubFrameSet::BorderMouseUp(TFrameBase& sender, Qt::MouseButton button, QPoint point) {
  if (!Dragging()) {
    if (NearOwnEdge(point) && ParentSet() != nullptr)
      ParentSet()->BorderMouseUp(sender, button, mapTo(ParentSet(), point));
    return;
  }
  if (button != Qt::LeftButton) return;
  MasterSet()->SetDraggingSet(nullptr);
  focus_line_.reset();
  // The cursor was held between the neighbouring boundaries; the release lands there too.
  const DragRange range = DragLimits(dim_ends_, drag_boundary_);
  const int offset = splits_rows_ ? InnerRect().top() : InnerRect().left();
  dim_ends_[static_cast<std::size_t>(drag_boundary_)] = std::clamp(AlongSplit(point) - offset, range.Low,
                                                                   range.High);
  const int total = std::accumulate(dim_sizes_.begin(), dim_sizes_.end(), 0);
  dim_sizes_ = SizesFromEnds(dim_ends_, total);
  PlaceChildren();
  update();
}

void TSubFrameSet::ShowFocusLine(int at) {
  if (!focus_line_) {
    focus_line_ = std::make_unique<QWidget>(this);
    focus_line_->setAttribute(Qt::WA_TransparentForMouseEvents);
    focus_line_->setAutoFillBackground(true);
    QPalette palette = focus_line_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    focus_line_->setPalette(palette);
  }
  const QRect inner = InnerRect();
  const int half = kFocusLineWidth / 2;
  focus_line_->setGeometry(
      splits_rows_ ? QRect(inner.left(), inner.top() + at - half, inner.width(), kFocusLineWidth)
                   : QRect(inner.left() + at - half, inner.top(), kFocusLineWidth, inner.height()));
  focus_line_->show();
  focus_line_->raise();
}

void TSubFrameSet::mouseMoveEvent(QMouseEvent* event) {
  BorderMouseMove(*this, event->position().toPoint());
}

void TSubFrameSet::mousePressEvent(QMouseEvent* event) {
  BorderMouseDown(*this, event->button(), event->position().toPoint());
}

void TSubFrameSet::mouseReleaseEvent(QMouseEvent* event) {
  BorderMouseUp(*this, event->button(), event->position().toPoint());
}

}  // namespace tessival::viewer
