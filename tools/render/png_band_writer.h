#pragma once
// Writes a truecolour PNG file row band by row band, so a picture taller than any bitmap
// the tool would want to hold is never in memory as a whole.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tessival::tools {

class PngBandWriter {
 public:
  // Opens `path` for a picture of width x height pixels; Ok() tells whether it worked.
  PngBandWriter(const std::string& path, int width, int height);
  ~PngBandWriter();
  PngBandWriter(const PngBandWriter&) = delete;
  PngBandWriter& operator=(const PngBandWriter&) = delete;

  bool Ok() const { return ok_; }
  // One row of `width` pixels as 0xAARRGGBB words (the alpha byte is ignored).
  void AddRow(const std::uint32_t* pixels);
  // Writes the end of the file; true when every row arrived and everything was written.
  bool Finish();

 private:
  void WriteChunk(const char* type, const unsigned char* data, std::size_t size);
  void Deflate(const unsigned char* data, std::size_t size, bool last);

  std::FILE* file_ = nullptr;
  int width_;
  int height_;
  int rows_ = 0;
  bool ok_ = false;
  struct Stream;
  std::unique_ptr<Stream> stream_;
  std::vector<unsigned char> row_;
  std::vector<unsigned char> out_;
};

}  // namespace tessival::tools
