#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void QtEventLoop::pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventLoop::wait(int ms) {
  if (ms <= 0) {
    pumpEvents();
    return;
  }
  QEventLoop nested;
  QTimer::singleShot(ms, Qt::PreciseTimer, &nested, &QEventLoop::quit);
  nested.exec(QEventLoop::AllEvents);
}
