#pragma once
#include <string>

namespace tessival::net {

// The standard alphabet, "=" padding, no line breaks: what Basic authentication sends.
std::string Base64Encode(const std::string& bytes);

}  // namespace tessival::net
