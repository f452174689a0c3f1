#include "platform/qt/qt_loop_driver.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace tessival::platform {

QtLoopDriver::QtLoopDriver(MessageLoop& loop, QObject* parent)
    : QObject(parent),
      loop_(loop),
      notifier_(std::make_unique<QSocketNotifier>(loop.fd(), QSocketNotifier::Read)) {
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Pump(); });
  // A blocking wait in the engine hands control to Qt until the next event of either kind;
  // the notifier above then dispatches the engine's messages.
  loop_.SetPump([this] {
    if (loop_.ProcessMessages()) return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    loop_.ProcessMessages();
  });
}

QtLoopDriver::~QtLoopDriver() { loop_.SetPump(nullptr); }

void QtLoopDriver::Pump() { loop_.ProcessMessages(); }

}  // namespace tessival::platform
