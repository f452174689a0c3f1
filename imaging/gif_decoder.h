#pragma once
// TGif reads a GIF stream into its parts: the screen descriptor, the colour tables, the
// extension records and one record per image with its pixels as palette indexes. It lives
// only for one load; TGIFImage is made from what it found.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "imaging/gif_error.h"

namespace tessival::imaging {

// Up to 256 colours stored as R + G×256 + B×65536; `count` entries are the file's, the rest
// are black so that an index past a short table still finds a colour.
struct GifColorTable {
  int count = 0;
  std::array<std::uint32_t, 256> colors{};
};

struct GifSubBlock {
  std::vector<std::uint8_t> data;  // up to 255 bytes
};

struct GifGraphicControl {
  int disposal = 0;
  bool user_input = false;
  bool transparent = false;
  int delay = 0;  // hundredths of a second
  int transparent_index = 0;
};
struct GifComment {
  std::vector<GifSubBlock> blocks;
};
struct GifPlainText {
  int left = 0, top = 0, width = 0, height = 0;
  int cell_width = 0, cell_height = 0, foreground = 0, background = 0;
  std::vector<GifSubBlock> blocks;
};
struct GifApplication {
  std::array<char, 8> identifier{};
  std::array<std::uint8_t, 3> authentication{};
  std::vector<GifSubBlock> blocks;
};
struct GifExtension {
  std::uint8_t label = 0;
  std::variant<GifGraphicControl, GifComment, GifPlainText, GifApplication> body;
};

struct GifImageRecord {
  int list_index = 0;
  int left = 0, top = 0, width = 0, height = 0;
  bool local_table = false;
  bool interlaced = false;
  bool sorted = false;
  int local_table_size = 0;
  int table_index = -1;
  int min_code_size = 0;
  std::vector<std::uint8_t> pixels;  // width × height indexes, row-major
  std::vector<GifExtension> extensions;

  // From the first graphic control extension before the image.
  int Delay() const;             // its delay when > 0, else 1 (hundredths of a second)
  int Disposal() const;          // its method and 3
  int TransparentIndex() const;  // -1 without transparency
};

struct GifScreenDescriptor {
  int width = 0, height = 0;
  bool global_table = false;
  int color_resolution = 0;
  bool sorted = false;
  int global_table_size = 0;
  int background_index = 0;
  int aspect = 0;
  int global_table_index = -1;
};

class TGif {
 public:
  // Decodes a whole stream. Throws EInvalidGraphicOperation; LastError() keeps the code.
  void LoadFromStream(std::span<const std::uint8_t> stream);

  const std::array<char, 6>& Signature() const { return signature_; }
  const GifScreenDescriptor& Screen() const { return screen_; }
  const std::vector<GifColorTable>& ColorTables() const { return tables_; }
  const std::vector<GifImageRecord>& Images() const { return images_; }
  std::vector<GifImageRecord>& Images() { return images_; }
  int LoopCount() const { return loop_count_; }
  GifError LastError() const { return last_error_; }
  const std::string& LastMessage() const { return last_message_; }

 private:
  struct Reader;
  void Reset();
  void ReadScreen(Reader& in);
  int ReadColorTable(Reader& in, int size);
  bool ReadExtension(Reader& in);
  // False when the frame is past the animation budget and reading ends.
  bool ReadImage(Reader& in);

  std::array<char, 6> signature_{'-', '-', '-', '-', '-', '-'};
  GifScreenDescriptor screen_;
  std::vector<GifColorTable> tables_;
  std::vector<GifImageRecord> images_;
  std::vector<GifExtension> pending_;
  std::uint64_t total_pixels_ = 0;
  int loop_count_ = -1;
  GifError last_error_ = GifError::None;
  std::string last_message_;
};

}  // namespace tessival::imaging
