#pragma once
// GIF decoder failures: one exception class whose message is "TGif: " and the text of the
// error number.
#include <stdexcept>
#include <string>

namespace tessival::imaging {

enum class GifError {
  None = 0,
  InvalidSignature = 1,
  NoColorTable = 2,
  UnknownExtensionType = 3,
  UnknownOperation = 4,
  InvalidBlockSize = 5,
  SpecialMessage = 6,
  InvalidBlockTerminator = 7,
  InvalidIntegerSize = 8,
  NoTerminator = 9,
  ExtensionOutOfOrder = 10,
  InvalidDescriptorIndex = 11,
  InvalidLzwCodeSize = 12,
  InvalidLzwData = 13,
  LzwCodeOverflow = 14,
  ValueOutOfRange = 15,
  NilPointer = 16,
  InvalidColorTableSize = 17,
  NoImageDescription = 18,
  InvalidBitmapImage = 19,
  InvalidColorTableIndex = 20,
  InvalidInterlacePass = 21,
  InvalidBitmap = 22,
  TooManyColors = 23,
  UnexpectedEndOfFile = 24,
  NextMessage = 25,
};

const char* GifErrorText(GifError error);

// The invalid-graphic-operation error the decoder raises.
class EInvalidGraphicOperation : public std::runtime_error {
 public:
  // "TGif: " + the error's text.
  explicit EInvalidGraphicOperation(GifError error);
  // "TGif: " + a message of its own (used with SpecialMessage).
  EInvalidGraphicOperation(GifError error, const std::string& message);
  GifError Error() const { return error_; }

 private:
  GifError error_;
};

}  // namespace tessival::imaging
