#include "app/BatchMode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/MainWindow.h"
#include "app/OperationRecorder.h"
#include "app/Presenter.h"
#include "app/StationPace.h"
#include "at/AtChannel.h"
#include "core/FailureCode.h"
#include "core/JsonLine.h"
#include "core/UpgradeHistory.h"
#include "core/TextUtilities.h"
#include "firmware/ImageStore.h"
#include "firmware/ReleaseCheck.h"
#include "operations/ModemSession.h"
#include "operations/VerifyImage.h"

namespace {
using Op = BatchOptions::Operation;
using Outcome = OperationResult::Outcome;

// A result of batch mode's own, failed for code.
OperationResult Failed(Outcome outcome, FailureCode code) {
  OperationResult result;
  result.outcome = outcome;
  result.reasonCode = code;
  return result;
}

// Operations after which the modem restarts: a slow one may be waited for.
bool Restarts(Op op) {
  return op == Op::Upgrade || op == Op::Restore || op == Op::Pic || op == Op::Reset;
}

// One batch run: a state machine on the loop, driven by the results of the
// operations it starts and by its own timers; it quits the loop with the
// exit code.
class BatchRun {
 public:
  BatchRun(MainWindow& w, ConsoleUi& ui, const BatchOptions& o, const std::atomic<int>& interrupts,
           const std::function<void(int)>& endProcess, const std::function<bool()>& enterPressed)
      : w_(w),
        ui_(ui),
        o_(o),
        interrupts_(interrupts),
        endProcess_(endProcess),
        enterPressed_(enterPressed),
        loop_(w.platform().loop()),
        session_(w.session()),
        modem_(w.modem()),
        guard_(w.platform().createTimer()),
        next_(w.platform().createTimer()) {}
  ~BatchRun() {
    modem_.runner().onStarted.remove(startedObserver_);
    modem_.runner().onFinished.remove(finishedObserver_);
  }

  int run();

 private:
  using Then = std::function<void(const OperationResult&)>;

  int history();
  void begin();
  // Runs op; then() gets its result once the loop is back at the top.
  void start(std::unique_ptr<Operation> op, Then then);
  // Runs fn after ms on the loop (one pending step at a time).
  void after(int ms, std::function<void()> fn);
  void operation(Op op, std::function<void(int code)> then);
  void verify();
  // The dry run: every check an upgrade makes, one line each; nothing changes.
  void check();
  void checkLine(const std::string& name, bool passed, const std::string& text);
  // "signed by ...", "not signed", or "refused" for the new release.
  std::string signatureState() const;
  void ended(Op op, OperationResult result, std::function<void(int code)> then);
  void waitBack(std::chrono::milliseconds deadline, std::function<void(bool back)> then);
  // The result line; more adds fields of the operation's own.
  void report(Op op, const OperationResult& result, int code,
              const std::function<void(JsonLine&)>& more = nullptr);
  // One line of what to check, for the commonest failures.
  void hint(FailureCode code);
  void quit(int code);
  // The run cannot begin (no usable home, interface or image): its result line.
  int unusable(FailureCode code, const std::string& reason);
  void guardTick();
  // Station mode.
  void station();
  void awaitModem();
  void awaitDeparture(std::chrono::milliseconds lastAnswer);
  void askQuietly(std::function<void(bool answered)> then);
  // The station's interface reports no link.
  bool linkDown();
  void stationSummary();

  MainWindow& w_;
  ConsoleUi& ui_;
  const BatchOptions& o_;
  const std::atomic<int>& interrupts_;
  const std::function<void(int)>& endProcess_;
  const std::function<bool()>& enterPressed_;
  EventLoop& loop_;
  const Session& session_;
  ModemSession& modem_;
  std::unique_ptr<Timer> guard_;
  std::unique_ptr<Timer> next_;
  std::function<void()> nextStep_;
  Then pending_;  // the continuation of the operation that runs
  OperationResult lastResult_;
  std::string lastPhase_;  // where the last operation stood when it ended
  // What verify found, taken while its operation still exists.
  std::string modemDigest_, referenceDigest_;
  int checksFailed_ = 0;
  bool recording_ = false;  // the operation of the run is under way
  int startedObserver_ = 0, finishedObserver_ = 0;
  std::string versionBefore_;
  std::string reason_;  // why the run failed, in the tool's own words
  std::string startedAt_;
  std::chrono::milliseconds started_{0};
  int seenInterrupts_ = 0;
  bool refused_ = false;
  bool locked_ = false;  // the upgrade controls are locked
  bool betweenModems_ = false;
  bool stationStopped_ = false;
  int done_ = 0, failed_ = 0, skipped_ = 0;
  std::vector<double> unitSeconds_;  // each unit upgraded or failed
  std::chrono::milliseconds stationStarted_{-1};
  OperationResult unit_;  // the result of the last unit
};

int BatchRun::run() {
  if (o_.operation == Op::History) return history();
  if (!o_.interfaces.empty()) {
    const std::string& name = o_.interfaces.front();
    ui_.setInterface(name);
    const std::string problem = w_.platform().networkInterfaces().bindProblem(name);
    if (!problem.empty()) {
      const std::string reason = "Cannot use the interface " + name + ": " + problem + ".";
      ui_.error(reason);
      return unusable(FailureCode::InterfaceUnusable, reason);
    }
    w_.bindToInterface(name);
  }
  w_.sbUpgrade.changed.add([this] { ui_.status(w_.sbUpgrade.text()); });
  w_.Progress.changed.add([this] { ui_.progress(w_.Progress.value()); });
  w_.recorder().setAutomatic(false);
  // The window's box tells it on standard error; a script reads it here.
  w_.recorder().onUnfinishedUpload.add([this](const HistoryEntry& began) {
    if (!o_.json) return;
    const Box box = BoxFor({Notice::Kind::UnfinishedUpload, began.time, 0, began.modemAddress});
    ui_.json(JsonLine()
                 .add("event", "warning")
                 .add("kind", "unfinished-upload")
                 .add("began", began.time)
                 .add("modem", began.modemAddress)
                 .add("mac", began.modemMac)
                 .add("image", began.imageName)
                 .add("message", box.text)
                 .str());
  });
  // The re-query after a restart that --wait-back may stretch: what it
  // finds while the modem is not back is kept back until that is known.
  startedObserver_ = modem_.runner().onStarted.add([this](Operation& op) {
    auto shownPhase = std::make_shared<std::string>();
    op.onProgress.add([this, shownPhase](const Operation::Progress& p) {
      if (p.phase != *shownPhase) {
        *shownPhase = p.phase;
        ui_.phase(p.phase);
      }
      if (p.transfer) ui_.transfer(*p.transfer, loop_.now());
      if (o_.waitBackSeconds == 0 || !Restarts(o_.operation)) return;
      if (p.phase == "requery")
        ui_.holdBoxes(true);
      else if (ui_.holdingBoxes())
        ui_.showHeldBoxes();
    });
  });
  finishedObserver_ = modem_.runner().onFinished.add([this](Operation& op,
                                                             const OperationResult& result) {
    lastResult_ = result;
    lastPhase_ = op.phase();
    locked_ = result.lockUpgradeControls;
    if (auto* verifier = dynamic_cast<VerifyImage*>(&op)) {
      modemDigest_ = verifier->modemDigest();
      referenceDigest_ = verifier->referenceDigest();
    }
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
  guard_->setInterval(100);
  guard_->onTick = [this] { guardTick(); };
  guard_->setEnabled(true);
  // What needs no new image runs from a folder that holds none.
  // The dry run reports a missing or refused image as one of its checks.
  const bool imageRequired = o_.station || o_.operation == Op::Upgrade ||
                             (o_.operation == Op::Verify && !o_.verifyVersion);
  w_.start(imageRequired);
  if (w_.closed() && w_.release().state == ReleaseVerdict::State::Refused) {
    // Refused before anything was sent: the run failed, and says why.
    reason_ = "The new software is refused: " + w_.release().problem;
    report(o_.operation, Failed(Outcome::Refused, FailureCode::ReleaseRefused), kExitFailed);
    return kExitFailed;
  }
  if (w_.closed()) return unusable(FailureCode::FolderUnusable, {});
  // A version that is not kept is a typing error, told before the modem is
  // touched, as verify does.
  if (o_.operation == Op::Restore &&
      !ImageStore::fileExists(w_.images().backupImagePath(o_.restoreVersion))) {
    std::string available;
    for (const auto& v : w_.images().backupVersions())
      available += (available.empty() ? "" : ", ") + v.display();
    reason_ = "Version " + o_.restoreVersion.display() + " is not in the backup directory." +
              (available.empty() ? "" : " Available: " + available);
    ui_.error(reason_);
    report(Op::Restore, Failed(Outcome::Refused, FailureCode::NoBackup), kExitUsage);
    w_.requestClose(Form::kCloseBySystem);
    return kExitUsage;
  }
  if ((o_.station || o_.operation == Op::Upgrade) && !session_.trust.active())
    ui_.warning("kova_" + session_.newVersion.fileForm() +
                ".bin is not signed: no trusted key is set up, so the release is not checked.");
  if (w_.release().manifest && !w_.release().manifest->note.empty())
    ui_.note("Release note: " + w_.release().manifest->note);
  if (o_.noAutoPic) w_.disableAutoPic();
  // The start-up's version read runs: what follows waits for its result.
  if (modem_.runner().busy())
    pending_ = [this](const OperationResult&) { begin(); };
  else
    after(0, [this] { begin(); });
  const int code = loop_.run();
  guard_->setEnabled(false);
  next_->setEnabled(false);
  w_.requestClose(Form::kCloseBySystem);
  return code;
}

int BatchRun::unusable(FailureCode code, const std::string& reason) {
  if (o_.json) {
    JsonLine line;
    line.add("event", "result")
        .add("operation", OperationName(o_.operation))
        .add("outcome", "failed")
        .add("exit_code", static_cast<int>(kExitUsage));
    if (!reason.empty()) line.add("reason", reason);
    line.add("reason_code", FailureCodeText(code));
    ui_.json(line.str());
  }
  return kExitUsage;
}

void BatchRun::quit(int code) {
  guard_->setEnabled(false);
  next_->setEnabled(false);
  loop_.quit(code);
}

void BatchRun::after(int ms, std::function<void()> fn) {
  nextStep_ = std::move(fn);
  next_->setEnabled(false);
  next_->setInterval(ms);
  next_->setEnabled(true);
}

void BatchRun::start(std::unique_ptr<Operation> op, Then then) {
  pending_ = std::move(then);
  if (!modem_.runner().run(std::move(op))) pending_ = nullptr;
}

void BatchRun::begin() {
  if (o_.station) return station();
  if (o_.operation == Op::Verify) return verify();
  if (o_.operation == Op::Check) return check();
  operation(o_.operation, [this](int code) { quit(code); });
}

int BatchRun::history() {
  const std::string path = w_.historyPathBeforeStart();
  HistoryRead read = ReadHistory(path);
  for (const auto& warning : read.warnings) ui_.error(warning);
  if (o_.json) {
    // The lines as written: each names its own interface.
    for (const auto& entry : HistoryOperations(read.entries)) ui_.print(HistoryLine(entry) + "\n");
  } else {
    ui_.print(HistoryTable(read.entries));
  }
  return kExitDone;
}

// Ctrl+C is refused once while busy, as the window refuses to close; a
// second one (or two at once: the end of the terminal, a kill) ends the
// run, abandoning what is under way (the operation cleans up after itself:
// no half backup stays). A station that waits between two modems ends
// cleanly.
void BatchRun::guardTick() {
  const int now = interrupts_.load();
  if (now == seenInterrupts_) return;
  const bool twice = now - seenInterrupts_ >= 2;
  seenInterrupts_ = now;
  if (betweenModems_) {
    stationStopped_ = true;
    if (!modem_.runner().busy()) {
      next_->setEnabled(false);
      stationSummary();
    }
    return;
  }
  if (w_.busy() && !refused_ && !twice) {
    refused_ = true;
    // A station finishes the unit in hand and takes no other.
    if (o_.station) {
      stationStopped_ = true;
      ui_.note("Stopping after this unit. Press Ctrl+C again to abandon it.");
      return;
    }
    ui_.note("Busy: the operation cannot be interrupted now. Press Ctrl+C again to abandon it.");
    return;
  }
  ui_.note("Abandoned.");
  pending_ = nullptr;
  const bool running = modem_.runner().busy();
  modem_.runner().cancel();
  if (recording_ && ChangesModem(OperationName(o_.operation))) {
    OperationResult interrupted = running ? lastResult_ : OperationResult{};
    interrupted.outcome = Outcome::Interrupted;
    interrupted.reasonCode = FailureCode::Interrupted;
    interrupted.versionBefore = ModemVersion::FromDisplayForm(versionBefore_);
    interrupted.versionAfter = session_.runningVersion;
    w_.recorder().record(OperationName(o_.operation), interrupted, startedAt_,
                         static_cast<double>((loop_.now() - started_).count()) / 1000.0);
  }
  if (o_.json)
    ui_.json(JsonLine()
                 .add("event", "result")
                 .add("operation", OperationName(o_.operation))
                 .add("outcome", "interrupted")
                 .add("exit_code", static_cast<int>(kExitInterrupted))
                 .add("modem", session_.modemAddress)
                 .add("mac", session_.currentModemMac())
                 .add("interface", session_.interfaceName)
                 .add("reason_code", FailureCodeText(FailureCode::Interrupted))
                 .str());
  w_.requestClose(Form::kCloseBySystem);
  if (endProcess_) endProcess_(kExitInterrupted);
  quit(kExitInterrupted);
}

void BatchRun::operation(Op op, std::function<void(int code)> then) {
  recording_ = true;
  versionBefore_ = session_.runningVersion.display();
  startedAt_ = w_.recorder().utcNow();
  started_ = loop_.now();
  auto done = [this, op, then](const OperationResult& r) { ended(op, r, then); };
  std::unique_ptr<Operation> operation;
  switch (op) {
    case Op::Version:
      // The start-up read it already.
      after(0, [done, r = lastResult_] { done(r); });
      return;
    case Op::Upgrade:
    case Op::Restore:
    case Op::Pic:
      if (locked_) {
        reason_ =
            "The operation is not possible now: the modem did not answer. Read the version "
            "again once it is reachable.";
        ui_.note(reason_);
        OperationResult refused = Failed(Outcome::Refused, FailureCode::VersionUnknown);
        refused.versionBefore = refused.versionAfter = session_.runningVersion;
        after(0, [done, refused] { done(refused); });
        return;
      }
      if (op != Op::Pic && !session_.unfinishedUploadSince.empty())
        ui_.note("The upload that began at " + session_.unfinishedUploadSince +
                 " never ended: this " + OperationName(op) + " completes it.");
      operation = op == Op::Upgrade   ? modem_.upgrade()
                  : op == Op::Restore ? modem_.restore()
                                      : modem_.picUpgrade();
      break;
    case Op::Reset: operation = modem_.reset(); break;
    case Op::Dns: operation = modem_.dnsChange(); break;
    case Op::Log: operation = modem_.logDownload(); break;
    case Op::Verify:
    case Op::History:
    case Op::Check:
    case Op::Address:
    case Op::Restart:
      return;
  }
  start(std::move(operation), done);
}

// A modem that takes long to boot: ask again every 5 s until it answers or
// the time is up.
void BatchRun::waitBack(std::chrono::milliseconds deadline, std::function<void(bool back)> then) {
  if (session_.runningVersion.known() || loop_.now() >= deadline) {
    then(session_.runningVersion.known());
    return;
  }
  after(5000, [this, deadline, then] {
    ui_.note("Waiting for the modem to come back...");
    ui_.dropHeldBoxes();
    ui_.holdBoxes(true);
    start(modem_.versionRead(),
          [this, deadline, then](const OperationResult&) { waitBack(deadline, then); });
  });
}

void BatchRun::ended(Op op, OperationResult result, std::function<void(int code)> then) {
  // The restart may outlast the usual re-query: a modem that was not back
  // yet when its version was read again is given its time.
  const bool notBackYet =
      !result.done() && lastPhase_ == "requery" && !session_.runningVersion.known();
  if (o_.waitBackSeconds > 0 && Restarts(op) && notBackYet) {
    const auto deadline = loop_.now() + std::chrono::seconds(o_.waitBackSeconds);
    lastPhase_.clear();
    waitBack(deadline, [this, op, result, then](bool back) mutable {
      // Once it answers, its earlier silence is no news.
      if (back) ui_.dropHeldBoxes();
      ui_.showHeldBoxes();
      if (back) {
        result.outcome = Outcome::Done;
        result.failure.reset();
        result.reasonCode.reset();
        result.lockUpgradeControls = false;
        result.versionAfter = session_.runningVersion;
        // The version it came back with is checked as the operation would have.
        const ModemVersion expected = op == Op::Upgrade ? session_.newVersion
                                      : op == Op::Restore
                                          ? o_.restoreVersion
                                          : session_.runningVersion;
        if (session_.runningVersion != expected) {
          result.outcome = Outcome::Failed;
          result.failure = Notice{Notice::Kind::WrongVersionAfter, session_.runningVersion.display(),
                                  op == Op::Upgrade ? 0 : 1, expected.display()};
          result.reasonCode = FailureCode::WrongVersionAfter;
          const Box box = BoxFor(*result.failure);
          ui_.msgBox(box.text, box.style, box.title);
        }
      }
      ended(op, result, then);
    });
    return;
  }
  if (ui_.holdingBoxes()) ui_.showHeldBoxes();
  bool ok = result.done();
  if (op == Op::Log && ok) ui_.note("Log saved to " + w_.images().logPath());
  if (session_.runningVersion.known())
    ui_.note("Modem software version: " + session_.runningVersion.display());
  else if (op == Op::Version || op == Op::Reset)
    ok = false;
  if (op == Op::Dns && ok)
    ui_.note("DNS servers: " + modem_.atChannel().primaryDns() + " " +
             modem_.atChannel().secondaryDns());
  // Unreachable: the last reachability check found neither port answering.
  // An interface taken away under the run (an adapter pulled out) is no
  // fault of the modem: it is named instead, and the run failed.
  const bool interfaceGone =
      !ok && !session_.interfaceName.empty() &&
      !w_.platform().networkInterfaces().bindProblem(session_.interfaceName).empty();
  const int code = ok ? kExitDone
                   : interfaceGone ? kExitFailed
                   : (!session_.connected && !session_.runningVersion.known()) ? kExitUnreachable
                                                                                : kExitFailed;
  if (!ok && result.outcome == Outcome::Done) {
    result.outcome = Outcome::Failed;
    result.reasonCode = FailureCode::VersionUnknown;
  }
  if (interfaceGone) result.reasonCode = FailureCode::InterfaceGone;
  else if (code == kExitUnreachable) result.reasonCode = FailureCode::Unreachable;
  recording_ = false;
  unit_ = result;
  if (ChangesModem(OperationName(op)))
    w_.recorder().record(OperationName(op), result, startedAt_,
                         static_cast<double>((loop_.now() - started_).count()) / 1000.0);
  report(op, result, code);
  then(code);
}

void BatchRun::report(Op op, const OperationResult& result, int code,
                      const std::function<void(JsonLine&)>& more) {
  // Every failure has its code; the run's own reason is told beside it. An
  // interface taken away under the run is named rather than the modem.
  const char* reasonCode = nullptr;
  if (code != kExitDone && result.reasonCode) {
    const FailureCode failure =
        !session_.interfaceName.empty() &&
                !w_.platform().networkInterfaces().bindProblem(session_.interfaceName).empty()
            ? FailureCode::InterfaceGone
            : *result.reasonCode;
    reasonCode = FailureCodeText(failure);
    hint(failure);
  }
  if (!o_.json) return;
  std::vector<JsonLine> moved;
  for (const auto& f : result.files)
    moved.push_back(JsonLine()
                        .add("direction", f.direction == FileMoved::Direction::Download
                                              ? "download"
                                              : "upload")
                        .add("local", f.local)
                        .add("remote", f.remote)
                        .add("size", f.size)
                        .add("sha256", f.sha256));
  JsonLine phases;
  for (const auto& [name, seconds] : result.phases) phases.add(name, seconds);
  JsonLine line;
  line.add("event", "result")
      .add("operation", OperationName(op))
      .add("outcome", code == kExitDone ? "done" : "failed")
      .add("exit_code", code)
      .add("modem", session_.modemAddress)
      .add("mac", session_.currentModemMac())
      .add("interface", session_.interfaceName)
      .add("version_before", versionBefore_)
      .add("version_after", session_.runningVersion.display())
      .add("duration_s", static_cast<double>((loop_.now() - started_).count()) / 1000.0)
      .addArray("files", moved)
      .addObject("phases", phases);
  // What the modem's image slot holds once an image was sent.
  if (result.modemHolds == ModemHolds::Untouched)
    line.add("modem_holds", nullptr);
  else
    line.add("modem_holds", ModemHoldsName(result.modemHolds));
  if (result.verifiedSha256.empty())
    line.add("verified_sha256", nullptr);
  else
    line.add("verified_sha256", result.verifiedSha256);
  if (op == Op::Upgrade || op == Op::Check) line.add("signature", signatureState());
  if (code != kExitDone)
    line.add("reason", result.failure ? BoxFor(*result.failure).text : reason_);
  if (reasonCode)
    line.add("reason_code", reasonCode);
  else
    line.add("reason_code", nullptr);
  if (more) more(line);
  ui_.json(line.str());
}

void BatchRun::hint(FailureCode code) {
  switch (code) {
    case FailureCode::InterfaceGone:
      ui_.hint("the interface " + session_.interfaceName + " is gone (" +
               w_.platform().networkInterfaces().bindProblem(session_.interfaceName) +
               "): connect it again, then start again.");
      return;
    case FailureCode::Unreachable:
      ui_.hint("nothing answers at " + session_.modemAddress +
               ": check the cable, the modem's power, and that this PC has an address in the "
               "modem's subnet (192.168.128.x).");
      return;
    case FailureCode::FtpLoginRefused:
      ui_.hint("the modem refused the FTP login of the user kovauser.");
      return;
    case FailureCode::ConsoleBusy:
      ui_.hint("another telnet session holds the modem's console: close it, then try again.");
      return;
    case FailureCode::ImageIncomplete:
      ui_.hint("do not switch the modem off: repeat the operation as soon as it answers.");
      return;
    case FailureCode::DiskFull:
      ui_.hint("the disk of " + session_.homeDir + " is full: free some space, then try again.");
      return;
    default:
      return;
  }
}

// Fetches the modem's image into a file of its own and compares it with the
// new image or a backup; nothing stays behind.
void BatchRun::verify() {
  ImageStore& store = w_.images();
  const std::string reference =
      o_.verifyVersion ? store.backupImagePath(*o_.verifyVersion) : store.newImagePath();
  started_ = loop_.now();
  versionBefore_ = session_.runningVersion.display();
  if (!ImageStore::fileExists(reference)) {
    reason_ = "There is no image " + reference + " to compare with.";
    ui_.error(reason_);
    report(Op::Verify, Failed(Outcome::Failed, FailureCode::BadArgument), kExitUsage);
    return quit(kExitUsage);
  }
  if (!session_.connected) {
    reason_ = "The modem did not answer.";
    report(Op::Verify, Failed(Outcome::Failed, FailureCode::Unreachable), kExitUnreachable);
    return quit(kExitUnreachable);
  }
  start(modem_.verify(reference), [this, reference](const OperationResult& r) {
    OperationResult result = r;
    for (auto& f : result.files) f.local.clear();  // the copy is gone
    if (modemDigest_.empty()) {
      const int code = !session_.connected ? kExitUnreachable : kExitFailed;
      if (code == kExitUnreachable) result.reasonCode = FailureCode::Unreachable;
      report(Op::Verify, result, code);
      return quit(code);
    }
    const bool match = modemDigest_ == referenceDigest_;
    ui_.note("modem     " + modemDigest_);
    ui_.note("reference " + referenceDigest_ + " " + reference);
    ui_.note(match ? "match" : "differs");
    const int code = match ? kExitDone : kExitFailed;
    reason_ = "The modem's image differs from " + reference + ".";
    result.reasonCode = FailureCode::VerifyMismatch;
    report(Op::Verify, result, code, [&](JsonLine& line) {
      line.add("verdict", match ? "match" : "differs").add("reference", reference);
    });
    quit(code);
  });
}

std::string BatchRun::signatureState() const {
  if (!session_.releaseSigner.empty()) return "signed by " + session_.releaseSigner;
  return session_.trust.active() ? "refused" : "not signed";
}

void BatchRun::checkLine(const std::string& name, bool passed, const std::string& text) {
  if (!passed) ++checksFailed_;
  if (o_.json)
    ui_.json(JsonLine()
                 .add("event", "check")
                 .add("name", name)
                 .add("passed", passed)
                 .add("text", text)
                 .str());
  else
    ui_.print(std::string(passed ? "ok      " : "FAILED  ") + name + ": " + VisibleText(text) +
              "\n");
}

void BatchRun::check() {
  ImageStore& store = w_.images();
  started_ = loop_.now();
  versionBefore_ = session_.runningVersion.display();
  const std::string image = store.newImagePath();
  const long long imageSize = ImageStore::fileSize(image);
  const bool imageFound = session_.newVersion.known();
  if (!imageFound)
    checkLine("image", false,
              "there is not exactly one kova_<version>.bin in " + session_.homeDir + ".");
  else if (imageSize <= 0)
    checkLine("image", false, image + " is empty or cannot be read.");
  else
    checkLine("image", true, image + ": " + std::to_string(imageSize) + " bytes.");
  if (imageFound) {
    const std::string checksum = store.newChecksumPath();
    checkLine("checksum file", ImageStore::fileExists(checksum),
              checksum + (ImageStore::fileExists(checksum) ? "." : " is missing."));
  }
  const ReleaseVerdict& release = w_.release();
  if (imageFound && !session_.trust.active())
    checkLine("signature", true, "not signed: no trusted key is set up, so it is not checked.");
  else if (imageFound)
    for (const auto& f : release.findings) checkLine(f.check, f.passed, f.text);
  // The backup of the running image needs about as much room as the new one.
  std::error_code ec;
  const auto space = std::filesystem::space(session_.backupDir, ec);
  const long long needed = std::max(imageSize, 0LL) + (1 << 20);
  if (ec)
    checkLine("disk space", false, "the free space of " + session_.backupDir +
                                       " cannot be read: " + ec.message() + ".");
  else
    checkLine("disk space", static_cast<long long>(space.available) >= needed,
              std::to_string(space.available / (1 << 20)) + " MiB free in " +
                  session_.backupDir + "; a backup needs about " +
                  std::to_string(needed / (1 << 20) + 1) + " MiB.");
  auto ended = [this](int code) {
    OperationResult result = Failed(Outcome::Failed, code == kExitUnreachable
                                                         ? FailureCode::Unreachable
                                                         : FailureCode::ChecksFailed);
    if (code == kExitDone) result = OperationResult{};
    reason_ = code == kExitUnreachable ? "The modem did not answer."
                                       : std::to_string(checksFailed_) + " check(s) failed.";
    report(Op::Check, result, code);
    quit(code);
  };
  if (!session_.connected) {
    checkLine("modem", false, "nothing answers at " + session_.modemAddress + ".");
    return ended(kExitUnreachable);
  }
  checkLine("modem", true, "answers at " + session_.modemAddress + ".");
  const ModemVersion& running = session_.runningVersion;
  checkLine("version", running.known(),
            running.known() ? "the modem runs " + running.display() + "."
                            : "the modem answered on its FTP port only; its version is unknown.");
  if (imageFound) {
    std::string problem;
    if (!running.allows(session_.newVersion, session_.reachableWithoutVersion))
      problem = "Release Series conflict detected. Upgrade not possible.";
    else if (release.manifest)
      problem = CompatibilityProblem(*release.manifest, running);
    checkLine("compatibility", problem.empty() && release.state != ReleaseVerdict::State::Refused,
              !problem.empty() ? problem
              : release.state == ReleaseVerdict::State::Refused
                  ? "not known: the release was refused."
                  : session_.newVersion.display() + " may be installed over " +
                        running.shown() + ".");
  }
  // Logging in and reading the modem's image proves the FTP login; the
  // copy is removed.
  start(modem_.verify(image), [this, ended](const OperationResult&) {
    checkLine("ftp login", !modemDigest_.empty(),
              !modemDigest_.empty() ? "logged in; the modem's image has SHA-256 " + modemDigest_ + "."
                                    : "the modem's image could not be read over FTP.");
    ended(checksFailed_ == 0 ? kExitDone : kExitFailed);
  });
}

// ---- Station mode: one modem after the other at the same address ----

namespace {
std::string Seconds(double seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f s", seconds);
  return buf;
}
}  // namespace

void BatchRun::station() {
  if (stationStarted_.count() < 0) stationStarted_ = loop_.now();
  ui_.note("Waiting for a modem at " + session_.modemAddress + "...");
  betweenModems_ = true;
  awaitModem();
}

// Does a modem answer at the address? Asked quietly: between two modems,
// no answer is no news.
void BatchRun::askQuietly(std::function<void(bool answered)> then) {
  ui_.setQuiet(true);
  start(modem_.versionRead(), [this, then](const OperationResult&) {
    ui_.setQuiet(false);
    if (stationStopped_) return stationSummary();
    then(session_.runningVersion.known());
  });
}

bool BatchRun::linkDown() {
  if (session_.interfaceName.empty()) return false;
  const auto carrier = w_.platform().networkInterfaces().carrier(session_.interfaceName);
  return carrier && !*carrier;
}

void BatchRun::awaitModem() {
  // No cable, no modem: nothing to ask until the link comes up.
  if (linkDown()) return after(1000, [this] { awaitModem(); });
  w_.forgetModemIdentity();
  askQuietly([this](bool answered) {
    if (!answered) return after(5000, [this] { awaitModem(); });
    betweenModems_ = false;
    auto next = [this] {
      if (stationStopped_) return stationSummary();
      ui_.note("Disconnect the modem, or press Enter for the next one.");
      betweenModems_ = true;
      awaitDeparture(loop_.now());
    };
    if (session_.runningVersion == session_.newVersion) {
      ui_.note("The modem already runs " + session_.newVersion.display() + ": skipped.", true);
      ++skipped_;
      return next();
    }
    operation(Op::Upgrade, [this, next](int code) {
      ++(code == kExitDone ? done_ : failed_);
      const double seconds = static_cast<double>((loop_.now() - started_).count()) / 1000.0;
      unitSeconds_.push_back(seconds);
      if (!o_.json) {
        std::string phases;
        for (const auto& [name, s] : unit_.phases)
          phases += (phases.empty() ? "" : ", ") + name + " " + Seconds(s);
        ui_.note("Unit " + std::to_string(done_ + failed_) + ": " +
                 (code == kExitDone ? "done" : "failed") + " in " + Seconds(seconds) +
                 (phases.empty() ? "" : " (" + phases + ")") + ".");
      }
      next();
    });
  });
}

// Until this modem is gone (its link down, or no answer for 10 s) or Enter
// is pressed.
void BatchRun::awaitDeparture(std::chrono::milliseconds lastAnswer) {
  if ((enterPressed_ && enterPressed_()) || linkDown()) return station();
  askQuietly([this, lastAnswer](bool answered) {
    const auto last = answered ? loop_.now() : lastAnswer;
    if (!answered && loop_.now() - last >= std::chrono::seconds(10)) return station();
    after(1000, [this, last] { awaitDeparture(last); });
  });
}

void BatchRun::stationSummary() {
  const double perHour = UnitsPerHour(unitSeconds_.size(), loop_.now() - stationStarted_);
  const double median = Median(unitSeconds_);
  ui_.note("Station: " + std::to_string(done_) + " done, " + std::to_string(failed_) +
           " failed, " + std::to_string(skipped_) + " skipped; " + PaceText(perHour, median) +
           ".");
  if (o_.json)
    ui_.json(JsonLine()
                 .add("event", "summary")
                 .add("done", done_)
                 .add("failed", failed_)
                 .add("skipped", skipped_)
                 .add("units_per_hour", perHour)
                 .add("median_s", median)
                 .str());
  quit(failed_ > 0 ? kExitFailed : kExitDone);
}
}  // namespace

int RunBatch(MainWindow& w, ConsoleUi& ui, const BatchOptions& o,
             const std::atomic<int>& interrupts, const std::function<void(int)>& endProcess,
             const std::function<bool()>& enterPressed) {
  BatchRun run(w, ui, o, interrupts, endProcess, enterPressed);
  return run.run();
}
