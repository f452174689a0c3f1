#pragma once
// TSectionList: the root of a document. It is the top cell of the section tree and owns
// everything document-wide: the style sheet, the anchors by name, the link runs, the
// position list, the deferred-draw list, the selection, and the link/hover state.
//
// The viewer creates one per document, hands it to the tag reader to be filled, and then
// runs the three passes: Layout (a width in, a height out), Paint (a clip rectangle and the
// scroll offset in, pixels out) and the hit tests.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "html/id_name_list.h"
#include "html/map_item.h"
#include "html/selection_buffers.h"
#include "html/style_list.h"
#include "layout/block_box.h"
#include "layout/cell.h"
#include "layout/document_images.h"
#include "layout/panel_obj.h"
#include "layout/recent_shares.h"
#include "layout/font_obj.h"
#include "layout/html_form.h"
#include "platform/message_box.h"
#include "platform/message_window.h"

namespace tessival::layout {

class TSection;

// An image that must be drawn after the text of a paint pass (floating images).
struct TImageRec {
  TImageObj* Image = nullptr;
  platform::Canvas* Canvas = nullptr;
  int X = 0;
  int Y = 0;
  int YBaseline = 0;
  const TFontObj* FontObj = nullptr;
};
using TDrawList = std::vector<TImageRec>;

// One list of "name=value" entries per form, in form order.
using TFormData = std::vector<std::vector<std::string>>;

// A place in the viewer's history: the position and the forms' contents.
struct PositionObj {
  int Pos = 0;
  TFormData FormData;
};

// The viewer's progress event: stage and percent done.
using TProgressEvent = std::function<void(int stage, int percent)>;
constexpr int LayoutProgressStage = 1;

class TSectionList : public TCell, public html::SourcePositionLocator {
 public:
  // `messages` shows the errors of sections that cannot be laid out; it may be null (the
  // error is then only dropped with its section). A copy never touches the ID list, the
  // style sheet or the timers and never reports progress.
  explicit TSectionList(platform::MessageBoxes* messages = nullptr, bool isCopy = false);
  ~TSectionList() override;

  // --- setting up -----------------------------------------------------------------
  // Builds the default style sheet and keeps the link options and the background colour.
  void SetFonts(const html::TStyleDefaults& defaults, platform::TColor background, bool overLinksActive);
  // Empties every document list and the sections.
  void Clear();

  // --- the passes -------------------------------------------------------------------
  // Lays the document out for availWidth; returns its height, maxWidth the widest content.
  int Layout(platform::Canvas& canvas, int y, int& pos, int& maxWidth, int availHeight, int availWidth);
  // Paints the part of the document in `clip` (window coordinates; document y = window y
  // + YOffset), with the x origin at x (minus the horizontal scroll).
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int x, int limitWidth = 6000);
  void SetYOffset(int y);

  // --- hit tests and queries --------------------------------------------------------
  // Also tracks the run under the mouse (ActiveLinkFont) and, with LinksActive, lights it.
  int FindLink(platform::Canvas& canvas, int x, std::string& title, TFormControlObj*& formControl,
               std::unique_ptr<html::TUrlTarget>& urlTarget, int y);
  void ClearHover();
  // The last positioned section whose AnchorY is at or above y, with that y and its index.
  TSectionBase* FindSectionAtY(int y, int& sectionY, int& index) const;
  // A source position's document position; a miss gives the document length + 1.
  int DocPosOf(int sourcePos, SearchDirection direction) const;
  std::optional<int> YOfSourcePos(std::int32_t sourcePos) const override;

  // --- selection text ---------------------------------------------------------------
  int GetSelLength();
  void CopyToClipboard();
  // Writes the selection into a caller's buffer of `size` bytes; returns the count.
  int GetSelTextBuf(char* buffer, int size);

  // --- forms (section_list_forms.cpp) -----------------------------------------------
  // One list of entries per form; restoring stops quietly at the first form that fails.
  TFormData GetFormData() const;
  void SetFormData(const TFormData& data);
  // The forms' controls work out their sizes (before each layout).
  void SizeFormControls(platform::Canvas& canvas);
  // Controls the last paint did not show: parked far left while one of them has the focus
  // (so it keeps it), otherwise hidden.
  void HideOrParkControls();
  // Every control's window out of sight (the viewer's repaint shows those in view again).
  void HideAllControls();

  // --- building helpers used by sections -------------------------------------------
  // The four looks of a link, shared by the runs that have the same (most runs of a page's
  // links look alike).
  std::shared_ptr<const html::TFontInfoArray> ShareVariants(const html::TFontInfoArray& variants);
  // A block's box as given, shared by the blocks that give the same (a page's paragraphs
  // mostly do): each would otherwise keep its own copy of every box property.
  std::shared_ptr<const TGivenBox> ShareGivenBox(const TGivenBox& box);
  void AddLinkRun(TFontObj& run);
  void RemoveLinkRun(const TFontObj& run);
  const std::vector<TFontObj*>& LinkList() const { return LinkFonts; }
  int NextSectionNumber() { return ++SectionCount; }
  // Called by each text section as it is laid out: reports progress every 50 sections.
  void ReportSectionProgress(int sectionNumber);
  // Shows a section's layout failure to the user.
  void ShowError(const std::string& message) const;
  int DocumentLength() const { return Length; }

  // --- document state ---------------------------------------------------------------
  bool IsCopy;
  bool ShowImages = false;
  bool LeftButtonDown = false;  // kept by SetActiveImageState for the pressed frame
  bool Printing = false;
  bool PrintBackgrounds = false;
  bool PrintMonoBlack = false;
  int YOffset = 0;
  bool ScrollPending = false;
  int SelStart = 0;  // selection [SelStart, SelEnd) in document positions
  int SelEnd = 0;
  bool ShowCaret = false;  // the caret stands at SelStart when the selection is empty
  std::string PreFontName = "Courier New";
  bool LinkUnderline = true;
  bool LinksActive = false;
  platform::TColor Background = 0xFFFFFF;
  html::TStyleList Styles;
  html::TIDNameList IDNameList{this};
  TDrawList DrawList;
  std::vector<TSectionBase*> PositionList;        // sections in document order, not owned
  html::SelTextCount* SelectionBuffer = nullptr;  // during one copy operation
  TFontObj* ActiveLinkFont = nullptr;
  TImageObj* ActiveImage = nullptr;
  int PageBottom = 0;
  bool PageShortened = false;
  int LayoutCount = 0;
  int ProgressBase = 0;
  int SectionCount = 0;
  // When set, the first text section laid out reports its first baseline here.
  int* FirstLineHeight = nullptr;
  TProgressEvent OnProgress;
  // The viewer repaints its panel: a link lit or dimmed under the mouse.
  std::function<void()> OnInvalidate;
  // The viewer's script handler: the reader hands it each SCRIPT element's text, which
  // becomes the handler's to keep.
  std::function<void(const std::string& name, const std::string& language,
                     std::unique_ptr<char[]> script)>
      OnScript;

  // --- pictures (section_list_images.cpp) -------------------------------------------
  // The image request shared by images, the background and image inputs.
  TImageAnswer GetDocumentImage(const std::string& url, std::uint8_t transparency) {
    return Images.GetDocumentImage(url, transparency);
  }
  // The background picture, loaded once while images are shown (null without one); its
  // mask may be null.
  const platform::TBitmap* GetBackgroundBitmap(const platform::TBitmap** mask = nullptr);
  void SetBackgroundImage(const std::string& url);
  const std::string& BackgroundImageUrl() const { return BackgroundUrl; }
  // The mouse button went down (or up) over the active image.
  void SetActiveImageState(bool pressed);
  // One tick of the animation timer: moves every animated image on; true when any frame
  // changed (the viewer then repaints).
  bool AdvanceAnimations();
  bool HasAnimations() const { return !AnimationList.empty(); }
  // The animation timer: off during a pass, on after it while there are animated images.
  void StopAnimationTimer();
  void StartAnimationTimer();
  // The data of a picture that was still coming: the images waiting for `src` show it.
  // Returns true when the document must be laid out again.
  bool InsertImage(const std::string& src, platform::TStream& stream);
  // The map named `name` (upper case, without '#'), or null.
  const html::TMapItem* FindMap(const std::string& name) const;
  // An image going away leaves the document's lists.
  void ForgetImage(const TImageObj* image);

  TDocumentImages Images;
  std::vector<TImageObj*> AnimationList;  // not owned
  TPanelHost PanelHost;
  std::vector<TPanelObj*> PanelList;  // not owned: the sections own them
  std::vector<std::unique_ptr<html::TMapItem>> MapList;
  TFormHost FormHost;
  std::vector<std::unique_ptr<ThtmlForm>> FormList;  // each owns its controls
  std::vector<TFormControlObj*> FormControlList;     // in reading order, not owned

 private:
  int CopySelectionTo(html::SelTextCount& buffer);
  void LightLink(TFontObj* run, bool hover);

  platform::MessageBoxes* Messages;  // not owned
  std::vector<TFontObj*> LinkFonts;  // link runs in document order, not owned
  RecentShares<html::TFontInfoArray> SharedVariants;
  RecentShares<TGivenBox> SharedGivenBoxes;
  int ProgressLayoutCount = 0;  // the layout pass that last reported
  std::string BackgroundUrl;
  bool BackgroundTried = false;
  const platform::TBitmap* BackgroundBitmap = nullptr;  // the cache's
  const platform::TBitmap* BackgroundMask = nullptr;
  std::optional<platform::TBitmap> BackgroundFrame;         // an animated background's first frame
  std::unique_ptr<platform::MessageWindow> AnimationTimer;  // made at the first need
  bool AnimationTicked = false;
};

}  // namespace tessival::layout
