// Runs the operations of one modem session, one at a time: an operation
// asked for while another runs does not start. The runner is the busy
// state: the window shows it, batch mode and the history observe it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "operations/Operation.h"
#include "platform/Observers.h"
#include "platform/Platform.h"

class OperationRunner {
 public:
  explicit OperationRunner(Platform& platform);
  ~OperationRunner();

  // Starts op unless another runs (then op is dropped); true when started.
  bool run(std::unique_ptr<Operation> op);
  bool busy() const { return running_ != nullptr; }
  Operation* current() const { return running_.get(); }
  // The running operation ends quietly, as interrupted.
  void cancel();

  // What lets an operation reach the modem, asked before it starts: a
  // refusal ends it at once, as refused, with that notice told; leave()
  // follows every operation that was let in, once it ended.
  std::function<std::optional<Notice>(Operation&)> enter;
  std::function<void()> leave;

  Observers<Operation&> onStarted;
  Observers<Operation&, const OperationResult&> onFinished;

 private:
  void finished(const OperationResult& result);

  std::unique_ptr<Operation> running_;
  bool entered_ = false;
  // Ended operations live until the loop is back at the top: their own code
  // may still be on the stack when the next one starts.
  std::vector<std::unique_ptr<Operation>> ended_;
  std::unique_ptr<Timer> sweep_;
};
