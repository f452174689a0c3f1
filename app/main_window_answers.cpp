// The answer in the lower pane: shown only when it is small enough to lay out, and
// everything it names fetched from the web relative to its own address, never read from
// the disk (a service's page must not show, and so hand on to the next service, a local
// file).
#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "platform/bounded_file.h"
#include "viewer/frame_viewer.h"

namespace tessival::app {
namespace {

namespace fs = std::filesystem;

std::string AbsoluteName(const std::string& file_name) {
  std::error_code error;
  const fs::path absolute = fs::absolute(file_name, error);
  return error ? file_name : absolute.lexically_normal().string();
}

// The name a document fetched for the answer is kept under, beside the answer.
std::string DocumentFileName(const std::string& answer_file, int number) {
  return (fs::path(answer_file).parent_path() / ("rahmen" + std::to_string(number) + ".htm")).string();
}

}  // namespace

void TForm1::ShowAnswer(const std::string& file_name, const std::string& address) {
  const std::string location = services_.http->Location();
  answer_origin_ = AnswerOrigin(location.empty() ? address : location);
  answer_documents_ = 0;
  std::error_code error;
  const std::uintmax_t size = fs::file_size(file_name, error);
  if (!error && size > platform::kPageFileLimit) {
    ShowAnswerTooLarge(file_name);
    return;
  }
  answer_file_ = AbsoluteName(file_name);
  viewer_->LoadFromFile(file_name);
}

void TForm1::ShowAnswerTooLarge(const std::string& file_name) {
  const std::string notice_file = AbsoluteName(file_name + ".zu-gross.htm");
  std::ofstream out(notice_file, std::ios::binary | std::ios::trunc);
  out << "<html><body><p>Die Antwort ist zu gro\xDF, um angezeigt zu werden (mehr als "
      << (platform::kPageFileLimit >> 20)
      << " MB).</p><p>Sie ist gespeichert in: " << AbsoluteName(file_name) << "</p></body></html>";
  out.close();
  answer_file_ = notice_file;
  viewer_->LoadFromFile(notice_file);
}

void TForm1::FrameViewer1FileRequest(const std::string& src, std::string& new_name) {
  new_name = AnswerDocumentFile(src);
}

std::string TForm1::AnswerDocumentFile(const std::string& source) {
  // Before the first answer the pane shows only what the program loads itself, and its
  // names are its own: they get no substitute.
  if (answer_file_.empty()) return {};
  // The pane asks for the answer itself by the name it was given.
  if (source == answer_file_) return source;
  std::string file = DocumentFileName(answer_file_, ++answer_documents_);
  std::error_code error;
  fs::remove(file, error);
  const std::optional<std::string> url = answer_origin_.Resolve(source);
  if (!url || fetching_) return file;  // refused: a missing file, shown as one
  if (!FetchInto(*url, file, static_cast<std::int64_t>(platform::kDocumentFileLimit)).ok)
    fs::remove(file, error);
  return file;
}

}  // namespace tessival::app
