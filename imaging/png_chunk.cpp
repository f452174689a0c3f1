#include "imaging/png_chunk.h"

#include <algorithm>
#include <cmath>

#include "imaging/png_chunk_list.h"
#include "imaging/png_error.h"
#include "imaging/png_image.h"

namespace tessival::imaging {

ChunkType MakeChunkType(const char (&name)[5]) { return {name[0], name[1], name[2], name[3]}; }

void TChunk::Assign(const TChunk& other) {
  type_ = other.type_;
  data_ = other.data_;
}

std::optional<std::uint32_t> TChunk::ReadU32(std::size_t offset) const {
  if (data_.size() < offset + 4) return std::nullopt;
  const std::uint8_t* p = data_.data() + offset;
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::optional<std::uint16_t> TChunk::ReadU16(std::size_t offset) const {
  if (data_.size() < offset + 2) return std::nullopt;
  return static_cast<std::uint16_t>((data_[offset] << 8) | data_[offset + 1]);
}

TChunkIHDR::TChunkIHDR() : TChunk(MakeChunkType("IHDR")) { SetDefaults(); }

void TChunkIHDR::SetDefaults() {
  width_ = 0;
  height_ = 0;
  fields_ = {8, 2, 0, 0, 0};
}

void TChunkIHDR::Decode() {
  // A header shorter than its 13 bytes cannot describe a picture.
  if (Data().size() < 13) throw EPNGImageException(png_text::kNoHeader);
  width_ = *ReadU32(0);
  height_ = *ReadU32(4);
  for (std::size_t i = 0; i < fields_.size(); ++i) fields_[i] = Data()[8 + i];
}

TChunkPLTE::TChunkPLTE() : TChunk(MakeChunkType("PLTE")) {}

void TChunkPLTE::Decode() {
  if (Data().size() % 3 != 0) throw EPNGImageException(png_text::kInvalidPalette);
  // An 8-bit bitmap cannot address more than 256 entries; the rest is dropped.
  const std::size_t count = std::min<std::size_t>(Data().size() / 3, 256);
  entries_.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    entries_[i] = PaletteEntry{Data()[3 * i], Data()[3 * i + 1], Data()[3 * i + 2], 0};
}

TChunkIDAT::TChunkIDAT() : TChunk(MakeChunkType("IDAT")) {}

void TChunkIDAT::Decode() {
  if (Owner() != nullptr && Owner()->Image() != nullptr) Owner()->Image()->DecodePixels(*this);
}

TChunkGAMA::TChunkGAMA() : TChunk(MakeChunkType("gAMA")) {}

std::uint32_t TChunkGAMA::Value() const { return ReadU32(0).value_or(100000); }

void TChunkGAMA::Decode() { Build(); }

void TChunkGAMA::Build() {
  const double g = Value() * 0.00001;
  const double exponent = 1.0 / (g * 2.2);
  for (int i = 0; i < 256; ++i) {
    // nearbyint rounds half to even in the default rounding mode.
    const double v = std::nearbyint(255.0 * std::pow(i / 255.0, exponent));
    const int clamped = std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, 0.0, 255.0));
    forward_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(clamped);
    inverse_[static_cast<std::size_t>(clamped)] = static_cast<std::uint8_t>(i);
  }
  built_ = true;
}

const TChunkGAMA::Table& TChunkGAMA::Forward() {
  if (!built_) Build();
  return forward_;
}

const TChunkGAMA::Table& TChunkGAMA::Inverse() {
  if (!built_) Build();
  return inverse_;
}

TChunkTEXT::TChunkTEXT() : TChunk(MakeChunkType("tEXt")) { Data().assign(2, 0); }

TChunkTRNS::TChunkTRNS() : TChunk(MakeChunkType("tRNS")) {}

std::optional<std::uint32_t> TChunkTRNS::RgbTransparentColor(int bit_depth) const {
  const auto r = ReadU16(0), g = ReadU16(2), b = ReadU16(4);
  if (!r || !g || !b) return std::nullopt;
  const auto reduce = [bit_depth](std::uint16_t sample) -> std::uint32_t {
    return bit_depth == 16 ? (sample >> 8) : (sample & 0xFF);
  };
  return (reduce(*r) << 16) | (reduce(*g) << 8) | reduce(*b);
}

TChunkIEND::TChunkIEND() : TChunk(MakeChunkType("IEND")) {}

}  // namespace tessival::imaging
