// One batch run's lifecycle: the interface and start-up, the operation
// with its result line, Ctrl+C, and the close; verify and check, and the
// station's loop, are parts of their own.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "app/BatchChecks.h"
#include "app/BatchCommandLine.h"
#include "app/BatchReport.h"
#include "app/BatchStation.h"
#include "app/BatchSteps.h"
#include "app/ConsoleUi.h"
#include "app/InterruptGuard.h"
#include "app/Settings.h"
#include "app/Workbench.h"
#include "operations/ModemSession.h"

// One batch run: a state machine on the loop, driven by the results of the
// operations it starts and by its own timers; it quits the loop with the
// exit code.
class BatchSession : private BatchSteps {
 public:
  using Op = BatchOptions::Operation;
  // How long the end of a run waits for its records to reach the database.
  static constexpr int kRecordsSettleMs = 10000;

  BatchSession(Platform& platform, const Settings& settings, ConsoleUi& ui, const BatchOptions& o,
               const std::atomic<int>& interrupts, const std::function<void(int)>& endProcess,
               const std::function<bool()>& enterPressed)
      : platform_(platform),
        ui_(ui),
        o_(o),
        endProcess_(endProcess),
        bench_(platform, settings, ui, ui, Audience::Console),
        report_(ui, o, bench_),
        station_(*this, ui, o, bench_, enterPressed),
        checks_(*this, ui, o, bench_, report_),
        guard_(platform, interrupts),
        next_(platform.createTimer()) {}
  ~BatchSession() {
    bench_.modem().runner().onStarted.remove(startedObserver_);
    bench_.modem().runner().onFinished.remove(finishedObserver_);
  }

  int run();

 private:
  // BatchSteps
  void after(int ms, std::function<void()> step) override;
  void cancelPendingStep() override { next_->setEnabled(false); }
  void start(std::unique_ptr<Operation> op, Then then) override;
  void operation(Op op, Ended then) override;
  void quit(int code) override;

  // The records: the line's database with --records, else the history file
  // (its damaged lines told); nullopt when the database cannot be read (told).
  std::optional<HistoryRead> records();
  int history();
  int report();
  // The interface, then start-up; an exit code when the run cannot begin.
  std::optional<int> prepare();
  void observe();
  void begin();
  void interrupted(bool twice);
  void ended(Op op, OperationResult result, const Ended& then);
  std::chrono::milliseconds now() const { return platform_.loop().now(); }
  // As the window closes: the PC's address given back, the session ended.
  void close();

  Platform& platform_;
  ConsoleUi& ui_;
  const BatchOptions& o_;
  const std::function<void(int)>& endProcess_;
  Workbench bench_;
  BatchReport report_;
  BatchStation station_;
  BatchChecks checks_;
  InterruptGuard guard_;
  std::unique_ptr<Timer> next_;
  std::function<void()> nextStep_;
  Then pending_;  // the continuation of the operation that runs
  OperationResult lastResult_;
  bool locked_ = false;   // the last operation found the modem wanting
  bool refused_ = false;  // a Ctrl+C was refused while busy
  int startedObserver_ = 0, finishedObserver_ = 0;
};
