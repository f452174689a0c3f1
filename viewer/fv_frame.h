#pragma once
// TfvFrame: one FRAME of a frame set. It holds either one page viewer or, when its
// document is itself a frame set, one nested set, and loads its source into it.
#include <QTimer>
#include <functional>
#include <string>

#include "html/attribute_list.h"
#include "viewer/frame_request.h"
#include "viewer/frame_base.h"

namespace tessival::viewer {

class TPageViewer;
class TSubFrameSet;

class TfvFrame : public TFrameBase {
  Q_OBJECT
 public:
  TfvFrame(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent);
  // Takes NAME, SRC (resolved against `directory` or the document's BASE), NORESIZE,
  // SCROLLING and the margins.
  void ApplyAttributes(const html::TAttributeList& attributes, const std::string& directory);

  // Loads the frame's source: nothing when it has none or sits too deep in frames; the
  // error document when it fails.
  void LoadFiles() override;
  // Loads the document the host already answered for this frame's source.
  void LoadAnswer(const FrameRequest& answer);
  // Shows the answer's document, already read as `source` and found to be no frame set.
  void LoadPageAnswer(const FrameRequest& answer, const layout::TFrameSetSource& source);
  void ReloadFiles() override;
  // A link's document shown in this frame: the viewer is reused for a page and the frame
  // rebuilt for a frame set; the page already shown only moves to the anchor, unless
  // `reload` asks to read it again where it stood. Throws EfvLoadError when the document
  // cannot be read.
  void LoadFrameDocument(const std::string& source, const std::string& anchor, bool reload = false);
  // The page in this frame asked to be replaced after `seconds`, by `url` (its own source
  // when empty). Only with fvMetaRefresh, and only for a document that exists.
  void StartRefresh(int seconds, const std::string& url);
  bool RefreshPending() const { return refresh_timer_.isActive(); }
  const std::string& RefreshUrl() const { return refresh_url_; }
  bool IsFixed() const override { return no_resize_; }

  const std::string& FrameName() const { return frame_name_; }
  const std::string& FrameSource() const { return frame_source_; }
  const std::string& FrameInitialSource() const { return frame_initial_source_; }
  const std::string& FrameAnchor() const { return frame_anchor_; }
  void SetSource(const std::string& source, const std::string& anchor);
  bool NoResize() const { return no_resize_; }
  bool NoScroll() const { return no_scroll_; }
  TPageViewer* Viewer() const { return viewer_; }
  TSubFrameSet* FrameSet() const { return frame_set_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Runs `load` unless the frame sits too deep in frames; a failure shows the error document.
  void LoadGuarded(const std::function<void()>& load);
  void LoadDocument(const FrameRequest& answer);
  void ShowPage(const FrameRequest& answer, const layout::TFrameSetSource& source);
  void ShowErrorDocument(const std::string& name);
  TPageViewer& EnsureViewer();
  void DropViewer();
  void DropFrameSet();
  void RefreshTick();
  bool Empty() const { return viewer_ == nullptr && frame_set_ == nullptr; }

  std::string frame_name_;
  std::string frame_source_;
  std::string frame_initial_source_;
  std::string frame_anchor_;
  bool no_resize_ = false;
  bool no_scroll_ = false;
  int margin_width_ = 10;
  int margin_height_ = 5;
  TPageViewer* viewer_ = nullptr;      // owned through the widget tree
  TSubFrameSet* frame_set_ = nullptr;  // owned through the widget tree
  QTimer refresh_timer_;
  std::string refresh_url_;
};

}  // namespace tessival::viewer
