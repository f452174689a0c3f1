#include "widgets/pane.h"

#include "widgets/splitter_layout.h"
#include "widgets/splitter_wnd.h"

namespace tessival::widgets {

TPane::TPane(QWidget* parent) : QScrollArea(parent) {
  // The pane's one control fills it, as a client-aligned child does.
  setWidgetResizable(true);
}

TPane::~TPane() {
  if (splitter_ != nullptr) splitter_->RemovePane(*this);
}

void TPane::SetSplitterWnd(TSplitterWnd* splitter) {
  if (splitter == splitter_) return;
  if (splitter_ != nullptr) {
    splitter_->RemovePane(*this);
    setParent(nullptr);
  }
  if (splitter != nullptr) splitter->AddPane(*this);
}

void TPane::SetPaneIndex(int index) {
  if (splitter_ != nullptr) {
    splitter_->MovePane(*this, index);
  } else {
    pane_index_ = index;
  }
}

void TPane::SetPaneSize(int size) {
  size = ClampPaneSize(size);
  if (splitter_ != nullptr) {
    splitter_->ResizePane(*this, size);
  } else {
    pane_size_ = size;
  }
}

void TPane::SetMinPaneSize(int size) { min_pane_size_ = ClampPaneSize(size); }

void TPane::SetEraseBkgnd(bool erase) {
  erase_bkgnd_ = erase;
  viewport()->setAutoFillBackground(erase);
  viewport()->setAttribute(Qt::WA_NoSystemBackground, !erase);
  viewport()->update();
}

}  // namespace tessival::widgets
