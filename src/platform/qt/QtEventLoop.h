// The event loop of the real platform: Qt's own, with a monotonic clock.
#pragma once

#include <QElapsedTimer>

#include "platform/Platform.h"

class QtEventLoop : public EventLoop {
 public:
  QtEventLoop() { clock_.start(); }
  int run() override;
  void quit(int code) override;
  std::chrono::milliseconds now() const override {
    return std::chrono::milliseconds(clock_.elapsed());
  }

 private:
  QElapsedTimer clock_;
};
