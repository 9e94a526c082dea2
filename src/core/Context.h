// The references every subsystem is built with.
#pragma once

#include "core/Session.h"
#include "core/StatusView.h"
#include "platform/Platform.h"

struct Context {
  Platform& platform;
  Session& session;
  StatusView& view;

  Ui& ui() const { return platform.ui(); }
  EventLoop& loop() const { return platform.loop(); }
  // A timer with its interval set, disabled.
  std::unique_ptr<Timer> timer(int intervalMs) const {
    auto t = platform.createTimer();
    t->setInterval(intervalMs);
    return t;
  }
};
