#include "app/BatchMode.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "app/LogDownload.h"
#include "app/MainWindow.h"
#include "app/OperationRecorder.h"
#include "app/OperationWatch.h"
#include "core/JsonLine.h"
#include "core/Sha256.h"
#include "core/TextUtilities.h"
#include "core/UpgradeHistory.h"
#include "firmware/ChainPlans.h"
#include "at/AtChannel.h"
#include "discovery/VersionQuery.h"
#include "firmware/ImageStore.h"
#include "firmware/PicUpgradeWorkflow.h"
#include "firmware/RestoreWorkflow.h"
#include "firmware/UpgradeWorkflow.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace {
using Op = BatchOptions::Operation;
}  // namespace

namespace {
// Waits until the tool is idle and nothing it started is still pending.
void Settle(MainWindow& w, EventLoop& loop) {
  const auto limit = std::chrono::minutes(30);
  auto start = loop.now();
  int quiet = 0;
  while (quiet < 2 && loop.now() - start < limit) {
    loop.wait(100);
    quiet = w.idle() ? quiet + 1 : 0;
  }
}

std::string Display(const std::string& version) {
  return version == kUnknownVersion ? std::string() : ReplaceChar(version, "_", ".");
}

const char* OperationName(Op op) {
  switch (op) {
    case Op::Version: return "version";
    case Op::Upgrade: return "upgrade";
    case Op::Restore: return "restore";
    case Op::Pic: return "pic";
    case Op::Reset: return "reset";
    case Op::Dns: return "dns";
    case Op::Log: return "log";
    case Op::Verify: return "verify";
    case Op::History: return "history";
  }
  return "";
}

// Operations that change the modem go into its history.
bool ChangesTheModem(Op op) {
  return op == Op::Upgrade || op == Op::Restore || op == Op::Pic || op == Op::Reset ||
         op == Op::Dns;
}

// Ends a station between two modems: Ctrl+C there is no interruption.
struct StationStop {};

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
        watch_(w) {}

  int run();

 private:
  int history();
  int operation(Op op);
  int verify();
  int station();
  bool runItem(MenuItem& item);
  bool waitBack();
  bool modemAnswers();
  void guardTick();
  void result(Op op, const char* outcome, int code, const std::string& versionBefore,
              std::chrono::milliseconds started, const std::vector<OperationWatch::FileMoved>& files);

  MainWindow& w_;
  ConsoleUi& ui_;
  const BatchOptions& o_;
  const std::atomic<int>& interrupts_;
  const std::function<void(int)>& endProcess_;
  const std::function<bool()>& enterPressed_;
  EventLoop& loop_;
  const Session& session_;
  OperationWatch watch_;  // since the start, for the version query's failures
  std::unique_ptr<Timer> guard_;
  int seenInterrupts_ = 0;
  bool refused_ = false;
  bool betweenModems_ = false;
  bool stationStopped_ = false;
};

// Ctrl+C is refused once while busy, as the window refuses to close; a
// second one ends the run, abandoning what is under way. A station that
// waits between two modems ends cleanly.
void BatchRun::guardTick() {
  int now = interrupts_.load();
  if (now == seenInterrupts_) return;
  seenInterrupts_ = now;
  if (betweenModems_) {
    stationStopped_ = true;
    return;
  }
  if (w_.busy() && !refused_) {
    refused_ = true;
    ui_.note("Busy: the operation cannot be interrupted now. Press Ctrl+C again to abandon it.");
    return;
  }
  ui_.note("Abandoned.");
  FtpChain& chain = w_.ftpChain();
  const bool backingUp =
      chain.state() == FtpState::GetImage || chain.state() == FtpState::GetChecksum;
  if (!chain.done() && !chain.backupDone() && backingUp)
    w_.images().deleteBackup(session_.runningVersion);  // no half backup under a real name
  if (w_.recorder().recording()) w_.recorder().end(OperationRecorder::Outcome::Interrupted);
  if (o_.json)
    ui_.json(JsonLine()
                 .add("event", "result")
                 .add("operation", OperationName(o_.operation))
                 .add("outcome", "interrupted")
                 .add("exit_code", 1)
                 .add("modem", session_.modemAddress)
                 .str());
  w_.requestClose(Form::kCloseBySystem);
  if (endProcess_) endProcess_(kExitFailed);
  throw BatchAbandoned{};
}

int BatchRun::run() {
  if (o_.operation == Op::History) return history();
  w_.sbUpgrade.changed.connect([this] { ui_.status(w_.sbUpgrade.text()); });
  w_.Progress.changed.connect([this] { ui_.progress(w_.Progress.value()); });
  guard_ = w_.platform().createTimer();
  guard_->setInterval(100);
  guard_->onTick = [this] { guardTick(); };
  guard_->setEnabled(true);
  try {
    w_.recorder().setAutomatic(false);
    w_.start();
    if (w_.closed()) {
      if (o_.json)
        ui_.json(JsonLine()
                     .add("event", "result")
                     .add("operation", OperationName(o_.operation))
                     .add("outcome", "failed")
                     .add("exit_code", static_cast<int>(kExitUsage))
                     .str());
      return kExitUsage;
    }
    if (o_.noAutoPic) w_.cmdDisableAutoPicMenu.click();
    Settle(w_, loop_);
    int code = o_.station ? station()
               : o_.operation == Op::Verify ? verify()
                                              : operation(o_.operation);
    guard_->setEnabled(false);
    w_.requestClose(Form::kCloseBySystem);
    return code;
  } catch (const BatchAbandoned&) {
    return kExitFailed;
  }
}

int BatchRun::history() {
  const std::string path = w_.historyPathBeforeStart();
  HistoryRead read = ReadHistory(path);
  for (const auto& warning : read.warnings) ui_.error(warning);
  if (o_.json) {
    for (const auto& entry : read.entries) ui_.json(HistoryLine(entry));
  } else {
    ui_.print(HistoryTable(read.entries));
  }
  return kExitDone;
}

bool BatchRun::runItem(MenuItem& item) {
  if (!item.enabled()) {
    ui_.note("The operation is not possible now: the modem did not answer. Read the version "
             "again once it is reachable.");
    return false;
  }
  item.click();
  Settle(w_, loop_);
  return true;
}

// A modem that takes long to boot: ask again every 5 s until it answers or
// the time is up.
bool BatchRun::waitBack() {
  const auto deadline = loop_.now() + std::chrono::seconds(o_.waitBackSeconds);
  while (!session_.runningVersionKnown() && loop_.now() < deadline) {
    loop_.wait(5000);
    ui_.note("Waiting for the modem to come back...");
    w_.cmdGetSoftwareVersion.click();
    Settle(w_, loop_);
  }
  return session_.runningVersionKnown();
}

void BatchRun::result(Op op, const char* outcome, int code, const std::string& versionBefore,
                      std::chrono::milliseconds started,
                      const std::vector<OperationWatch::FileMoved>& files) {
  if (!o_.json) return;
  std::vector<JsonLine> moved;
  for (const auto& f : files)
    moved.push_back(JsonLine()
                        .add("direction", f.download ? "download" : "upload")
                        .add("local", f.local)
                        .add("remote", f.remote)
                        .add("size", f.size)
                        .add("sha256", f.sha256));
  ui_.json(JsonLine()
               .add("event", "result")
               .add("operation", OperationName(op))
               .add("outcome", outcome)
               .add("exit_code", code)
               .add("modem", session_.modemAddress)
               .add("version_before", versionBefore)
               .add("version_after", Display(session_.runningVersion))
               .add("duration_s", static_cast<double>((loop_.now() - started).count()) / 1000.0)
               .addArray("files", moved)
               .str());
}

int BatchRun::operation(Op op) {
  const std::string versionBefore = Display(session_.runningVersion);
  const auto started = loop_.now();
  OperationWatch watch(w_);
  if (ChangesTheModem(op)) w_.recorder().begin(OperationName(op));
  bool ok = true;
  switch (op) {
    case Op::Version:
    case Op::Verify:
    case Op::History:
      break;
    case Op::Upgrade:
      ok = runItem(w_.cmdUpgradeMenu);
      break;
    case Op::Restore:
      ok = runItem(w_.cmdRestoreMenu);
      break;
    case Op::Pic:
      ok = runItem(w_.cmdPicUpgradeMenu) &&
           (watch.reflashesCompleted > 0 || watch.failures > 0);
      break;
    case Op::Reset:
      ok = runItem(w_.cmdResetModem);
      break;
    case Op::Dns:
      ok = runItem(w_.cmdSetDNS);
      break;
    case Op::Log: {
      w_.onKeyPress(LogDownload::kCtrlB);
      w_.onKeyPress(LogDownload::kCtrlN);
      Settle(w_, loop_);
      ok = watch.chainsFinished > 0;
      if (ok) ui_.note("Log saved to " + w_.images().logPath());
      break;
    }
  }
  int failures = watch.failures;
  // The restart may outlast the usual re-query: failures to answer in
  // between do not count once the modem is back.
  const bool restarts = op == Op::Upgrade || op == Op::Restore || op == Op::Pic || op == Op::Reset;
  if (o_.waitBackSeconds > 0 && restarts && ok && !session_.runningVersionKnown() &&
      waitBack())
    failures -= watch.unreachable + watch.socketErrors;
  if (ok && failures == 0) {
    if (op == Op::Upgrade && session_.runningVersion != session_.newVersion) {
      ui_.note("The modem reports version " + Display(session_.runningVersion) +
               " after the upgrade, not " + Display(session_.newVersion) + ".");
      ok = false;
    }
    if (op == Op::Restore && session_.runningVersion != ReplaceChar(o_.restoreVersion, ".", "_")) {
      ui_.note("The modem reports version " + Display(session_.runningVersion) +
               " after the restore, not " + o_.restoreVersion + ".");
      ok = false;
    }
  }
  if (failures > 0) ok = false;
  if (session_.runningVersionKnown())
    ui_.note("Modem software version: " + Display(session_.runningVersion));
  else if (op == Op::Version || op == Op::Reset)
    ok = false;
  if (op == Op::Dns && ok)
    ui_.note("DNS servers: " + w_.atChannel().primaryDns() + " " + w_.atChannel().secondaryDns());
  if (op == Op::Version && watch_.failures > 0) ok = false;
  // Unreachable: the last reachability check found neither port answering.
  const int code = ok ? kExitDone
                   : (!session_.connected && !session_.runningVersionKnown()) ? kExitUnreachable
                                                                               : kExitFailed;
  std::vector<OperationWatch::FileMoved> files = watch.files;
  if (w_.recorder().recording())
    w_.recorder().end(ok ? OperationRecorder::Outcome::Done : OperationRecorder::Outcome::Failed);
  result(op, ok ? "done" : "failed", code, versionBefore, started, files);
  return code;
}

// Fetches the modem's image into a temporary file and compares it with the
// new image or a backup; nothing stays behind.
int BatchRun::verify() {
  ImageStore& store = w_.images();
  const std::string reference =
      o_.verifyVersion.empty() ? store.newImagePath()
                               : store.backupImagePath(ReplaceChar(o_.verifyVersion, ".", "_"));
  const auto started = loop_.now();
  const std::string versionBefore = Display(session_.runningVersion);
  if (!ImageStore::fileExists(reference)) {
    ui_.error("There is no image " + reference + " to compare with.");
    result(Op::Verify, "failed", kExitUsage, versionBefore, started, {});
    return kExitUsage;
  }
  if (!session_.connected) {
    result(Op::Verify, "failed", kExitUnreachable, versionBefore, started, {});
    return kExitUnreachable;
  }
  OperationWatch watch(w_);
  const std::string copy = store.verifyCopyPath();
  w_.setBusy(true);
  w_.setStatus("Reading the modem's image...");
  if (w_.ftpChain().start(w_.plans().verifyDownload(copy))) {
    while (!w_.ftpChain().done() && loop_.now() - started < std::chrono::minutes(3)) loop_.wait(100);
    if (!w_.ftpChain().done()) w_.ftpChain().abandon("Reading the modem's image failed.");
  }
  if (w_.busy() && w_.ftpChain().state() == FtpState::Close) w_.setBusy(false);
  Settle(w_, loop_);
  const auto modemDigest = watch.chainsFinished > 0 ? Sha256OfFile(copy) : std::nullopt;
  std::error_code ec;
  std::filesystem::remove(copy, ec);
  std::vector<OperationWatch::FileMoved> files = watch.files;
  for (auto& f : files) f.local.clear();  // the copy is gone
  if (!modemDigest) {
    const int code = !session_.connected ? kExitUnreachable : kExitFailed;
    result(Op::Verify, "failed", code, versionBefore, started, files);
    return code;
  }
  const std::string referenceDigest = Sha256OfFile(reference).value_or("");
  const bool match = *modemDigest == referenceDigest;
  ui_.note("modem     " + *modemDigest);
  ui_.note("reference " + referenceDigest + " " + reference);
  ui_.note(match ? "match" : "differs");
  const int code = match ? kExitDone : kExitFailed;
  result(Op::Verify, match ? "done" : "failed", code, versionBefore, started, files);
  return code;
}

// Does a modem answer at the address? Asked quietly: between two modems,
// no answer is no news.
bool BatchRun::modemAnswers() {
  ui_.setQuiet(true);
  w_.cmdGetSoftwareVersion.click();
  Settle(w_, loop_);
  ui_.setQuiet(false);
  return session_.runningVersionKnown();
}

int BatchRun::station() {
  int done = 0, failed = 0, skipped = 0;
  auto summary = [&] {
    ui_.note("Station: " + std::to_string(done) + " done, " + std::to_string(failed) +
             " failed, " + std::to_string(skipped) + " skipped.");
    if (o_.json)
      ui_.json(JsonLine()
                   .add("event", "summary")
                   .add("done", done)
                   .add("failed", failed)
                   .add("skipped", skipped)
                   .str());
    return failed > 0 ? kExitFailed : kExitDone;
  };
  auto pause = [&](long ms) {
    betweenModems_ = true;
    const auto until = loop_.now() + std::chrono::milliseconds(ms);
    while (loop_.now() < until && !stationStopped_) loop_.wait(100);
    betweenModems_ = false;
  };
  for (;;) {
    // Wait until a modem answers.
    ui_.note("Waiting for a modem at " + session_.modemAddress + "...");
    betweenModems_ = true;
    while (!stationStopped_) {
      if (modemAnswers()) break;
      pause(5000);
    }
    betweenModems_ = false;
    if (stationStopped_) return summary();
    if (session_.runningVersion == session_.newVersion) {
      ui_.note("The modem already runs " + Display(session_.newVersion) + ": skipped.");
      ++skipped;
    } else if (operation(Op::Upgrade) == kExitDone) {
      ++done;
    } else {
      ++failed;
    }
    // Wait until this modem is gone (no answer for 10 s) or Enter.
    ui_.note("Disconnect the modem, or press Enter for the next one.");
    auto lastAnswer = loop_.now();
    betweenModems_ = true;
    while (!stationStopped_) {
      if (enterPressed_ && enterPressed_()) break;
      if (modemAnswers()) lastAnswer = loop_.now();
      else if (loop_.now() - lastAnswer >= std::chrono::seconds(10)) break;
      pause(1000);
    }
    betweenModems_ = false;
    if (stationStopped_) return summary();
  }
}
}  // namespace

int RunBatch(MainWindow& w, ConsoleUi& ui, const BatchOptions& o,
             const std::atomic<int>& interrupts, const std::function<void(int)>& endProcess,
             const std::function<bool()>& enterPressed) {
  BatchRun run(w, ui, o, interrupts, endProcess, enterPressed);
  return run.run();
}
