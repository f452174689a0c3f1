#pragma once
// GlyphBlitCache: glyphs already blended, kept as opaque pixels to copy.
//
// Anti-aliased text costs most of a page's paint in the blending of each glyph's coverage
// onto the picture. Blending is a function of the pixels under the glyph, its coverage and
// the text colour alone, so the pixels Qt made of a glyph over some pixels can be copied
// wherever the same glyph in the same colour lands on the same pixels again. Two kinds are
// kept:
// - a glyph on one plain colour (the page's or a cell's background): drawn once by Qt on
//   that colour, and valid on any stretch of it;
// - a glyph over pixels that are not plain, in practice the fringe of its neighbour's ink
//   in a shared column ("u" then "e"): what Qt made of exactly those pixels, kept with
//   them and used only where they are found again.
// The caller lets Qt blend everything the cache does not hold, in order.
#include <QRawFont>
#include <QRect>
#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <unordered_map>
#include <vector>

namespace tessival::platform {

// The rows of a 32-bit picture, read and written directly.
struct PixelRows {
  uchar* bits = nullptr;
  qsizetype stride = 0;

  QRgb* Row(int y) const { return reinterpret_cast<QRgb*>(bits + y * stride); }
  // Whether every pixel of the box has the colour of its first, an opaque one.
  bool IsPlain(const QRect& box, QRgb& color) const;
  std::vector<QRgb> Read(const QRect& box) const;
  std::uint32_t Hash(const QRect& box) const;
  bool Holds(const QRect& box, std::span<const QRgb> pixels) const;
  // Writes `pixels`, rows of `from` (which contains `box`), into `box`.
  void Write(const QRect& box, std::span<const QRgb> pixels, const QRect& from) const;
};

// A glyph blended onto one plain colour: the pixels of `box` (relative to the pen
// position: x at the glyph's origin, y at the baseline), row by row. Outside the box the
// glyph leaves the background as it is.
struct BlendedGlyph {
  QRect box;
  std::vector<QRgb> pixels;
  // Set when Qt drew outside the glyph's box for this pair of colours; such a glyph is
  // always left to Qt.
  bool copyable = true;
};

class GlyphBlitCache {
 public:
  // Holds at most `capacity` blended glyphs of each kind; the oldest goes first.
  explicit GlyphBlitCache(std::size_t capacity) : capacity_(capacity) {}

  // The box a glyph of a face can touch (relative to the pen position), the same for every
  // colour; empty for a glyph that draws nothing (a space). `face` names the realised font
  // (one number per face, size and style).
  QRect InkBox(const QRawFont& font, int face, quint32 glyph);
  // The glyph in `ink` on `paper` (both opaque).
  const BlendedGlyph& Blended(const QRawFont& font, int face, quint32 glyph, QRgb ink, QRgb paper);

  // A glyph at `pen` over the pixels of `box` in `rows` that are not plain: the pixels Qt
  // made of exactly these before, if known.
  const std::vector<QRgb>* BlendedOver(int face, quint32 glyph, QRgb ink, const PixelRows& rows,
                                       const QRect& box, QPoint pen) const;
  // Remembers what Qt made of `before` (the box's pixels before it drew the glyph; `rows`
  // now hold what it made of them).
  void RememberBlendedOver(int face, quint32 glyph, QRgb ink, const PixelRows& rows, const QRect& box,
                           QPoint pen, std::vector<QRgb> before);

  std::size_t Size() const { return plain_.size(); }
  std::size_t SizeOver() const { return over_.size(); }

 private:
  struct Key {
    int face;
    quint32 glyph;
    QRgb ink;
    QRgb paper;  // or, for a glyph over pixels, a hash of them
    QRect box;   // empty for a glyph on a plain colour
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };
  struct Over {
    std::vector<QRgb> before;
    std::vector<QRgb> after;
  };
  static Key OverKey(int face, quint32 glyph, QRgb ink, std::uint32_t pixels_hash, const QRect& box,
                     QPoint pen);
  template <typename Value>
  struct Bounded {
    std::unordered_map<Key, Value, KeyHash> map;
    std::deque<Key> order;  // oldest first
    Value& Insert(const Key& key, Value value, std::size_t capacity);
    std::size_t size() const { return map.size(); }
  };

  BlendedGlyph Blend(const QRawFont& font, int face, quint32 glyph, QRgb ink, QRgb paper);

  std::size_t capacity_;
  Bounded<BlendedGlyph> plain_;
  Bounded<Over> over_;
  std::unordered_map<std::uint64_t, QRect> ink_boxes_;
};

}  // namespace tessival::platform
