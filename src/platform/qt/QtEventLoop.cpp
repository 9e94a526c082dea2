#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>

int QtEventLoop::run() { return QCoreApplication::exec(); }

void QtEventLoop::quit(int code) { QCoreApplication::exit(code); }
