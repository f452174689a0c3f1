#pragma once
// T32ScrollBar: a scroll bar whose position, minimum, maximum and page are set together,
// and only when one of them changes, so a relayout that keeps them causes no redraw.
// Maximum and page count as on the desktop: the top can go to Max - Page + 1.
#include <QScrollBar>

namespace tessival::viewer {

class T32ScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  explicit T32ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  // Sets all four at once; false when nothing changed and the bar was left alone.
  bool SetParams(int position, int min, int max, int page);
  void SetPosition(int position) { SetParams(position, min_, max_, page_); }
  void SetMax(int max) { SetParams(position_, min_, max, page_); }
  int Position() const { return position_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Page() const { return page_; }

 private:
  int position_ = 0;
  int min_ = 0;
  int max_ = 0;
  int page_ = 0;
};

}  // namespace tessival::viewer
