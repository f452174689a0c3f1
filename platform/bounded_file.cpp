#include "platform/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "platform/unique_fd.h"

namespace tessival::platform {
namespace {

BoundedFile Failed(FileReadStatus status) { return BoundedFile{status, {}}; }

// Reads up to `want` bytes; the count read, or -1 on an error.
std::int64_t ReadUpTo(int fd, char* out, std::uint64_t want) {
  std::uint64_t got = 0;
  while (got < want) {
    const ssize_t n = ::read(fd, out + got, want - got);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    got += static_cast<std::uint64_t>(n);
  }
  return static_cast<std::int64_t>(got);
}

}  // namespace

BoundedFile ReadBoundedFile(const std::string& path, std::uint64_t limit) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0)
    return Failed(errno == ENOENT || errno == ENOTDIR ? FileReadStatus::kMissing
                                                      : FileReadStatus::kReadError);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Failed(FileReadStatus::kReadError);
  if (!S_ISREG(info.st_mode)) return Failed(FileReadStatus::kNotRegular);
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > limit) return Failed(FileReadStatus::kTooLarge);
  BoundedFile result;
  try {
    // One byte more than the size: a file that grew since fstat shows it here.
    result.bytes.resize(static_cast<std::size_t>(size) + 1);
  } catch (const std::bad_alloc&) {
    return Failed(FileReadStatus::kTooLarge);
  }
  std::uint64_t total = 0;
  for (;;) {
    const std::int64_t n = ReadUpTo(fd.get(), result.bytes.data() + total, result.bytes.size() - total);
    if (n < 0) return Failed(FileReadStatus::kReadError);
    total += static_cast<std::uint64_t>(n);
    if (total > limit) return Failed(FileReadStatus::kTooLarge);
    if (total < result.bytes.size()) break;  // the end of the file
    // Full buffer: the file grew; take more, but never past the limit plus one byte.
    const std::uint64_t next = std::min<std::uint64_t>(limit + 1, result.bytes.size() * 2);
    result.bytes.resize(static_cast<std::size_t>(next));
  }
  result.bytes.resize(static_cast<std::size_t>(total));
  result.status = FileReadStatus::kOk;
  return result;
}

}  // namespace tessival::platform
