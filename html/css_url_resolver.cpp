#include "html/css_url_resolver.h"

#include "html/text_util.h"

namespace tessival::html {

namespace {

bool IsAbsoluteFileName(std::string_view name) {
  return (name.size() >= 2 && name[1] == ':') || name.starts_with("\\\\");
}

}  // namespace

std::string MakeUrlAbsolute(std::string_view value, std::string_view base,
                            const TCssUrlResolver& resolver) {
  const auto open = value.find("url(");
  if (open == std::string_view::npos) return std::string(value);
  const auto inner_start = open + 4;
  const auto close = value.find(')', inner_start);
  const auto inner_end = close == std::string_view::npos ? value.size() : close;
  const std::string_view url = StripQuotes(Trim(value.substr(inner_start, inner_end - inner_start)));
  std::string name;
  if (base.find("://") != std::string_view::npos) {
    name = resolver.IsFullUrl(url) ? std::string(url) : resolver.CombineUrl(url, base);
  } else {
    name = resolver.UrlToFileName(url);
    if (!IsAbsoluteFileName(name)) name = std::string(base) + name;
  }
  std::string result(value.substr(0, open));
  result += "url(" + name + ")";
  if (close != std::string_view::npos) result += value.substr(close + 1);
  return result;
}

}  // namespace tessival::html
