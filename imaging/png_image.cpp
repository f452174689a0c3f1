#include "imaging/png_image.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "imaging/png_chunk_classes.h"
#include "imaging/png_error.h"
#include "imaging/png_pixels.h"

namespace tessival::imaging {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
// The standard caps a chunk length at 2^31 - 1.
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool IsAncillary(const ChunkType& type) { return (static_cast<unsigned char>(type[0]) & 0x20) != 0; }

// Windows MulDiv: a × b / c rounded to the nearest integer.
int MulDiv(int a, int b, int c) { return c == 0 ? -1 : (a * b + c / 2) / c; }

}  // namespace

TPNGImage::TPNGImage() : chunks_(this) {}

void TPNGImage::Reset() {
  chunks_.Clear();
  default_header_.SetDefaults();
  bitmap_ = PixelImage();
  transparent_ = false;
  transparent_color_ = 0;
}

const TChunkIHDR& TPNGImage::Header() const {
  const TChunkIHDR* header = chunks_.Find<TChunkIHDR>();
  return header != nullptr ? *header : default_header_;
}

std::uint32_t TPNGImage::Width() const { return Header().Width(); }
std::uint32_t TPNGImage::Height() const { return Header().Height(); }
std::uint8_t TPNGImage::HeaderField(int index) const { return Header().Field(index); }

std::uint32_t TPNGImage::TransparentColor() const {
  if (HeaderField(1) != 2) throw EPNGImageException(png_text::kNotRgbTransparency);
  return transparent_color_;
}

void TPNGImage::LoadFromStream(std::span<const std::uint8_t> stream) {
  Reset();
  if (stream.size() < sizeof kSignature ||
      std::memcmp(stream.data(), kSignature, sizeof kSignature) != 0)
    throw EPNGImageException(png_text::kInvalidSignature);
  ReadChunks(stream.subspan(sizeof kSignature));
  if (chunks_.Count() == 0 || chunks_.IndexOfClass(typeid(TChunkIHDR)) != 0)
    throw EPNGImageException(png_text::kNoHeader);
  if (chunks_.Find<TChunkIDAT>() == nullptr) throw EPNGImageException(png_text::kNoData);
  for (int i = 0; i < chunks_.Count(); ++i) chunks_.Item(i).Decode();
  if (const TChunkTRNS* trns = chunks_.Find<TChunkTRNS>(); trns != nullptr && HeaderField(1) == 2) {
    if (const auto colour = trns->RgbTransparentColor(HeaderField(0))) {
      transparent_color_ = *colour;
      transparent_ = true;
    }
  }
}

void TPNGImage::ReadChunks(std::span<const std::uint8_t> rest) {
  TChunkIDAT* first_idat = nullptr;
  while (!rest.empty()) {
    // length (4) | type (4) | data (length) | CRC of type and data (4)
    if (rest.size() < 12) throw EPNGImageException(png_text::kCorruptedData);
    const std::uint32_t length = BigEndian32(rest.data());
    if (length > kMaxChunkLength || length > rest.size() - 12)
      throw EPNGImageException(png_text::kCorruptedData);
    const ChunkType type{static_cast<char>(rest[4]), static_cast<char>(rest[5]),
                         static_cast<char>(rest[6]), static_cast<char>(rest[7])};
    const std::uint8_t* data = rest.data() + 8;
    const std::uint32_t stored_crc = BigEndian32(data + length);
    const auto computed_crc = crc32(0L, rest.data() + 4, length + 4);
    rest = rest.subspan(12 + std::size_t{length});

    const TChunkClasses::Entry* entry = TChunkClasses::Instance().FindByType(type);
    if (entry == nullptr && !IsAncillary(type)) throw EPNGImageException(png_text::kUnknownCritical);
    if (computed_crc != stored_crc) throw EPNGImageException(png_text::kCorruptedData);

    if (entry != nullptr && entry->cls == typeid(TChunkIDAT) && first_idat != nullptr) {
      first_idat->Data().insert(first_idat->Data().end(), data, data + length);
      continue;
    }
    std::unique_ptr<TChunk> chunk = entry != nullptr ? entry->make() : std::make_unique<TChunk>(type);
    const bool is_idat = entry != nullptr && entry->cls == typeid(TChunkIDAT);
    // Later IDATs are appended to the first: room for all that can follow, reserved once.
    if (is_idat) chunk->Data().reserve(length + rest.size());
    chunk->Data().assign(data, data + length);
    TChunk& added = chunks_.Add(std::move(chunk));
    if (is_idat) first_idat = static_cast<TChunkIDAT*>(&added);
    if (entry != nullptr && entry->cls == typeid(TChunkIEND)) break;
  }
}

Palette TPNGImage::MakePalette(int bit_depth, int color_type) {
  TChunkGAMA* gamma = chunks_.Find<TChunkGAMA>();
  const auto corrected = [gamma](std::uint8_t v) { return gamma != nullptr ? gamma->Forward()[v] : v; };
  Palette palette;
  if (color_type == 3) {
    const TChunkPLTE* plte = chunks_.Find<TChunkPLTE>();
    if (plte == nullptr) throw EPNGImageException(png_text::kMissingPalette);
    for (PaletteEntry e : plte->Entries())
      palette.push_back({corrected(e.red), corrected(e.green), corrected(e.blue), 0});
  } else {
    const int n = bit_depth >= 8 ? 256 : 1 << bit_depth;
    for (int i = 0; i < n; ++i) {
      const auto grey = corrected(static_cast<std::uint8_t>(MulDiv(i, 255, n - 1)));
      palette.push_back({grey, grey, grey, kPaletteNoCollapse});
    }
  }
  if (bit_depth == 2 && palette.size() < 16) {
    // 2-bit samples are stored as 5v in a 4-bit bitmap: entry k repeats entry k mod 4.
    palette.resize(4);
    palette.resize(16);
    for (std::size_t k = 4; k < 16; ++k) palette[k] = palette[k % 4];
  }
  // Every index the bitmap can hold gets an entry (black past the file's palette), so a
  // sample beyond a short palette never reads past it.
  const std::size_t slots = std::size_t{1} << std::min(bitmap_.BitsPerPixel(), 8);
  if (palette.size() < slots) palette.resize(slots);
  return palette;
}

void TPNGImage::DecodePixels(const TChunkIDAT& idat) {
  const TChunkIHDR& header = Header();
  PngLayout layout = MakePngLayout(header.Width(), header.Height(), header.Field(0), header.Field(1),
                                   header.Field(4));
  const bool expand = pixel_format_ == TPngPixels::TrueColor && layout.bitmap_bits <= 8;
  bitmap_ = PixelImage(layout.width, layout.height, expand ? 24 : layout.bitmap_bits);
  Palette palette;
  if (layout.bitmap_bits <= 8) palette = MakePalette(layout.bit_depth, layout.color_type);
  if (!expand) bitmap_.Colors() = palette;
  TChunkGAMA* gamma = chunks_.Find<TChunkGAMA>();
  PngRowProgress progress;
  if (OnProgress) {
    progress = [this](int percent, int top, int bottom) {
      OnProgress("Drawing...", percent, ProgressRect{0, top, bitmap_.Width(), bottom});
    };
  }
  DecodePngPixels(layout, idat.Data(), gamma != nullptr ? gamma->Forward().data() : nullptr, bitmap_,
                  progress, expand ? &palette : nullptr);
}

}  // namespace tessival::imaging
