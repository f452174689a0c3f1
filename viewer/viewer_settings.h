#pragma once
// TViewerSettings: what every page viewer of a frame viewer's tree takes from its host:
// fonts, colours, pictures, print margins, the cursor and the handlers passed on as they
// are. The host sets the fields; ApplyTo gives all of them to a viewer in one step, so a
// setting added here reaches every viewer without being copied by hand anywhere else.
//
// The fields are read when a viewer is made; changing one later changes only the viewers
// made after it, unless the frame viewer's setter for it is used.
#include <functional>
#include <string>

#include "html/image_cache.h"
#include "platform/colors.h"
#include "viewer/page_viewer.h"
#include "viewer/viewer_cursors.h"

namespace tessival::viewer {

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

// The page viewer's share of the frame viewer's options: how links and printing look.
ThtOptions PageOptionsOf(TFrameViewerOptions options);

class TViewerSettings {
 public:
  bool ViewImages = true;
  bool NoSelect = false;
  // Off for pages that came from the web: they read no style sheet from this computer.
  bool LocalStyleSheets = true;
  std::string DefFontName = "Times New Roman";
  std::string DefPreFontName = "Courier New";
  int DefFontSize = 12;
  platform::TColor DefFontColor = TPageViewer::clBtnText;
  platform::TColor DefHotSpotColor = 0xFF0000;
  platform::TColor DefVisitedLinkColor = 0x800080;
  platform::TColor DefOverLinkColor = 0xFF0000;
  // Set it with the frame viewer's SetHistoryMaxCount to have the history forgotten on a
  // change.
  int HistoryMaxCount = 0;
  int ImageCacheCount = 5;
  // The cursor over a viewer's text.
  TViewerCursor Cursor = crTextCursor;
  // Where a frame without MARGINWIDTH or MARGINHEIGHT starts its page.
  int MarginWidth = 10;
  int MarginHeight = 5;
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;
  std::string ServerRoot;

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
  // Also what the META elements and BGSOUND of frame-set documents are reported to.
  std::function<void(const std::string& http_eq, const std::string& name, const std::string& content)>
      OnMeta;
  std::function<void(const std::string& src, int loop, bool terminate)> OnSoundRequest;
  // Not handed over as they are: the frame viewer passes them on with the viewer (or the
  // frame left empty) as the sender, and frame-set documents report their scripts to
  // OnScript too. The mouse handlers are copied as they are when a viewer is made.
  std::function<void(const std::string& name, const std::string& language, const std::string& script)>
      OnScript;
  std::function<void(QWidget& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
      OnMouseDown;
  std::function<void(QWidget& sender, Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
  std::function<void(QWidget& sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
      OnMouseUp;

  platform::TColor DefBackground() const { return def_background_; }

  // Every setting above, the background, the page options and the shared picture cache
  // given to `viewer`. Margins are the frame's and handlers that need the frame viewer
  // are its own: the frame viewer gives those.
  void ApplyTo(TPageViewer& viewer) const;

 protected:
  // Changed only through the frame viewer's setters, which also repaint it or its set.
  platform::TColor def_background_ = TPageViewer::clBtnFace;
  ThtOptions page_options_ = htPrintTableBackground | htPrintMonochromeBlack;
  html::TStringBitmapList* shared_cache_ = nullptr;  // owned by the frame viewer
};

}  // namespace tessival::viewer
