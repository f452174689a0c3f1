#pragma once
// The link that a piece of running text belongs to.
#include <string>

namespace tessival::html {

class TUrlTarget {
 public:
  // Stores both and takes the next link number, which every piece of this link shares so
  // that hovering lights up the whole link.
  void Assign(const std::string& url, const std::string& target);
  void Copy(const TUrlTarget& other) { *this = other; }
  void Clear();

  const std::string& Url() const { return url_; }
  const std::string& Target() const { return target_; }
  int LinkNumber() const { return link_number_; }

 private:
  std::string url_;
  std::string target_;
  int link_number_ = 0;
};

}  // namespace tessival::html
