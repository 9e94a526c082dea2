#include "operations/OperationRunner.h"

OperationRunner::OperationRunner(Platform& platform) : sweep_(platform.createTimer()) {
  sweep_->setInterval(0);
  sweep_->onTick = [this] {
    sweep_->setEnabled(false);
    ended_.clear();
  };
}

OperationRunner::~OperationRunner() {
  // Nothing may report into a runner that is gone.
  if (running_) {
    running_->onFinished = nullptr;
    running_->abandon();
  }
}

bool OperationRunner::run(std::unique_ptr<Operation> op) {
  if (running_ || !op) return false;
  running_ = std::move(op);
  Operation& started = *running_;
  started.onFinished = [this](const OperationResult& r) { finished(r); };
  onStarted(started);
  if (enter) {
    if (std::optional<Notice> refusal = enter(started)) {
      started.refuse(*refusal);
      return true;
    }
  }
  entered_ = true;
  started.start();
  return true;
}

void OperationRunner::cancel() {
  if (running_) running_->cancel();
}

void OperationRunner::finished(const OperationResult& result) {
  std::unique_ptr<Operation> op = std::move(running_);
  if (entered_ && leave) leave();
  entered_ = false;
  Operation& ended = *op;
  ended_.push_back(std::move(op));
  sweep_->setEnabled(true);
  onFinished(ended, result);
}
