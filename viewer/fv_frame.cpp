#include "viewer/fv_frame.h"

#include <QMouseEvent>
#include <filesystem>

#include "html/ascii_text.h"
#include "html/url_helpers.h"
#include "layout/frame_set_reader.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_load_error.h"
#include "viewer/page_viewer.h"
#include "viewer/sub_frame_set.h"

namespace tessival::viewer {

namespace {

// Documents nested this deep in frames are left empty, so a frame set that holds itself
// ends.
constexpr int kMaxLoadDepth = 4;
constexpr std::size_t kMaxErrorDocument = 255;

std::string AttributeText(const html::TAttributeList& attributes, html::Symbol symbol) {
  const html::TAttribute* attribute = attributes.Find(symbol);
  return attribute != nullptr ? attribute->StrValue : std::string();
}

class LoadDepthGuard {
 public:
  explicit LoadDepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~LoadDepthGuard() { --depth_; }
  LoadDepthGuard(const LoadDepthGuard&) = delete;
  LoadDepthGuard& operator=(const LoadDepthGuard&) = delete;

 private:
  int& depth_;
};

std::string DirectoryOf(const std::string& file) {
  return std::filesystem::path(file).parent_path().string();
}

}  // namespace

TfvFrame::TfvFrame(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent)
    : TFrameBase(master, parent_set, parent) {
  setMouseTracking(true);
  if (master != nullptr) {
    margin_width_ = master->Owner().MarginWidth;
    margin_height_ = master->Owner().MarginHeight;
  }
}

void TfvFrame::ApplyAttributes(const html::TAttributeList& attributes, const std::string& directory) {
  frame_name_ = AttributeText(attributes, html::NameSy);
  std::string source = html::UrlToFileName(AttributeText(attributes, html::SrcSy));
  const std::size_t hash = source.find('#');
  if (hash != std::string::npos) {
    frame_anchor_ = source.substr(hash + 1);
    source.erase(hash);
  }
  // Relative sources belong beside the frame-set document that names them.
  if (!source.empty() && source.find(':') == std::string::npos && source.front() != '/') {
    source = (std::filesystem::path(directory) / source).lexically_normal().string();
  }
  frame_source_ = frame_initial_source_ = source;
  no_resize_ = attributes.Find(html::NoResizeSy) != nullptr;
  no_scroll_ = html::ToLower(AttributeText(attributes, html::ScrollingSy)) == "no";
  if (const html::TAttribute* width = attributes.Find(html::MarginWidthSy))
    margin_width_ = width->NumValue;
  if (const html::TAttribute* height = attributes.Find(html::MarginHeightSy))
    margin_height_ = height->NumValue;
  if (!frame_name_.empty() && MasterSet() != nullptr) MasterSet()->RegisterFrameName(frame_name_, *this);
}

void TfvFrame::SetSource(const std::string& source, const std::string& anchor) {
  frame_source_ = source;
  frame_anchor_ = anchor;
}

void TfvFrame::LoadFiles() {
  TFrameSet& master = *MasterSet();
  if (frame_source_.empty() || master.LoadDepth >= kMaxLoadDepth) return;
  const std::string file = master.Owner().RequestFile(frame_source_);
  LoadDepthGuard depth(master.LoadDepth);
  try {
    LoadDocument(file);
  } catch (const std::exception&) {
    DropFrameSet();
    ShowErrorDocument(frame_source_);
  }
}

void TfvFrame::LoadDocument(const std::string& file) {
  TFrameViewer& owner = MasterSet()->Owner();
  if (layout::IsFrameDocument(layout::TFrameSetSource::FromFile(file))) {
    DropViewer();
    DropFrameSet();
    frame_set_ = new TSubFrameSet(MasterSet(), ParentSet(), this);  // owned by this frame
    frame_set_->setGeometry(contentsRect());
    layout::ParseFrameSet(layout::TFrameSetSource::FromFile(file), owner, *frame_set_,
                          DirectoryOf(file));
    if (!frame_set_->Finished()) frame_set_->Finish();
    SetBevel(0);
    frame_set_->setGeometry(rect());
    frame_set_->show();
    frame_set_->LoadFiles();
    frame_set_->ComputeNoDrag();
    frame_set_->DistributeSizes();
    frame_set_->PlaceChildren();
    return;
  }
  TPageViewer& viewer = EnsureViewer();
  viewer.SetForcedBase(MasterSet()->Base());
  viewer.LoadFromFile(frame_anchor_.empty() ? file : file + "#" + frame_anchor_);
}

void TfvFrame::LoadFrameDocument(const std::string& source, const std::string& anchor) {
  const std::string old_source = frame_source_;
  const std::string old_anchor = frame_anchor_;
  frame_source_ = source.empty() ? old_source : source;
  frame_anchor_ = anchor;
  const std::string file = MasterSet()->Owner().RequestFile(frame_source_);
  try {
    if (!std::filesystem::exists(file)) throw EfvLoadError("Can't load: " + frame_source_);
    if (frame_set_ != nullptr) MasterSet()->ForgetFramesInside(*frame_set_);
    LoadDocument(file);
    if (viewer_ != nullptr) SetBevel(MasterSet()->BorderSize());
  } catch (...) {
    frame_source_ = old_source;
    frame_anchor_ = old_anchor;
    throw;
  }
  update();
}

void TfvFrame::ShowErrorDocument(const std::string& name) {
  std::string text = "<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + name;
  if (text.size() > kMaxErrorDocument) text.resize(kMaxErrorDocument);
  EnsureViewer().LoadFromString(text);
}

TPageViewer& TfvFrame::EnsureViewer() {
  if (viewer_ == nullptr) {
    viewer_ = &MasterSet()->Owner().MakeViewer(*this);
    viewer_->setGeometry(contentsRect());
  }
  return *viewer_;
}

void TfvFrame::DropViewer() {
  if (viewer_ == nullptr) return;
  MasterSet()->RemoveViewer(*viewer_);
  // A link clicked in this very viewer may be what replaces it: it goes once its event
  // has been handled.
  viewer_->hide();
  viewer_->deleteLater();
  viewer_ = nullptr;
}

void TfvFrame::DropFrameSet() {
  if (frame_set_ == nullptr) return;
  MasterSet()->ForgetFramesInside(*frame_set_);
  frame_set_->hide();
  frame_set_->deleteLater();  // a viewer inside may be handling the click that replaced it
  frame_set_ = nullptr;
}

void TfvFrame::resizeEvent(QResizeEvent* event) {
  TFrameBase::resizeEvent(event);
  if (viewer_ != nullptr) viewer_->setGeometry(contentsRect());
  if (frame_set_ != nullptr) frame_set_->setGeometry(rect());
}

void TfvFrame::mouseMoveEvent(QMouseEvent* event) {
  // A frame that may not be resized never offers its borders for dragging.
  if (no_resize_ && !ParentSet()->Dragging()) return;
  if (Empty()) {
    TFrameViewer& owner = MasterSet()->Owner();
    if (owner.OnMouseMove)
      owner.OnMouseMove(event->modifiers(), event->position().toPoint().x(),
                        event->position().toPoint().y());
    return;
  }
  ParentSet()->BorderMouseMove(*this, mapTo(ParentSet(), event->position().toPoint()));
}

void TfvFrame::mousePressEvent(QMouseEvent* event) {
  if (Empty()) {
    TFrameViewer& owner = MasterSet()->Owner();
    const QPoint p = event->position().toPoint();
    if (owner.OnMouseDown) owner.OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
    return;
  }
  ParentSet()->BorderMouseDown(*this, event->button(), mapTo(ParentSet(), event->position().toPoint()));
}

void TfvFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (Empty()) {
    TFrameViewer& owner = MasterSet()->Owner();
    const QPoint p = event->position().toPoint();
    if (owner.OnMouseUp) owner.OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
    return;
  }
  ParentSet()->BorderMouseUp(*this, event->button(), mapTo(ParentSet(), event->position().toPoint()));
}

}  // namespace tessival::viewer
