#include "platform/qt/glyph_blit_cache.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>
#include <utility>

namespace tessival::platform {
namespace {

// A picture of one glyph drawn by Qt on a plain colour, with room around the glyph's
// outline for anti-aliasing and hinting to spill into.
struct GlyphPicture {
  QImage image;
  QPoint pen;  // the pen position inside the image
};

GlyphPicture DrawGlyph(const QRawFont& font, quint32 glyph, QRgb ink, QRgb paper) {
  const QRectF outline = font.boundingRect(glyph);
  const int margin = 2 + static_cast<int>(font.pixelSize()) / 4;
  const int left = static_cast<int>(std::floor(outline.left())) - margin;
  const int top = static_cast<int>(std::floor(std::min(outline.top(), -font.ascent()))) - margin;
  const int right = static_cast<int>(std::ceil(outline.right())) + margin;
  const int bottom = static_cast<int>(std::ceil(std::max(outline.bottom(), font.descent()))) + margin;
  GlyphPicture picture{QImage(right - left, bottom - top, QImage::Format_RGB32), QPoint(-left, -top)};
  picture.image.fill(paper);
  // The same painter state as the canvas draws text with, so the pixels are Qt's own.
  QPainter painter(&picture.image);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setPen(QColor::fromRgb(ink));
  QGlyphRun run;
  run.setRawFont(font);
  run.setGlyphIndexes({glyph});
  run.setPositions({QPointF(picture.pen)});
  painter.drawGlyphRun(QPointF(0, 0), run);
  return picture;
}

// The bounding box of the pixels that are not `paper`, relative to the pen position.
QRect ChangedBox(const GlyphPicture& picture, QRgb paper) {
  QRect box;
  const QImage& image = picture.image;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] != paper) box |= QRect(x, y, 1, 1);
    }
  }
  return box.translated(-picture.pen);
}

// The same hash of the pixels, row after row, whether they are read from a picture or from
// a copy of them.
constexpr std::uint32_t kPixelHashStart = 2166136261U;
constexpr std::uint32_t PixelHashStep(std::uint32_t hash, QRgb pixel) {
  return (hash ^ pixel) * 16777619U;
}

std::uint32_t HashPixels(std::span<const QRgb> pixels) {
  std::uint32_t hash = kPixelHashStart;
  for (const QRgb pixel : pixels) hash = PixelHashStep(hash, pixel);
  return hash;
}

}  // namespace

bool PixelRows::IsPlain(const QRect& box, QRgb& color) const {
  color = Row(box.top())[box.left()];
  if (qAlpha(color) != 0xFF) return false;
  // Two pixels at a time: the boxes are a handful of pixels wide, and this runs for every
  // glyph drawn.
  const std::uint64_t pair = (static_cast<std::uint64_t>(color) << 32) | color;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const QRgb* pixel = Row(y) + box.left();
    int left = box.width();
    std::uint64_t differing = 0;
    for (; left >= 2; left -= 2, pixel += 2) {
      std::uint64_t two = 0;
      std::memcpy(&two, pixel, sizeof two);
      differing |= two ^ pair;
    }
    if (left != 0) differing |= *pixel ^ color;
    if (differing != 0) return false;
  }
  return true;
}

std::vector<QRgb> PixelRows::Read(const QRect& box) const {
  std::vector<QRgb> pixels;
  pixels.reserve(static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height()));
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const QRgb* row = Row(y);
    pixels.insert(pixels.end(), row + box.left(), row + box.right() + 1);
  }
  return pixels;
}

std::uint32_t PixelRows::Hash(const QRect& box) const {
  std::uint32_t hash = kPixelHashStart;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const QRgb* row = Row(y);
    for (int x = box.left(); x <= box.right(); ++x) hash = PixelHashStep(hash, row[x]);
  }
  return hash;
}

bool PixelRows::Holds(const QRect& box, std::span<const QRgb> pixels) const {
  const auto width = static_cast<std::size_t>(box.width());
  if (pixels.size() != width * static_cast<std::size_t>(box.height())) return false;
  const QRgb* expected = pixels.data();
  for (int y = box.top(); y <= box.bottom(); ++y, expected += width) {
    if (std::memcmp(Row(y) + box.left(), expected, width * sizeof(QRgb)) != 0) return false;
  }
  return true;
}

void PixelRows::Write(const QRect& box, std::span<const QRgb> pixels, const QRect& from) const {
  const auto width = static_cast<std::size_t>(box.width());
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const QRgb* source = pixels.data() + static_cast<std::ptrdiff_t>(y - from.top()) * from.width() +
                         (box.left() - from.left());
    std::memcpy(Row(y) + box.left(), source, width * sizeof(QRgb));
  }
}

std::size_t GlyphBlitCache::KeyHash::operator()(const Key& key) const {
  std::uint64_t h = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.face)) << 32) ^ key.glyph;
  h = h * 0x9E3779B97F4A7C15ULL ^ key.ink;
  h = h * 0x9E3779B97F4A7C15ULL ^ key.paper;
  h = h * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint32_t>((key.box.x() << 16) ^ key.box.y());
  h = h * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint32_t>((key.box.width() << 16) ^ key.box.height());
  return static_cast<std::size_t>(h ^ (h >> 29));
}

template <typename Value>
Value& GlyphBlitCache::Bounded<Value>::Insert(const Key& key, Value value, std::size_t capacity) {
  if (map.size() >= capacity && !order.empty()) {
    map.erase(order.front());
    order.pop_front();
  }
  order.push_back(key);
  return map.insert_or_assign(key, std::move(value)).first->second;
}

QRect GlyphBlitCache::InkBox(const QRawFont& font, int face, quint32 glyph) {
  const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(face)) << 32) | glyph;
  if (auto it = ink_boxes_.find(key); it != ink_boxes_.end()) return it->second;
  // Black on white and white on black between them change every pixel with any coverage.
  constexpr QRgb black = 0xFF000000;
  constexpr QRgb white = 0xFFFFFFFF;
  const QRect box = ChangedBox(DrawGlyph(font, glyph, black, white), white) |
                    ChangedBox(DrawGlyph(font, glyph, white, black), black);
  ink_boxes_.emplace(key, box);
  return box;
}

BlendedGlyph GlyphBlitCache::Blend(const QRawFont& font, int face, quint32 glyph, QRgb ink, QRgb paper) {
  BlendedGlyph blended;
  blended.box = InkBox(font, face, glyph);
  const GlyphPicture picture = DrawGlyph(font, glyph, ink, paper);
  const QRect changed = ChangedBox(picture, paper);
  if (!blended.box.contains(changed) && !changed.isEmpty()) {
    blended.copyable = false;
    return blended;
  }
  const PixelRows rows{const_cast<uchar*>(picture.image.constBits()), picture.image.bytesPerLine()};
  blended.pixels = rows.Read(blended.box.translated(picture.pen));
  return blended;
}

const BlendedGlyph& GlyphBlitCache::Blended(const QRawFont& font, int face, quint32 glyph, QRgb ink,
                                            QRgb paper) {
  const Key key{face, glyph, ink, paper, QRect()};
  if (auto it = plain_.map.find(key); it != plain_.map.end()) return it->second;
  return plain_.Insert(key, Blend(font, face, glyph, ink, paper), capacity_);
}

GlyphBlitCache::Key GlyphBlitCache::OverKey(int face, quint32 glyph, QRgb ink, std::uint32_t pixels_hash,
                                            const QRect& box, QPoint pen) {
  return Key{face, glyph, ink, pixels_hash, box.translated(-pen)};
}

const std::vector<QRgb>* GlyphBlitCache::BlendedOver(int face, quint32 glyph, QRgb ink,
                                                     const PixelRows& rows, const QRect& box,
                                                     QPoint pen) const {
  const auto it = over_.map.find(OverKey(face, glyph, ink, rows.Hash(box), box, pen));
  // The hash only finds the entry; the pixels themselves must be the same.
  if (it == over_.map.end() || !rows.Holds(box, it->second.before)) return nullptr;
  return &it->second.after;
}

void GlyphBlitCache::RememberBlendedOver(int face, quint32 glyph, QRgb ink, const PixelRows& rows,
                                         const QRect& box, QPoint pen, std::vector<QRgb> before) {
  const Key key = OverKey(face, glyph, ink, HashPixels(before), box, pen);
  over_.Insert(key, Over{std::move(before), rows.Read(box)}, capacity_);
}

}  // namespace tessival::platform
