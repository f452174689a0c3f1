#pragma once
// Reading a local file whose name came from outside (a page, a frame set, a picture's
// address): only a regular file, never more than a stated size, and every failure a
// result rather than an exception, so a device, a pipe, a /proc file or a file that
// grows while it is read cannot block, exhaust memory or end the program.
#include <cstdint>
#include <span>
#include <string>

namespace tessival::platform {

// The largest local file each kind of reader takes; the same limits hold for the same
// things fetched from the web.
inline constexpr std::uint64_t kPictureFileLimit = std::uint64_t{64} << 20;
inline constexpr std::uint64_t kStyleSheetFileLimit = std::uint64_t{4} << 20;
inline constexpr std::uint64_t kDocumentFileLimit = std::uint64_t{32} << 20;  // a frame, an include
// A page shown by itself (an answer): larger ones are not laid out at all.
inline constexpr std::uint64_t kPageFileLimit = std::uint64_t{64} << 20;

enum class FileReadStatus { kOk, kMissing, kNotRegular, kTooLarge, kReadError };

struct BoundedFile {
  FileReadStatus status = FileReadStatus::kMissing;
  std::string bytes;  // the whole file when status is kOk, else empty
  bool ok() const { return status == FileReadStatus::kOk; }
  std::span<const std::uint8_t> Bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
  }
};

// Opens `path` without waiting (a FIFO with no writer must not block), refuses anything
// but a regular file and a file larger than `limit` bytes before reading, and reads at
// most `limit` bytes: a file that grew past the limit since it was measured is too large.
BoundedFile ReadBoundedFile(const std::string& path, std::uint64_t limit);

}  // namespace tessival::platform
