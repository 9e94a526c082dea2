// Virtual clock: events run in time order, instantly; nothing sleeps.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/Platform.h"

class SimLoop : public EventLoop {
 public:
  using Id = std::uint64_t;

  // Runs fn at now + delayMs (events at the same time run in the order
  // they were scheduled).
  Id schedule(long delayMs, std::function<void()> fn);
  void cancel(Id id);

  // EventLoop: runs the events in time order until quit(); kNothingLeft
  // when none is left that could lead to it.
  static constexpr int kNothingLeft = -1;
  int run() override;
  void quit(int code) override { quitCode_ = code; }
  std::chrono::milliseconds now() const override { return std::chrono::milliseconds(now_); }

  // Runs every event due within ms, then moves the clock to now + ms.
  void advance(long ms);
  // Advances until pred() holds or limitMs have passed; true when it held.
  bool advanceUntil(const std::function<bool()>& pred, long limitMs, long stepMs = 1);
  long nowMs() const { return now_; }

 private:
  void runNext();
  void runUntil(long t);
  long now_ = 0;
  std::optional<int> quitCode_;
  Id nextId_ = 0;
  // Key: (time, id) keeps scheduling order for equal times.
  std::map<std::pair<long, Id>, std::function<void()>> queue_;
};
