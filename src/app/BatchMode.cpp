#include "app/BatchMode.h"

#include <chrono>
#include <ostream>

#include "app/Utilities.h"
#include "app/frmMain.h"
#include "firmware/ImageStore.h"

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
  bool question = (style & 7) == MsgYesNo;
  int kind = style & 0x70;
  // A reflash that completed tells the user so in a warning box.
  bool notice = text.rfind("Upgrade Completed.", 0) == 0;
  if (!question && !notice && (kind == MsgCritical || kind == MsgExclamation)) {
    ++failures_;
    lastFailure_ = text;
  }
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

void ConsoleUi::showModal(Form& form) {
  form.reopen();
  form.load();
  auto click = [&form](const char* name) {
    if (auto* b = dynamic_cast<Button*>(form.find(name))) b->click();
  };
  if (form.name() == "frmRestore") {
    auto* list = dynamic_cast<ListBox*>(form.find("lstOldSoftwareVersions"));
    std::string available;
    if (list) {
      const auto& items = list->items();
      for (std::size_t i = 0; i < items.size(); ++i) {
        available += (i ? ", " : "") + items[i];
        if (items[i] == options_.restoreVersion) list->setListIndex(static_cast<int>(i));
      }
    }
    if (list && list->listIndex() >= 0 && list->selectedText() == options_.restoreVersion) {
      note("Restoring version " + options_.restoreVersion);
      click("cmdOkRestore");
    } else {
      ++failures_;
      lastFailure_ = "Version " + options_.restoreVersion + " is not in the backup directory.";
      err_ << "[" << timestamp_() << "] error: " << lastFailure_
           << (available.empty() ? "" : " Available: " + available) << "\n";
      click("cmdCancelRestore");
    }
  } else if (form.name() == "DNSverification") {
    auto* dns = dynamic_cast<TextBox*>(form.find("DNS"));
    auto* dns2 = dynamic_cast<TextBox*>(form.find("DNS2"));
    if (dns && dns2) note("DNS servers: " + dns->text() + " " + dns2->text());
    ++dnsDialogs_;
    if (options_.dns && dnsDialogs_ == 1 && dns && dns2) {
      dns->setText(options_.dns->first);
      dns2->setText(options_.dns->second);
      click("cmdModify");
    } else if (!options_.dns) {
      click("cmdKeep");
    }
    // A dialog shown again after the modem refused an address is closed:
    // the same values would only be refused again.
  }
  if (!form.closed()) form.requestClose(Form::kCloseByUser);
}

namespace {
bool Pending(frmMain& f) {
  if (f.busy()) return true;
  for (Timer* t : {f.tmrConnect.get(), f.tmrResponse.get(), f.tmrConneTest.get(),
                   f.tmrResetDelay.get(), f.tmrFiveSecDelay.get(), f.tmrFTPReq.get(),
                   f.tmrTelnetConnect.get(), f.tmrPicUpgrCnt.get()})
    if (t->enabled()) return true;
  return false;
}

// Waits until the tool is idle and nothing it started is still pending.
void Settle(frmMain& f) {
  const auto limit = std::chrono::minutes(30);
  auto start = f.loop().now();
  int quiet = 0;
  while (quiet < 2 && f.loop().now() - start < limit) {
    f.loop().wait(100);
    quiet = Pending(f) ? 0 : quiet + 1;
  }
}
}  // namespace

int RunBatch(frmMain& f, ConsoleUi& ui, const BatchOptions& o,
             const std::atomic<int>& interrupts, const std::function<void(int)>& endProcess) {
  f.sbUpgrade.changed.connect([&] { ui.status(f.sbUpgrade.text()); });
  f.Progress.changed.connect([&] { ui.progress(f.Progress.value()); });

  // Ctrl+C is refused once while busy, as the window refuses to close; a
  // second one ends the run, abandoning what is under way.
  auto guard = f.platform.createTimer();
  guard->setInterval(100);
  int seen = 0;
  bool refused = false;
  guard->onTick = [&] {
    int now = interrupts.load();
    if (now == seen) return;
    seen = now;
    if (f.busy() && !refused) {
      refused = true;
      ui.note("Busy: the operation cannot be interrupted now. Press Ctrl+C again to abandon it.");
      return;
    }
    ui.note("Abandoned.");
    if (!f.blnBackupDone && (f.lngFTPState == 1 || f.lngFTPState == 2) && !f.blnFTPDone)
      f.DeleteBackupImage(f.strModemVersion);  // no half backup under a real name
    f.requestClose(Form::kCloseBySystem);
    if (endProcess) endProcess(1);
    throw BatchAbandoned{};
  };
  guard->setEnabled(true);

  try {
    f.Form_Load();
    if (f.closed()) return 2;
    if (o.noAutoPic) f.cmdDisableAutoPicMenu.click();
    Settle(f);

    auto run = [&](MenuItem& item) {
      if (!item.enabled()) {
        ui.note("The operation is not possible now: the modem did not answer. Read the version "
                "again once it is reachable.");
        return false;
      }
      item.click();
      Settle(f);
      return true;
    };
    int before = ui.failures();
    bool ok = true;
    switch (o.operation) {
      case Op::Version:
        break;
      case Op::Upgrade:
        ok = run(f.cmdUpgradeMenu);
        if (ok && ui.failures() == before && f.strModemVersion != f.strNewVersion) {
          ui.note("The modem reports version " + ReplaceChar(f.strModemVersion, "_", ".") +
                  " after the upgrade, not " + ReplaceChar(f.strNewVersion, "_", ".") + ".");
          ok = false;
        }
        break;
      case Op::Restore:
        ok = run(f.cmdRestoreMenu);
        if (ok && ui.failures() == before &&
            f.strModemVersion != ReplaceChar(o.restoreVersion, ".", "_")) {
          ui.note("The modem reports version " + ReplaceChar(f.strModemVersion, "_", ".") +
                  " after the restore, not " + o.restoreVersion + ".");
          ok = false;
        }
        break;
      case Op::Pic: {
        bool completed = false;
        int id = f.sbUpgrade.changed.connect([&] {
          if (f.sbUpgrade.text() == "PIC reflash completed. Wait for restart...") completed = true;
        });
        ok = run(f.cmdPicUpgradeMenu) && (completed || ui.failures() > before);
        f.sbUpgrade.changed.disconnect(id);
        break;
      }
      case Op::Reset:
        ok = run(f.cmdResetModem);
        break;
      case Op::Dns:
        ok = run(f.cmdSetDNS);
        break;
      case Op::Log: {
        bool downloaded = false;
        int id = f.sbUpgrade.changed.connect([&] {
          if (f.sbUpgrade.text() == "Log downloaded") downloaded = true;
        });
        f.onKeyPress(2);
        f.onKeyPress(14);
        Settle(f);
        f.sbUpgrade.changed.disconnect(id);
        ok = downloaded;
        if (!downloaded && ui.failures() == before) ok = false;
        if (ok) ui.note("Log saved to " + f.strBackupDir + frmMain::kSep + "sylog.log");
        break;
      }
    }
    if (ui.failures() > before) ok = false;
    if (f.strModemVersion != kUnknownVersion)
      ui.note("Modem software version: " + ReplaceChar(f.strModemVersion, "_", "."));
    else if (o.operation == Op::Version || o.operation == Op::Reset)
      ok = false;
    if (o.operation == Op::Dns && ok) ui.note("DNS servers: " + f.strDNS + " " + f.strDNS2);
    if (o.operation == Op::Version && ui.failures() > 0) ok = false;
    guard->setEnabled(false);
    f.requestClose(Form::kCloseBySystem);
    return ok ? 0 : 1;
  } catch (const BatchAbandoned&) {
    return 1;
  }
}
