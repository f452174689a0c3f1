#pragma once
// Every failure of the PNG decoder is one exception class carrying the handler's framed
// message: the fixed prefix, a blank line, then the text of the particular error.
#include <stdexcept>
#include <string>

namespace tessival::imaging {

class EPNGImageException : public std::runtime_error {
 public:
  explicit EPNGImageException(const std::string& text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

namespace png_text {
inline constexpr const char* kCorruptedData = "Can't read the PNG image, it has corrupted data. ";
inline constexpr const char* kNoHeader =
    "This PNG image is invalid, the IHDR chunk is either not present or it isn't the first chunk.";
inline constexpr const char* kNoData =
    "The current image being loaded has no data and could not be loaded.";
inline constexpr const char* kInvalidPalette = "The current image being loaded has an invalid palette!";
inline constexpr const char* kUnknownColorType =
    "Could not read the image because it has an unknown color type.";
inline constexpr const char* kUnknownFilter =
    "The image could not be loaded because it uses an unknown set of filter types.";
inline constexpr const char* kUnknownInterlace = "The image has an unknown interlace method.";
inline constexpr const char* kUnknownCritical =
    "The currently being loaded image contains critical(s) chunk(s) not reconized by the decoder.";
inline constexpr const char* kMissingPalette =
    "The current image requeries a palette but it is not avaliable.";
inline constexpr const char* kNotRgbTransparency =
    "Can not get transparency information because the current image color type is not RGB (value 3)";
inline constexpr const char* kForeignChunk =
    "The especified chunk is not inside the chunk list containing the method being used. The funcion "
    "could not "
    "be completed.";
inline constexpr const char* kInvalidSignature =
    "Invalid Portable Graphics Network image, it has an invalid file header.";
inline constexpr const char* kChunkIndexRange = "The chunk index especified is out of the range.";
inline constexpr const char* kChunkClassIndexRange =
    "The chunk class index especified is  out of range.";
// Our own addition: pictures whose pixel buffer would exceed kMaxImagePixels.
inline constexpr const char* kTooLarge = "The image is too large to be loaded.";
}  // namespace png_text

}  // namespace tessival::imaging
