// What the parts of a batch run ask of the run that holds them: steps on
// the loop, operations with a continuation, and the end with an exit code.
#pragma once

#include <functional>
#include <memory>

#include "core/OperationKind.h"
#include "operations/Operation.h"

class BatchSteps {
 public:
  using Then = std::function<void(const OperationResult&)>;
  // The operation of the run ended with this exit code and result.
  using Ended = std::function<void(int code, const OperationResult& result)>;

  // Runs step after ms on the loop; one pending step at a time.
  virtual void after(int ms, std::function<void()> step) = 0;
  virtual void cancelPendingStep() = 0;
  // Runs op; then gets its result once the loop is back at the top.
  virtual void start(std::unique_ptr<Operation> op, Then then) = 0;
  // Runs the run's operation op on the modem, its result line and history
  // entry included.
  virtual void operation(OperationKind op, Ended then) = 0;
  // Ends the run with this exit code.
  virtual void quit(int code) = 0;

 protected:
  ~BatchSteps() = default;
};
