#include "widgets/splitter_wnd.h"

#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

#include "widgets/inverting_overlay.h"
#include "widgets/pane.h"
#include "widgets/splitter_layout.h"

namespace tessival::widgets {
namespace {

// A pane that joins without a size gets a usable one for the axis.
constexpr int kNewPaneHeight = 50;
constexpr int kNewPaneWidth = 75;

}  // namespace

TSplitterWnd::TSplitterWnd(QWidget* parent) : QFrame(parent), overlay_(new InvertingOverlay(this)) {
  setFrameShape(QFrame::NoFrame);
  resize(kDefaultWidth, kDefaultHeight);
  UpdateCursor();
}

TSplitterWnd::~TSplitterWnd() {
  // The panes are destroyed with this window after this body has run; they must not call
  // back into a splitter that is going away.
  for (TPane* pane : panes_) pane->splitter_ = nullptr;
}

void TSplitterWnd::SetOrientation(TOrientation orientation) {
  if (orientation == orientation_) return;
  std::vector<int> sizes = Sizes();
  if (orientation == swHorizontal) {
    ConvertSizes(sizes, height(), width());
  } else {
    ConvertSizes(sizes, width(), height());
  }
  orientation_ = orientation;
  StoreSizes(sizes);
  UpdateCursor();
  LayoutPanes();
}

void TSplitterWnd::SetThickness(int thickness) {
  thickness_ = std::clamp(thickness, 1, 255);
  LayoutPanes();
}

void TSplitterWnd::SetCursorHorz(Qt::CursorShape cursor) {
  cursor_horz_ = cursor;
  UpdateCursor();
}

void TSplitterWnd::SetCursorVert(Qt::CursorShape cursor) {
  cursor_vert_ = cursor;
  UpdateCursor();
}

TPane* TSplitterWnd::Pane(int index) const {
  if (index < 0 || index >= PaneCount()) return nullptr;
  return panes_[static_cast<std::size_t>(index)];
}

void TSplitterWnd::EndLoading() {
  loading_ = false;
  LayoutPanes();
}

int TSplitterWnd::MinimumSizeOf(const TPane& pane) const {
  if (pane.MinPaneSize() != 0) return pane.MinPaneSize();
  // The same metric serves the height of a horizontal and the width of a vertical bar.
  return 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QRect TSplitterWnd::BarRect(int bar) const {
  const AxisSpan span = BarSpan(Sizes(), static_cast<std::size_t>(bar), thickness_);
  return AxisRect(span.start, span.length);
}

QRect TSplitterWnd::DragRectAt(const QPoint& point) const {
  const AxisSpan span = BarSpanAt(AlongAxis(point), thickness_);
  return AxisRect(span.start, span.length);
}

void TSplitterWnd::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (width() == 0 || height() == 0 || loading_ || panes_.empty()) return;
  RescaleToExtent();
}

void TSplitterWnd::mousePressEvent(QMouseEvent* event) {
  if (!allow_sizing_) return;
  const QPoint point = event->position().toPoint();
  drag_bar_ = -1;
  for (int bar = 0; bar + 1 < PaneCount(); ++bar) {
    if (BarRect(bar).contains(point)) drag_bar_ = bar;  // a later match wins
  }
  drag_point_ = point;
  // A press beside every bar starts no drag, so nothing is drawn that a release would
  // have to erase.
  if (drag_bar_ >= 0) DrawDragRect(DragRectAt(point), OnDrawDragRect);
}

void TSplitterWnd::mouseMoveEvent(QMouseEvent* event) {
  if (drag_bar_ < 0) return;
  QPoint point = event->position().toPoint();
  const int along = ClampDragPosition(Sizes(), Minimums(), static_cast<std::size_t>(drag_bar_),
                                      AlongAxis(point));
  if (orientation_ == swHorizontal) {
    point.setY(along);
  } else {
    point.setX(along);
  }
  const QRect old_rect = DragRectAt(drag_point_);
  const QRect new_rect = DragRectAt(point);
  if (new_rect != old_rect) {
    DrawDragRect(old_rect, OnEraseDragRect);
    DrawDragRect(new_rect, OnDrawDragRect);
  }
  drag_point_ = point;
}

void TSplitterWnd::mouseReleaseEvent(QMouseEvent*) {
  if (drag_bar_ < 0) return;
  const int bar = drag_bar_;
  drag_bar_ = -1;
  DrawDragRect(DragRectAt(drag_point_), OnEraseDragRect);
  TPane& pane = *panes_[static_cast<std::size_t>(bar)];
  const int bar_position = SumOfFirst(Sizes(), static_cast<std::size_t>(bar) + 1);
  pane.SetPaneSize(pane.PaneSize() + AlongAxis(drag_point_) - bar_position);
  if (OnPaneResize) OnPaneResize(*this);
}

void TSplitterWnd::AddPane(TPane& pane) {
  pane.setParent(this);
  pane.splitter_ = this;
  panes_.push_back(&pane);
  if (pane.pane_size_ == 0) {
    pane.pane_size_ = orientation_ == swHorizontal ? kNewPaneHeight : kNewPaneWidth;
  }
  pane.pane_index_ = PaneCount() - 1;
  overlay_->raise();
  pane.show();
  if (loading_) return;
  std::vector<int> sizes = Sizes();
  RescaleKeepingLast(sizes, Extent());
  StoreSizes(sizes);
  LayoutPanes();
}

void TSplitterWnd::RemovePane(TPane& pane) {
  const auto found = std::find(panes_.begin(), panes_.end(), &pane);
  if (found == panes_.end()) return;
  if (drag_bar_ >= 0) {
    DrawDragRect(DragRectAt(drag_point_), OnEraseDragRect);
    drag_bar_ = -1;  // the bar being dragged may be gone
  }
  panes_.erase(found);
  pane.splitter_ = nullptr;
  pane.pane_index_ = -1;
  Renumber();
  RescaleToExtent();
}

void TSplitterWnd::MovePane(TPane& pane, int index) {
  const auto found = std::find(panes_.begin(), panes_.end(), &pane);
  if (found == panes_.end()) return;
  panes_.erase(found);
  index = std::clamp(index, 0, PaneCount());
  panes_.insert(panes_.begin() + index, &pane);
  Renumber();
  LayoutPanes();
}

void TSplitterWnd::ResizePane(TPane& pane, int size) {
  std::vector<int> sizes = Sizes();
  if (panes_.size() == 1) {
    sizes[0] = Extent();
  } else {
    ResizeAgainstNext(sizes, Minimums(), static_cast<std::size_t>(pane.PaneIndex()), size, thickness_);
  }
  StoreSizes(sizes);
  LayoutPanes();
}

int TSplitterWnd::Extent() const { return orientation_ == swHorizontal ? height() : width(); }

std::vector<int> TSplitterWnd::Sizes() const {
  std::vector<int> sizes;
  sizes.reserve(panes_.size());
  for (const TPane* pane : panes_) sizes.push_back(pane->PaneSize());
  return sizes;
}

std::vector<int> TSplitterWnd::Minimums() const {
  std::vector<int> minimums;
  minimums.reserve(panes_.size());
  for (const TPane* pane : panes_) minimums.push_back(MinimumSizeOf(*pane));
  return minimums;
}

void TSplitterWnd::StoreSizes(const std::vector<int>& sizes) {
  for (std::size_t i = 0; i < panes_.size(); ++i) panes_[i]->pane_size_ = sizes[i];
}

void TSplitterWnd::Renumber() {
  for (std::size_t i = 0; i < panes_.size(); ++i) panes_[i]->pane_index_ = static_cast<int>(i);
}

void TSplitterWnd::LayoutPanes() {
  if (panes_.empty()) return;
  std::vector<int> sizes = Sizes();
  FixSum(sizes, Extent());
  StoreSizes(sizes);
  const std::vector<AxisSpan> spans = PaneSpans(sizes, Extent(), thickness_);
  for (std::size_t i = 0; i < panes_.size(); ++i) {
    panes_[i]->setGeometry(AxisRect(spans[i].start, spans[i].length));
  }
}

void TSplitterWnd::RescaleToExtent() {
  std::vector<int> sizes = Sizes();
  if (proportional_resize_) {
    RescaleAll(sizes, Extent());
  } else {
    FixSum(sizes, Extent());
  }
  StoreSizes(sizes);
  LayoutPanes();
}

void TSplitterWnd::UpdateCursor() {
  setCursor(orientation_ == swHorizontal ? cursor_horz_ : cursor_vert_);
}

QRect TSplitterWnd::AxisRect(int start, int length) const {
  if (orientation_ == swHorizontal) return QRect(0, start, width(), length);
  return QRect(start, 0, length, height());
}

int TSplitterWnd::AlongAxis(const QPoint& point) const {
  return orientation_ == swHorizontal ? point.y() : point.x();
}

void TSplitterWnd::DrawDragRect(const QRect& rect, const TDrawDragRectEvent& event) {
  bool owner_draw = true;
  if (event) event(*this, rect, owner_draw);
  if (!owner_draw) return;
  overlay_->Toggle(rect, bar_style_ == sbCheckered ? InvertPattern::kCheckered : InvertPattern::kSolid);
}

}  // namespace tessival::widgets
