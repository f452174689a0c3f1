#pragma once
// TFrameHost: what the frames and sets of a frame viewer's tree ask of the control that
// holds them. Frames read their documents, make their viewers, record their history and
// report their visits through it; they never see the frame viewer itself, so the tree
// can be built and tested under any host.
#include <string>

#include "reader/frame_set_reader.h"
#include "viewer/frame_request.h"
#include "viewer/page_viewer.h"
#include "viewer/viewer_settings.h"

namespace tessival::viewer {

class TfvFrame;
class TSubFrameSet;

class TFrameHost {
 public:
  virtual ~TFrameHost() = default;

  // --- settings
  virtual const TViewerSettings& Settings() const = 0;
  virtual TFrameViewerOptions Options() const = 0;
  // The font character set of a document that declares none.
  virtual int DefaultCharSet() const = 0;

  // --- documents
  // Sources are names the host answers for rather than files.
  virtual bool RequestMode() const = 0;
  // The host's answer for `source`; without one, the file the source names.
  virtual FrameRequest RequestDocument(const std::string& source) const = 0;
  // How a source is shown: as HTML, or as a picture or text file by its own loader.
  virtual TDocumentKind NameKind(const std::string& name) const = 0;
  // A source name resolved against the current viewer's or the sets' base.
  virtual std::string ExpandSourceName(const std::string& name) const = 0;
  // What the frame-set reader builds a frame-set document's frames and sets through.
  virtual layout::TFrameViewerBase& FrameSetBuilder() = 0;

  // --- viewers and navigation
  // A new viewer in `frame`, with every setting and handler of the tree.
  virtual TPageViewer& MakeViewer(TfvFrame& frame) = 0;
  virtual int ViewerCount() const = 0;
  virtual bool IsTopSet(const TSubFrameSet& set) const = 0;
  virtual void LoadFromFile(const std::string& name) = 0;
  virtual void Reload() = 0;
  virtual void AddVisited(const std::string& url) = 0;
  virtual void MarkVisitedLinks() = 0;

  // --- history
  // Numbers the frames' history entries across the tree, so Back finds the latest move.
  virtual long long NextHistorySequence() = 0;
  // Loads while an entry is shown again make no new entries.
  virtual bool ReplayingHistory() const = 0;
  virtual void HistoryChanged() const = 0;
  // The tree's only viewer moved on from `old_source`: recorded as a top-level step.
  virtual void RecordSingleViewerMove(const std::string& old_source, const std::string& old_title,
                                      int old_position) = 0;

 protected:
  friend class HistoryReplay;
  virtual void BeginHistoryReplay() = 0;
  virtual void EndHistoryReplay() = 0;
};

// While one lives, loads show history entries again instead of making new ones.
class HistoryReplay {
 public:
  explicit HistoryReplay(TFrameHost& host) : host_(host) { host_.BeginHistoryReplay(); }
  ~HistoryReplay() { host_.EndHistoryReplay(); }
  HistoryReplay(const HistoryReplay&) = delete;
  HistoryReplay& operator=(const HistoryReplay&) = delete;

 private:
  TFrameHost& host_;
};

}  // namespace tessival::viewer
