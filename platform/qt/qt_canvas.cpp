#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QScreen>
#include <QRawFont>
#include <array>
#include <map>
#include <tuple>

#include "platform/code_page_1252.h"
#include "platform/display_depth.h"
#include "platform/qt/glyph_blit_cache.h"
#include "platform/qt/qt_bitmap.h"

namespace tessival::platform {
namespace {

// Engine text is Windows-1252; every byte maps to one UTF-16 unit.
char16_t Cp1252ToUtf16(unsigned char byte) { return static_cast<char16_t>(Cp1252ToUnicode(byte)); }

// The glyph index of each byte of the code page, looked up when the byte is first drawn:
// a page draws the same few dozen characters thousands of times.
class GlyphIndexTable {
 public:
  static constexpr std::int64_t Unknown = -1;
  static constexpr std::int64_t NoGlyph = -2;  // not one glyph: drawn as text instead

  std::int64_t At(const QRawFont& raw, unsigned char byte) {
    std::int64_t& index = indexes_[byte];
    if (index == Unknown) {
      const QList<quint32> found = raw.glyphIndexesForString(QString(QChar(Cp1252ToUtf16(byte))));
      index = found.size() == 1 ? static_cast<std::int64_t>(found.front()) : NoGlyph;
    }
    return index;
  }

 private:
  std::array<std::int64_t, 256> indexes_ = MakeUnknown();
  static std::array<std::int64_t, 256> MakeUnknown() {
    std::array<std::int64_t, 256> all{};
    all.fill(Unknown);
    return all;
  }
};

struct QtRealisedFont : RealisedFont {
  QFont qfont;
  QRawFont raw;
  int face = 0;  // one number per face, size and style: the realisation's identity
  // Shared by every colour of the face, filled as bytes are drawn.
  std::shared_ptr<GlyphIndexTable> glyphs = std::make_shared<GlyphIndexTable>();
};

// Glyphs drawn once by Qt and copied from then on. The realised fonts are a process
// resource; so are their blended glyphs. Bounded at a few megabytes.
GlyphBlitCache& BlendedGlyphs() {
  constexpr std::size_t capacity = 4096;
  thread_local GlyphBlitCache cache(capacity);
  return cache;
}

QColor ToQColor(TColor c) {
  return QColor(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                static_cast<int>(GetBValue(c)));
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

QPainter::CompositionMode ModeFor(RasterOp op) {
  switch (op) {
    case RasterOp::SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case RasterOp::SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case RasterOp::SRCINVERT:
    case RasterOp::PATINVERT: return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case RasterOp::NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case RasterOp::DSTINVERT: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_Source;
  }
}

QImage PatternImage(const TBrush& brush) {
  QImage tile(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) tile.setPixel(x, y, ToQColor(brush.ColorAt(x, y, {0, 0})).rgb());
  }
  return tile;
}

QString FamilyFor(const std::string& name) {
  // The one face fontconfig does not alias to a metric-compatible font.
  if (name == "MS Sans Serif") return QStringLiteral("Arial");
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

namespace {

// The bitmap is a base so that it exists before the canvas that draws into it.
struct OwnedPixel {
  TBitmap pixel{1, 1, PixelFormat::pf32bit};
};

class QtScreenContext : private OwnedPixel, public QtCanvas {
 public:
  QtScreenContext() : QtCanvas(pixel) {}

 protected:
  int DeviceBitsPerPixel() const override {
    return DisplayDepth::Class() == 24 ? 32 : DisplayDepth::Class();
  }
};

}  // namespace

std::unique_ptr<Canvas> QtCanvas::ScreenContext() { return std::make_unique<QtScreenContext>(); }

void QtCanvas::RecordScreenDepth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  DisplayDepth::RecordScreenBits(screen ? screen->depth() : 32);
}

QFont QtCanvas::QFontFor(const LogFont& font) {
  QFont q(FamilyFor(font.name));
  q.setPixelSize(font.PixelHeight());
  q.setBold(font.Bold());
  q.setItalic(font.Italic());
  q.setKerning(false);
  q.setHintingPreference(QFont::PreferFullHinting);
  return q;
}

std::shared_ptr<const RealisedFont> QtCanvas::Realise(const LogFont& font) const {
  // Fonts are a process resource, as on any desktop: realised once, shared by canvases.
  using Key = std::tuple<std::string, int, TFontStyles, std::uint8_t>;
  // Held for the whole run and never destroyed, so no font outlives the application
  // object in a destructor at exit.
  static auto* cache = new std::map<Key, std::shared_ptr<const QtRealisedFont>>;
  const Key key{font.name, font.PixelHeight(),
                static_cast<TFontStyles>(font.style & (fsBold | fsItalic)), font.charset};
  std::shared_ptr<const QtRealisedFont> base;
  if (auto it = cache->find(key); it != cache->end()) {
    base = it->second;
  } else {
    auto made = std::make_shared<QtRealisedFont>();
    made->face = static_cast<int>(cache->size());
    made->qfont = QFontFor(font);
    made->raw = QRawFont::fromFont(made->qfont);
    const QFontMetrics fm(made->qfont);
    TextMetrics& m = made->metrics;
    m.tmAscent = fm.ascent();
    m.tmDescent = fm.descent();
    m.tmHeight = m.tmAscent + m.tmDescent;
    m.tmInternalLeading = std::max(0, m.tmHeight - font.PixelHeight());
    m.tmExternalLeading = std::max(0, fm.leading());
    m.tmAveCharWidth = fm.averageCharWidth();
    m.tmMaxCharWidth = fm.maxWidth();
    m.tmCharSet = font.charset;
    made->advance = AdvanceTable(
        [fm](unsigned char byte) { return fm.horizontalAdvance(QChar(Cp1252ToUtf16(byte))); });
    base = made;
    cache->emplace(key, made);
  }
  if (base->font == font) return base;
  // Same realisation, another colour or underline: share everything but the description.
  auto copy = std::make_shared<QtRealisedFont>(*base);
  copy->font = font;
  return copy;
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(&painter), borrowed_painter_(true) {
  painter.save();  // the caller gets its painter back as it gave it
  const QPaintDevice* device = painter.device();
  bounds_ = {0, 0, device ? device->width() : 0, device ? device->height() : 0};
  device_bits_ = DisplayDepth::Class() == 24 ? 32 : DisplayDepth::Class();
  InitialiseFont();
}

QtCanvas::QtCanvas(QImage& image) {
  Begin(image);
  InitialiseFont();
}

QtCanvas::QtCanvas(TBitmap& target) : bitmap_(&target) {
  device_bits_ = target.BitsPerPixel();
  image_ = target.Format() == PixelFormat::pf32bit ? WrapBitmap(target) : ToQImage(target);
  if (!image_.isNull()) Begin(image_);
  InitialiseFont();
}

void QtCanvas::Begin(QImage& image) {
  own_painter_.emplace(&image);
  painter_ = &*own_painter_;
  // A picture made for a high-density screen is drawn on in the page's own units.
  const QSizeF logical = image.deviceIndependentSize();
  bounds_ = {0, 0, static_cast<int>(logical.width()), static_cast<int>(logical.height())};
  // Taken once the painter holds the image, so reading the pixels makes no copy of them.
  if (image.format() == QImage::Format_RGB32 && painter_->isActive()) {
    target_bits_ = image.bits();
    target_stride_ = image.bytesPerLine();
  }
}

QtCanvas::~QtCanvas() {
  Flush();
  if (borrowed_painter_) painter_->restore();
}

void QtCanvas::Flush() {
  if (!bitmap_ || bitmap_->Format() == PixelFormat::pf32bit || image_.isNull()) return;
  for (int y = 0; y < image_.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    for (int x = 0; x < image_.width(); ++x) {
      bitmap_->SetPixel(x, y, RGB(qRed(row[x]), qGreen(row[x]), qBlue(row[x])));
    }
  }
}

std::unique_ptr<Canvas> QtCanvas::CreateCompatibleCanvas(TBitmap& target) const {
  return std::make_unique<QtCanvas>(target);
}

void QtCanvas::DeviceFill(const Rect& rect, TColor color) {
  if (!painter_) return;
  painter_->setCompositionMode(QPainter::CompositionMode_Source);
  painter_->fillRect(ToQRect(rect), ToQColor(color));
}

void QtCanvas::DevicePatBlt(const Rect& rect, RasterOp op, const TBrush& brush, Point origin) {
  if (!painter_) return;
  switch (op) {
    case RasterOp::BLACKNESS: DeviceFill(rect, 0); return;
    case RasterOp::WHITENESS: DeviceFill(rect, RGB(0xFF, 0xFF, 0xFF)); return;
    default: break;
  }
  painter_->setCompositionMode(ModeFor(op));
  if (brush.style == TBrush::Style::Pattern && op != RasterOp::DSTINVERT) {
    const QPoint saved = painter_->brushOrigin();
    painter_->setBrushOrigin(origin.x, origin.y);
    painter_->fillRect(ToQRect(rect), QBrush(PatternImage(brush)));
    painter_->setBrushOrigin(saved);
  } else {
    painter_->fillRect(ToQRect(rect), ToQColor(brush.color));
  }
}

void QtCanvas::DeviceBlit(Point to, const TBitmap& source, const Rect& from, RasterOp op) {
  if (!painter_) return;
  painter_->setCompositionMode(ModeFor(op));
  if (source.Format() == PixelFormat::pf32bit) {
    // Shares the pixels; the alpha byte of a 32-bit bitmap is unused, so draw it opaque.
    const QImage shared(source.Bits(), source.Width(), source.Height(), source.RowBytes(),
                        QImage::Format_RGB32);
    painter_->drawImage(QPoint(to.x, to.y), shared, ToQRect(from));
    return;
  }
  painter_->drawImage(QPoint(to.x, to.y), ToQImage(source), ToQRect(from));
}

namespace {

// The painter set up for drawing text on first use, and given back as it was.
class TextPainter {
 public:
  TextPainter(QPainter& painter, TColor color, const Rect* clip)
      : painter_(painter), color_(color), clip_(clip) {}
  TextPainter(const TextPainter&) = delete;
  TextPainter& operator=(const TextPainter&) = delete;
  ~TextPainter() {
    if (ready_) painter_.restore();
  }

  QPainter& Get() {
    if (!ready_) {
      painter_.save();
      painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
      painter_.setPen(ToQColor(color_));
      if (clip_) painter_.setClipRect(ToQRect(*clip_));
      ready_ = true;
    }
    return painter_;
  }

 private:
  QPainter& painter_;
  TColor color_;
  const Rect* clip_;
  bool ready_ = false;
};

// Each glyph at the position the measurement gave it, so text and extents agree.
void DrawGlyphsWithQt(QPainter& painter, const QRawFont& raw, std::span<const quint32> glyphs,
                      std::span<const int> xs, int baseline) {
  QList<QPointF> positions;
  positions.reserve(static_cast<qsizetype>(glyphs.size()));
  for (const int x : xs) positions.append(QPointF(x, baseline));
  QGlyphRun glyph_run;
  glyph_run.setRawFont(raw);
  glyph_run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
  glyph_run.setPositions(positions);
  painter.drawGlyphRun(QPointF(0, 0), glyph_run);
}

// Characters without a glyph of their own in the face: Qt finds one by its font fallback.
void DrawCharacters(QPainter& painter, const QFont& font, std::string_view text, const int* xs,
                    int baseline) {
  painter.setFont(font);
  for (std::size_t i = 0; i < text.size(); ++i) {
    painter.drawText(QPoint(xs[i], baseline),
                     QString(QChar(Cp1252ToUtf16(static_cast<unsigned char>(text[i])))));
  }
}

}  // namespace

bool QtCanvas::CanWritePixels() const {
  // Only a painter of our own has a state known to be plain: no transform, clip or opacity
  // that pixels written directly would ignore, and one pixel for each of the page's (a
  // high-density picture is scaled by the painter, not by its world transform).
  return target_bits_ != nullptr && !borrowed_painter_ && !painter_->hasClipping() &&
         painter_->opacity() == 1.0 && painter_->worldTransform().isIdentity() &&
         painter_->device()->devicePixelRatio() == 1.0;
}

namespace {

// The glyph index of every byte of the run, or false when one has no glyph of its own.
bool GlyphIndexes(const QtRealisedFont& font, std::string_view text, std::vector<quint32>& glyphs) {
  glyphs.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::int64_t index = font.glyphs->At(font.raw, static_cast<unsigned char>(text[i]));
    if (index < 0) return false;
    glyphs[i] = static_cast<quint32>(index);
  }
  return true;
}

// Copies what Qt made of the glyph over the pixels of `box` before, when the cache holds
// it. `plain` tells whether those pixels are one colour.
bool CopyBlended(GlyphBlitCache& cache, const PixelRows& target, const QtRealisedFont& font,
                 quint32 glyph, QRgb ink, QPoint pen, const QRect& box, bool& plain) {
  QRgb paper = 0;
  plain = target.IsPlain(box, paper);
  if (plain) {
    const BlendedGlyph& blended = cache.Blended(font.raw, font.face, glyph, ink, paper);
    if (!blended.copyable) return false;
    target.Write(box, blended.pixels, blended.box.translated(pen));
    return true;
  }
  const std::vector<QRgb>* after = cache.BlendedOver(font.face, glyph, ink, target, box, pen);
  if (after) target.Write(box, *after, box);
  return after != nullptr;
}

}  // namespace

void QtCanvas::DeviceDrawGlyphs(const GlyphRun& run) {
  if (!painter_) return;
  const auto& font = *static_cast<const QtRealisedFont*>(run.font);
  TextPainter text_painter(*painter_, run.color, run.clip);
  std::vector<quint32> glyphs;
  if (!GlyphIndexes(font, run.text, glyphs)) {
    DrawCharacters(text_painter.Get(), font.qfont, run.text, run.x, run.baseline);
    return;
  }
  const std::span<const int> xs(run.x, run.text.size());
  if (!CanWritePixels()) {
    DrawGlyphsWithQt(text_painter.Get(), font.raw, glyphs, xs, run.baseline);
    return;
  }
  const PixelRows target{target_bits_, target_stride_};
  const QRect limit = ToQRect(run.clip ? IntersectRect(*run.clip, bounds_) : bounds_);
  const QRgb ink = ToQColor(run.color).rgb();
  GlyphBlitCache& cache = BlendedGlyphs();
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const QPoint pen(xs[i], run.baseline);
    const QRect box = cache.InkBox(font.raw, font.face, glyphs[i]).translated(pen) & limit;
    bool plain = false;
    if (box.isEmpty() || CopyBlended(cache, target, font, glyphs[i], ink, pen, box, plain)) continue;
    // Qt blends the rest, glyph by glyph in order as it would have in one run. What it
    // makes of a neighbour's fringe is kept: the same pair of letters comes again.
    std::vector<QRgb> before = target.Read(box);
    DrawGlyphsWithQt(text_painter.Get(), font.raw, std::span(glyphs).subspan(i, 1), xs.subspan(i, 1),
                     run.baseline);
    if (!plain)
      cache.RememberBlendedOver(font.face, glyphs[i], ink, target, box, pen, std::move(before));
  }
}

}  // namespace tessival::platform
