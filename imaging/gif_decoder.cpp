#include "imaging/gif_decoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "imaging/gif_lzw.h"
#include "imaging/pixel_image.h"

namespace tessival::imaging {

// Bounded little-endian reader over the stream; reading past the end is "Unexpected end of
// file".
struct TGif::Reader {
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;

  bool AtEnd() const { return pos >= data.size(); }
  std::uint8_t Byte() {
    if (pos >= data.size()) throw EInvalidGraphicOperation(GifError::UnexpectedEndOfFile);
    return data[pos++];
  }
  int Word() {
    const int low = Byte();
    return low | (Byte() << 8);
  }
  std::span<const std::uint8_t> Bytes(std::size_t n) {
    if (data.size() - pos < n) throw EInvalidGraphicOperation(GifError::UnexpectedEndOfFile);
    const auto out = data.subspan(pos, n);
    pos += n;
    return out;
  }
  // Sub-blocks: a length byte, that many bytes, until a zero length.
  std::vector<GifSubBlock> SubBlocks() {
    std::vector<GifSubBlock> blocks;
    for (std::uint8_t n = Byte(); n != 0; n = Byte()) {
      const auto bytes = Bytes(n);
      blocks.push_back({{bytes.begin(), bytes.end()}});
    }
    return blocks;
  }
  // The same joined into one buffer (image data): the chain is walked once to size the
  // buffer, then each block is copied into place.
  std::vector<std::uint8_t> JoinedSubBlocks() {
    std::size_t total = 0;
    std::size_t at = pos;
    for (;;) {
      if (at >= data.size()) throw EInvalidGraphicOperation(GifError::UnexpectedEndOfFile);
      const std::size_t n = data[at];
      if (n == 0) break;
      if (data.size() - at - 1 < n) throw EInvalidGraphicOperation(GifError::UnexpectedEndOfFile);
      total += n;
      at += n + 1;
    }
    std::vector<std::uint8_t> out(total);
    for (std::uint8_t* to = out.data(); pos < at; pos += data[pos] + std::size_t{1}) {
      std::memcpy(to, data.data() + pos + 1, data[pos]);
      to += data[pos];
    }
    pos = at + 1;
    return out;
  }
};

namespace {

constexpr std::uint8_t kImageIntroducer = 0x2C;
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kPlainTextLabel = 0x01;
constexpr std::uint8_t kApplicationLabel = 0xFF;

const GifGraphicControl* FirstGraphicControl(const std::vector<GifExtension>& extensions) {
  for (const GifExtension& e : extensions)
    if (const auto* gc = std::get_if<GifGraphicControl>(&e.body)) return gc;
  return nullptr;
}

}  // namespace

int GifImageRecord::Delay() const {
  const GifGraphicControl* gc = FirstGraphicControl(extensions);
  return gc != nullptr && gc->delay > 0 ? gc->delay : 1;
}

int GifImageRecord::Disposal() const {
  const GifGraphicControl* gc = FirstGraphicControl(extensions);
  return gc != nullptr ? gc->disposal & 3 : 0;
}

int GifImageRecord::TransparentIndex() const {
  const GifGraphicControl* gc = FirstGraphicControl(extensions);
  return gc != nullptr && gc->transparent ? gc->transparent_index : -1;
}

void TGif::Reset() {
  signature_ = {'-', '-', '-', '-', '-', '-'};
  screen_ = GifScreenDescriptor{};
  tables_.clear();
  images_.clear();
  pending_.clear();
  total_pixels_ = 0;
  loop_count_ = -1;
  last_error_ = GifError::None;
  last_message_.clear();
}

void TGif::LoadFromStream(std::span<const std::uint8_t> stream) {
  Reset();
  try {
    Reader in{stream};
    const auto signature = in.Bytes(6);
    std::copy(signature.begin(), signature.end(), signature_.begin());
    std::string upper(signature_.begin(), signature_.end());
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != "GIF87A" && upper != "GIF89A")
      throw EInvalidGraphicOperation(GifError::InvalidSignature);
    ReadScreen(in);
    for (bool more = true; more;) {
      if (in.AtEnd()) throw EInvalidGraphicOperation(GifError::NoTerminator);
      switch (in.Byte()) {
        case kImageIntroducer: more = ReadImage(in); break;
        case kExtensionIntroducer: more = ReadExtension(in); break;
        case kTrailer:
        case 0x00: more = false; break;
        default: throw EInvalidGraphicOperation(GifError::UnknownOperation);
      }
    }
    if (images_.empty()) throw EInvalidGraphicOperation(GifError::NoImageDescription);
    pending_.clear();
  } catch (const EInvalidGraphicOperation& e) {
    last_error_ = e.Error();
    last_message_ = e.what();
    pending_.clear();
    throw;
  }
}

void TGif::ReadScreen(Reader& in) {
  screen_.width = in.Word();
  screen_.height = in.Word();
  const std::uint8_t packed = in.Byte();
  screen_.background_index = in.Byte();
  screen_.aspect = in.Byte();
  screen_.global_table = (packed & 0x80) != 0;
  screen_.color_resolution = ((packed >> 4) & 7) + 1;
  screen_.sorted = (packed & 0x08) != 0;
  screen_.global_table_size = 1 << ((packed & 7) + 1);
  if (screen_.global_table) screen_.global_table_index = ReadColorTable(in, screen_.global_table_size);
}

int TGif::ReadColorTable(Reader& in, int size) {
  GifColorTable table;
  table.count = size;
  const auto rgb = in.Bytes(static_cast<std::size_t>(size) * 3);
  for (int i = 0; i < size; ++i)
    table.colors[static_cast<std::size_t>(i)] = rgb[3 * i] | (std::uint32_t{rgb[3 * i + 1]} << 8) |
                                                (std::uint32_t{rgb[3 * i + 2]} << 16);
  tables_.push_back(table);
  return static_cast<int>(tables_.size()) - 1;
}

// Returns false when the stream is to be treated as complete.
bool TGif::ReadExtension(Reader& in) {
  GifExtension ext;
  ext.label = in.Byte();
  switch (ext.label) {
    case kGraphicControlLabel: {
      if (in.Byte() != 4) throw EInvalidGraphicOperation(GifError::InvalidBlockSize);
      GifGraphicControl gc;
      const std::uint8_t packed = in.Byte();
      gc.disposal = (packed >> 2) & 7;
      gc.user_input = (packed & 2) != 0;
      gc.transparent = (packed & 1) != 0;
      gc.delay = in.Word();
      gc.transparent_index = in.Byte();
      if (in.Byte() != 0) throw EInvalidGraphicOperation(GifError::InvalidBlockTerminator);
      ext.body = gc;
      break;
    }
    case kCommentLabel: {
      GifComment comment;
      try {
        comment.blocks = in.SubBlocks();
      } catch (const EInvalidGraphicOperation&) {
        // A broken comment after the first image is taken as the end of the file.
        if (!images_.empty()) return false;
        throw;
      }
      ext.body = std::move(comment);
      break;
    }
    case kPlainTextLabel: {
      if (in.Byte() != 12) throw EInvalidGraphicOperation(GifError::InvalidBlockSize);
      GifPlainText text;
      text.left = in.Word();
      text.top = in.Word();
      text.width = in.Word();
      text.height = in.Word();
      text.cell_width = in.Byte();
      text.cell_height = in.Byte();
      text.foreground = in.Byte();
      text.background = in.Byte();
      text.blocks = in.SubBlocks();
      ext.body = std::move(text);
      break;
    }
    case kApplicationLabel: {
      if (in.Byte() != 11) throw EInvalidGraphicOperation(GifError::InvalidBlockSize);
      GifApplication app;
      const auto id = in.Bytes(8);
      std::copy(id.begin(), id.end(), app.identifier.begin());
      const auto auth = in.Bytes(3);
      std::copy(auth.begin(), auth.end(), app.authentication.begin());
      app.blocks = in.SubBlocks();
      if (std::memcmp(app.identifier.data(), "NETSCAPE", 8) == 0 && !app.blocks.empty() &&
          app.blocks[0].data.size() == 3)
        loop_count_ = app.blocks[0].data[1] | (app.blocks[0].data[2] << 8);
      ext.body = std::move(app);
      break;
    }
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "unknown extension: %04X", ext.label);
      throw EInvalidGraphicOperation(GifError::SpecialMessage, text);
    }
  }
  pending_.push_back(std::move(ext));
  return true;
}

bool TGif::ReadImage(Reader& in) {
  // An animation past its budget keeps the frames before: the rest is not read at all.
  if (images_.size() >= kMaxAnimationFrames) return false;
  GifImageRecord image;
  image.list_index = static_cast<int>(images_.size());
  image.extensions = std::move(pending_);
  pending_.clear();
  image.left = in.Word();
  image.top = in.Word();
  image.width = in.Word();
  image.height = in.Word();
  const std::uint8_t packed = in.Byte();
  image.local_table = (packed & 0x80) != 0;
  image.interlaced = (packed & 0x40) != 0;
  image.sorted = (packed & 0x20) != 0;
  image.local_table_size = 1 << ((packed & 7) + 1);
  if (image.local_table) image.table_index = ReadColorTable(in, image.local_table_size);
  else image.table_index = screen_.global_table_index;
  if (image.table_index < 0) throw EInvalidGraphicOperation(GifError::NoColorTable);
  image.min_code_size = in.Byte();
  const std::vector<std::uint8_t> data = in.JoinedSubBlocks();
  // All frames' index arrays together, and the strip of screen-sized frames they are
  // shown from, stay within the pixel limit; a first frame beyond it is no picture.
  const std::uint64_t count = static_cast<std::uint64_t>(image.width) *
                              static_cast<std::uint64_t>(image.height);
  const std::uint64_t strip = static_cast<std::uint64_t>(screen_.width) * screen_.height *
                              (images_.size() + 1);
  if (total_pixels_ + count > kMaxImagePixels || strip > kMaxImagePixels) {
    if (images_.empty()) throw EInvalidGraphicOperation(GifError::ValueOutOfRange);
    return false;
  }
  total_pixels_ += count;
  image.pixels = DecodeGifLzw(data, image.min_code_size, image.width, image.height, image.interlaced);
  images_.push_back(std::move(image));
  return true;
}

}  // namespace tessival::imaging
