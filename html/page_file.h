#pragma once
// A fetched page on disk and the Content-Type its answer came with, kept in a small file
// beside it, so that whoever shows the page later can tell its character set.
#include <optional>
#include <string>
#include <string_view>

#include "html/page_charset.h"

namespace tessival::html {

// "answer.htm" keeps its type in "answer.htm.content-type".
std::string ContentTypeFileName(const std::string& page_file);

// The type kept beside the page; empty when there is none.
std::string ReadContentTypeBeside(const std::string& page_file);

// Keeps `content_type` beside the page, or removes what was kept when it is empty, so a
// type never describes a later answer. False when the file cannot be written or removed.
bool KeepContentTypeBeside(const std::string& page_file, std::string_view content_type);

// The page file in the engine's form, its set decided from the type kept beside it and
// the page itself, or `forced`; nothing when the file cannot be read.
std::optional<PageText> LoadPageText(const std::string& file_name,
                                     std::optional<PageCharset> forced = std::nullopt);

}  // namespace tessival::html
