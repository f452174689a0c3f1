#include "app/answer_context_menu.h"

#include "html/url_helpers.h"

namespace tessival::app {
namespace {

void AddEntry(QMenu& menu, const char* utf8_text, const char* name, bool enabled,
              std::function<void()> command) {
  QAction* action = menu.addAction(QString::fromUtf8(utf8_text));
  action->setObjectName(QString::fromLatin1(name));
  action->setEnabled(enabled);
  QObject::connect(action, &QAction::triggered, &menu, [command = std::move(command)] {
    if (command) command();
  });
}

}  // namespace

std::unique_ptr<QMenu> MakeAnswerContextMenu(const AnswerMenuPlace& place, AnswerMenuCommands commands) {
  auto menu = std::make_unique<QMenu>();
  menu->setObjectName(QStringLiteral("AnswerMenu"));
  AddEntry(*menu, "&Kopieren", "Kopieren", place.has_selection, std::move(commands.copy));
  AddEntry(*menu, "&Alles markieren", "AllesMarkieren", true, std::move(commands.select_all));
  if (place.on_link) {
    AddEntry(*menu, "&Link-Adresse kopieren", "LinkAdresseKopieren", true,
             std::move(commands.copy_link));
  }
  menu->addSeparator();
  AddEntry(*menu, "Auswahl &nachschlagen", "AuswahlNachschlagen", place.has_selection,
           std::move(commands.look_up));
  return menu;
}

std::string LinkAddress(const std::string& link, const std::string& page_address) {
  if (html::IsFullUrl(link) || page_address.empty()) return link;
  return html::CombineUrl(html::GetBase(page_address), link);
}

}  // namespace tessival::app
