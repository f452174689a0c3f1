#pragma once
// A document the frame viewer asked its host for by name: a file of the host's choosing,
// a buffer, lines of text or a stream, all owned by the host, or, when no host answered,
// the file the name itself names.
#include <string>
#include <vector>

#include "platform/stream.h"
#include "reader/frame_set_reader.h"

namespace tessival::viewer {

struct FrameRequest {
  enum Kind { kFile = 0, kBuffer = 1, kStrings = 2, kStream = 3 };
  Kind kind = kFile;
  bool Answered = false;  // the host answered; else FileName is the name's own file
  std::string FileName;
  const char* Buffer = nullptr;
  int BuffSize = 0;
  const std::vector<std::string>* Strings = nullptr;
  platform::TStream* Stream = nullptr;

  bool InMemory() const { return kind != kFile; }
  // The whole document of an answer held in memory, lines ended by CR LF; a stream is
  // read from its start.
  std::string Text() const;
  // The document as the frame-set reader and the viewer take it: the text of an answer
  // held in memory (a stream read once), else the answer's file. Throws
  // platform::EStreamError when the file cannot be read.
  layout::TFrameSetSource Source() const;
};

}  // namespace tessival::viewer
