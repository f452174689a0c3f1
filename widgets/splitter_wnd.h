#pragma once
// A panel that divides its client area into a row or a column of panes separated by bars
// of a fixed thickness. Dragging a bar shows an inverted rectangle that follows the mouse;
// the pane sizes change when the button is released.
#include <QFrame>
#include <functional>
#include <memory>
#include <vector>

namespace tessival::widgets {

class TPane;
class InvertingOverlay;

enum TOrientation {
  swHorizontal,  // panes stacked top to bottom; sizes are heights, bars horizontal
  swVertical,    // panes side by side left to right; sizes are widths, bars vertical
};

enum TBarStyle { sbCheckered, sbSolid };

class TSplitterWnd : public QFrame {
  Q_OBJECT
 public:
  // The handler may draw the rectangle itself and clear owner_draw; when owner_draw is
  // still set afterwards the splitter inverts the rectangle.
  using TDrawDragRectEvent =
      std::function<void(TSplitterWnd& sender, const QRect& draw_rect, bool& owner_draw)>;
  using TNotifyEvent = std::function<void(TSplitterWnd& sender)>;

  static constexpr int kDefaultWidth = 400;
  static constexpr int kDefaultHeight = 200;

  explicit TSplitterWnd(QWidget* parent = nullptr);
  ~TSplitterWnd() override;

  TOrientation Orientation() const { return orientation_; }
  void SetOrientation(TOrientation orientation);
  int Thickness() const { return thickness_; }
  void SetThickness(int thickness);  // 0 stores 1
  Qt::CursorShape CursorHorz() const { return cursor_horz_; }
  void SetCursorHorz(Qt::CursorShape cursor);
  Qt::CursorShape CursorVert() const { return cursor_vert_; }
  void SetCursorVert(Qt::CursorShape cursor);
  bool ProportionalResize() const { return proportional_resize_; }
  void SetProportionalResize(bool proportional) { proportional_resize_ = proportional; }
  TBarStyle BarStyle() const { return bar_style_; }
  void SetBarStyle(TBarStyle style) { bar_style_ = style; }
  bool AllowSizing() const { return allow_sizing_; }
  void SetAllowSizing(bool allow) { allow_sizing_ = allow; }

  TDrawDragRectEvent OnDrawDragRect;
  TDrawDragRectEvent OnEraseDragRect;
  TNotifyEvent OnPaneResize;

  int PaneCount() const { return static_cast<int>(panes_.size()); }
  TPane* Pane(int index) const;

  // While loading, added panes keep their sizes and resizing leaves them alone; the end
  // of loading lays the panes out once.
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool Loading() const { return loading_; }

  // The smallest size of a pane: its MinPaneSize, or twice the scroll bar extent.
  int MinimumSizeOf(const TPane& pane) const;

  // The bar after pane `bar`, and the drag rectangle at a point, in client coordinates.
  QRect BarRect(int bar) const;
  QRect DragRectAt(const QPoint& point) const;
  // The bar being dragged, -1 when none.
  int DragBar() const { return drag_bar_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  friend class TPane;
  void AddPane(TPane& pane);
  void RemovePane(TPane& pane);
  void MovePane(TPane& pane, int index);
  void ResizePane(TPane& pane, int size);

  int Extent() const;
  std::vector<int> Sizes() const;
  std::vector<int> Minimums() const;
  void StoreSizes(const std::vector<int>& sizes);
  void Renumber();
  // Fixes the sum on the last pane and places the panes.
  void LayoutPanes();
  // After the extent or the set of panes changed: all panes rescaled with
  // ProportionalResize, otherwise only the last one takes the difference.
  void RescaleToExtent();
  void UpdateCursor();
  QRect AxisRect(int start, int length) const;
  int AlongAxis(const QPoint& point) const;
  void DrawDragRect(const QRect& rect, const TDrawDragRectEvent& event);

  TOrientation orientation_ = swVertical;
  int thickness_ = 3;
  Qt::CursorShape cursor_horz_ = Qt::SplitVCursor;
  Qt::CursorShape cursor_vert_ = Qt::SplitHCursor;
  bool proportional_resize_ = true;
  TBarStyle bar_style_ = sbCheckered;
  bool allow_sizing_ = true;
  bool loading_ = false;

  std::vector<TPane*> panes_;  // children of this window, owned by it as such
  int drag_bar_ = -1;
  QPoint drag_point_;
  InvertingOverlay* overlay_;  // a child window, owned by this one
};

}  // namespace tessival::widgets
