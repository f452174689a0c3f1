#include "viewer/meta_refresh.h"

#include <charconv>

#include "html/text_util.h"

namespace tessival::viewer {

namespace {

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<MetaRefresh> ParseMetaRefresh(std::string_view content) {
  const std::size_t semicolon = content.find(';');
  const std::string_view delay_text = TrimSpaces(content.substr(0, semicolon));
  int delay = -1;
  const auto [end, error] = std::from_chars(delay_text.data(), delay_text.data() + delay_text.size(),
                                            delay);
  if (delay_text.empty() || error != std::errc{} || end != delay_text.data() + delay_text.size() ||
      delay < 0) {
    return std::nullopt;
  }
  MetaRefresh refresh;
  refresh.Seconds = delay == 0 ? 1 : delay;
  // The address keeps the case it was written in; only the key is found in any case.
  const std::string lowered = html::ToLower(std::string(content));
  const std::size_t url_at = lowered.find("url=");
  if (url_at != std::string::npos) refresh.Url = std::string(content.substr(url_at + 4));
  return refresh;
}

}  // namespace tessival::viewer
