#include "app/BatchMode.h"

#include "app/BatchSession.h"
#include "app/LineReport.h"
#include "app/OperationRecorder.h"
#include "app/Records.h"
#include "app/StationPace.h"
#include "core/UpgradeHistory.h"
#include "firmware/ImageStore.h"

namespace {
// Operations after which the modem restarts: a slow one may be waited for.
bool Restarts(BatchOptions::Operation op) {
  using Op = BatchOptions::Operation;
  return op == Op::Upgrade || op == Op::Restore || op == Op::Pic || op == Op::Reset;
}

}  // namespace

using Outcome = OperationResult::Outcome;

int BatchSession::run() {
  if (o_.operation == Op::History) return history();
  if (o_.operation == Op::Report) return report();
  if (auto code = prepare()) {
    close();
    return *code;
  }
  // The start-up's version read runs: what follows waits for its result.
  if (bench_.busy())
    pending_ = [this](const OperationResult&) { begin(); };
  else
    after(0, [this] { begin(); });
  guard_.watch(true);
  const int code = platform_.loop().run();
  guard_.watch(false);
  next_->setEnabled(false);
  close();
  return code;
}

std::optional<int> BatchSession::prepare() {
  if (!o_.interfaces.empty()) {
    const std::string& name = o_.interfaces.front();
    ui_.setInterface(name);
    const std::string problem = platform_.networkInterfaces().bindProblem(name);
    if (!problem.empty()) {
      const std::string reason = "Cannot use the interface " + name + ": " + problem + ".";
      ui_.error(reason);
      return report_.unusable(FailureCode::InterfaceUnusable, reason);
    }
    bench_.bindToInterface(name);
    if (platform_.networkInterfaces().reversePathFilter(name) == 1)
      ui_.warning(StrictReversePathWarning(name));
  }
  if (o_.waitBackSeconds > 0 && Restarts(o_.operation))
    bench_.setRestartWaitBack(std::chrono::seconds(o_.waitBackSeconds));
  observe();
  // What needs no new image runs from a folder that holds none. The dry
  // run reports a missing or refused image as one of its checks.
  const bool imageRequired = o_.station || o_.operation == Op::Upgrade ||
                             (o_.operation == Op::Verify && !o_.verifyVersion);
  const Workbench::Start started = bench_.start(imageRequired);
  if (started == Workbench::Start::ReleaseRefused) {
    // Refused before anything was sent: the run failed, and says why.
    report_.setReason("The new software is refused: " + bench_.release().problem.english());
    report_.result(o_.operation, FailedFor(Outcome::Refused, FailureCode::ReleaseRefused),
                   kExitFailed, now());
    return kExitFailed;
  }
  if (started != Workbench::Start::Ready) return report_.unusable(FailureCode::FolderUnusable, {});
  // A version that is not kept is a typing error, told before the modem is
  // touched, as verify does.
  ImageStore& images = bench_.images();
  if (o_.operation == Op::Restore &&
      !ImageStore::fileExists(images.backupImagePath(o_.restoreVersion))) {
    std::string available;
    for (const auto& v : images.backupVersions())
      available += (available.empty() ? "" : ", ") + v.display();
    report_.setReason("Version " + o_.restoreVersion.display() +
                      " is not in the backup directory." +
                      (available.empty() ? "" : " Available: " + available));
    ui_.error(report_.reason());
    report_.result(Op::Restore, FailedFor(Outcome::Refused, FailureCode::NoBackup), kExitUsage,
                   now());
    return kExitUsage;
  }
  const Session& session = bench_.session();
  if ((o_.station || o_.operation == Op::Upgrade) && !session.trust.active())
    ui_.warning("kova_" + session.newVersion.fileForm() +
                ".bin is not signed: no trusted key is set up, so the release is not checked.");
  if (bench_.release().manifest && !bench_.release().manifest->note.empty())
    ui_.note("Release note: " + bench_.release().manifest->note);
  bench_.run(bench_.modem().versionRead());
  return std::nullopt;
}

void BatchSession::observe() {
  bench_.tellRecords = [this](std::size_t waiting, const Text& shown) {
    const std::string text = shown.english();
    if (!o_.json) return ui_.warning(text);
    ui_.json(JsonLine()
                 .add("event", "warning")
                 .add("kind", waiting ? "records-waiting" : "records-sent")
                 .add("waiting", static_cast<long long>(waiting))
                 .add("message", text)
                 .str());
  };
  bench_.recorder().onUnfinishedUpload.add(
      [this](const HistoryEntry& began) { report_.unfinishedUpload(began); });
  OperationRunner& runner = bench_.modem().runner();
  startedObserver_ = runner.onStarted.add([this](Operation& op) {
    auto shownPhase = std::make_shared<Phase>(Phase::None);
    op.onProgress.add([this, shownPhase](const Operation::Progress& p) {
      if (p.phase != *shownPhase) {
        *shownPhase = p.phase;
        ui_.phase(p.phase, bench_.session().restartWaitBack.count() > 0);
      }
      if (p.transfer) ui_.transfer(*p.transfer, now());
    });
  });
  finishedObserver_ = runner.onFinished.add([this](Operation&, const OperationResult& result) {
    locked_ = result.lockUpgradeControls;
    lastResult_ = result;
    if (!pending_) return;
    // Taken up from the top of the loop: what the operation was doing when
    // it ended has unwound by then.
    Then then = std::move(pending_);
    after(0, [then, result] { then(result); });
  });
  next_->onTick = [this] {
    next_->setEnabled(false);
    auto step = std::move(nextStep_);
    if (step) step();
  };
  guard_.onInterrupt = [this](bool twice, int) { interrupted(twice); };
}

void BatchSession::close() {
  bench_.restoreDhcpAddress();
  // Nothing of the session fires any more; what ran is recorded as interrupted.
  bench_.shutDown();
}

void BatchSession::quit(int code) {
  guard_.watch(false);
  next_->setEnabled(false);
  // The run's records go before it ends, unless the database is away (they
  // wait in the queue for the next run).
  bench_.whenRecordsSettled(kRecordsSettleMs, [this, code] { platform_.loop().quit(code); });
}

void BatchSession::after(int ms, std::function<void()> step) {
  nextStep_ = std::move(step);
  next_->setEnabled(false);
  next_->setInterval(ms);
  next_->setEnabled(true);
}

void BatchSession::start(std::unique_ptr<Operation> op, Then then) {
  pending_ = std::move(then);
  if (!bench_.run(std::move(op))) pending_ = nullptr;
}

void BatchSession::begin() {
  if (o_.station) return station_.run();
  if (o_.operation == Op::Verify) return checks_.verify();
  if (o_.operation == Op::Check) return checks_.check();
  operation(o_.operation, [this](int code, const OperationResult&) { quit(code); });
}

std::optional<HistoryRead> BatchSession::records() {
  HistoryRead read;
  if (const std::string& url = bench_.settings().recordsUrl; !url.empty()) {
    std::string error;
    auto records = ReadRecords(platform_, url, "", "", error);
    if (!records) {
      ui_.error("The records database cannot be read: " + error);
      return std::nullopt;
    }
    read.entries = std::move(*records);
  } else {
    read = ReadHistory(bench_.historyPathBeforeStart());
  }
  for (const auto& warning : read.warnings) ui_.error(warning);
  return read;
}

int BatchSession::history() {
  const std::optional<HistoryRead> read = records();
  if (!read) return kExitFailed;
  if (o_.json) {
    // The lines as written: each names its own interface.
    for (const auto& entry : HistoryOperations(read->entries)) ui_.print(HistoryLine(entry) + "\n");
  } else {
    ui_.print(HistoryTable(read->entries));
  }
  return kExitDone;
}

int BatchSession::report() {
  const std::optional<HistoryRead> read = records();
  if (!read) return kExitFailed;
  LineReportOptions options;
  options.format = o_.json  ? LineReportOptions::Format::Json
                   : o_.csv ? LineReportOptions::Format::Csv
                            : LineReportOptions::Format::Text;
  options.since = o_.since;
  options.until = o_.until;
  ui_.print(LineReport(read->entries, options));
  return kExitDone;
}

// Ctrl+C is refused once while busy, as the window refuses to close; a
// second one (or two at once: the end of the terminal, a kill) ends the
// run, abandoning what is under way (the operation cleans up after itself:
// no half backup stays). A station that waits between two modems ends
// cleanly.
void BatchSession::interrupted(bool twice) {
  if (o_.station && station_.stopBetweenModems()) return;
  if (bench_.busy() && !refused_ && !twice) {
    refused_ = true;
    // A station finishes the unit in hand and takes no other.
    if (o_.station) {
      station_.stopAfterUnit();
      ui_.note("Stopping after this unit. Press Ctrl+C again to abandon it.");
      return;
    }
    ui_.note("Busy: the operation cannot be interrupted now. Press Ctrl+C again to abandon it.");
    return;
  }
  ui_.note("Abandoned.");
  pending_ = nullptr;
  // The operation ends as interrupted, and the history records it so; its
  // result (which says what the modem's flash holds) is told, not dropped.
  OperationRunner& runner = bench_.modem().runner();
  const bool running = runner.busy();
  runner.cancel();
  report_.interrupted(running ? lastResult_ : OperationResult{});
  close();
  if (endProcess_) endProcess_(kExitInterrupted);
  quit(kExitInterrupted);
}

int RunBatch(Platform& platform, const Settings& settings, ConsoleUi& ui, const BatchOptions& o,
             const std::atomic<int>& interrupts, const std::function<void(int)>& endProcess,
             const std::function<bool()>& enterPressed) {
  BatchSession run(platform, settings, ui, o, interrupts, endProcess, enterPressed);
  return run.run();
}
