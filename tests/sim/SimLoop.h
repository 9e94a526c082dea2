// Virtual clock: events run in time order, instantly; nothing sleeps.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/Platform.h"

class SimLoop : public EventLoop {
 public:
  using Id = std::uint64_t;

  // Runs fn at now + delayMs (events at the same time run in the order
  // they were scheduled).
  Id schedule(long delayMs, std::function<void()> fn);
  void cancel(Id id);

  // EventLoop
  void pumpEvents() override;  // runs what is due now
  void wait(int ms) override { advance(ms); }
  std::chrono::milliseconds now() const override { return std::chrono::milliseconds(now_); }

  // Runs every event due within ms, then moves the clock to now + ms.
  void advance(long ms);
  // Advances until pred() holds or limitMs have passed; true when it held.
  bool advanceUntil(const std::function<bool()>& pred, long limitMs, long stepMs = 1);
  long nowMs() const { return now_; }

 private:
  void runUntil(long t);
  long now_ = 0;
  Id nextId_ = 0;
  // Key: (time, id) keeps scheduling order for equal times.
  std::map<std::pair<long, Id>, std::function<void()>> queue_;
};
