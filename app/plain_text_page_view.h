#pragma once
// Stands in for the frame viewer until the HTML engine is wired in: shows the fetched file's
// text as the engine would read it (converted from the page's character set), with the
// viewer's cream background, its selection and Ctrl+C.
#include <QPlainTextEdit>
#include <memory>

#include "app/page_view.h"

namespace tessival::app {

class PlainTextPageView : public PageView {
 public:
  explicit PlainTextPageView(QWidget* parent = nullptr);
  ~PlainTextPageView() override;
  QWidget* Widget() override;
  void LoadFromFile(const std::string& file_name) override;
  void CopyToClipboard() override;
  std::string SelText() const override;

 private:
  class Editor;
  Editor* editor_;  // owned by its Qt parent, or by holder_ while it has none
  std::unique_ptr<QWidget> holder_;
};

}  // namespace tessival::app
