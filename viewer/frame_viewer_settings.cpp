// The frame viewer's settings and events as every viewer of its tree gets them, and the
// places of those viewers.
#include <algorithm>

#include "html/url_helpers.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_frame.h"

namespace tessival::viewer {

namespace {

// A frame this close to a side of the frame viewer's area counts as touching it.
constexpr int kSideReach = 2;
// As a viewer clamps its own count: more documents than this are not worth keeping
// pictures for.
constexpr int kMaxImageCacheCount = 20;

}  // namespace

void TFrameViewer::ForEachViewer(const std::function<void(TPageViewer&)>& apply) const {
  for (TPageViewer* viewer : top_set_->Viewers()) apply(*viewer);
}

void TFrameViewer::HandEventsTo(TPageViewer& viewer) {
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
  viewer.LocalStyleSheets = LocalStyleSheets;
  HandDragsTo(viewer);
  if (OnScript) {
    viewer.OnScript = [this](const std::string& name, const std::string& language,
                             std::unique_ptr<char[]> script) {  // NOLINT(modernize-avoid-c-arrays)
      if (OnScript) OnScript(name, language, script ? std::string(script.get()) : std::string());
    };
  }
}

void TFrameViewer::HandDragsTo(TPageViewer& viewer) {
  viewer.OnDragOver = [this, &viewer](const TDragSource& source, int x, int y, TDragState state,
                                      bool& accept) {
    if (!OnDragOver) {
      accept = false;
      return;
    }
    OnDragOver(viewer, source, x, y, state, accept);
  };
  viewer.OnDragDrop = [this, &viewer](const TDragSource& source, int x, int y) {
    if (OnDragDrop) OnDragDrop(viewer, source, x, y);
  };
}

void TFrameViewer::SetViewImages(bool view) {
  if (Busy()) return;
  ViewImages = view;
  ForEachViewer([view](TPageViewer& viewer) { viewer.SetViewImages(view); });
}

void TFrameViewer::SetImageCacheCount(int count) {
  if (Busy()) return;
  ImageCacheCount = std::clamp(count, 0, kMaxImageCacheCount);
  ForEachViewer([this](TPageViewer& viewer) { viewer.SetImageCacheCount(ImageCacheCount); });
  ApplyImageCacheCount();
}

void TFrameViewer::ApplyImageCacheCount() {
  // The viewers share one cache, so the count is the cache's: a picture no shown page
  // uses is kept while fewer than that many further documents have been loaded.
  image_cache_->SetMaxAge(ImageCacheCount);
}

void TFrameViewer::SetNoSelect(bool no_select) {
  NoSelect = no_select;
  ForEachViewer([no_select](TPageViewer& viewer) { viewer.SetNoSelect(no_select); });
}

void TFrameViewer::SetDefFontName(const std::string& name) {
  DefFontName = name;
  ForEachViewer([&name](TPageViewer& viewer) { viewer.SetDefFontName(name); });
}

void TFrameViewer::SetDefPreFontName(const std::string& name) {
  DefPreFontName = name;
  ForEachViewer([&name](TPageViewer& viewer) { viewer.SetDefPreFontName(name); });
}

void TFrameViewer::SetDefFontSize(int size) {
  DefFontSize = size;
  ForEachViewer([size](TPageViewer& viewer) { viewer.SetDefFontSize(size); });
}

void TFrameViewer::SetDefFontColor(platform::TColor color) {
  DefFontColor = color;
  ForEachViewer([color](TPageViewer& viewer) { viewer.SetDefFontColor(color); });
}

void TFrameViewer::SetDefHotSpotColor(platform::TColor color) {
  DefHotSpotColor = color;
  ForEachViewer([color](TPageViewer& viewer) { viewer.SetDefHotSpotColor(color); });
}

void TFrameViewer::SetDefVisitedLinkColor(platform::TColor color) {
  DefVisitedLinkColor = color;
  ForEachViewer([color](TPageViewer& viewer) { viewer.SetDefVisitedLinkColor(color); });
}

void TFrameViewer::SetDefOverLinkColor(platform::TColor color) {
  DefOverLinkColor = color;
  ForEachViewer([color](TPageViewer& viewer) { viewer.SetDefOverLinkColor(color); });
}

void TFrameViewer::SetServerRoot(const std::string& root) {
  std::string path = html::UrlToFileName(root);
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  ServerRoot = path;
  ForEachViewer([&path](TPageViewer& viewer) { viewer.SetServerRoot(path); });
}

void TFrameViewer::SetFocus() {
  TPageViewer* viewer = CurrentViewer();
  if (viewer != nullptr && viewer->isVisible() && viewer->isEnabled() &&
      viewer->focusPolicy() != Qt::NoFocus) {
    viewer->setFocus();
    return;
  }
  setFocus();
}

std::vector<TViewerPlace> TFrameViewer::ViewerPlaces() const {
  std::vector<TViewerPlace> places;
  const QRect area = top_set_->contentsRect();
  for (TPageViewer* viewer : top_set_->Viewers()) {
    if (viewer->Document().Empty()) continue;
    // The viewer's frame, its bevel included, is what meets the set's sides.
    const QWidget* piece = viewer->parentWidget() != nullptr ? viewer->parentWidget() : viewer;
    const QRect r(piece->mapTo(top_set_, QPoint(0, 0)), piece->size());
    std::string code;
    if (r.left() - area.left() <= kSideReach) code += 'l';
    if (r.top() - area.top() <= kSideReach) code += 't';
    if (area.right() - r.right() <= kSideReach) code += 'r';
    if (area.bottom() - r.bottom() <= kSideReach) code += 'b';
    places.push_back(TViewerPlace{code, viewer});
  }
  return places;
}

}  // namespace tessival::viewer
