#pragma once
// Typed chunks of a PNG stream. A chunk keeps its type and its data exactly as read; the
// subclasses interpret the data in Decode, which the image calls once the whole file is in.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

class TChunkList;

using ChunkType = std::array<char, 4>;

ChunkType MakeChunkType(const char (&name)[5]);

class TChunk {
 public:
  explicit TChunk(ChunkType type) : type_(type) {}
  virtual ~TChunk() = default;
  TChunk(const TChunk&) = delete;
  TChunk& operator=(const TChunk&) = delete;

  virtual void Decode() {}
  virtual void Assign(const TChunk& other);

  const ChunkType& Type() const { return type_; }
  std::string TypeName() const { return std::string(type_.data(), 4); }
  std::vector<std::uint8_t>& Data() { return data_; }
  const std::vector<std::uint8_t>& Data() const { return data_; }
  TChunkList* Owner() const { return owner_; }
  void SetOwner(TChunkList* owner) { owner_ = owner; }

 protected:
  // Big-endian reads inside the data; nullopt when the data is too short.
  std::optional<std::uint32_t> ReadU32(std::size_t offset) const;
  std::optional<std::uint16_t> ReadU16(std::size_t offset) const;

 private:
  ChunkType type_;
  std::vector<std::uint8_t> data_;
  TChunkList* owner_ = nullptr;
};

// Image header: width, height, bit depth, colour type, compression, filter, interlace.
class TChunkIHDR : public TChunk {
 public:
  TChunkIHDR();
  void Decode() override;
  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  // Field by index: 0 bit depth, 1 colour type, 2 compression, 3 filter, 4 interlace.
  std::uint8_t Field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
  void SetDefaults();

 private:
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::array<std::uint8_t, 5> fields_{};
};

class TChunkPLTE : public TChunk {
 public:
  TChunkPLTE();
  void Decode() override;
  // The raw entries (before gamma), as decoded.
  const Palette& Entries() const { return entries_; }

 private:
  Palette entries_;
};

class TChunkIDAT : public TChunk {
 public:
  TChunkIDAT();
  // Decoding the picture itself is the image's work (it needs the header and palette).
  void Decode() override;
};

class TChunkGAMA : public TChunk {
 public:
  TChunkGAMA();
  void Decode() override;
  using Table = std::array<std::uint8_t, 256>;
  // Built from the stored value on first use, so the table is right whichever order the
  // chunks were decoded in.
  const Table& Forward();
  const Table& Inverse();
  std::uint32_t Value() const;

 private:
  void Build();
  bool built_ = false;
  Table forward_{};
  Table inverse_{};
};

class TChunkTEXT : public TChunk {
 public:
  TChunkTEXT();
};

class TChunkTRNS : public TChunk {
 public:
  TChunkTRNS();
  // The transparent colour of an RGB picture as 0x00RRGGBB, samples reduced to 8 bits as
  // the pixels are for `bit_depth`; nullopt when the chunk is too short to hold it.
  std::optional<std::uint32_t> RgbTransparentColor(int bit_depth) const;
};

class TChunkIEND : public TChunk {
 public:
  TChunkIEND();
};

}  // namespace tessival::imaging
