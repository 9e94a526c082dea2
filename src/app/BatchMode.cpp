#include "app/BatchMode.h"

#include <chrono>
#include <ostream>

#include "core/TextUtilities.h"
#include "app/LogDownload.h"
#include "app/MainWindow.h"
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

// What a box reports, for the console.
const char* Kind(int style) {
  if ((style & 7) == MsgYesNo) return "question";
  switch (style & 0x70) {
    case MsgCritical: return "error";
    case MsgExclamation: return "warning";
    case MsgInformation: return "information";
    default: return "message";
  }
}

void PrintIndented(std::ostream& os, const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      os << "    " << line << "\n";
      line.clear();
    } else {
      line += text[i];
    }
  }
}
}  // namespace

std::string BatchUsage() {
  return "Usage: kova-upgrader [-u | /Factory | /ModemInfo]\n"
         "       kova-upgrader --batch OPERATION [OPTIONS]\n"
         "\n"
         "Without --batch the window opens. In batch mode one operation runs without a\n"
         "window, against the modem at KOVA_MODEM_ADDRESS (default 192.168.128.100),\n"
         "from the current directory as home directory.\n"
         "\n"
         "Operations:\n"
         "  version                    read the modem's software version\n"
         "  upgrade                    back up the running image and install the new one\n"
         "  restore VERSION            put an image from the Backup directory back (5.2.0.12)\n"
         "  pic                        upload pic.hex and reflash the PIC controller\n"
         "  reset                      restart the modem and read its version again\n"
         "  dns                        read the DNS servers (the modem restarts)\n"
         "  dns PRIMARY SECONDARY      write the DNS servers and restart the modem\n"
         "  log                        download the modem's system log to Backup/sylog.log\n"
         "\n"
         "Options:\n"
         "  --factory      factory mode: an upgrade also deletes the modem's configuration\n"
         "  --no-auto-pic  do not upload pic.hex as part of an upgrade\n"
         "  --yes          answer Yes to questions (default: No)\n"
         "  --help         show this text\n"
         "  --version      show the program's version\n"
         "\n"
         "Exit codes: 0 done, 1 failed, 2 usage or environment error.\n"
         "Ports: KOVA_PORT_ZING, KOVA_PORT_FTP, KOVA_PORT_TELNET, KOVA_PORT_AT.\n";
}

std::string BatchVersionText() {
  return "KOVA Satellite IP Modem Upgrader, Version 2.6 October 15, 2006\n";
}

std::optional<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& args,
                                                      std::string& error) {
  BatchCommandLine cl;
  std::vector<std::string> words;
  for (const auto& a : args) {
    if (a == "--batch") cl.batch = true;
    else if (a == "--help" || a == "-h") cl.help = true;
    else if (a == "--version") cl.version = true;
    else if (a == "--factory") cl.options.factory = true;
    else if (a == "--no-auto-pic") cl.options.noAutoPic = true;
    else if (a == "--yes") cl.options.yes = true;
    else if (a.rfind("--", 0) == 0) {
      error = "unknown option " + a;
      return std::nullopt;
    } else {
      words.push_back(a);
    }
  }
  if (cl.help || cl.version) return cl;
  if (!cl.batch) {
    error = "the options need --batch";
    return std::nullopt;
  }
  if (words.empty()) {
    error = "no operation given";
    return std::nullopt;
  }
  const std::string& op = words[0];
  std::size_t want = 1;
  auto& o = cl.options;
  if (op == "version") o.operation = Op::Version;
  else if (op == "upgrade") o.operation = Op::Upgrade;
  else if (op == "pic") o.operation = Op::Pic;
  else if (op == "reset") o.operation = Op::Reset;
  else if (op == "log") o.operation = Op::Log;
  else if (op == "restore") {
    o.operation = Op::Restore;
    want = 2;
    if (words.size() < 2) {
      error = "restore needs the version to restore, for example 5.2.0.12";
      return std::nullopt;
    }
    o.restoreVersion = ReplaceChar(words[1], "_", ".");
  } else if (op == "dns") {
    o.operation = Op::Dns;
    if (words.size() == 3) {
      o.dns = std::make_pair(words[1], words[2]);
      want = 3;
    } else if (words.size() == 2) {
      error = "dns needs both addresses, or none to read them";
      return std::nullopt;
    }
  } else {
    error = "unknown operation " + op;
    return std::nullopt;
  }
  if (words.size() > want) {
    error = "unexpected argument " + words[want];
    return std::nullopt;
  }
  return cl;
}

ConsoleUi::ConsoleUi(std::ostream& out, std::ostream& err, const BatchOptions& options,
                     std::function<std::string()> timestamp)
    : out_(out), err_(err), options_(options), timestamp_(std::move(timestamp)) {}

int ConsoleUi::msgBox(const std::string& text, int style, const std::string& title) {
  const bool question = (style & 7) == MsgYesNo;
  err_ << "[" << timestamp_() << "] " << Kind(style) << ": " << title << "\n";
  PrintIndented(err_, text);
  if (question) {
    int answer = options_.yes ? MsgYes : MsgNo;
    err_ << "    -> " << (answer == MsgYes ? "Yes" : "No") << "\n";
    return answer;
  }
  err_.flush();
  return MsgOk;
}

void ConsoleUi::status(const std::string& text) {
  if (text.empty()) return;
  out_ << "[" << timestamp_() << "] " << text << "\n";
  out_.flush();
}

void ConsoleUi::progress(int value) {
  if (value == lastProgress_) return;
  lastProgress_ = value;
  out_ << "[" << timestamp_() << "] progress " << value << "%\n";
  out_.flush();
}

void ConsoleUi::note(const std::string& text) {
  out_ << "[" << timestamp_() << "] " << text << "\n";
  out_.flush();
}

void ConsoleUi::error(const std::string& text) {
  err_ << "[" << timestamp_() << "] error: " << text << "\n";
  err_.flush();
}

void ConsoleUi::showModal(Form& form) {
  form.reopen();
  form.load();
  if (!form.closed()) form.requestClose(Form::kCloseByUser);
}

std::optional<std::string> ConsoleUi::chooseRestoreVersion(
    const std::vector<std::string>& versions) {
  std::string available;
  bool found = false;
  for (std::size_t i = 0; i < versions.size(); ++i) {
    available += (i ? ", " : "") + versions[i];
    found = found || versions[i] == options_.restoreVersion;
  }
  if (found) {
    note("Restoring version " + options_.restoreVersion);
    return options_.restoreVersion;
  }
  error("Version " + options_.restoreVersion + " is not in the backup directory." +
        (available.empty() ? "" : " Available: " + available));
  return std::nullopt;
}

DnsReview ConsoleUi::reviewDns(const std::string& primary, const std::string& secondary) {
  note("DNS servers: " + primary + " " + secondary);
  ++dnsReviews_;
  if (!options_.dns) return DnsReview{DnsReview::Choice::Keep, {}, {}};
  // Shown again after the modem refused an address: the same values would
  // only be refused again.
  if (dnsReviews_ > 1) return DnsReview{};
  return DnsReview{DnsReview::Choice::Modify, options_.dns->first, options_.dns->second};
}

namespace {
// Counts the failures the subsystems report while batch mode runs.
class FailureWatch {
 public:
  explicit FailureWatch(MainWindow& w) : w_(w) {
    using VQ = VersionQuery::Outcome;
    versionId_ = w.versionQuery().onOutcome.add([this](VQ o) {
      if (o == VQ::Unreachable || o == VQ::FtpTimeoutReported || o == VQ::SocketError ||
          o == VQ::ResetFailed || o == VQ::ConnectionClosed)
        ++failures;
    });
    using FC = FtpChain::Outcome;
    chainId_ = w.ftpChain().onOutcome.add([this](FC o) {
      if (o == FC::Finished) ++chainsFinished;
      if (o == FC::Failed || o == FC::TimedOut || o == FC::ConnectionLost || o == FC::Abandoned)
        ++failures;
    });
    using TS = TelnetSession::Outcome;
    telnetId_ = w.telnet().onOutcome.add([this](TS o) {
      if (o == TS::ReflashCompleted) ++reflashesCompleted;
      if (o == TS::ReflashFailed || o == TS::ConsoleBusy || o == TS::ConnectFailed) ++failures;
    });
    using AT = AtChannel::Outcome;
    atId_ = w.atChannel().onOutcome.add([this](AT o) {
      if (o == AT::Refused || o == AT::Failed || o == AT::Unsendable || o == AT::ConnectFailed)
        ++failures;
    });
    upgradeId_ = w.upgradeWorkflow().onOutcome.add([this](UpgradeWorkflow::Outcome o) {
      if (o == UpgradeWorkflow::Outcome::Refused) ++failures;
    });
    restoreId_ = w.restoreWorkflow().onOutcome.add([this](RestoreWorkflow::Outcome o) {
      if (o != RestoreWorkflow::Outcome::Stopped) ++failures;
    });
    picId_ = w.picUpgradeWorkflow().onOutcome.add([this](PicUpgradeWorkflow::Outcome) {
      ++failures;
    });
  }
  ~FailureWatch() {
    w_.versionQuery().onOutcome.remove(versionId_);
    w_.ftpChain().onOutcome.remove(chainId_);
    w_.telnet().onOutcome.remove(telnetId_);
    w_.atChannel().onOutcome.remove(atId_);
    w_.upgradeWorkflow().onOutcome.remove(upgradeId_);
    w_.restoreWorkflow().onOutcome.remove(restoreId_);
    w_.picUpgradeWorkflow().onOutcome.remove(picId_);
  }
  FailureWatch(const FailureWatch&) = delete;
  FailureWatch& operator=(const FailureWatch&) = delete;

  int failures = 0;
  int chainsFinished = 0;
  int reflashesCompleted = 0;

 private:
  MainWindow& w_;
  int versionId_, chainId_, telnetId_, atId_, upgradeId_, restoreId_, picId_;
};

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

std::string Display(const std::string& version) { return ReplaceChar(version, "_", "."); }
}  // namespace

int RunBatch(MainWindow& w, ConsoleUi& ui, const BatchOptions& o,
             const std::atomic<int>& interrupts, const std::function<void(int)>& endProcess) {
  Platform& platform = w.platform();
  EventLoop& loop = platform.loop();
  const Session& session = w.session();
  w.sbUpgrade.changed.connect([&] { ui.status(w.sbUpgrade.text()); });
  w.Progress.changed.connect([&] { ui.progress(w.Progress.value()); });
  FailureWatch watch(w);

  // Ctrl+C is refused once while busy, as the window refuses to close; a
  // second one ends the run, abandoning what is under way.
  auto guard = platform.createTimer();
  guard->setInterval(100);
  int seen = 0;
  bool refused = false;
  guard->onTick = [&] {
    int now = interrupts.load();
    if (now == seen) return;
    seen = now;
    if (w.busy() && !refused) {
      refused = true;
      ui.note("Busy: the operation cannot be interrupted now. Press Ctrl+C again to abandon it.");
      return;
    }
    ui.note("Abandoned.");
    FtpChain& chain = w.ftpChain();
    const bool backingUp =
        chain.state() == FtpState::GetImage || chain.state() == FtpState::GetChecksum;
    if (!chain.done() && !chain.backupDone() && backingUp)
      w.images().deleteBackup(session.runningVersion);  // no half backup under a real name
    w.requestClose(Form::kCloseBySystem);
    if (endProcess) endProcess(1);
    throw BatchAbandoned{};
  };
  guard->setEnabled(true);

  try {
    w.start();
    if (w.closed()) return 2;
    if (o.noAutoPic) w.cmdDisableAutoPicMenu.click();
    Settle(w, loop);

    auto run = [&](MenuItem& item) {
      if (!item.enabled()) {
        ui.note("The operation is not possible now: the modem did not answer. Read the version "
                "again once it is reachable.");
        return false;
      }
      item.click();
      Settle(w, loop);
      return true;
    };
    const int before = watch.failures;
    bool ok = true;
    switch (o.operation) {
      case Op::Version:
        break;
      case Op::Upgrade:
        ok = run(w.cmdUpgradeMenu);
        if (ok && watch.failures == before && session.runningVersion != session.newVersion) {
          ui.note("The modem reports version " + Display(session.runningVersion) +
                  " after the upgrade, not " + Display(session.newVersion) + ".");
          ok = false;
        }
        break;
      case Op::Restore:
        ok = run(w.cmdRestoreMenu);
        if (ok && watch.failures == before &&
            session.runningVersion != ReplaceChar(o.restoreVersion, ".", "_")) {
          ui.note("The modem reports version " + Display(session.runningVersion) +
                  " after the restore, not " + o.restoreVersion + ".");
          ok = false;
        }
        break;
      case Op::Pic: {
        const int completed = watch.reflashesCompleted;
        ok = run(w.cmdPicUpgradeMenu) &&
             (watch.reflashesCompleted > completed || watch.failures > before);
        break;
      }
      case Op::Reset:
        ok = run(w.cmdResetModem);
        break;
      case Op::Dns:
        ok = run(w.cmdSetDNS);
        break;
      case Op::Log: {
        const int finished = watch.chainsFinished;
        w.onKeyPress(LogDownload::kCtrlB);
        w.onKeyPress(LogDownload::kCtrlN);
        Settle(w, loop);
        ok = watch.chainsFinished > finished;
        if (ok) ui.note("Log saved to " + w.images().logPath());
        break;
      }
    }
    if (watch.failures > before) ok = false;
    if (session.runningVersionKnown())
      ui.note("Modem software version: " + Display(session.runningVersion));
    else if (o.operation == Op::Version || o.operation == Op::Reset)
      ok = false;
    if (o.operation == Op::Dns && ok)
      ui.note("DNS servers: " + w.atChannel().primaryDns() + " " + w.atChannel().secondaryDns());
    if (o.operation == Op::Version && watch.failures > 0) ok = false;
    guard->setEnabled(false);
    w.requestClose(Form::kCloseBySystem);
    return ok ? 0 : 1;
  } catch (const BatchAbandoned&) {
    return 1;
  }
}
