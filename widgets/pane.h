#pragma once
// One pane of a splitter: a scrollable container for other controls. Its size along the
// splitter's axis is kept here and arranged by the splitter that holds it.
#include <QScrollArea>

namespace tessival::widgets {

class TSplitterWnd;

class TPane : public QScrollArea {
  Q_OBJECT
 public:
  explicit TPane(QWidget* parent = nullptr);
  ~TPane() override;

  TSplitterWnd* SplitterWnd() const { return splitter_; }
  // Leaves the former splitter and joins the end of the new one (as its child window);
  // nullptr only leaves.
  void SetSplitterWnd(TSplitterWnd* splitter);

  // Position in the splitter's list, -1 outside a splitter.
  int PaneIndex() const { return pane_index_; }
  void SetPaneIndex(int index);

  // Extent along the splitter's axis, the pane's share of the neighbouring bars included.
  int PaneSize() const { return pane_size_; }
  void SetPaneSize(int size);

  // 0 means: twice the scroll bar extent of the splitter's orientation.
  int MinPaneSize() const { return min_pane_size_; }
  void SetMinPaneSize(int size);

  // False suppresses the background erasing of the pane's client area.
  bool EraseBkgnd() const { return erase_bkgnd_; }
  void SetEraseBkgnd(bool erase);

 private:
  friend class TSplitterWnd;
  TSplitterWnd* splitter_ = nullptr;
  int pane_index_ = -1;
  int pane_size_ = 0;
  int min_pane_size_ = 0;
  bool erase_bkgnd_ = true;
};

}  // namespace tessival::widgets
