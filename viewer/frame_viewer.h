#pragma once
// TFrameViewer: the control that shows a document which may be a frame set. It builds a
// tree of frames and sets under one top set with a page viewer in every leaf frame, is the
// host the frames and sets ask for documents, viewers and history, holds the settings and
// handlers every viewer takes (TViewerSettings, applied to each viewer it makes), decides
// where a clicked link goes, and offers copy and the selected text of the viewer that has
// the focus.
//
// Loading another document builds a new top set beside the old one and swaps them only
// when the new one loaded, so a page that fails leaves the old one shown.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "html/image_cache.h"
#include "platform/colors.h"
#include "platform/message_box.h"
#include "reader/frame_set_reader.h"
#include "viewer/frame_host.h"
#include "viewer/frame_request.h"
#include "viewer/page_viewer.h"
#include "viewer/viewer_settings.h"

namespace tessival::viewer {

class TFrameSet;
class TSubFrameSet;
class TfvFrame;

// A top-level document the frame viewer showed, with the set that was built for it (owned
// by the frame viewer's widget tree; several entries may share one set).
struct FrameViewerHistoryEntry {
  std::string Name;
  TFrameSet* Set = nullptr;
  std::string Title;
  int Position = 0;
};

// A viewer with the sides of the frame viewer it touches: "l", "t", "r", "b" in that
// order, for a frame within 2 pixels of (or beyond) that side.
struct TViewerPlace {
  std::string Code;
  TPageViewer* Viewer = nullptr;
};

// The settings every viewer takes are the frame viewer's public fields, as TViewerSettings
// declares them; the frames and sets see it only as their TFrameHost.
class TFrameViewer : public QWidget,
                     public layout::TFrameViewerBase,
                     public TFrameHost,
                     public TViewerSettings {
  Q_OBJECT
 public:
  explicit TFrameViewer(QWidget* parent = nullptr, platform::MessageBoxes* messages = nullptr);
  ~TFrameViewer() override;
  TFrameViewer(const TFrameViewer&) = delete;
  TFrameViewer& operator=(const TFrameViewer&) = delete;

  // Ignored while Busy. Name may end in "#anchor"; a missing file raises EfvLoadError
  // "Can't locate file: " + file part and changes nothing.
  void LoadFromFile(const std::string& name) override;
  // Copies the whole selection of the current viewer, however long.
  void CopyToClipboard();
  std::string SelText() const;
  // The only viewer of the tree, else the one that last had the focus; null for none.
  TPageViewer* CurrentViewer() const;
  int ViewerCount() const override;
  TPageViewer* ViewerAt(int index) const;
  // The viewers that show a document, each with the sides it touches (for printing).
  std::vector<TViewerPlace> ViewerPlaces() const;
  // Focuses the current viewer when it can take the focus, else the frame viewer.
  void SetFocus();
  bool Busy() const { return own_busy_ || !busy_viewers_.empty(); }
  TFrameSet& TopSet() const { return *top_set_; }
  std::string DocumentTitle() const;
  // The one cache of decoded pictures every viewer of the tree uses.
  html::TStringBitmapList& ImageCache() const { return *image_cache_; }
  const std::vector<std::string>& VisitedList() const { return visited_; }
  // Puts `url` first in the visited list (one list for every frame), cut to VisitedMaxCount.
  void AddVisited(const std::string& url) override;
  // Marks, in every viewer of the tree, the links whose documents are in the visited list.
  void MarkVisitedLinks() override;
  // 0 empties the visited list and unmarks every link; a smaller count cuts the list.
  void SetVisitedMaxCount(int count);
  // Unloads every frame and loads it again, each viewer keeping its place on the page and
  // what was typed into its forms.
  void Reload() override;

  // --- history: the top-level documents and, per frame, the documents shown in frames.
  // The top-level list is kept only while HistoryMaxCount is above 0; newest first.
  const std::vector<FrameViewerHistoryEntry>& History() const { return history_; }
  int HistoryIndex() const { return history_index_; }
  // Shows the top-level entry at `index` again, its frames where they stood.
  void SetHistoryIndex(int index);
  // One step back or forward, in the frame that changed last or at the top level.
  void GoBack();
  void GoFwd();
  bool FwdButtonEnabled() const;
  bool BackButtonEnabled() const;
  // Stores the count (0 or more) and, when it changed, forgets all history.
  void SetHistoryMaxCount(int count);
  std::function<void()> OnHistoryChange;

  // --- the frame-set reader's calls
  void CreateFrame(layout::TFrameSetNode& parent, const html::TAttributeList& attributes,
                   const std::string& directory) override;
  layout::TFrameSetNode& CreateSubFrameSet(layout::TFrameSetNode& parent) override;
  void ApplyFrameSetAttributes(layout::TFrameSetNode& set,
                               const html::TAttributeList& attributes) override;
  void FinishFrameSet(layout::TFrameSetNode& set) override;

  // --- the frames' host
  const TViewerSettings& Settings() const override { return *this; }
  TFrameViewerOptions Options() const override { return options_; }
  int DefaultCharSet() const override { return CharSet; }
  layout::TFrameViewerBase& FrameSetBuilder() override { return *this; }
  bool IsTopSet(const TSubFrameSet& set) const override;
  // A new viewer in `frame`: the settings applied, the frame's own look and margins, and
  // the handlers that pass through the frame viewer.
  TPageViewer& MakeViewer(TfvFrame& frame) override;
  // What a source is read from: the first request event the host assigned answers (lines,
  // stream, buffer or a file name, asked in that order); without an answer, the file the
  // source names, resolved by ExpandSourceName.
  FrameRequest RequestDocument(const std::string& source) const override;
  bool RequestMode() const override {
    return OnStringsRequest || OnStreamRequest || OnBufferRequest || OnFileRequest;
  }
  // How a source is shown: outside request mode a picture or text file name is shown by
  // its own loader, never asked for nor read as HTML.
  TDocumentKind NameKind(const std::string& name) const override;
  // The bytes of a picture a viewer asks for, from the host's answer; `data` is left
  // as it was when the host has none.
  void ImageStream(const std::string& src, std::string& data) const;
  std::string ExpandSourceName(const std::string& name) const override;
  // The link clicked in `viewer`, sent to its target frame (or to nobody).
  void HotSpotClick(TPageViewer& viewer, const std::string& url, bool& handled);

  // --- for the frames' histories
  long long NextHistorySequence() override { return ++history_sequence_; }
  bool ReplayingHistory() const override { return replaying_history_ > 0; }
  void HistoryChanged() const override;
  void RecordSingleViewerMove(const std::string& old_source, const std::string& old_title,
                              int old_position) override;

  // --- settings: the fields of TViewerSettings are read when a viewer is made; the
  // setters also change every viewer shown.
  void SetViewImages(bool view);  // ignored while Busy
  // Clamped to 0..20: how many further documents a picture no page shows any more stays
  // in the shared cache for. Ignored while Busy.
  void SetImageCacheCount(int count);
  void SetNoSelect(bool no_select);
  void SetDefFontName(const std::string& name);
  void SetDefPreFontName(const std::string& name);
  void SetDefFontSize(int size);
  void SetDefFontColor(platform::TColor color);
  void SetDefHotSpotColor(platform::TColor color);
  void SetDefVisitedLinkColor(platform::TColor color);
  void SetDefOverLinkColor(platform::TColor color);
  // Stored as a local path without a trailing separator.
  void SetServerRoot(const std::string& root);
  void SetDefBackground(platform::TColor color);
  int VisitedMaxCount = 50;
  int CharSet = 1;
  TFrameViewerOptions fvOptions() const { return options_; }  // NOLINT(readability-identifier-naming)
  void SetfvOptions(TFrameViewerOptions options);

  // --- events (each may be left empty)
  std::function<void(const std::string& target, const std::string& url, bool& handled)>
      OnHotSpotTargetClick;
  std::function<void(TPageViewer& sender, const std::string& target, const std::string& url)>
      OnHotSpotTargetCovered;
  std::function<void(const std::string& target, const std::string& url)> OnBlankWindowRequest;
  // A character typed in one of the viewers (Ctrl+C arrives as 3); setting it to 0 keeps
  // it from the viewer.
  std::function<void(TPageViewer& sender, char& key)> OnKeyPress;
  // A key pressed or released in one of the viewers, before the viewer sees it; setting
  // `key` to 0 keeps it from the viewer.
  std::function<void(TPageViewer& sender, int& key, Qt::KeyboardModifiers shift)> OnKeyDown;
  std::function<void(TPageViewer& sender, int& key, Qt::KeyboardModifiers shift)> OnKeyUp;
  // The focus came into the frame viewer's tree from elsewhere, or left it.
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  // Asks for a substitute file name for a document about to be read; an empty answer
  // means the document's own name.
  std::function<void(const std::string& src, std::string& new_name)> OnFileRequest;
  // The host's own text for a document: lines, a stream or a buffer it keeps alive while
  // the document loads. A null answer (or an empty buffer) means it has none.
  std::function<void(const std::string& src, const std::vector<std::string>*& strings)> OnStringsRequest;
  std::function<void(const std::string& src, platform::TStream*& stream)> OnStreamRequest;
  std::function<void(const std::string& src, const char*& buffer, int& size)> OnBufferRequest;
  std::function<void(bool processing_on)> OnProcessing;
  // The handlers every viewer takes, and the mouse and script handlers, are those of
  // TViewerSettings.
  // Drags over a viewer's page, in its coordinates, with that viewer as the sender. Asked
  // when the drag arrives, so a handler set after the viewers were made is asked too;
  // without OnDragOver nothing is dropped.
  std::function<void(TPageViewer& sender, const TDragSource& source, int x, int y, TDragState state,
                     bool& accept)>
      OnDragOver;
  std::function<void(TPageViewer& sender, const TDragSource& source, int x, int y)> OnDragDrop;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void BeginHistoryReplay() override { ++replaying_history_; }
  void EndHistoryReplay() override { --replaying_history_; }

 private:
  void SetOwnBusy(bool busy);
  void ApplyImageCacheCount();
  // Keeps the frame viewer's own load marked as under way while it lives, also when what it
  // brackets throws.
  class OwnBusyScope {
   public:
    explicit OwnBusyScope(TFrameViewer& viewer) : viewer_(viewer) { viewer_.SetOwnBusy(true); }
    ~OwnBusyScope() { viewer_.SetOwnBusy(false); }
    OwnBusyScope(const OwnBusyScope&) = delete;
    OwnBusyScope& operator=(const OwnBusyScope&) = delete;

   private:
    TFrameViewer& viewer_;
  };
  void ViewerProcessing(TPageViewer& viewer, bool processing);
  void FireProcessing(bool was_busy);
  void ReplaceTopSet(const std::string& file, const std::string& anchor);
  void ReloadSameDocument(const std::string& file, const std::string& anchor);
  // The top set's only viewer's place, the history's position for a single page.
  int SinglePosition(const TFrameSet& set) const;
  // The top level moved on from `left`: it becomes the entry it was, the set shown now
  // the newest.
  void RecordTopHistory(const FrameViewerHistoryEntry& left);
  bool HeldByHistory(const TFrameSet& set) const;
  void ShowSet(TFrameSet& set);
  // Frees `set` unless it is shown or an entry still holds it.
  void ReleaseSet(TFrameSet* set);
  void HandEventsTo(TPageViewer& viewer);
  void HandMouseTo(TPageViewer& viewer);
  void HandDragsTo(TPageViewer& viewer);
  void ForEachViewer(const std::function<void(TPageViewer&)>& apply) const;
  void ClearHistory();
  std::string ResolvedLink(const TPageViewer& viewer, const std::string& url) const;
  std::string LinkTarget(TPageViewer& viewer) const;
  TfvFrame* FrameOf(const TPageViewer& viewer) const;
  // The base of the current viewer's document, else of the nearest set around it.
  std::string CurrentBase() const;
  static char KeyCharacter(const QKeyEvent& event);
  bool ViewerKey(TPageViewer& viewer, QEvent& event);
  void FocusMoved(const QWidget* old_focus, const QWidget* now_focus);
  bool Holds(const QWidget* widget) const;

  platform::MessageBoxes* messages_;
  std::unique_ptr<html::TStringBitmapList> image_cache_;
  TFrameSet* top_set_ = nullptr;  // owned through the widget tree
  TFrameViewerOptions options_ = fvPrintMonochromeBlack | fvPrintTableBackground;
  bool own_busy_ = false;
  std::vector<TPageViewer*> busy_viewers_;
  std::vector<std::string> visited_;
  std::vector<FrameViewerHistoryEntry> history_;
  int history_index_ = 0;
  long long history_sequence_ = 0;
  int replaying_history_ = 0;
};

}  // namespace tessival::viewer
