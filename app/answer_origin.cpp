#include "app/answer_origin.h"

#include <algorithm>
#include <cctype>

#include "html/url_helpers.h"

namespace tessival::app {
namespace {

bool IsWebAddress(std::string_view url) {
  const auto starts = [url](std::string_view prefix) {
    return url.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), url.begin(), [](char lower, char c) {
             return std::tolower(static_cast<unsigned char>(c)) == lower;
           });
  };
  return starts("http://") || starts("https://");
}

// True when the name starts with a scheme of its own ("file:", "c:", "mailto:"): letters,
// digits, "+", "-" or "." up to a ":" before any "/", "?" or "#".
bool HasScheme(std::string_view name) {
  const std::size_t colon = name.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  if (colon > name.find_first_of("/?#")) return false;
  return std::all_of(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '-' || c == '.';
  });
}

std::string_view Trimmed(std::string_view name) {
  while (!name.empty() && static_cast<unsigned char>(name.front()) <= ' ') name.remove_prefix(1);
  while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ') name.remove_suffix(1);
  return name.substr(0, name.find('#'));
}

}  // namespace

std::optional<std::string> AnswerOrigin::Resolve(std::string_view name) const {
  const std::string_view link = Trimmed(name);
  if (HasScheme(link)) {
    if (IsWebAddress(link)) return std::string(link);
    return std::nullopt;
  }
  if (!IsWebAddress(address_) || link.empty()) return std::nullopt;
  std::string resolved = html::CombineUrl(html::GetBase(address_), link);
  if (!IsWebAddress(resolved)) return std::nullopt;
  return resolved;
}

}  // namespace tessival::app
