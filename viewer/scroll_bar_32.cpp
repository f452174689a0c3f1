#include "viewer/scroll_bar_32.h"

#include <QSignalBlocker>
#include <algorithm>

namespace tessival::viewer {

T32ScrollBar::T32ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

bool T32ScrollBar::SetParams(int position, int min, int max, int page) {
  if (position == position_ && min == min_ && max == max_ && page == page_) return false;
  position_ = position;
  min_ = min;
  max_ = max;
  page_ = page;
  // The viewer moves the document itself; the bar only shows where it is.
  const QSignalBlocker quiet(this);
  setRange(min, std::max(min, max - std::max(page, 1) + 1));
  setPageStep(std::max(page, 1));
  setValue(position);
  return true;
}

}  // namespace tessival::viewer
