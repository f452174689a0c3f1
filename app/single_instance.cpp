#include "app/single_instance.h"

#include <unistd.h>

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace tessival::app {
namespace {

constexpr int kHandOverTimeoutMs = 3000;
constexpr char kTaken = 'k';
// Version of the message; a request of another version is dropped, not misread.
constexpr quint8 kMessageVersion = 1;
constexpr qint64 kMaxMessageBytes = 1 << 20;

QString DisplayName() {
  QString display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = QStringLiteral("none");
  for (QChar& c : display) {
    if (!c.isLetterOrNumber() && c != QLatin1Char('.')) c = QLatin1Char('_');
  }
  return display;
}

void WriteOptional(QDataStream& out, const std::optional<QString>& value) {
  out << value.has_value() << value.value_or(QString());
}

std::optional<QString> ReadOptional(QDataStream& in) {
  bool present = false;
  QString value;
  in >> present >> value;
  return present ? std::optional<QString>(value) : std::nullopt;
}

}  // namespace

QString InstanceSocketPath() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  const QString name = QStringLiteral("tessival-%1.socket").arg(DisplayName());
  if (!runtime.isEmpty()) return runtime + QLatin1Char('/') + name;
  return QDir::tempPath() + QStringLiteral("/tessival-%1-%2.socket").arg(::getuid()).arg(DisplayName());
}

bool SingleInstance::HandOver(const QString& path, const InstanceRequest& request) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kHandOverTimeoutMs)) return false;
  QDataStream out(&socket);
  out << kMessageVersion;
  WriteOptional(out, request.service);
  WriteOptional(out, request.text);
  if (!socket.waitForBytesWritten(kHandOverTimeoutMs)) return false;
  // The first instance answers once the request is in its queue.
  while (socket.bytesAvailable() == 0) {
    if (!socket.waitForReadyRead(kHandOverTimeoutMs)) return false;
  }
  char answer = 0;
  return socket.getChar(&answer) && answer == kTaken;
}

SingleInstance::SingleInstance(RequestHandler handler) : handler_(std::move(handler)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.setMaxPendingConnections(8);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::TakeConnection);
}

bool SingleInstance::Listen(const QString& path) {
  if (server_.listen(path)) return true;
  if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
  // A socket file nobody answers on is what a crashed instance leaves behind.
  QLocalSocket probe;
  probe.connectToServer(path);
  if (probe.waitForConnected(kHandOverTimeoutMs)) return false;
  QLocalServer::removeServer(path);
  return server_.listen(path);
}

void SingleInstance::TakeConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->bytesAvailable() > kMaxMessageBytes) {
        socket->abort();
        return;
      }
      QDataStream in(socket);
      in.startTransaction();
      quint8 version = 0;
      in >> version;
      InstanceRequest request;
      request.service = ReadOptional(in);
      request.text = ReadOptional(in);
      if (!in.commitTransaction()) return;  // the rest is still on its way
      if (version != kMessageVersion) {
        socket->abort();
        return;
      }
      socket->putChar(kTaken);
      socket->flush();
      // The query runs from the loop itself, not inside this socket's signal: it waits
      // for its answer, and the socket may go away meanwhile.
      QTimer::singleShot(0, this, [this, request] { handler_(request); });
    });
  }
}

}  // namespace tessival::app
