#pragma once
// The unit-conversion dialog: laid out, reachable only through the hidden "Rechn." button,
// and without conversion logic of its own.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tessival::app {

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // "Berechnen": reads Edit1 as a number; text that is no number is silently ignored.
  void Button1Click();
  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }
  QComboBox* ComboBox1() const { return combo1_; }

 private:
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QComboBox* combo1_;
};

}  // namespace tessival::app
