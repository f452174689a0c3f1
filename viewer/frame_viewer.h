#pragma once
// TFrameViewer: the control that shows a document which may be a frame set. It builds a
// tree of frames and sets under one top set with a page viewer in every leaf frame, keeps
// the settings and handlers in one place and copies them into every viewer it makes,
// decides where a clicked link goes, and offers copy and the selected text of the viewer
// that has the focus.
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
#include "viewer/frame_request.h"
#include "viewer/page_viewer.h"

namespace tessival::viewer {

class TFrameSet;
class TSubFrameSet;
class TfvFrame;

enum TFrameViewerOption : unsigned {
  fvMetaRefresh = 1,
  fvNoBorder = 2,
  fvNoLinkUnderline = 4,
  fvOverLinksActive = 8,
  fvPrintMonochromeBlack = 16,
  fvPrintTableBackground = 32,
  fvShowVScroll = 64,
};
using TFrameViewerOptions = unsigned;

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

class TFrameViewer : public QWidget, public layout::TFrameViewerBase {
  Q_OBJECT
 public:
  explicit TFrameViewer(QWidget* parent = nullptr, platform::MessageBoxes* messages = nullptr);
  ~TFrameViewer() override;
  TFrameViewer(const TFrameViewer&) = delete;
  TFrameViewer& operator=(const TFrameViewer&) = delete;

  // Ignored while Busy. Name may end in "#anchor"; a missing file raises EfvLoadError
  // "Can't locate file: " + file part and changes nothing.
  void LoadFromFile(const std::string& name);
  // Copies the whole selection of the current viewer, however long.
  void CopyToClipboard();
  std::string SelText() const;
  // The only viewer of the tree, else the one that last had the focus; null for none.
  TPageViewer* CurrentViewer() const;
  int ViewerCount() const;
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
  void AddVisited(const std::string& url);
  // Marks, in every viewer of the tree, the links whose documents are in the visited list.
  void MarkVisitedLinks();
  // 0 empties the visited list and unmarks every link; a smaller count cuts the list.
  void SetVisitedMaxCount(int count);
  // Unloads every frame and loads it again, each viewer keeping its place on the page and
  // what was typed into its forms.
  void Reload();

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

  // --- for the frames: a new viewer with every setting and handler copied in
  TPageViewer& MakeViewer(TfvFrame& frame);
  // What a source is read from: the first request event the host assigned answers (lines,
  // stream, buffer or a file name, asked in that order); without an answer, the file the
  // source names, resolved by ExpandSourceName.
  FrameRequest RequestDocument(const std::string& source) const;
  bool RequestMode() const {
    return OnStringsRequest || OnStreamRequest || OnBufferRequest || OnFileRequest;
  }
  // How a source is shown: outside request mode a picture or text file name is shown by
  // its own loader, never asked for nor read as HTML.
  TDocumentKind NameKind(const std::string& name) const;
  // The bytes of a picture a viewer asks for, from the host's answer; `data` is left
  // as it was when the host has none.
  void ImageStream(const std::string& src, std::string& data) const;
  // A source name resolved against the current viewer's or the sets' base.
  std::string ExpandSourceName(const std::string& name) const;
  // The link clicked in `viewer`, sent to its target frame (or to nobody).
  void HotSpotClick(TPageViewer& viewer, const std::string& url, bool& handled);

  // --- for the frames' histories
  long long NextHistorySequence() { return ++history_sequence_; }
  bool ReplayingHistory() const { return replaying_history_ > 0; }
  void HistoryChanged() const;
  // The tree's only viewer moved on from `old_source`: recorded as a top-level step.
  void RecordSingleViewerMove(const std::string& old_source, const std::string& old_title,
                              int old_position);
  // While one lives, loads show history entries again instead of making new ones.
  class HistoryReplay {
   public:
    explicit HistoryReplay(TFrameViewer& owner) : owner_(owner) { ++owner_.replaying_history_; }
    ~HistoryReplay() { --owner_.replaying_history_; }
    HistoryReplay(const HistoryReplay&) = delete;
    HistoryReplay& operator=(const HistoryReplay&) = delete;

   private:
    TFrameViewer& owner_;
  };

  // --- settings, copied into every viewer. The fields are read when a viewer is made;
  // the setters also change every viewer shown.
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
  bool ViewImages = true;
  bool NoSelect = false;
  platform::TColor DefBackground() const { return def_background_; }
  void SetDefBackground(platform::TColor color);
  std::string DefFontName = "Times New Roman";
  std::string DefPreFontName = "Courier New";
  int DefFontSize = 12;
  platform::TColor DefFontColor = TPageViewer::clBtnText;
  platform::TColor DefHotSpotColor = 0xFF0000;
  platform::TColor DefVisitedLinkColor = 0x800080;
  platform::TColor DefOverLinkColor = 0xFF0000;
  int VisitedMaxCount = 50;
  // Set it with SetHistoryMaxCount to have the history forgotten on a change.
  int HistoryMaxCount = 0;
  int ImageCacheCount = 5;
  int CharSet = 1;
  // The cursor over a viewer's text.
  TViewerCursor Cursor = crTextCursor;
  int MarginWidth = 10;
  int MarginHeight = 5;
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;
  std::string ServerRoot;
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
  std::function<void(const std::string& src, int loop, bool terminate)> OnSoundRequest;
  std::function<void(const std::string& http_eq, const std::string& name, const std::string& content)>
      OnMeta;
  std::function<void(const std::string& name, const std::string& language, const std::string& script)>
      OnScript;
  // Handed to every viewer as it is made.
  decltype(TPageViewer::OnImageRequest) OnImageRequest;
  decltype(TPageViewer::OnBitmapRequest) OnBitmapRequest;
  decltype(TPageViewer::OnFormSubmit) OnFormSubmit;
  decltype(TPageViewer::OnLink) OnLink;
  decltype(TPageViewer::OnRightClick) OnRightClick;
  decltype(TPageViewer::OnImageClick) OnImageClick;
  decltype(TPageViewer::OnImageOver) OnImageOver;
  decltype(TPageViewer::OnObjectClick) OnObjectClick;
  decltype(TPageViewer::OnObjectFocus) OnObjectFocus;
  decltype(TPageViewer::OnObjectBlur) OnObjectBlur;
  decltype(TPageViewer::OnObjectChange) OnObjectChange;
  decltype(TPageViewer::OnMouseDouble) OnMouseDouble;
  decltype(TPageViewer::OnPanelCreate) OnPanelCreate;
  decltype(TPageViewer::OnPanelDestroy) OnPanelDestroy;
  decltype(TPageViewer::OnPanelPrint) OnPanelPrint;
  decltype(TPageViewer::OnParseBegin) OnParseBegin;
  decltype(TPageViewer::OnParseEnd) OnParseEnd;
  decltype(TPageViewer::OnProgress) OnProgress;
  decltype(TPageViewer::OnInclude) OnInclude;
  // Drags over a viewer's page, in its coordinates, with that viewer as the sender. Asked
  // when the drag arrives, so a handler set after the viewers were made is asked too;
  // without OnDragOver nothing is dropped.
  std::function<void(TPageViewer& sender, const TDragSource& source, int x, int y, TDragState state,
                     bool& accept)>
      OnDragOver;
  std::function<void(TPageViewer& sender, const TDragSource& source, int x, int y)> OnDragDrop;
  // The mouse over a viewer, or over a frame left empty; the sender is that viewer or frame.
  std::function<void(QWidget& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
      OnMouseDown;
  std::function<void(QWidget& sender, Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
  std::function<void(QWidget& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
      OnMouseUp;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

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
  platform::TColor def_background_ = TPageViewer::clBtnFace;
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
