#include "platform/stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessival::platform {

std::int64_t TStream::Size() {
  const std::int64_t position = Position();
  const std::int64_t size = Seek(0, SeekOrigin::kEnd);
  SetPosition(position);
  return size;
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
  if (Write(buffer, count) != count) throw EStreamError("Stream write error");
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (position_ >= data_.size()) return 0;
  const std::size_t n = std::min(count, data_.size() - position_);
  std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  if (position_ + count > data_.size()) data_.resize(position_ + count);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == SeekOrigin::kCurrent) base = static_cast<std::int64_t>(position_);
  if (origin == SeekOrigin::kEnd) base = static_cast<std::int64_t>(data_.size());
  position_ = static_cast<std::size_t>(std::max<std::int64_t>(0, base + offset));
  return static_cast<std::int64_t>(position_);
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

TFileStream::TFileStream(const std::string& file_name, Mode mode) : file_name_(file_name) {
  int flags = O_RDONLY;
  if (mode == Mode::kCreate) flags = O_RDWR | O_CREAT | O_TRUNC;
  if (mode == Mode::kOpenReadWrite) flags = O_RDWR;
  fd_ = ::open(file_name.c_str(), flags | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    const char* what = mode == Mode::kCreate ? "Cannot create file \"" : "Cannot open file \"";
    throw EStreamError(what + file_name + "\". " + std::strerror(errno));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  ssize_t n;
  do {
    n = ::read(fd_, buffer, count);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw EStreamError("Stream read error: " + std::string(std::strerror(errno)));
  return static_cast<std::size_t>(n);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  std::size_t done = 0;
  const char* bytes = static_cast<const char*>(buffer);
  while (done < count) {
    const ssize_t n = ::write(fd_, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
  int whence = SEEK_SET;
  if (origin == SeekOrigin::kCurrent) whence = SEEK_CUR;
  if (origin == SeekOrigin::kEnd) whence = SEEK_END;
  const off_t at = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (at < 0) throw EStreamError("Stream seek error: " + std::string(std::strerror(errno)));
  return at;
}

}  // namespace tessival::platform
