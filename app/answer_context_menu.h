#pragma once
// The answer pane's context menu, in German: copy, select all, copy a link's address, and
// look the selection up with the last service.
#include <QMenu>
#include <functional>
#include <memory>
#include <string>

namespace tessival::app {

struct AnswerMenuCommands {
  std::function<void()> copy;
  std::function<void()> select_all;
  std::function<void()> copy_link;
  std::function<void()> look_up;
};

// What lies under the click.
struct AnswerMenuPlace {
  bool has_selection = false;
  bool on_link = false;
};

// Copying and looking up need a selection (their entries are greyed without one); the link
// entry is there only over a link.
std::unique_ptr<QMenu> MakeAnswerContextMenu(const AnswerMenuPlace& place, AnswerMenuCommands commands);

// The address a link on an answer page stands for: the page came from `page_address`, so a
// relative link is resolved against it, not against the local file that holds the page.
std::string LinkAddress(const std::string& link, const std::string& page_address);

}  // namespace tessival::app
