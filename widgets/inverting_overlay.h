#pragma once
// A transparent layer over a widget and its children that inverts the pixels under some
// rectangles. Inverting twice restores the pixels, so toggling the same rectangle a second
// time erases it: the drag feedback of the splitter draws and erases this way.
#include <QRect>
#include <QWidget>
#include <vector>

namespace tessival::widgets {

enum class InvertPattern {
  kCheckered,  // every other pixel, in an 8 x 8 pattern of alternating pixels
  kSolid,      // every pixel
};

class InvertingOverlay : public QWidget {
  Q_OBJECT
 public:
  explicit InvertingOverlay(QWidget* parent);

  // Inverts the rectangle (in the parent's coordinates) once more.
  void Toggle(const QRect& rect, InvertPattern pattern);
  bool IsEmpty() const { return inversions_.empty(); }

  // The 8 x 8 pattern: rows of 0x55 and 0xAA alternating, a set bit inverts the pixel.
  static bool CheckeredBit(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Inversion {
    QRect rect;
    InvertPattern pattern;
  };
  std::vector<Inversion> inversions_;
};

}  // namespace tessival::widgets
