// Reading a file a page named: regular files only, the size checked before the read, and
// every failure a result (a FIFO without a writer must not block the caller).
#include "platform/bounded_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "temp_tree.h"

namespace tessival::platform {
namespace {

constexpr std::uint64_t kLimit = 4096;

// A file of `size` bytes that takes no room on the disk.
std::string SparseFile(const testing::TempTree& tree, const std::string& name, std::uint64_t size) {
  std::string path = tree.Write(name, "");
  std::filesystem::resize_file(path, size);
  return path;
}

TEST(BoundedFileTest, ReadsOnlyRegularFilesWithinTheLimit) {
  testing::TempTree tree;
  const std::string fifo = tree.Path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directories(tree.Path("dir"));
  struct Case {
    std::string path;
    FileReadStatus status;
    std::size_t size;
  } const cases[] = {
      {tree.Write("small", "abc"), FileReadStatus::kOk, 3},
      {SparseFile(tree, "at-limit", kLimit), FileReadStatus::kOk, kLimit},
      {SparseFile(tree, "past-limit", kLimit + 1), FileReadStatus::kTooLarge, 0},
      {SparseFile(tree, "huge", std::uint64_t{3} << 30), FileReadStatus::kTooLarge, 0},
      {tree.Path("missing"), FileReadStatus::kMissing, 0},
      {tree.Path("dir"), FileReadStatus::kNotRegular, 0},
      {fifo, FileReadStatus::kNotRegular, 0},
      {"/dev/zero", FileReadStatus::kNotRegular, 0},
      {"/dev/stdin", FileReadStatus::kNotRegular, 0},
  };
  for (const Case& c : cases) {
    const BoundedFile read = ReadBoundedFile(c.path, kLimit);
    EXPECT_EQ(read.status, c.status) << c.path;
    EXPECT_EQ(read.bytes.size(), c.size) << c.path;
  }
}

TEST(BoundedFileTest, FilesThatClaimNoSizeAreStillBounded) {
  // /proc files report size 0 and deliver more; /proc/self/mem fails to read at 0.
  const BoundedFile status = ReadBoundedFile("/proc/self/status", 16);
  EXPECT_EQ(status.status, FileReadStatus::kTooLarge);
  EXPECT_TRUE(ReadBoundedFile("/proc/self/status", kLimit).ok());
  EXPECT_FALSE(ReadBoundedFile("/proc/self/mem", kLimit).ok());
}

}  // namespace
}  // namespace tessival::platform
