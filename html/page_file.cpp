#include "html/page_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/bounded_file.h"

namespace tessival::html {
namespace {

// A type is one header line; anything longer is not one.
constexpr std::size_t kLongestContentType = 1024;

std::optional<std::string> ReadBytes(const std::string& name, std::uint64_t limit) {
  platform::BoundedFile file = platform::ReadBoundedFile(name, limit);
  if (!file.ok()) return std::nullopt;
  return std::move(file.bytes);
}

}  // namespace

std::string ContentTypeFileName(const std::string& page_file) { return page_file + ".content-type"; }

std::string ReadContentTypeBeside(const std::string& page_file) {
  std::string type =
      ReadBytes(ContentTypeFileName(page_file), kLongestContentType * 4).value_or(std::string());
  type = type.substr(0, std::min(type.find_first_of("\r\n"), kLongestContentType));
  return type;
}

bool KeepContentTypeBeside(const std::string& page_file, std::string_view content_type) {
  const std::string name = ContentTypeFileName(page_file);
  if (content_type.empty()) {
    std::error_code error;
    std::filesystem::remove(name, error);
    return !error;
  }
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(content_type.data(), static_cast<std::streamsize>(content_type.size()));
  out.close();
  return static_cast<bool>(out);
}

std::optional<PageText> LoadPageText(const std::string& file_name, std::optional<PageCharset> forced) {
  const std::optional<std::string> bytes = ReadBytes(file_name, platform::kPageFileLimit);
  if (!bytes) return std::nullopt;
  return DecodePage(*bytes, forced ? std::string() : ReadContentTypeBeside(file_name), forced);
}

}  // namespace tessival::html
