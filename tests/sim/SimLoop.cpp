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

void SimLoop::runNext() {
  auto it = queue_.begin();
  if (it->first.first > now_) now_ = it->first.first;
  auto fn = std::move(it->second);
  queue_.erase(it);
  fn();
}

void SimLoop::runUntil(long t) {
  // A handler may advance the clock itself (a user reading a box for a
  // while): the queue is shared, so the clock never goes back.
  while (!queue_.empty() && queue_.begin()->first.first <= t) runNext();
  if (t > now_) now_ = t;
}

int SimLoop::run() {
  quitCode_.reset();
  while (!quitCode_) {
    if (queue_.empty()) return kNothingLeft;
    runNext();
  }
  const int code = *quitCode_;
  quitCode_.reset();
  return code;
}

void SimLoop::advance(long ms) { runUntil(now_ + (ms < 0 ? 0 : ms)); }

bool SimLoop::advanceUntil(const std::function<bool()>& pred, long limitMs, long stepMs) {
  long end = now_ + limitMs;
  while (!pred()) {
    if (now_ >= end) return false;
    advance(std::min(stepMs, end - now_));
  }
  return true;
}
