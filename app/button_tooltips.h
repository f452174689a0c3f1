#pragma once
// The toolbar's tooltips: for a service, what it is and the address it would fetch for the
// memo's text at the moment the tip opens; for the command buttons, what they do.
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "app/service_table.h"

class QPushButton;

namespace tessival::app {

class ButtonToolTips : public QObject {
  Q_OBJECT
 public:
  // `memo_text` gives the memo's text (Windows-1252, CR LF) when a tip is about to open.
  ButtonToolTips(std::function<std::string()> memo_text, QObject* parent);

  // The button's tip follows the memo's text.
  void Watch(QPushButton* button, const ServiceRow& row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<std::string()> memo_text_;
  std::map<QObject*, const ServiceRow*> rows_;
};

// "Deutsch-Englisch-Wörterbuch" and the address, cut in the middle when very long.
QString ServiceToolTip(const ServiceRow& row, const std::string& memo_text);

// The fixed tips of "->Browser" and "4L".
QString BrowserButtonToolTip();
QString ScriptButtonToolTip();

}  // namespace tessival::app
