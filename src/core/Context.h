// The references every subsystem is built with.
#pragma once

#include "core/Notice.h"
#include "core/Session.h"
#include "core/StatusView.h"
#include "platform/Platform.h"

struct Context {
  Platform& platform;
  Session& session;
  StatusView& view;
  NoticeSink& notices;

  EventLoop& loop() const { return platform.loop(); }
  void report(const Notice& notice) const { notices.report(notice); }
  // A timer with its interval set, disabled.
  std::unique_ptr<Timer> timer(int intervalMs) const {
    auto t = platform.createTimer();
    t->setInterval(intervalMs);
    return t;
  }
};
