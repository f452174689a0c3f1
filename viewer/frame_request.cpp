#include "viewer/frame_request.h"

#include "html/page_file.h"
#include "platform/stream.h"

namespace tessival::viewer {

std::string FrameRequest::Text() const {
  switch (kind) {
    case kBuffer:
      return Buffer != nullptr && BuffSize > 0 ? std::string(Buffer, static_cast<std::size_t>(BuffSize))
                                               : std::string();
    case kStrings: {
      std::string text;
      if (Strings == nullptr) return text;
      for (const std::string& line : *Strings) text += line + "\r\n";
      return text;
    }
    case kStream: {
      std::string text;
      if (Stream == nullptr) return text;
      Stream->SetPosition(0);
      char chunk[4096];  // NOLINT(cppcoreguidelines-avoid-c-arrays): a read buffer
      for (std::size_t got = Stream->Read(chunk, sizeof chunk); got > 0;
           got = Stream->Read(chunk, sizeof chunk))
        text.append(chunk, got);
      return text;
    }
    case kFile: break;
  }
  return {};
}

layout::TFrameSetSource FrameRequest::Source() const {
  if (InMemory()) return layout::TFrameSetSource::FromText(Text());
  // A frame-set file is read in the set it declares, like a page, so that its title
  // reaches the window as the page's would.
  std::optional<html::PageText> page = html::LoadPageText(FileName);
  if (!page) throw platform::EStreamError("Cannot open file " + FileName);
  return layout::TFrameSetSource::FromText(std::move(page->text));
}

}  // namespace tessival::viewer
