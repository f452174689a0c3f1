// The frame viewer's visited list: one list for every frame, and the links of every
// viewer marked from it.
#include <algorithm>

#include "html/ascii_text.h"
#include "layout/font_obj.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_frame.h"
#include "viewer/paint_panel.h"

namespace tessival::viewer {

void TFrameViewer::AddVisited(const std::string& url) {
  if (VisitedMaxCount <= 0) return;
  if (!visited_.empty() && visited_.front() == url) return;
  std::erase(visited_, url);
  visited_.insert(visited_.begin(), url);
  if (visited_.size() > static_cast<std::size_t>(VisitedMaxCount)) visited_.resize(VisitedMaxCount);
}

void TFrameViewer::SetVisitedMaxCount(int count) {
  VisitedMaxCount = std::max(count, 0);
  if (visited_.size() > static_cast<std::size_t>(VisitedMaxCount)) visited_.resize(VisitedMaxCount);
  if (VisitedMaxCount > 0) return;
  for (TPageViewer* viewer : top_set_->Viewers()) {
    for (layout::TFontObj* link : viewer->Document().LinkList()) link->SetVisited(false);
    viewer->PaintPanel().update();
  }
}

// A link's document as the visited list names it. With request events the names are the
// host's, so only an anchor on the same page is completed, from the frame's source.
std::string TFrameViewer::ResolvedLink(const TPageViewer& viewer, const std::string& url) const {
  if (RequestMode()) {
    if (!url.starts_with('#')) return url;
    const TfvFrame* frame = FrameOf(viewer);
    return (frame != nullptr ? frame->FrameSource() : std::string()) + url;
  }
  if (url.starts_with('#')) return viewer.DocumentFile() + url;
  return viewer.ExpandDocumentName(url);
}

void TFrameViewer::MarkVisitedLinks() {
  if (visited_.empty()) return;
  std::vector<std::string> visited;
  visited.reserve(visited_.size());
  for (const std::string& url : visited_) visited.push_back(html::ToLower(url));
  for (TPageViewer* viewer : top_set_->Viewers()) {
    for (layout::TFontObj* link : viewer->Document().LinkList()) {
      const std::string resolved = html::ToLower(ResolvedLink(*viewer, link->UrlTarget.Url()));
      if (std::ranges::find(visited, resolved) != visited.end()) link->SetVisited(true);
    }
    viewer->PaintPanel().update();
  }
}

}  // namespace tessival::viewer
