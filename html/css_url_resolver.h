#pragma once
// The URL helpers the style-sheet reader needs to make url() values absolute. The document
// layer supplies them; without them URLs stay as written.
#include <string>
#include <string_view>

namespace tessival::html {

class TCssUrlResolver {
 public:
  virtual ~TCssUrlResolver() = default;
  virtual bool IsFullUrl(std::string_view url) const = 0;
  virtual std::string CombineUrl(std::string_view url, std::string_view base) const = 0;
  virtual std::string UrlToFileName(std::string_view url) const = 0;
};

// Rewrites the url(...) in `value` against `base`: a web base ("://") combines relative URLs
// with it; any other base is a local directory that relative file names are put behind.
std::string MakeUrlAbsolute(std::string_view value, std::string_view base,
                            const TCssUrlResolver& resolver);

}  // namespace tessival::html
