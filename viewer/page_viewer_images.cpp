// The viewer's side of pictures: the host's image requests, panels as child windows of the
// paint panel, the animation timer, pictures delivered late and the page background.
#include <memory>

#include "platform/qt/qt_panel_window.h"
#include "viewer/background_tiles.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"

namespace tessival::viewer {

namespace {
// Short enough for the fastest frame delays a page uses; each picture keeps its own pace.
constexpr int kAnimationIntervalMs = 40;
}  // namespace

void TPageViewer::InstallImageRequests() {
  panel_factory_ = std::make_unique<platform::QtPanelWindowFactory>(panel_);
  document_->PanelHost.Factory = panel_factory_.get();
  document_->Images.OnExpandName = [this](const std::string& src) { return ExpandDocumentName(src); };
  animation_timer_.setInterval(kAnimationIntervalMs);
  connect(&animation_timer_, &QTimer::timeout, this, &TPageViewer::AnimationTick);
}

void TPageViewer::HandHostEventsToDocument() {
  // Copied, not wrapped: the document picks its way (a bitmap, the bytes, or the file; a
  // panel printed by the host or drawn as a box) by which handlers exist.
  document_->Images.OnBitmapRequest = OnBitmapRequest;
  document_->Images.OnImageRequest = OnImageRequest;
  layout::TPanelHost& host = document_->PanelHost;
  host.OnPanelCreate = OnPanelCreate;
  host.OnPanelDestroy = OnPanelDestroy;
  host.OnPanelPrint = OnPanelPrint;
}

void TPageViewer::AnimationTick() {
  if (!document_->HasAnimations()) {
    animation_timer_.stop();
    return;
  }
  if (document_->AdvanceAnimations()) panel_->update();
}

void TPageViewer::UpdateAnimationTimer() {
  const bool wanted = view_images_ && document_->HasAnimations();
  if (!wanted) animation_timer_.stop();
  else if (!animation_timer_.isActive()) animation_timer_.start();
}

void TPageViewer::InsertImage(const std::string& src, platform::TStream& stream) {
  HandHostEventsToDocument();
  if (document_->InsertImage(src, stream)) {
    if (busy_) {
      laid_out_size_ = QSize();  // the next resize lays the page out again
    } else {
      RelayoutKeepingPosition();
    }
  }
  UpdateAnimationTimer();
  panel_->update();
}

void TPageViewer::DrawBackground(platform::Canvas& canvas, const QRect& clip) {
  const platform::Rect area{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1};
  const platform::TColor color = platform::PlainColor(document_->Background);
  if (!view_images_ || document_->Printing) {
    PaintBackground(canvas, area, color, nullptr, h_position_, v_bar_->Position());
    return;
  }
  if (background_picture_) {
    PaintBackground(canvas, area, color, background_picture_, h_position_, v_bar_->Position());
    return;
  }
  const platform::TBitmap* mask = nullptr;
  const platform::TBitmap* picture = document_->GetBackgroundBitmap(&mask);
  PaintBackground(canvas, area, color, picture, mask, h_position_, v_bar_->Position());
}

void TPageViewer::SetBackgroundPicture(const platform::TMyBitmap* picture) {
  background_picture_ = picture;
  panel_->update();
}

}  // namespace tessival::viewer
