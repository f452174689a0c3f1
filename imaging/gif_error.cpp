#include "imaging/gif_error.h"

namespace tessival::imaging {

const char* GifErrorText(GifError error) {
  static const char* const kTexts[] = {"no error",
                                       "Invalid GIF Signature Code",
                                       "No Local or Global Color Table for Image",
                                       "Unknown Graphics Extension Type",
                                       "Unknown Graphics Operation Code",
                                       "Invalid Extension Block Size",
                                       "[special message]",
                                       "Invalid Extension Block Terminator",
                                       "Invalid Integer Size",
                                       "No GIF Terminator Found",
                                       "Extension Block Out-Of-Order With Image Data",
                                       "Invalid Image Descriptor Index",
                                       "Invalid LZW Code Size",
                                       "Invalid LZW Data Format",
                                       "LZW Code Overflow",
                                       "Value Out Of Range",
                                       "NIL Pointer assigned",
                                       "Invalid Color Table Size",
                                       "No Image Description",
                                       "Invalid Bitmap Image",
                                       "Invalid Color Table Index",
                                       "Invalid Interlace Pass",
                                       "Invalid Bitmap",
                                       "Too Many Colors In Bitmap",
                                       "Unexpected end of file",
                                       "next message"};
  const auto i = static_cast<std::size_t>(error);
  return i < std::size(kTexts) ? kTexts[i] : "";
}

EInvalidGraphicOperation::EInvalidGraphicOperation(GifError error)
    : std::runtime_error(std::string("TGif: ") + GifErrorText(error)), error_(error) {}

EInvalidGraphicOperation::EInvalidGraphicOperation(GifError error, const std::string& message)
    : std::runtime_error("TGif: " + message), error_(error) {}

}  // namespace tessival::imaging
