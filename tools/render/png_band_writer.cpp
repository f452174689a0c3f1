#include "tools/render/png_band_writer.h"

#include <zlib.h>

#include <array>

namespace tessival::tools {

namespace {

void PutBigEndian(unsigned char* to, std::uint32_t value) {
  to[0] = static_cast<unsigned char>(value >> 24);
  to[1] = static_cast<unsigned char>(value >> 16);
  to[2] = static_cast<unsigned char>(value >> 8);
  to[3] = static_cast<unsigned char>(value);
}

constexpr std::size_t OutChunkSize = 1 << 16;

}  // namespace

struct PngBandWriter::Stream {
  z_stream z{};
};

PngBandWriter::PngBandWriter(const std::string& path, int width, int height)
    : width_(width), height_(height), stream_(std::make_unique<Stream>()) {
  if (width <= 0 || height <= 0) return;
  if (deflateInit(&stream_->z, 6) != Z_OK) return;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return;
  static constexpr unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ok_ = std::fwrite(signature, 1, sizeof signature, file_) == sizeof signature;
  std::array<unsigned char, 13> header{};
  PutBigEndian(&header[0], static_cast<std::uint32_t>(width));
  PutBigEndian(&header[4], static_cast<std::uint32_t>(height));
  header[8] = 8;  // bits per sample
  header[9] = 2;  // truecolour
  WriteChunk("IHDR", header.data(), header.size());
  row_.resize(1 + 3 * static_cast<std::size_t>(width));
  out_.resize(OutChunkSize);
}

PngBandWriter::~PngBandWriter() {
  deflateEnd(&stream_->z);
  if (file_) std::fclose(file_);
}

void PngBandWriter::WriteChunk(const char* type, const unsigned char* data, std::size_t size) {
  if (!ok_) return;
  unsigned char head[8];
  PutBigEndian(head, static_cast<std::uint32_t>(size));
  for (int i = 0; i < 4; ++i) head[4 + i] = static_cast<unsigned char>(type[i]);
  uLong crc = crc32(0L, head + 4, 4);
  if (size) crc = crc32(crc, data, static_cast<uInt>(size));
  unsigned char tail[4];
  PutBigEndian(tail, static_cast<std::uint32_t>(crc));
  ok_ = std::fwrite(head, 1, 8, file_) == 8 &&
        (size == 0 || std::fwrite(data, 1, size, file_) == size) && std::fwrite(tail, 1, 4, file_) == 4;
}

void PngBandWriter::Deflate(const unsigned char* data, std::size_t size, bool last) {
  z_stream& z = stream_->z;
  z.next_in = const_cast<unsigned char*>(data);
  z.avail_in = static_cast<uInt>(size);
  int result;
  do {
    z.next_out = out_.data();
    z.avail_out = static_cast<uInt>(out_.size());
    result = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
    const std::size_t produced = out_.size() - z.avail_out;
    if (produced) WriteChunk("IDAT", out_.data(), produced);
  } while (ok_ && (z.avail_out == 0 || (last && result != Z_STREAM_END)));
}

void PngBandWriter::AddRow(const std::uint32_t* pixels) {
  if (!ok_ || rows_ >= height_) return;
  row_[0] = 0;  // no filter
  for (int x = 0; x < width_; ++x) {
    const std::uint32_t p = pixels[x];
    unsigned char* rgb = &row_[1 + 3 * static_cast<std::size_t>(x)];
    rgb[0] = static_cast<unsigned char>(p >> 16);
    rgb[1] = static_cast<unsigned char>(p >> 8);
    rgb[2] = static_cast<unsigned char>(p);
  }
  ++rows_;
  Deflate(row_.data(), row_.size(), false);
}

bool PngBandWriter::Finish() {
  if (!ok_ || rows_ != height_) return false;
  Deflate(nullptr, 0, true);
  WriteChunk("IEND", nullptr, 0);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok_ && closed;
}

}  // namespace tessival::tools
