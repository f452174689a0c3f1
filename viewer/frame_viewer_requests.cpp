// The frame viewer asking its host for documents and pictures by name.
#include "viewer/frame_viewer.h"

#include "platform/bounded_file.h"

namespace tessival::viewer {

FrameRequest TFrameViewer::RequestDocument(const std::string& source) const {
  FrameRequest answer;
  // Only the first event the host assigned is asked: a host that answers with lines
  // is never asked for a file as well.
  if (OnStringsRequest) {
    OnStringsRequest(source, answer.Strings);
    if (answer.Strings != nullptr) answer.kind = FrameRequest::kStrings;
  } else if (OnStreamRequest) {
    OnStreamRequest(source, answer.Stream);
    if (answer.Stream != nullptr) answer.kind = FrameRequest::kStream;
  } else if (OnBufferRequest) {
    OnBufferRequest(source, answer.Buffer, answer.BuffSize);
    if (answer.Buffer != nullptr && answer.BuffSize > 0) answer.kind = FrameRequest::kBuffer;
  } else if (OnFileRequest) {
    OnFileRequest(source, answer.FileName);
  }
  answer.Answered = answer.kind != FrameRequest::kFile || !answer.FileName.empty();
  if (!answer.Answered) answer.FileName = ExpandSourceName(source);
  return answer;
}

void TFrameViewer::ImageStream(const std::string& src, std::string& data) const {
  if (!RequestMode()) return;
  const FrameRequest answer = RequestDocument(src);
  if (!answer.Answered) return;
  if (answer.InMemory()) {
    data = answer.Text();
    return;
  }
  platform::BoundedFile file = platform::ReadBoundedFile(answer.FileName, platform::kPictureFileLimit);
  if (file.ok()) data = std::move(file.bytes);
}

}  // namespace tessival::viewer
