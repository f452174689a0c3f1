#pragma once
// Drives the platform message loop from Qt's event loop: one thread, one loop. Qt watches
// the loop's descriptor and pumps it when it becomes readable; blocking waits inside the
// engine (a synchronous request) run Qt's events too, so the window stays alive.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "platform/message_loop.h"

namespace tessival::platform {

class QtLoopDriver : public QObject {
  Q_OBJECT
 public:
  explicit QtLoopDriver(MessageLoop& loop, QObject* parent = nullptr);
  ~QtLoopDriver() override;

 private:
  void Pump();
  MessageLoop& loop_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tessival::platform
