#include "operations/RoundWait.h"

RoundWait::RoundWait(const Context& context) : timer_(context.timer(1000)) {
  timer_->onTick = [this] {
    if (++done_ < rounds_) return;
    timer_->setEnabled(false);
    if (expired_) expired_();
  };
}

void RoundWait::start(int roundMs, int rounds, std::function<void()> expired) {
  timer_->setInterval(roundMs);
  rounds_ = rounds;
  done_ = 0;
  expired_ = std::move(expired);
  timer_->setEnabled(false);
  timer_->setEnabled(true);
}

void RoundWait::stop() { timer_->setEnabled(false); }
