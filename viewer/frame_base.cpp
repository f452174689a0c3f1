#include "viewer/frame_base.h"

namespace tessival::viewer {

TFrameBase::TFrameBase(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent)
    : QFrame(parent), master_(master), parent_set_(parent_set) {}

void TFrameBase::SetBevel(int width) {
  if (width <= 0) {
    setFrameStyle(QFrame::NoFrame);
    return;
  }
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(width);
}

}  // namespace tessival::viewer
