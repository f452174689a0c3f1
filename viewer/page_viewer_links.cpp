// Following links in a viewer that stands alone, file names of links, visited links.
#include <QMetaObject>
#include <filesystem>

#include "html/ascii_text.h"
#include "html/text_util.h"
#include "html/url_helpers.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"

namespace tessival::viewer {

namespace {

constexpr std::size_t kExtensionLength = 5;

// ".HTML", ".JPEG": the name's extension with its dot, in upper case, at most five bytes.
std::string ExtensionOf(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  return html::ascii::ToUpper(extension.substr(0, kExtensionLength));
}

}  // namespace

void TPageViewer::LinkClicked() {
  if (OnHotSpotClick) {
    bool handled = false;
    OnHotSpotClick(hover_url_, handled);
    if (handled) return;
  }
  const ShownPlace before = CurrentPlace();
  std::string url = hover_url_;
  if (url.starts_with('#')) {
    if (JumpToAnchor(url)) {
      RecordHistory(before, {});
      AddVisited(document_file_ + url);
    }
    return;
  }
  const std::size_t hash = url.find('#');
  const std::string anchor = hash == std::string::npos ? "" : url.substr(hash);
  const std::string file = ExpandDocumentName(url.substr(0, hash));
  const std::string extension = ExtensionOf(file);
  if (extension == ".HTM" || extension == ".HTML") {
    if (file != document_file_) {
      LoadFromFile(file + anchor);
      AddVisited(file + anchor);
    } else if (JumpToAnchor(anchor)) {
      ShownPlace jumped_from = before;
      jumped_from.Kind = dkHtml;
      RecordHistory(jumped_from, {});
      AddVisited(file + anchor);
    }
  } else if (extension == ".BMP" || extension == ".GIF" || extension == ".JPG" || extension == ".JPEG" ||
             extension == ".PNG") {
    LoadImageFromFile(file);
  }
}

std::string TPageViewer::ExpandDocumentName(const std::string& name) const {
  const std::size_t scheme = name.find("://");
  if (scheme != std::string::npos && scheme > 0 &&
      html::ToLower(name).find("file://") == std::string::npos) {
    return name;
  }
  // An existing local file is that file, not a root-relative link for the server root.
  if (!name.empty() && name.front() == '/' && std::filesystem::is_regular_file(name))
    return std::filesystem::path(name).lexically_normal().string();
  std::string path = html::ExpandFileName(name, server_root_);
  if (path.empty()) return path;
  if (path.front() == '/') return std::filesystem::path(path).lexically_normal().string();
  if (html::ToLower(document_base_) == "dospath") return path;
  std::filesystem::path directory;
  if (!document_base_.empty()) {
    directory = html::UrlToFileName(html::GetBase(document_base_));
  } else if (!document_file_.empty()) {
    directory = std::filesystem::path(document_file_).parent_path();
  }
  if (directory.empty() || directory.is_relative()) {
    std::error_code error;
    directory = std::filesystem::absolute(directory, error);
  }
  return (directory / path).lexically_normal().string();
}

void TPageViewer::SubmitForm(const std::string& action, const std::string& target,
                             const std::string& enc_type, const std::string& method,
                             std::vector<std::string> results) {
  if (!OnFormSubmit) return;
  QMetaObject::invokeMethod(
      this,
      [this, action, target, enc_type, method, results = std::move(results)] {
        if (OnFormSubmit) OnFormSubmit(action, target, enc_type, method, results);
      },
      Qt::QueuedConnection);
}

void TPageViewer::FormControlIntoView(int y) {
  constexpr int kBottomMargin = 20;
  const int top = VScrollBarPosition();
  if (y >= top && y <= top + height() - kBottomMargin) return;
  SetVScrollBarPosition(y - height() / 2);
  panel_->update();
}

std::string TPageViewer::ResolvedLink(const std::string& url) const {
  if (url.starts_with('#')) return document_file_ + url;
  return ExpandDocumentName(url);
}

void TPageViewer::AddVisited(const std::string& url) {
  if (InsideFrame || visited_.MaxCount() <= 0) return;
  if (!visited_.Add(url)) return;
  bool marked = false;
  for (layout::TFontObj* link : document_->LinkList()) {
    if (!link->Visited && html::ToLower(ResolvedLink(link->UrlTarget.Url())) == html::ToLower(url)) {
      link->SetVisited(true);
      marked = true;
    }
  }
  if (marked) panel_->update();
}

void TPageViewer::MarkVisitedLinks() {
  if (visited_.Urls().empty()) return;
  std::vector<std::string> visited;
  visited.reserve(visited_.Urls().size());
  for (const std::string& url : visited_.Urls()) visited.push_back(html::ToLower(url));
  for (layout::TFontObj* link : document_->LinkList()) {
    const std::string resolved = html::ToLower(ResolvedLink(link->UrlTarget.Url()));
    for (const std::string& url : visited) {
      if (resolved == url) {
        link->SetVisited(true);
        break;
      }
    }
  }
}

}  // namespace tessival::viewer
