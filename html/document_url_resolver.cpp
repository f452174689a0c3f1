#include "html/document_url_resolver.h"

#include "html/url_helpers.h"

namespace tessival::html {

bool DocumentUrlResolver::IsFullUrl(std::string_view url) const { return html::IsFullUrl(url); }

std::string DocumentUrlResolver::CombineUrl(std::string_view url, std::string_view base) const {
  return html::CombineUrl(base, url);
}

std::string DocumentUrlResolver::UrlToFileName(std::string_view url) const {
  return html::UrlToFileName(url);
}

}  // namespace tessival::html
