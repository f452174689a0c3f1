#pragma once
// Byte streams with read, write, seek and size: the HTTP client writes bodies into a
// caller's stream, viewers load from streams.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessival::platform {

// A failed stream operation (open, read, write, seek): the message says which and why.
class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class SeekOrigin { kBeginning, kCurrent, kEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes count bytes; returns how many were written.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, SeekOrigin::kCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::kBeginning); }
  std::int64_t Size();
  // Writes all of it or throws EStreamError.
  void WriteBuffer(const void* buffer, std::size_t count);
};

class TMemoryStream : public TStream {
 public:
  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;

  const std::vector<char>& Memory() const { return data_; }
  std::string AsString() const { return std::string(data_.begin(), data_.end()); }
  void Clear();

 private:
  std::vector<char> data_;
  std::size_t position_ = 0;
};

class TFileStream : public TStream {
 public:
  enum class Mode { kCreate, kOpenRead, kOpenReadWrite };
  // Opens or creates (truncating) the file; throws EStreamError when it cannot.
  TFileStream(const std::string& file_name, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  const std::string& FileName() const { return file_name_; }

 private:
  std::string file_name_;
  int fd_ = -1;
};

}  // namespace tessival::platform
