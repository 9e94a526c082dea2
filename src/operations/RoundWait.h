// A bounded wait, counted in rounds of a fixed length: the bound strikes at
// the end of the first round that reaches it, as the user knows it from a
// wait that looks at the clock once a round.
#pragma once

#include <functional>
#include <memory>

#include "core/Context.h"

class RoundWait {
 public:
  explicit RoundWait(const Context& context);
  // Waits rounds rounds of roundMs, then runs expired (unless stopped first).
  void start(int roundMs, int rounds, std::function<void()> expired);
  // Moves the bound of a running wait (counted from its start).
  void setRounds(int rounds) { rounds_ = rounds; }
  void stop();
  bool running() const { return timer_->enabled(); }

 private:
  std::unique_ptr<Timer> timer_;
  int rounds_ = 0;
  int done_ = 0;
  std::function<void()> expired_;
};
