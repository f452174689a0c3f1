// The viewer's layout, scroll bars, keyboard scrolling and painting.
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>

#include "html/ascii_text.h"
#include "html/text_util.h"
#include "platform/qt/qt_canvas.h"
#include "viewer/background_tiles.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"
#include "viewer/scroll_steps.h"

namespace tessival::viewer {

// --- layout -------------------------------------------------------------------------------

int TPageViewer::AvailableWidth() const {
  int width = this->width() - (border_style_ == htNone ? 1 : 3);
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) width -= scroll_bar_width_;
  return std::max(width, 1);
}

void TPageViewer::DoLayout() {
  laying_out_ = true;
  laid_out_size_ = QSize();
  try {
    const std::unique_ptr<platform::Canvas> canvas = platform::QtCanvas::ScreenContext();
    int pos = 0;
    int width = 0;
    doc_height_ = document_->Layout(*canvas, 0, pos, width, height(), AvailableWidth());
    doc_width_ = width;
  } catch (...) {
    laying_out_ = false;
    throw;
  }
  laying_out_ = false;
  laid_out_size_ = size();
  ComputeScrollBars();
  UpdateAnimationTimer();
}

void TPageViewer::ComputeScrollBars() {
  doc_width_ = std::min(doc_width_, kMaxDocWidth);
  const int border = border_style_ == htNone ? 0 : 1;
  const int bar = scroll_bar_width_;
  const bool horizontal_allowed = scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth;
  const bool vertical_allowed = scroll_bars_ == ssVertical || scroll_bars_ == ssBoth;
  const bool show_v_always = (options_ & htShowVScroll) != 0 && vertical_allowed;
  bool v_needed = false;
  bool v_shown = false;
  bool h_needed = false;
  if (!vertical_allowed) {
    h_needed = horizontal_allowed && width() < doc_width_;
  } else {
    v_needed = doc_height_ >= height() - 2 ||
               (horizontal_allowed && doc_height_ >= height() - bar - 2 && width() - bar < doc_width_);
    v_shown = v_needed || show_v_always;
    h_needed = horizontal_allowed && (width() < doc_width_ || (v_shown && width() - bar < doc_width_));
  }
  const int w = v_shown ? width() - bar : width();
  const int panel_width = std::max(w - 2 * border, 0);
  const int panel_height = std::max(height() - 2 * border - (h_needed ? bar : 0), 0);
  border_panel_->setGeometry(0, 0, width(), height());
  border_panel_->setVisible(border != 0);
  panel_->setGeometry(border, border, panel_width, panel_height);

  h_bar_->setVisible(h_needed);
  h_bar_->setPageStep(std::max(1, w - 20));
  h_bar_->setGeometry(border, height() - border - bar, panel_width, bar);
  h_bar_->SetParams(h_position_, 0, std::max(0, std::max(doc_width_, w - 2 * border)), panel_width);

  v_bar_->setGeometry(width() - border - bar, border, bar, panel_height);
  v_bar_->setPageStep(std::max(1, LargeChange()));
  v_bar_->setVisible(v_shown);
  v_bar_->setEnabled(!show_v_always || v_needed);
  v_bar_->SetParams(v_bar_->Position(), 0, doc_height_, panel_height + 1);
}

void TPageViewer::RelayoutKeepingPosition() {
  const int position = DocumentPosition();
  document_->ProgressBase = 0;
  if (OnProgress) OnProgress(0, 0);
  DoLayout();
  SetDocumentPosition(position);
  if (OnProgress) OnProgress(2, 100);
}

void TPageViewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (busy_) {
    ComputeScrollBars();
    return;
  }
  if (!document_->Empty() && size() != laid_out_size_) {
    SetBusy(true);
    try {
      RelayoutKeepingPosition();
    } catch (...) {
      SetBusy(false);
      throw;
    }
    SetBusy(false);
  } else {
    ComputeScrollBars();
  }
  if (doc_height_ < PanelHeight()) {
    ScrollToY(0);
  } else {
    ScrollToY(v_bar_->Position());
  }
  SetHScrollBarPosition(std::min(h_position_, HorizontalLimit()));
}

// --- positions ------------------------------------------------------------------------------

int TPageViewer::PanelHeight() const { return panel_->height(); }
int TPageViewer::PanelWidth() const { return panel_->width(); }
int TPageViewer::LargeChange() const { return PanelHeight() - kVerticalSmallChange; }
int TPageViewer::HorizontalLimit() const { return std::max(0, h_bar_->Max() - PanelWidth()); }

void TPageViewer::SetDocumentY(int y) {
  v_bar_->SetPosition(y);
  document_->SetYOffset(y);
}

void TPageViewer::ScrollToY(int y) {
  SetDocumentY(ClampScrollY(y, doc_height_, PanelHeight()));
  panel_->update();
}

int TPageViewer::VScrollBarPosition() const { return v_bar_->Position(); }

void TPageViewer::SetVScrollBarPosition(int y) {
  const int clamped = ClampScrollY(y, doc_height_, PanelHeight());
  if (clamped != v_bar_->Position()) ScrollToY(clamped);
}

void TPageViewer::SetHScrollBarPosition(int x) {
  h_position_ = std::clamp(x, 0, HorizontalLimit());
  h_bar_->SetPosition(h_position_);
  panel_->update();
}

int TPageViewer::DocumentPosition() const {
  const int top = v_bar_->Position();
  int section_y = 0;
  int index = 0;
  if (document_->FindSectionAtY(top, section_y, index)) {
    return ((index + 1) << 16) | ((top - section_y) & 0xFFFF);
  }
  return top;
}

void TPageViewer::SetDocumentPosition(int encoded) {
  const int section = (encoded >> 16) & 0xFFFF;
  const int offset = encoded & 0xFFFF;
  const auto& sections = document_->PositionList;
  if (section != 0 && section - 1 < static_cast<int>(sections.size())) {
    ScrollToY(sections[static_cast<std::size_t>(section - 1)]->AnchorY() + offset);
  } else {
    ScrollToY(offset);
  }
}

bool TPageViewer::JumpToAnchor(std::string_view name) {
  if (!name.empty() && name.front() == '#') name.remove_prefix(1);
  if (name.empty()) return false;
  const std::string upper = html::ascii::ToUpper(std::string(name));
  const html::TIDObject* found = document_->IDNameList.Find(upper);
  if (!found) return false;
  ScrollToY(found->YPosition());
  SetHScrollBarPosition(0);
  AddVisited(document_file_ + "#" + std::string(name));
  return true;
}

// --- scrolling ------------------------------------------------------------------------------

void TPageViewer::VerticalBarMoved(int value) {
  setFocus();
  const int old = document_->YOffset;
  const int target = ClampScrollY(value, doc_height_, PanelHeight());
  SetDocumentY(target);
  panel_->scroll(0, old - target);
}

void TPageViewer::HorizontalBarMoved(int value) {
  setFocus();
  h_position_ = std::clamp(value, 0, HorizontalLimit());
  h_bar_->SetPosition(h_position_);
  panel_->update();
}

// A move of exactly one line copies the pixels that stay and paints the strip that comes
// in; anything else repaints the panel.
void TPageViewer::ScrollVertically(int target, bool pixel_copy_when_line) {
  const int old = v_bar_->Position();
  const int clamped = ClampScrollY(target, doc_height_, PanelHeight());
  SetDocumentY(clamped);
  if (pixel_copy_when_line && std::abs(clamped - old) == kVerticalSmallChange) {
    panel_->scroll(0, old - clamped);
  } else if (clamped != old) {
    panel_->update();
  }
}

void TPageViewer::keyPressEvent(QKeyEvent* event) {
  if (middle_scrolling_) {
    EndMiddleScrolling();
    return;
  }
  const int position = v_bar_->Position();
  switch (event->key()) {
    case Qt::Key_PageUp: ScrollVertically(position - LargeChange(), true); break;
    case Qt::Key_PageDown: ScrollVertically(position + LargeChange(), true); break;
    case Qt::Key_End: ScrollVertically(doc_height_, true); break;
    case Qt::Key_Home: ScrollVertically(0, true); break;
    case Qt::Key_Up: ScrollVertically(position - kVerticalSmallChange, true); break;
    case Qt::Key_Down: ScrollVertically(position + kVerticalSmallChange, true); break;
    case Qt::Key_Left: SetHScrollBarPosition(h_position_ - kHorizontalSmallChange); break;
    case Qt::Key_Right: SetHScrollBarPosition(h_position_ + kHorizontalSmallChange); break;
    default:
      if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        break;
      }
      if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        break;
      }
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

// The wheel moves the page by the desktop's lines per notch (Shift turns it sideways); a
// touchpad or high-resolution wheel that reports pixels moves it by those.
void TPageViewer::wheelEvent(QWheelEvent* event) {
  QPoint angle = event->angleDelta();
  QPoint pixels = event->pixelDelta();
  if (event->modifiers() & Qt::ShiftModifier) {
    angle = angle.transposed();
    pixels = pixels.transposed();
  }
  const int lines = QApplication::wheelScrollLines();
  int down = -pixels.y();
  int right = -pixels.x();
  if (pixels.isNull()) {
    const WheelStep vertical = WheelScrollStep(angle.y(), wheel_carry_y_, lines, kVerticalSmallChange);
    const WheelStep horizontal = WheelScrollStep(angle.x(), wheel_carry_x_, lines,
                                                 kHorizontalSmallChange);
    wheel_carry_y_ = vertical.carry;
    wheel_carry_x_ = horizontal.carry;
    down = vertical.pixels;
    right = horizontal.pixels;
  }
  if (down != 0) ScrollVertically(v_bar_->Position() + down, false);
  if (right != 0) SetHScrollBarPosition(h_position_ + right);
  event->accept();
}

// --- focus and border -----------------------------------------------------------------------

void TPageViewer::UpdateBorder() {
  const bool single = (hasFocus() && border_style_ == htFocused) || border_style_ == htSingle;
  const QFrame::Shape shape = single ? QFrame::Box : QFrame::NoFrame;
  if (border_panel_->frameShape() != shape) {
    border_panel_->setFrameStyle(shape | QFrame::Plain);
    border_panel_->setLineWidth(1);
  }
}

void TPageViewer::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  UpdateBorder();
}

void TPageViewer::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  UpdateBorder();
}

// --- painting -------------------------------------------------------------------------------

// A picture of `size` in the panel's paint memory, which grows to the largest size asked for.
QImage TPageViewer::PaintBuffer(QSize size) {
  if (size.isEmpty()) return {};
  if (paint_memory_.width() < size.width() || paint_memory_.height() < size.height()) {
    paint_memory_ = QImage(size.expandedTo(paint_memory_.size()), QImage::Format_RGB32);
    if (paint_memory_.isNull()) return {};
  }
  return QImage(paint_memory_.bits(), size.width(), size.height(), paint_memory_.bytesPerLine(),
                QImage::Format_RGB32);
}

void TPageViewer::DrawPanel(QPainter& painter, const QRect& clip) {
  if (laying_out_) return;
  UpdateBorder();
  // Painted into a memory picture of the clip first, so the panel never shows a half-drawn
  // page; the picture has the screen's pixels, so text and lines are drawn sharp on a
  // scaled screen rather than drawn at one pixel and blown up.
  const qreal ratio = devicePixelRatio();
  QImage buffer = PaintBuffer(QSize(qCeil(clip.width() * ratio), qCeil(clip.height() * ratio)));
  if (buffer.isNull()) {
    if (clip.width() + clip.height() != 0) throw EOutOfResources("Out of Resources");
    return;
  }
  buffer.setDevicePixelRatio(ratio);
  {
    platform::QtCanvas canvas(buffer);
    canvas.SetWindowOrgEx(clip.left(), clip.top());
    DrawBackground(canvas, clip);
    const platform::Rect area{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1};
    document_->Paint(canvas, area, -h_position_, kMaxDocWidth);
  }
  painter.drawImage(clip.topLeft(), buffer);
}

}  // namespace tessival::viewer
