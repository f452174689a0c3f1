#pragma once
// What the main window needs of the lower pane: load a local page, copy and read the
// selection, and three events.
#include <functional>
#include <string>

class QWidget;

namespace tessival::app {

class PageView {
 public:
  virtual ~PageView() = default;
  // The pane's widget: the same one at every call, never nullptr, and not handed over by
  // the call. A view made with a parent leaves its widget to that parent's widget tree
  // (the main window puts it into the lower pane, which adopts it); the view must not
  // outlive the tree that holds its widget.
  virtual QWidget* Widget() = 0;
  // Throws viewer::EfvLoadError ("Can't locate file: " + name) when the file is missing.
  virtual void LoadFromFile(const std::string& file_name) = 0;
  virtual void CopyToClipboard() = 0;
  virtual std::string SelText() const = 0;

  // A character typed while the pane has the focus (Ctrl+C arrives as 3).
  std::function<void(char& key)> OnKeyPress;
  // The pane asks for a substitute name for a file it is about to open.
  std::function<void(const std::string& src, std::string& new_name)> OnFileRequest;
  // A link was clicked; a handler that sets handled stops the pane from following it.
  std::function<void(const std::string& target, const std::string& url, bool& handled)>
      OnHotSpotTargetClick;
};

}  // namespace tessival::app
