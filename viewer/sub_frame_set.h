#pragma once
// TSubFrameSet: a FRAMESET inside the frame viewer. It divides its area into rows or
// columns among its children (frames and nested sets), places them again on every
// resize, and lets the user drag the boundaries between them with the mouse.
#include <QPoint>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "html/attribute_list.h"
#include "reader/frame_set_reader.h"
#include "viewer/frame_base.h"
#include "viewer/viewer_cursors.h"

namespace tessival::viewer {

class TfvFrame;

class TSubFrameSet : public TFrameBase, public layout::TFrameSetNode {
  Q_OBJECT
 public:
  TSubFrameSet(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent);

  // --- building (the frame-set reader's calls arrive here through the frame viewer)
  // `top` sets also take BORDER and FRAMEBORDER, unless `no_border`.
  void ApplyAttributes(const html::TAttributeList& attributes, bool top, bool no_border);
  TfvFrame* AddFrame(const html::TAttributeList& attributes, const std::string& directory);
  TSubFrameSet* AddSubFrameSet();
  // Makes entries and children agree: more children get relative entries, more entries
  // get empty frames.
  void Finish();
  bool Finished() const { return finished_; }
  // Frees the children and forgets entries, boundaries, base and base target.
  void ClearSet();

  // --- layout
  void DistributeSizes();
  void PlaceChildren();
  void ComputeNoDrag();
  bool IsFixed() const override;
  void LoadFiles() override;
  void UnloadFiles() override;
  void ReloadFiles() override;
  // Every frame of this set (and of the sets it holds directly) that moved away from the
  // document its FRAME names loads that document again, as a step of its history.
  void ShowInitialSources();
  // The frames of this set and of every set inside it, in document order.
  void CollectFrames(std::vector<TfvFrame*>& frames) const;
  // The font character set a META content type of the set's document declared, else
  // the one of the set around it; the frames inside and their viewers take it.
  int CharSet() const { return char_set_; }
  void SetCharSet(int char_set) { char_set_ = char_set; }
  // What reading a frame-set document (in `directory`) into this set reports: META
  // elements go to the frame viewer's OnMeta and a refresh among them is kept for
  // StartRefresh, BGSOUND to its OnSoundRequest, scripts to its OnScript.
  layout::TFrameSetHandlers Handlers(const std::string& directory);
  // Once the set is built: the refresh its document asked for starts (only with
  // fvMetaRefresh, and only towards a document that exists).
  void StartRefresh();
  bool RefreshPending() const { return refresh_timer_.isActive(); }
  const std::string& RefreshUrl() const { return refresh_url_; }

  // --- border dragging: the children forward their mouse events here, in this set's
  // coordinates, with the piece that received them.
  void BorderMouseMove(TFrameBase& sender, QPoint point);
  void BorderMouseDown(TFrameBase& sender, Qt::MouseButton button, QPoint point);
  void BorderMouseUp(TFrameBase& sender, Qt::MouseButton button, QPoint point);
  bool Dragging() const;
  // The focus line while dragging, in this set's coordinates; null when not shown.
  QWidget* FocusLine() const { return focus_line_.get(); }

  const std::vector<TFrameBase*>& Children() const { return children_; }
  bool SplitsRows() const { return splits_rows_; }
  const std::vector<int>& DimSpecs() const { return dim_specs_; }
  const std::vector<int>& DimSizes() const { return dim_sizes_; }
  const std::vector<int>& DimEnds() const { return dim_ends_; }
  const std::vector<bool>& NoDrag() const { return no_drag_; }
  int BorderSize() const { return border_size_; }
  void SetBorderSize(int size) { border_size_ = size; }
  int OuterBorder() const { return outer_border_; }
  void SetOuterBorder(int width);
  const std::string& Base() const { return base_; }
  const std::string& BaseTarget() const { return base_target_; }
  void SetBaseAndTarget(const std::string& base, const std::string& target);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  virtual void OnPlaced() {}
  QRect InnerRect() const;

 private:
  // Events near this set's own edge belong to the set around it.
  bool NearOwnEdge(QPoint point) const;
  int AlongSplit(QPoint point) const { return splits_rows_ ? point.y() : point.x(); }
  void ShowFocusLine(int at);
  void SetSplitCursor(TFrameBase& sender, bool on_boundary);
  void KeepRefresh(const std::string& content, const std::string& directory);
  void RefreshTick();

  std::vector<TFrameBase*> children_;  // owned through the widget tree
  bool splits_rows_ = false;
  std::vector<int> dim_specs_;
  std::vector<int> dim_sizes_;
  std::vector<int> dim_ends_{0};
  std::vector<bool> no_drag_;
  int border_size_ = 2;
  int outer_border_ = 0;
  bool finished_ = false;
  std::string base_;
  std::string base_target_;
  int char_set_ = 1;
  int drag_boundary_ = 0;
  std::unique_ptr<QWidget> focus_line_;
  int refresh_seconds_ = 0;
  std::string refresh_url_;
  QTimer refresh_timer_;
};

}  // namespace tessival::viewer
