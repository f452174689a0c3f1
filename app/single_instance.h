#pragma once
// One running program per user and display. A second start hands its command line over a
// local socket to the first and ends; the first brings its window up and runs the query.
// The socket lives in the user's runtime folder (per user, mode 0700) and is named after
// the display, so two displays of one user each have their own window.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace tessival::app {

struct InstanceRequest {
  std::optional<QString> service;
  std::optional<QString> text;
  bool operator==(const InstanceRequest& other) const = default;
};

// The socket's path for this user and display.
QString InstanceSocketPath();

class SingleInstance : public QObject {
 public:
  using RequestHandler = std::function<void(const InstanceRequest&)>;

  // Hands request to the instance listening at path; true once it has taken it.
  static bool HandOver(const QString& path, const InstanceRequest& request);

  explicit SingleInstance(RequestHandler handler);
  // Listens at path, replacing a socket no instance answers on any more; false when another
  // instance listens there (the caller should hand over instead) or the path is unusable.
  bool Listen(const QString& path);

 private:
  void TakeConnection();

  RequestHandler handler_;
  QLocalServer server_;
};

}  // namespace tessival::app
