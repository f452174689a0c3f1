#pragma once
// TPageViewer: the window control that shows one HTML document. It owns the document,
// feeds it text through the tag reader, lays it out for its width, paints it on its paint
// panel, scrolls it with two bars and the keyboard, and turns the mouse into hover,
// link clicks and text selection.
//
// Every load runs the same order: clear the document, parse, lay out for the client width
// less the border and the vertical bar, set the bars, paint. While a load or relayout runs
// the viewer is Busy and ignores new loads.
#include <QFrame>
#include <QImage>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/html_tokenizer.h"
#include "html/page_charset.h"
#include "layout/section_list.h"
#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/masked_bitmap.h"
#include "platform/message_box.h"
#include "platform/stream.h"
#include "viewer/viewer_cursors.h"
#include "viewer/viewer_history.h"

namespace tessival::viewer {

class TPaintPanel;
class T32ScrollBar;

enum THTMLBorderStyle { htFocused, htNone, htSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum ThtOption : unsigned {
  htOverLinksActive = 1,
  htNoLinkUnderline = 2,
  htPrintTableBackground = 4,
  htPrintMonochromeBlack = 8,
  htShowDummyCaret = 16,
  htShowVScroll = 32,
};
using ThtOptions = unsigned;

// What a document shows: HTML, plain text or one picture.
enum TDocumentKind : int { dkHtml = 0, dkText = 1, dkImage = 2 };

// A picture could not get memory to paint into.
class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What lies under the mouse at a right click.
struct TRightClickParameters {
  layout::TImageObj* Image = nullptr;
  int ImageX = 0;
  int ImageY = 0;
  std::string URL;
  std::string Target;
  std::string ClickWord;
};

// Where a drag stands relative to the paint panel.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What is dragged: the widget the drag comes from (null from another program) and its data.
struct TDragSource {
  QObject* Object = nullptr;
  const QMimeData* Data = nullptr;
};

// Where the mouse stands, as the autoscroll asks it on every step.
using CursorPointSource = std::function<QPoint()>;
// Milliseconds from any fixed start; the autoscroll steps at most once per 100.
using TickSource = std::function<std::int64_t()>;

class TPageViewer : public QWidget {
  Q_OBJECT

 public:
  static constexpr platform::TColor clBtnFace = 0x8000000F;
  static constexpr platform::TColor clBtnText = 0x80000012;

  explicit TPageViewer(QWidget* parent = nullptr, platform::MessageBoxes* messages = nullptr);
  ~TPageViewer() override;
  TPageViewer(const TPageViewer&) = delete;
  TPageViewer& operator=(const TPageViewer&) = delete;

  // --- loading ------------------------------------------------------------------------
  // Name may end in "#anchor". A missing file raises "Can't locate file: " + name and
  // leaves the shown document as it was.
  void LoadFromFile(const std::string& name);
  void LoadTextFromFile(const std::string& name);
  void LoadImageFromFile(const std::string& name);
  void LoadFromString(std::string_view text, TDocumentKind kind = dkHtml);
  void LoadFromText(const std::vector<std::string>& lines, TDocumentKind kind = dkHtml);
  void LoadFromBuffer(const char* buffer, std::size_t size);
  void LoadFromStream(platform::TStream& stream);
  void Reload();
  void Clear();
  // Files are read in the character set the type kept beside them, a byte-order mark, a
  // META tag or their UTF-8 content declares, and handed to the reader in its own set;
  // a set named here overrides all of those. Memory loads are taken as they are.
  void SetForcedCharset(std::optional<html::PageCharset> charset) { forced_charset_ = charset; }

  // --- moving about -------------------------------------------------------------------
  bool JumpToAnchor(std::string_view name);
  void ScrollToY(int y);
  int VScrollBarPosition() const;
  void SetVScrollBarPosition(int y);
  int HScrollBarPosition() const { return h_position_; }
  void SetHScrollBarPosition(int x);
  int DocumentPosition() const;
  void SetDocumentPosition(int encoded);
  virtual std::string ExpandDocumentName(const std::string& name) const;
  virtual void LinkClicked();

  // --- selection ------------------------------------------------------------------------
  // The selection's length, negative for a selection dragged backwards.
  int SelLength() const;
  std::string SelText();
  void CopyToClipboard();
  void SelectAll();

  // --- properties ---------------------------------------------------------------------
  bool ViewImages() const { return view_images_; }
  void SetViewImages(bool view);
  platform::TColor DefBackground() const { return def_background_; }
  void SetDefBackground(platform::TColor color);
  THTMLBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(THTMLBorderStyle style);
  int HistoryMaxCount() const { return history_.MaxCount(); }
  void SetHistoryMaxCount(int count);
  const std::string& DefFontName() const { return def_font_name_; }
  void SetDefFontName(const std::string& name) { def_font_name_ = name; }
  const std::string& DefPreFontName() const { return def_pre_font_name_; }
  void SetDefPreFontName(const std::string& name);
  int DefFontSize() const { return def_font_size_; }
  void SetDefFontSize(int size);
  platform::TColor DefFontColor() const { return def_font_color_; }
  void SetDefFontColor(platform::TColor color) { def_font_color_ = color; }
  platform::TColor DefHotSpotColor() const { return def_hot_spot_color_; }
  void SetDefHotSpotColor(platform::TColor color) { def_hot_spot_color_ = color; }
  platform::TColor DefVisitedLinkColor() const { return def_visited_link_color_; }
  void SetDefVisitedLinkColor(platform::TColor color) { def_visited_link_color_ = color; }
  platform::TColor DefOverLinkColor() const { return def_over_link_color_; }
  void SetDefOverLinkColor(platform::TColor color) { def_over_link_color_ = color; }
  int VisitedMaxCount() const { return visited_.MaxCount(); }
  void SetVisitedMaxCount(int count);
  int ImageCacheCount() const { return image_cache_count_; }
  // A cache shared with other viewers that outlives this one (null: the viewer's own).
  // Set it before the first load, while no picture is held in the old one.
  void SetImageCache(html::TStringBitmapList* cache) { document_->Images.Shared = cache; }
  html::TStringBitmapList& ImageCache() { return document_->Images.Cache(); }
  // The cursor over the page's text.
  TViewerCursor Cursor() const { return cursor_; }
  void SetCursor(TViewerCursor cursor) { cursor_ = cursor; }
  void SetImageCacheCount(int count);
  bool NoSelect() const { return no_select_; }
  void SetNoSelect(bool no_select);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle style);
  int CharSet() const { return char_set_; }
  void SetCharSet(int char_set) { char_set_ = char_set; }
  int MarginHeight() const { return margin_height_; }
  void SetMarginHeight(int margin) { margin_height_ = margin; }
  int MarginWidth() const { return margin_width_; }
  void SetMarginWidth(int margin) { margin_width_ = margin; }
  const std::string& ServerRoot() const { return server_root_; }
  void SetServerRoot(const std::string& root);
  // The published name, lower-case prefix and all.
  ThtOptions htOptions() const { return options_; }  // NOLINT(readability-identifier-naming)
  void SethtOptions(ThtOptions options);
  // The picture tiled behind the page when images are shown (not owned; null for none).
  // The document will bring its own once pages fetch their images.
  void SetBackgroundPicture(const platform::TMyBitmap* picture);

  // --- pictures (page_viewer_images.cpp) ------------------------------------------------
  // The data of a picture the host deferred: the images waiting for `src` show it, and the
  // page is laid out again when one of them did not know its size.
  void InsertImage(const std::string& src, platform::TStream& stream);
  bool AnimationTimerActive() const { return animation_timer_.isActive(); }
  // One tick of the animation timer: the pictures move on and the panel repaints when a
  // frame changed; the timer stops when the document has no animation left.
  void AnimationTick();
  // Stored for printing, which this program does not do.
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;
  // A viewer inside a frame leaves the visited list to the frame viewer.
  bool InsideFrame = false;
  // Style sheets a page links are read from local files beside it; a page that came from
  // the web must not read the disk, so its host turns this off.
  bool LocalStyleSheets = true;

  // --- state --------------------------------------------------------------------------
  const std::string& DocumentFile() const { return document_file_; }
  int DocumentKind() const { return document_kind_; }
  const std::string& DocumentTitle() const { return document_title_; }
  const std::string& DocumentBase() const { return document_base_; }
  const std::string& DocumentBaseTarget() const { return document_base_target_; }
  const std::string& ForcedBase() const { return forced_base_; }
  void SetForcedBase(const std::string& base) { forced_base_ = base; }
  const std::string& HoverURL() const { return hover_url_; }
  const std::string& HoverTarget() const { return hover_target_; }
  int DocHeight() const { return doc_height_; }
  int DocWidth() const { return doc_width_; }
  int CaretIndex() const { return caret_index_; }
  int SelectionAnchor() const { return selection_anchor_; }
  int RefreshSeconds() const { return refresh_seconds_; }
  const std::string& RefreshTarget() const { return refresh_target_; }
  bool Busy() const { return busy_; }
  const std::vector<HistoryEntry>& History() const { return history_.Entries(); }
  int HistoryCursor() const { return history_.Cursor(); }
  // Back (cursor + 1) or forward (cursor - 1): shows that entry's file at its position with
  // the form contents it was left with. Ignored while busy or for no other entry; a file
  // that cannot be read leaves the history as it was.
  void SetHistoryCursor(int index);
  const std::vector<std::string>& VisitedList() const { return visited_.Urls(); }
  layout::TSectionList& Document() { return *document_; }
  const layout::TSectionList& Document() const { return *document_; }
  TPaintPanel& PaintPanel() { return *panel_; }
  T32ScrollBar& VScrollBar() { return *v_bar_; }
  T32ScrollBar& HScrollBar() { return *h_bar_; }
  TViewerCursor PanelCursor() const { return panel_cursor_; }
  bool MiddleScrolling() const { return middle_scrolling_; }
  bool AutoScrolling() const { return autoscrolling_; }
  int ScrollBarWidth() const { return scroll_bar_width_; }

  // --- for tests and embedders: the clock and the mouse the autoscroll reads ---------
  void SetTickSource(TickSource ticks) { ticks_ = std::move(ticks); }
  void SetCursorPointSource(CursorPointSource source) { cursor_point_ = std::move(source); }
  // One pass of the autoscroll loop; false when the loop has ended.
  bool AutoScrollPass();
  // The hover check the 200 ms timer runs.
  void HoverTimerTick();
  bool HoverTimerActive() const { return hover_timer_.isActive(); }

  // --- events (each may be left empty) ------------------------------------------------
  std::function<void(const std::string& src)> OnHotSpotCovered;
  std::function<void(const std::string& src, bool& handled)> OnHotSpotClick;
  std::function<void(const std::string& src, std::string& stream)> OnhtStreamRequest;
  std::function<void(const std::string& name, const std::string& language,
                     std::unique_ptr<char[]> script)>
      OnScript;
  std::function<void()> OnHistoryChange;
  std::function<void()> OnParseEnd;
  std::function<void(int stage, int percent_done)> OnProgress;
  std::function<void(bool processing_on)> OnProcessing;
  std::function<void(std::string& source)> OnParseBegin;
  html::TIncludeType OnInclude;
  std::function<void(const std::string& src, int loop, bool terminate)> OnSoundRequest;
  std::function<void(const std::string& http_eq, const std::string& name, const std::string& content)>
      OnMeta;
  std::function<void(const std::string& rel, const std::string& rev, const std::string& href)> OnLink;
  std::function<void(int delay, const std::string& url)> OnMetaRefresh;
  std::function<void(layout::TImageObj* image, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                     int x, int y)>
      OnImageClick;
  std::function<void(layout::TImageObj* image, Qt::KeyboardModifiers shift, int x, int y)> OnImageOver;
  // The document's pictures and panels ask the host first; each load takes these afresh.
  layout::TGetBitmapEvent OnBitmapRequest;
  layout::TGetImageEvent OnImageRequest;
  decltype(layout::TPanelHost::OnPanelCreate) OnPanelCreate;
  decltype(layout::TPanelHost::OnPanelDestroy) OnPanelDestroy;
  decltype(layout::TPanelHost::OnPanelPrint) OnPanelPrint;
  std::function<void(const std::string& action, const std::string& target, const std::string& enc_type,
                     const std::string& method, const std::vector<std::string>& results)>
      OnFormSubmit;
  std::function<void(const TRightClickParameters& parameters)> OnRightClick;
  std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDouble;
  std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDown;
  std::function<void(Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
  std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseUp;
  // Drags over the paint panel, in its coordinates. Without OnDragOver nothing is dropped
  // here; `accept` starts true and says whether a drop would be taken.
  std::function<void(const TDragSource& source, int x, int y, TDragState state, bool& accept)>
      OnDragOver;
  std::function<void(const TDragSource& source, int x, int y)> OnDragDrop;

  // --- the document's calls (forms arrive with the forms slice) ------------------------
  // A form was submitted: OnFormSubmit fires once the mouse or key handling that caused
  // it has finished, from the event queue.
  void SubmitForm(const std::string& action, const std::string& target, const std::string& enc_type,
                  const std::string& method, std::vector<std::string> results);
  // A form control at document y took the focus: scroll it into view when it is not.
  void FormControlIntoView(int y);
  // Hides every form control's window and repaints: the paint shows those in view again.
  void Repaint();
  // The values of the document's form controls, for a frame's history, and putting them back.
  layout::TFormData FormData() const { return document_->GetFormData(); }
  void SetFormData(const layout::TFormData& data);
  // The object events of form controls, with the element's script text.
  std::function<void(layout::TFormControlObj& control, const std::string& on_click)> OnObjectClick;
  std::function<void(layout::TFormControlObj& control, const std::string& script)> OnObjectFocus;
  std::function<void(layout::TFormControlObj& control, const std::string& script)> OnObjectBlur;
  std::function<void(layout::TFormControlObj& control, const std::string& script)> OnObjectChange;

  // --- the paint panel's calls --------------------------------------------------------
  void DrawPanel(QPainter& painter, const QRect& clip);
  void PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint point);
  void PanelMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint point);
  void PanelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint point);
  void PanelDoubleClick(Qt::KeyboardModifiers shift, QPoint point);
  void PanelEntered(bool inside) { mouse_over_panel_ = inside; }
  void PanelPaintFailed(const std::exception& error) const { ReportError(error); }
  // A drag entering or moving over the panel: true when a drop would be taken.
  bool PanelDragOver(const TDragSource& source, QPoint point, TDragState state);
  void PanelDragLeave();
  // True when the drop was taken.
  bool PanelDragDrop(const TDragSource& source, QPoint point);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  enum class LoadSource { kFile, kMemory };

  // loading
  void LoadFile(const std::string& name, TDocumentKind kind);
  void LoadFileKeepingHistory(const std::string& name, TDocumentKind kind);
  void LoadMemory(std::string text, TDocumentKind kind);
  // Stops the page's timers and empties the document for a new one, with the default fonts.
  void EmptyDocument();
  void PrepareDocument();
  void ParseText(TDocumentKind kind, const std::string& file_name);
  void AfterParse();
  void SetBusy(bool busy);
  void HandleMeta(const std::string& http_eq, const std::string& name, const std::string& content);
  html::TStyleDefaults StyleDefaults() const;
  ShownPlace CurrentPlace() const;
  void RecordHistory(const ShownPlace& left, layout::TFormData form_data);

  // layout and scrolling
  void DoLayout();
  int AvailableWidth() const;
  void ComputeScrollBars();
  void RelayoutKeepingPosition();
  void SetDocumentY(int y);
  int PanelHeight() const;
  int PanelWidth() const;
  int HorizontalLimit() const;
  int LargeChange() const;
  void VerticalBarMoved(int value);
  void HorizontalBarMoved(int value);
  void ScrollVertically(int target, bool pixel_copy_when_line);
  void UpdateBorder();
  void DrawBackground(platform::Canvas& canvas, const QRect& clip);
  QImage PaintBuffer(QSize size);
  void InstallImageRequests();
  // Form controls become widgets on the paint panel (page_viewer_forms.cpp).
  void InstallFormControls();
  // The host's picture and panel handlers as they are now; each load takes them afresh.
  void HandHostEventsToDocument();
  void TellImageButton(bool down);
  // Runs the animation timer exactly while the document has animated pictures.
  void UpdateAnimationTimer();

  // mouse and links
  void SetPanelCursor(TViewerCursor cursor);
  void EndMiddleScrolling();
  void StartAutoScroll();
  void ExtendSelection(QPoint point);
  int IndexAt(QPoint point, bool& inside_text);
  std::string WordUnder(QPoint point);
  void UpdateHover(Qt::KeyboardModifiers shift, QPoint point);
  void AddVisited(const std::string& url);
  void MarkVisitedLinks();
  std::string ResolvedLink(const std::string& url) const;
  bool IsSameFile(const std::string& a, const std::string& b) const { return a == b; }
  platform::Canvas& HitCanvas();
  void ReportError(const std::exception& error) const;

  platform::MessageBoxes* messages_;
  QFrame* border_panel_;
  TPaintPanel* panel_;
  T32ScrollBar* v_bar_;
  T32ScrollBar* h_bar_;
  std::unique_ptr<layout::TSectionList> document_;
  std::unique_ptr<platform::Canvas> hit_canvas_;  // measures for the hit tests
  QTimer hover_timer_;
  QTimer autoscroll_timer_;
  QTimer animation_timer_;
  std::unique_ptr<platform::PanelWindowFactory> panel_factory_;
  std::unique_ptr<platform::FormControlFactory> form_factory_;
  ViewerHistory history_;
  VisitedLinks visited_;

  bool view_images_ = true;
  platform::TColor def_background_ = clBtnFace;
  THTMLBorderStyle border_style_ = htFocused;
  std::string def_font_name_ = "Times New Roman";
  std::string def_pre_font_name_ = "Courier New";
  int def_font_size_ = 12;
  platform::TColor def_font_color_ = clBtnText;
  platform::TColor def_hot_spot_color_ = 0xFF0000;
  platform::TColor def_visited_link_color_ = 0x800080;
  platform::TColor def_over_link_color_ = 0xFF0000;
  int image_cache_count_ = 5;
  bool no_select_ = false;
  TScrollStyle scroll_bars_ = ssBoth;
  int char_set_ = 1;
  int margin_height_ = 5;
  int margin_width_ = 10;
  std::string server_root_;
  const platform::TMyBitmap* background_picture_ = nullptr;
  ThtOptions options_ = htPrintTableBackground | htPrintMonochromeBlack;

  std::string document_file_;
  int document_kind_ = dkHtml;
  std::string document_title_;
  std::string document_base_;
  std::string forced_base_;
  std::string document_base_target_;
  std::string hover_url_;
  std::string hover_target_;
  std::string raw_text_;             // the text being read; empty once the document is built
  bool raw_text_converted_ = false;  // raw_text_ came from another set: META sets are stale
  std::optional<html::PageCharset> forced_charset_;
  int doc_height_ = 0;
  int doc_width_ = 0;
  int caret_index_ = 0;
  int selection_anchor_ = -1;
  bool selection_backwards_ = false;  // dragged from its end towards its start
  int refresh_seconds_ = 0;
  std::string refresh_target_;
  int h_position_ = 0;
  // What the wheel turned below a pixel, down and sideways (page_viewer_scroll.cpp).
  int wheel_carry_y_ = 0;
  int wheel_carry_x_ = 0;
  int scroll_bar_width_ = 16;
  bool busy_ = false;
  bool laying_out_ = false;
  // The memory the panel is painted in before it is shown, kept from paint to paint: a
  // new picture for every page step cost more in the kernel (mapping and clearing it)
  // than the painting itself.
  QImage paint_memory_;
  // The size the document was last laid out at. The resize a viewer gets when it is first
  // shown has the size it was loaded at, and a second layout of the same page at the same
  // size would only cost time; empty while a change to the document awaits a layout.
  QSize laid_out_size_;
  bool left_down_ = false;
  bool selecting_ = false;
  bool link_clicked_ = false;
  bool autoscrolling_ = false;
  bool middle_scrolling_ = false;
  int middle_start_y_ = 0;
  bool mouse_over_panel_ = false;
  TViewerCursor panel_cursor_ = crArrow;
  TViewerCursor cursor_ = crTextCursor;
  std::int64_t last_autoscroll_tick_ = 0;
  QPoint last_mouse_;
  std::optional<TDragSource> drag_source_;  // the drag over the panel, for its leave
  QPoint drag_point_;
  TickSource ticks_;
  CursorPointSource cursor_point_;
};

}  // namespace tessival::viewer
