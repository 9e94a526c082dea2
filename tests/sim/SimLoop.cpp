#include "sim/SimLoop.h"

SimLoop::Id SimLoop::schedule(long delayMs, std::function<void()> fn) {
  if (delayMs < 0) delayMs = 0;
  Id id = ++nextId_;
  queue_.emplace(std::make_pair(now_ + delayMs, id), std::move(fn));
  return id;
}

void SimLoop::cancel(Id id) {
  for (auto it = queue_.begin(); it != queue_.end(); ++it)
    if (it->first.second == id) {
      queue_.erase(it);
      return;
    }
}

void SimLoop::runUntil(long t) {
  // Handlers may nest waits; the queue and the clock are shared, so a
  // nested wait simply runs later events first and the clock never goes back.
  while (!queue_.empty() && queue_.begin()->first.first <= t) {
    auto it = queue_.begin();
    if (it->first.first > now_) now_ = it->first.first;
    auto fn = std::move(it->second);
    queue_.erase(it);
    fn();
  }
  if (t > now_) now_ = t;
}

void SimLoop::pumpEvents() { runUntil(now_); }

void SimLoop::advance(long ms) { runUntil(now_ + (ms < 0 ? 0 : ms)); }

bool SimLoop::advanceUntil(const std::function<bool()>& pred, long limitMs, long stepMs) {
  long end = now_ + limitMs;
  while (!pred()) {
    if (now_ >= end) return false;
    advance(std::min(stepMs, end - now_));
  }
  return true;
}
