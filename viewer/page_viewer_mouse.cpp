// The viewer's mouse: hover, link clicks, selection, automatic scrolling.
#include <QCursor>
#include <QDebug>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "layout/form_buttons.h"
#include "platform/qt/qt_canvas.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"
#include "viewer/scroll_steps.h"
#include "viewer/word_at.h"

namespace tessival::viewer {

platform::Canvas& TPageViewer::HitCanvas() {
  if (!hit_canvas_) hit_canvas_ = platform::QtCanvas::ScreenContext();
  return *hit_canvas_;
}

void TPageViewer::ReportError(const std::exception& error) const {
  if (messages_) {
    messages_->ShowError(error.what());
  } else {
    qWarning("%s", error.what());
  }
}

void TPageViewer::SetPanelCursor(TViewerCursor cursor) {
  if (cursor == panel_cursor_) return;
  panel_cursor_ = cursor;
  panel_->setCursor(CursorOf(cursor));
}

int TPageViewer::IndexAt(QPoint point, bool& inside_text) {
  int line_height = 0;
  int line_top = 0;
  int char_x = 0;
  inside_text = false;
  return document_->PositionAtPoint(HitCanvas(), point.x(), point.y() + document_->YOffset, inside_text,
                                    line_height, line_top, char_x);
}

// An ACTIVE image under the mouse shows its pressed frame while the left button is held.
void TPageViewer::TellImageButton(bool down) {
  document_->SetActiveImageState(down);
  if (document_->ActiveImage) panel_->update();
}

void TPageViewer::EndMiddleScrolling() {
  middle_scrolling_ = false;
  SetPanelCursor(cursor_);
}

// --- mouse down -----------------------------------------------------------------------------

void TPageViewer::PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint point) {
  last_mouse_ = point;
  if (OnMouseDown) OnMouseDown(button, shift, point.x(), point.y());
  setFocus();
  link_clicked_ = false;
  if (middle_scrolling_) {
    EndMiddleScrolling();
    return;
  }
  if (button == Qt::MiddleButton) {
    middle_scrolling_ = true;
    middle_start_y_ = point.y();
    SetPanelCursor(crUpDownCursor);
    return;
  }
  if (button != Qt::LeftButton) return;
  left_down_ = true;
  selecting_ = true;
  TellImageButton(true);
  bool inside_text = false;
  selection_anchor_ = IndexAt(point, inside_text);
  if (selection_anchor_ >= 0) {
    if (document_->SelStart < document_->SelEnd) panel_->update();
    document_->SelStart = selection_anchor_;
    document_->SelEnd = selection_anchor_;
    selection_backwards_ = false;
    caret_index_ = selection_anchor_;
  }
}

// --- mouse move -----------------------------------------------------------------------------

void TPageViewer::PanelMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint point) {
  last_mouse_ = point;
  mouse_over_panel_ = panel_->rect().contains(point);
  if (OnMouseMove) OnMouseMove(shift, point.x(), point.y());
  if (middle_scrolling_) {
    if (!autoscrolling_ && std::abs(point.y() - middle_start_y_) > kMiddleScrollDeadZone)
      StartAutoScroll();
    return;
  }
  UpdateHover(shift, point);
  if (!(buttons & Qt::LeftButton)) return;
  if (!autoscrolling_ && (point.y() <= 0 || point.y() >= PanelHeight())) StartAutoScroll();
  if (!no_select_) ExtendSelection(point);
}

void TPageViewer::UpdateHover(Qt::KeyboardModifiers shift, QPoint point) {
  TViewerCursor cursor = crArrow;
  std::string url;
  std::string target;
  std::string title;
  layout::TFormControlObj* form_control = nullptr;
  std::unique_ptr<html::TUrlTarget> link;
  const int doc_y = point.y() + document_->YOffset;
  const int found = document_->FindLink(HitCanvas(), point.x(), title, form_control, link, doc_y);
  if ((found & layout::flLink) && link) {
    cursor = crLinkCursor;
    url = link->Url();
    target = link->Target();
  } else if (found & layout::flFormControl) {
    cursor = crLinkCursor;
  }
  int image_x = 0;
  int image_y = 0;
  layout::TImageObj* image = nullptr;
  if ((OnImageClick || OnImageOver) &&
      document_->FindImageAt(point.x(), doc_y, image_x, image_y, image)) {
    if (cursor != crLinkCursor) cursor = crArrow;
    if (OnImageOver) OnImageOver(image, shift, image_x, image_y);
  } else {
    bool inside_text = false;
    IndexAt(point, inside_text);
    if (inside_text && cursor != crLinkCursor) cursor = cursor_;
  }
  SetPanelCursor(cursor);
  if (cursor == crLinkCursor || document_->ActiveImage) {
    if (!hover_timer_.isActive()) hover_timer_.start();
  } else {
    hover_timer_.stop();
  }
  if (url != hover_url_ || target != hover_target_) {
    hover_url_ = url;
    hover_target_ = target;
    if (OnHotSpotCovered) OnHotSpotCovered(url);
  }
}

void TPageViewer::ExtendSelection(QPoint point) {
  if (!selecting_ || selection_anchor_ < 0) return;
  point.setY(std::clamp(point.y(), 0, PanelHeight()));
  bool inside_text = false;
  const int index = IndexAt(point, inside_text);
  if (index < 0) return;
  if (!no_select_) {
    selection_backwards_ = index < selection_anchor_;
    document_->SelStart = std::min(selection_anchor_, index);
    document_->SelEnd = std::max(selection_anchor_, index);
    panel_->update();
  }
  caret_index_ = index;
}

// --- automatic scrolling ----------------------------------------------------------------------

void TPageViewer::StartAutoScroll() {
  autoscrolling_ = true;
  last_autoscroll_tick_ = 0;
  // The loop runs from the event queue, after the move that started it has been handled;
  // between steps it waits for the timer instead of spinning.
  QTimer::singleShot(0, this, [this] {
    if (AutoScrollPass()) autoscroll_timer_.start();
  });
}

bool TPageViewer::AutoScrollPass() {
  const QPoint point = cursor_point_();
  const bool dragging = autoscrolling_ && left_down_ && (point.y() <= 0 || point.y() > PanelHeight());
  const int distance = point.y() - middle_start_y_;
  const bool middle = middle_scrolling_ && std::abs(distance) > kMiddleScrollDeadZone;
  if (!dragging && !middle) {
    autoscrolling_ = false;
    if (middle_scrolling_) SetPanelCursor(crUpDownCursor);
    return false;
  }
  const std::int64_t now = ticks_();
  if (last_autoscroll_tick_ != 0 && now - last_autoscroll_tick_ < kAutoScrollIntervalMs) return true;
  last_autoscroll_tick_ = now;
  const int position = v_bar_->Position();
  int target = position;
  if (dragging) {
    target = DragScrollTarget(position, point.y(), PanelHeight(), kVerticalSmallChange);
  } else {
    target = MiddleScrollTarget(position, distance);
    SetPanelCursor(target < position ? crUpOnlyCursor : crDownOnlyCursor);
  }
  SetDocumentY(ClampScrollY(target, doc_height_, PanelHeight()));
  ExtendSelection(point);
  panel_->update();
  return true;
}

// --- mouse up and double click ---------------------------------------------------------------

void TPageViewer::PanelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint point) {
  last_mouse_ = point;
  if (middle_scrolling_) {
    // A middle click that did not move keeps the mode until the next click or key.
    if (button != Qt::MiddleButton || point.y() != middle_start_y_) EndMiddleScrolling();
    return;
  }
  if (OnMouseUp) OnMouseUp(button, shift, point.x(), point.y());
  const int doc_y = point.y() + document_->YOffset;
  int image_x = 0;
  int image_y = 0;
  layout::TImageObj* image = nullptr;
  const bool over_image = (OnImageClick || OnRightClick) &&
                          document_->FindImageAt(point.x(), doc_y, image_x, image_y, image);
  if (over_image && OnImageClick) OnImageClick(image, button, shift, image_x, image_y);
  if (button == Qt::RightButton && OnRightClick) {
    TRightClickParameters parameters;
    if (over_image) {
      parameters.Image = image;
      parameters.ImageX = image_x;
      parameters.ImageY = image_y;
    }
    std::string title;
    layout::TFormControlObj* form_control = nullptr;
    std::unique_ptr<html::TUrlTarget> link;
    if ((document_->FindLink(HitCanvas(), point.x(), title, form_control, link, doc_y) &
         layout::flLink) &&
        link) {
      parameters.URL = link->Url();
      parameters.Target = link->Target();
    }
    parameters.ClickWord = WordUnder(point);
    // The handler may open a menu; the hover check must not clear things under it.
    hover_timer_.stop();
    struct TimerBack {
      QTimer& timer;
      ~TimerBack() { timer.start(); }
    } timer_back{hover_timer_};
    OnRightClick(parameters);
  }
  if (button != Qt::LeftButton) return;
  autoscrolling_ = false;
  ExtendSelection(point);
  selecting_ = false;
  TellImageButton(false);
  if (!left_down_) return;
  left_down_ = false;
  if (document_->SelStart < document_->SelEnd) return;
  std::string title;
  layout::TFormControlObj* form_control = nullptr;
  std::unique_ptr<html::TUrlTarget> link;
  const int found = document_->FindLink(HitCanvas(), point.x(), title, form_control, link, doc_y);
  if (auto* image_input = dynamic_cast<layout::TImageFormControlObj*>(form_control);
      (found & layout::flFormControl) && image_input) {
    image_input->ImageClicked();  // submits its form with the point
    return;
  }
  if ((found & layout::flLink) && link) {
    hover_url_ = link->Url();
    hover_target_ = link->Target();
    link_clicked_ = true;
    try {
      LinkClicked();
    } catch (const std::exception& error) {
      ReportError(error);
    }
  }
}

std::string TPageViewer::WordUnder(QPoint point) {
  bool inside_text = false;
  const int index = IndexAt(point, inside_text);
  caret_index_ = std::max(index, 0);
  if (!inside_text) return {};
  const auto span = WordAt(*document_, caret_index_);
  if (!span) return {};
  std::string word;
  for (int i = span->Start; i < span->End; ++i) {
    char ch = 0;
    const layout::TSectionBase* section = nullptr;
    if (document_->CharAt(i, ch, section)) word.push_back(ch);
  }
  return word;
}

void TPageViewer::PanelDoubleClick(Qt::KeyboardModifiers shift, QPoint point) {
  last_mouse_ = point;
  TellImageButton(true);
  if (busy_ || link_clicked_) return;
  if (!no_select_) {
    bool inside_text = false;
    const int index = IndexAt(point, inside_text);
    if (inside_text && index >= 0) {
      if (const auto span = WordAt(*document_, index)) {
        document_->SelStart = span->Start;
        document_->SelEnd = span->End;
        selection_backwards_ = false;
        caret_index_ = span->Start;
        panel_->update();
      }
    }
  }
  if (OnMouseDouble) OnMouseDouble(Qt::LeftButton, shift, point.x(), point.y());
}

// --- hover timer --------------------------------------------------------------------------------

void TPageViewer::HoverTimerTick() {
  if (mouse_over_panel_) return;
  document_->ClearHover();
  hover_timer_.stop();
  if (hover_url_.empty()) return;
  hover_url_.clear();
  hover_target_.clear();
  if (OnHotSpotCovered) OnHotSpotCovered("");
}

// --- selection ----------------------------------------------------------------------------------

int TPageViewer::SelLength() const {
  const int start = document_->SelStart;
  const int end = document_->SelEnd;
  // Told apart by the way it was dragged rather than by where the caret stands: a
  // forward drag leaves the caret at the end, and a word's selection puts it at the start.
  return selection_backwards_ ? start - end : end - start;
}

std::string TPageViewer::SelText() {
  const int length = document_->GetSelLength();
  if (length <= 0) return {};
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int written = document_->GetSelTextBuf(buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(std::clamp(written - 1, 0, length)));
  return buffer;
}

void TPageViewer::CopyToClipboard() { document_->CopyToClipboard(); }

void TPageViewer::SelectAll() {
  if (no_select_) return;
  document_->SelStart = 0;
  document_->SelEnd = document_->DocumentLength();
  selection_backwards_ = false;
  panel_->update();
}

}  // namespace tessival::viewer
