// Ctrl+C, seen from the loop: the signal handler only counts the presses (a
// closed terminal or a kill counts two), and the guard looks at the count a
// few times a second. Batch runs and the station supervisor each hold one.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/Platform.h"

class InterruptGuard {
 public:
  InterruptGuard(Platform& platform, const std::atomic<int>& presses)
      : presses_(presses), look_(platform.createTimer()) {
    look_->setInterval(100);
    look_->onTick = [this] {
      const int now = presses_.load();
      if (now == seen_) return;
      const bool twice = now - seen_ >= 2;
      seen_ = now;
      if (onInterrupt) onInterrupt(twice, now);
    };
  }
  // twice: two presses or more since the last look; total: since the start.
  std::function<void(bool twice, int total)> onInterrupt;
  void watch(bool on) { look_->setEnabled(on); }

 private:
  const std::atomic<int>& presses_;
  std::unique_ptr<Timer> look_;
  int seen_ = 0;
};
