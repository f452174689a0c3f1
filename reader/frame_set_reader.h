#pragma once
// The reader of frame-set documents: it walks the head and the FRAMESET elements of a
// text and tells a frame viewer what to build, one call per frame set, frame and end of a
// set. It builds nothing itself, so that the widgets stay in the viewer layer.
//
// Like the document reader it never fails on malformed markup: a broken text ends the
// reading where it breaks, with everything before it reported.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "html/attribute_list.h"
#include "platform/stream.h"

namespace tessival::layout {

// A frame set the reader is filling; the viewer's own set widgets derive from it.
class TFrameSetNode {
 public:
  virtual ~TFrameSetNode() = default;
};

// The four calls the reader makes while it reads a frame set into `set`.
class TFrameViewerBase {
 public:
  virtual ~TFrameViewerBase() = default;
  // A FRAME: `directory` is the directory of the frame-set document, for relative sources.
  virtual void CreateFrame(TFrameSetNode& parent, const html::TAttributeList& attributes,
                           const std::string& directory) = 0;
  // A nested FRAMESET: the set its attributes and frames go into.
  virtual TFrameSetNode& CreateSubFrameSet(TFrameSetNode& parent) = 0;
  virtual void ApplyFrameSetAttributes(TFrameSetNode& set, const html::TAttributeList& attributes) = 0;
  // The end of a FRAMESET, or of the text inside one.
  virtual void FinishFrameSet(TFrameSetNode& set) = 0;
};

// What the head of a frame-set document said, and its handlers.
struct TFrameSetHead {
  std::string Title;
  std::string Base;
  std::string BaseTarget;
};
struct TFrameSetHandlers {
  std::function<void(const std::string& http_eq, const std::string& name, const std::string& content)>
      OnMeta;
  std::function<void(const std::string& src, int loop)> OnSoundRequest;
  std::function<void(const std::string& name, const std::string& language, const std::string& script)>
      OnScript;
};

// The text of a document from any of the sources the viewer loads from.
class TFrameSetSource {
 public:
  // Throws platform::EStreamError when the file cannot be read.
  static TFrameSetSource FromFile(const std::string& file_name);
  static TFrameSetSource FromBuffer(const char* buffer, std::size_t size);
  static TFrameSetSource FromStrings(const std::vector<std::string>& lines);
  // Reads from the stream's start to its end.
  static TFrameSetSource FromStream(platform::TStream& stream);
  static TFrameSetSource FromText(std::string text);
  const std::string& Text() const { return text_; }

 private:
  explicit TFrameSetSource(std::string text) : text_(std::move(text)) {}
  std::string text_;
};

// Reads the frame sets of `source` into `top` through `viewer`.
TFrameSetHead ParseFrameSet(const TFrameSetSource& source, TFrameViewerBase& viewer, TFrameSetNode& top,
                            const std::string& directory, const TFrameSetHandlers& handlers = {});

// True when a FRAMESET tag comes before anything that shows body content.
bool IsFrameDocument(const TFrameSetSource& source);

}  // namespace tessival::layout
