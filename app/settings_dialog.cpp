#include "app/settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/text_convert.h"

namespace tessival::app {
namespace {

// The manual kinds the dialog offers; "socks5h" reads as SOCKS 5, which lets the proxy
// look names up anyway.
constexpr net::ProxyKind kManualKinds[] = {net::ProxyKind::kHttp, net::ProxyKind::kSocks4,
                                           net::ProxyKind::kSocks4a, net::ProxyKind::kSocks5};
constexpr const char* kManualKindNames[] = {"HTTP", "SOCKS 4", "SOCKS 4A", "SOCKS 5"};
constexpr int kDefaultPort = 1080;

QString Line(const char* label, const std::optional<net::ProxyServer>& server) {
  return QStringLiteral("%1: %2").arg(QString::fromLatin1(label),
                                      server ? QString::fromStdString(server->Describe())
                                             : QStringLiteral("-"));
}

}  // namespace

QString DescribeSystemProxies(const net::SystemProxies& system) {
  QStringList lines = {Line("http", system.http), Line("https", system.https), Line("alle", system.all)};
  if (!system.no_proxy.empty()) {
    lines << QStringLiteral("ohne Proxy: ") + QString::fromStdString(system.no_proxy);
  }
  for (const std::string& problem : system.problems) lines << platform::ToQString(problem);
  return lines.join(QLatin1Char('\n'));
}

SettingsDialog::SettingsDialog(const ProgramSettings& settings, const net::SystemProxies& system,
                               const QString& key_state, QWidget* parent)
    : QDialog(parent), base_(settings) {
  setWindowTitle(QStringLiteral("Einstellungen"));
  setObjectName(QStringLiteral("SettingsDialog"));
  auto* layout = new QVBoxLayout(this);  // owned by the dialog, as are all widgets below
  layout->addWidget(BuildProxyGroup(system));

  auto* other = new QFormLayout;
  ca_file_ = new QLineEdit(this);
  ca_file_->setObjectName(QStringLiteral("CaFile"));
  auto* browse = new QPushButton(QStringLiteral("\u2026"), this);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Zertifikatsdatei"),
                                                      ca_file_->text());
    if (!file.isEmpty()) ca_file_->setText(file);
  });
  auto* ca_row = new QHBoxLayout;
  ca_row->addWidget(ca_file_);
  ca_row->addWidget(browse);
  other->addRow(QStringLiteral("Zus\u00e4tzliche Zertifikate (HTTPS):"), ca_row);
  key_ = new QKeySequenceEdit(this);
  key_->setObjectName(QStringLiteral("GlobalKey"));
  other->addRow(QStringLiteral("Globale Taste:"), key_);
  auto* key_note = new QLabel(key_state, this);
  key_note->setObjectName(QStringLiteral("GlobalKeyState"));
  other->addRow(QString(), key_note);
  layout->addLayout(other);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  ShowSettings(settings);
}

QGroupBox* SettingsDialog::BuildProxyGroup(const net::SystemProxies& system) {
  auto* group = new QGroupBox(QStringLiteral("Proxy"), this);
  group->setObjectName(QStringLiteral("ProxyGroup"));
  auto* form = new QFormLayout(group);
  mode_ = new QComboBox(group);
  mode_->setObjectName(QStringLiteral("ProxyMode"));
  mode_->addItems({QStringLiteral("Keiner"), QStringLiteral("System"), QStringLiteral("Manuell")});
  form->addRow(QStringLiteral("Verbindung:"), mode_);
  auto* system_note = new QLabel(DescribeSystemProxies(system), group);
  system_note->setObjectName(QStringLiteral("SystemProxies"));
  form->addRow(QStringLiteral("System:"), system_note);

  manual_ = new QGroupBox(QStringLiteral("Manuell"), group);
  auto* manual_form = new QFormLayout(manual_);
  kind_ = new QComboBox(manual_);
  kind_->setObjectName(QStringLiteral("ProxyKind"));
  for (const char* name : kManualKindNames) kind_->addItem(QString::fromLatin1(name));
  host_ = new QLineEdit(manual_);
  host_->setObjectName(QStringLiteral("ProxyHost"));
  port_ = new QSpinBox(manual_);
  port_->setObjectName(QStringLiteral("ProxyPort"));
  port_->setRange(1, 65535);
  user_ = new QLineEdit(manual_);
  user_->setObjectName(QStringLiteral("ProxyUser"));
  password_ = new QLineEdit(manual_);
  password_->setObjectName(QStringLiteral("ProxyPassword"));
  password_->setEchoMode(QLineEdit::Password);
  manual_form->addRow(QStringLiteral("Art:"), kind_);
  manual_form->addRow(QStringLiteral("Rechner:"), host_);
  manual_form->addRow(QStringLiteral("Port:"), port_);
  manual_form->addRow(QStringLiteral("Benutzer:"), user_);
  manual_form->addRow(QStringLiteral("Kennwort:"), password_);
  form->addRow(manual_);
  connect(mode_, &QComboBox::currentIndexChanged, this, [this] { UpdateManualFields(); });
  return group;
}

void SettingsDialog::ShowSettings(const ProgramSettings& settings) {
  mode_->setCurrentIndex(static_cast<int>(settings.proxy.mode));
  const net::ProxyServer& manual = settings.proxy.manual;
  const net::ProxyKind shown_kind = manual.kind == net::ProxyKind::kSocks5h ? net::ProxyKind::kSocks5
                                                                            : manual.kind;
  for (int i = 0; i < static_cast<int>(std::size(kManualKinds)); ++i) {
    if (kManualKinds[i] == shown_kind) kind_->setCurrentIndex(i);
  }
  host_->setText(QString::fromStdString(manual.host));
  port_->setValue(manual.port.empty() ? kDefaultPort : std::stoi(manual.port));
  user_->setText(QString::fromStdString(manual.user));
  password_->setText(QString::fromStdString(manual.password));
  ca_file_->setText(QString::fromStdString(settings.ca_file));
  key_->setKeySequence(QKeySequence::fromString(QString::fromStdString(settings.global_key)));
  UpdateManualFields();
}

void SettingsDialog::UpdateManualFields() {
  manual_->setEnabled(mode_->currentIndex() == static_cast<int>(net::ProxyMode::kManual));
}

ProgramSettings SettingsDialog::Result() const {
  ProgramSettings result = base_;
  result.proxy.mode = static_cast<net::ProxyMode>(mode_->currentIndex());
  net::ProxyServer& manual = result.proxy.manual;
  manual.kind = kManualKinds[kind_->currentIndex()];
  manual.host = host_->text().trimmed().toStdString();
  manual.port = std::to_string(port_->value());
  manual.user = user_->text().toStdString();
  manual.password = password_->text().toStdString();
  result.ca_file = ca_file_->text().trimmed().toStdString();
  result.global_key = key_->keySequence().toString(QKeySequence::PortableText).toStdString();
  // A host that does not read as one leaves the proxy unusable: the system's applies.
  if (result.proxy.mode == net::ProxyMode::kManual &&
      (manual.host.empty() || !net::ParseProxyAddress(manual.host + ":1").server)) {
    result.proxy.mode = net::ProxyMode::kSystem;
  }
  return result;
}

}  // namespace tessival::app
