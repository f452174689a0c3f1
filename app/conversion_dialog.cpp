#include "app/conversion_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/program_icon.h"
#include "platform/qt/text_convert.h"

namespace tessival::app {
namespace {

constexpr int kComboWidth = 217;

QComboBox* MakeCombo(QWidget* parent, const char* name, int x, int y) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  combo->setEditable(true);
  combo->move(x, y);
  combo->resize(kComboWidth, combo->sizeHint().height());
  return combo;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int x, int y) {
  auto* edit = new QLineEdit(QString::fromLatin1(name), parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAccessibleName(QString::fromLatin1(name));
  edit->setGeometry(x, y, 121, 21);
  return edit;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Tessival - Umrechnungen"));
  setWindowIcon(ProgramIcon());
  setModal(false);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  move(298, 251);
  setFixedSize(492, 166);  // a single fixed border: the size cannot change

  auto* from = new QLabel(QStringLiteral("Von"), this);
  from->move(16, 56);
  auto* to = new QLabel(QStringLiteral("Nach:"), this);
  to->move(16, 92);
  edit1_ = MakeEdit(this, "Edit1", 53, 52);
  edit2_ = MakeEdit(this, "Edit2", 53, 88);
  edit2_->setEnabled(false);
  from->setBuddy(edit1_);
  to->setBuddy(edit2_);

  combo1_ = MakeCombo(this, "ComboBox1", 189, 12);
  combo1_->addItem(
      platform::ToQString("Fahrenheit \xB0"
                          "F"));
  combo1_->addItem(
      platform::ToQString("Celsius \xB0"
                          "C"));
  combo1_->addItem(QString());
  MakeCombo(this, "ComboBox2", 189, 52)->setEditText(QStringLiteral("ComboBox2"));
  MakeCombo(this, "ComboBox3", 189, 88)->setEditText(QStringLiteral("ComboBox3"));

  auto* calculate = new QPushButton(QStringLiteral("Berechnen"), this);
  calculate->setObjectName(QStringLiteral("Button1"));
  calculate->setGeometry(53, 128, 75, 25);
  connect(calculate, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm2::Button1Click() {
  bool is_number = false;
  [[maybe_unused]] const double value = edit1_->text().trimmed().toDouble(&is_number);
  // There is nothing to compute yet: the number is read and, like a bad one, dropped.
}

}  // namespace tessival::app
