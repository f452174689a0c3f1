#include "app/button_tooltips.h"

#include <QEvent>
#include <QPushButton>
#include <string_view>

#include "platform/qt/text_convert.h"

namespace tessival::app {
namespace {

// Each service in the user's words, by its button.
struct Description {
  std::string_view component;
  const char* utf8_words;
};
constexpr Description kDescriptions[] = {
    {"Button1", "Wörterbuch Deutsch–Englisch"},
    {"Button2", "Wörterbuch Deutsch–Französisch"},
    {"Button13", "Übersetzung Deutsch → Englisch"},
    {"Button14", "Übersetzung Englisch → Deutsch"},
    {"Button3", "Abkürzungen nachschlagen"},
    {"Button4", "Suche in der deutschen Wikipedia"},
    {"Button6", "Wortschatz: Wortbedeutung und Gebrauch"},
    {"Button16", "Frage stellen (Antwortdienst 1)"},
    {"Button17", "Frage stellen (Antwortdienst 2)"},
    {"Button18", "Frage stellen (Antwortdienst 3)"},
    {"Button7", "Ist der Domainname noch frei?"},
    {"Button8", "Wem gehört die IP-Adresse?"},
    {"Button9", "Wo steht die IP-Adresse?"},
    {"Button11", "Preisvergleich"},
    {"Button12", "Nachrichtenticker (ohne Suchtext)"},
};

// Longer addresses are cut in the middle: the tip must fit on the screen.
constexpr int kMaxShownAddress = 160;

QString DescriptionOf(const ServiceRow& row) {
  for (const Description& description : kDescriptions) {
    if (description.component == row.component) return QString::fromUtf8(description.utf8_words);
  }
  return QString::fromLatin1(row.kind);
}

}  // namespace

QString ServiceToolTip(const ServiceRow& row, const std::string& memo_text) {
  QString address = platform::ToQString(BuildQueryAddress(row, memo_text));
  if (address.size() > kMaxShownAddress) {
    address = address.left(kMaxShownAddress / 2) + QChar(0x2026) + address.right(kMaxShownAddress / 2);
  }
  return DescriptionOf(row) + QStringLiteral("\n") + address;
}

QString BrowserButtonToolTip() {
  return QString::fromUtf8("Die letzte Abfrage im Standardbrowser öffnen");
}

QString ScriptButtonToolTip() {
  return QString::fromUtf8("Die letzte Abfrage an ./browser.sh übergeben");
}

ButtonToolTips::ButtonToolTips(std::function<std::string()> memo_text, QObject* parent)
    : QObject(parent), memo_text_(std::move(memo_text)) {}

void ButtonToolTips::Watch(QPushButton* button, const ServiceRow& row) {
  rows_[button] = &row;
  button->setToolTip(DescriptionOf(row));
  button->installEventFilter(this);
}

bool ButtonToolTips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto found = rows_.find(watched);
    if (found != rows_.end()) {
      static_cast<QPushButton*>(watched)->setToolTip(ServiceToolTip(*found->second, memo_text_()));
    }
  }
  return false;  // the button shows the tip as usual
}

}  // namespace tessival::app
