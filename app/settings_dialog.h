#pragma once
// "Einstellungen": the proxy (none, the system's, or one set by hand), the extra
// authority file for https, and the global key. Shows what the system's proxy variables
// say and which of them were ignored, and whether the global key could be taken.
#include <QDialog>
#include <string>
#include <vector>

#include "app/program_settings.h"

class QComboBox;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QGroupBox;

namespace tessival::app {

class SettingsDialog : public QDialog {
 public:
  // key_state: what the program could do with the global key ("belegt", "nicht verfügbar").
  SettingsDialog(const ProgramSettings& settings, const net::SystemProxies& system,
                 const QString& key_state, QWidget* parent = nullptr);
  // The settings as the dialog shows them now.
  ProgramSettings Result() const;

 private:
  QGroupBox* BuildProxyGroup(const net::SystemProxies& system);
  void ShowSettings(const ProgramSettings& settings);
  void UpdateManualFields();

  ProgramSettings base_;
  QComboBox* mode_ = nullptr;
  QGroupBox* manual_ = nullptr;
  QComboBox* kind_ = nullptr;
  QLineEdit* host_ = nullptr;
  QSpinBox* port_ = nullptr;
  QLineEdit* user_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* ca_file_ = nullptr;
  QKeySequenceEdit* key_ = nullptr;
};

// A line on what the system's proxy variables say, for the dialog.
QString DescribeSystemProxies(const net::SystemProxies& system);

}  // namespace tessival::app
