#include "html/url_target.h"

namespace tessival::html {
namespace {

// Program-wide, so that link numbers never repeat between documents or frames.
int next_link_number = 0;

}  // namespace

void TUrlTarget::Assign(const std::string& url, const std::string& target) {
  url_ = url;
  target_ = target;
  link_number_ = next_link_number++;
}

void TUrlTarget::Clear() {
  url_.clear();
  target_.clear();
  link_number_ = 0;
}

}  // namespace tessival::html
