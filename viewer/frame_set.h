#pragma once
// TFrameSet: the top set of the frame viewer. Besides dividing its area like any set, it
// holds what the whole tree shares: the document's name and title, the frames by name,
// every viewer of the tree, the set whose border is being dragged and the viewer that
// last had the focus.
#include <map>
#include <string>
#include <vector>

#include "viewer/frame_host.h"
#include "viewer/sub_frame_set.h"

namespace tessival::viewer {

class TPageViewer;

class TFrameSet : public TSubFrameSet {
  Q_OBJECT
 public:
  TFrameSet(TFrameHost& host, QWidget* parent);

  // Loads a document into this set: a frame set is built and its frames loaded; any
  // other page, picture or text file becomes one frame with one viewer. Throws when the
  // document cannot be read, and then leaves the set as it was.
  void LoadDocument(const std::string& name, const std::string& anchor);
  // The tree's only viewer moved to another document: it is the set's document now.
  void TakeOverDocument(const TPageViewer& viewer);
  // Every frame of the tree, nested ones included, in document order.
  std::vector<TfvFrame*> Frames() const;
  // Forgets the entries newer than the shown one in every frame's history.
  void ClearForwardFrameHistory();

  // The control the tree lives in: documents, viewers and history come from it.
  TFrameHost& Host() const { return host_; }
  const std::string& DocumentName() const { return document_name_; }
  const std::string& Title() const { return title_; }
  // The frame of that NAME, whatever its case; null when none.
  TfvFrame* FrameNamed(const std::string& name) const;
  void RegisterFrameName(const std::string& name, TfvFrame& frame);
  void ForgetFramesInside(const TSubFrameSet& set);
  const std::vector<TPageViewer*>& Viewers() const { return viewers_; }
  void AddViewer(TPageViewer& viewer);
  void RemoveViewer(TPageViewer& viewer);
  TPageViewer* CurrentViewer() const;
  void SetCurrentViewer(TPageViewer* viewer) { current_viewer_ = viewer; }
  TSubFrameSet* DraggingSet() const { return dragging_set_; }
  void SetDraggingSet(TSubFrameSet* set) { dragging_set_ = set; }
  // How deep in nested frame documents the load in progress is.
  int LoadDepth = 0;

 protected:
  void OnPlaced() override {}

 private:
  void Clear();
  void LoadShownFile(const std::string& file, const std::string& anchor, int kind);
  TfvFrame& AddSingleFrame(const std::string& anchor);
  void TakeTitleAndTarget(const TfvFrame& frame);

  TFrameHost& host_;
  std::string document_name_;
  std::string title_;
  std::map<std::string, TfvFrame*> frame_names_;  // upper-cased names
  std::vector<TPageViewer*> viewers_;
  TPageViewer* current_viewer_ = nullptr;
  TSubFrameSet* dragging_set_ = nullptr;
};

}  // namespace tessival::viewer
