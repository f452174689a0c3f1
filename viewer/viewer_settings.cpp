#include "viewer/viewer_settings.h"

namespace tessival::viewer {

ThtOptions PageOptionsOf(TFrameViewerOptions options) {
  ThtOptions page = 0;
  if ((options & fvOverLinksActive) != 0) page |= htOverLinksActive;
  if ((options & fvNoLinkUnderline) != 0) page |= htNoLinkUnderline;
  if ((options & fvPrintTableBackground) != 0) page |= htPrintTableBackground;
  if ((options & fvPrintMonochromeBlack) != 0) page |= htPrintMonochromeBlack;
  if ((options & fvShowVScroll) != 0) page |= htShowVScroll;
  return page;
}

void TViewerSettings::ApplyTo(TPageViewer& viewer) const {
  viewer.SetDefBackground(def_background_);
  viewer.SetViewImages(ViewImages);
  // The viewer's own cache takes the count first; the shared one keeps the frame
  // viewer's, which is the same.
  viewer.SetImageCacheCount(ImageCacheCount);
  viewer.SetImageCache(shared_cache_);
  viewer.SetNoSelect(NoSelect);
  viewer.LocalStyleSheets = LocalStyleSheets;
  viewer.SetDefFontColor(DefFontColor);
  viewer.SetDefHotSpotColor(DefHotSpotColor);
  viewer.SetDefVisitedLinkColor(DefVisitedLinkColor);
  viewer.SetDefOverLinkColor(DefOverLinkColor);
  viewer.SetDefFontSize(DefFontSize);
  viewer.SetDefFontName(DefFontName);
  viewer.SetDefPreFontName(DefPreFontName);
  viewer.SetHistoryMaxCount(HistoryMaxCount);
  viewer.PrintMarginLeft = PrintMarginLeft;
  viewer.PrintMarginRight = PrintMarginRight;
  viewer.PrintMarginTop = PrintMarginTop;
  viewer.PrintMarginBottom = PrintMarginBottom;
  viewer.SetServerRoot(ServerRoot);
  viewer.SetCursor(Cursor);
  viewer.SethtOptions(page_options_);
  viewer.OnImageRequest = OnImageRequest;
  viewer.OnBitmapRequest = OnBitmapRequest;
  viewer.OnFormSubmit = OnFormSubmit;
  viewer.OnLink = OnLink;
  viewer.OnRightClick = OnRightClick;
  viewer.OnImageClick = OnImageClick;
  viewer.OnImageOver = OnImageOver;
  viewer.OnObjectClick = OnObjectClick;
  viewer.OnObjectFocus = OnObjectFocus;
  viewer.OnObjectBlur = OnObjectBlur;
  viewer.OnObjectChange = OnObjectChange;
  viewer.OnMouseDouble = OnMouseDouble;
  viewer.OnPanelCreate = OnPanelCreate;
  viewer.OnPanelDestroy = OnPanelDestroy;
  viewer.OnPanelPrint = OnPanelPrint;
  viewer.OnParseBegin = OnParseBegin;
  viewer.OnParseEnd = OnParseEnd;
  viewer.OnProgress = OnProgress;
  viewer.OnInclude = OnInclude;
  viewer.OnMeta = OnMeta;
  viewer.OnSoundRequest = OnSoundRequest;
}

}  // namespace tessival::viewer
