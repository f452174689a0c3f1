#pragma once
// The document's own link rules, as the CSS reader needs them to make url() values
// absolute: the style layer and the URL helpers meet here and nowhere else.
#include "html/css_url_resolver.h"

namespace tessival::html {

class DocumentUrlResolver : public TCssUrlResolver {
 public:
  bool IsFullUrl(std::string_view url) const override;
  std::string CombineUrl(std::string_view url, std::string_view base) const override;
  std::string UrlToFileName(std::string_view url) const override;
};

}  // namespace tessival::html
