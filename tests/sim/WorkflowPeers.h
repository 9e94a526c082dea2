// A modem for whole upgrade and restore scenarios: the harness's ZING and
// FTP-port peers, a telnet console, and an FTP server holding a running
// image, its checksum and a configuration. Records what the user saw.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sim/Harness.h"
#include "sim/TelnetPeer.h"

class WorkflowModem : public Harness {
 public:
  std::shared_ptr<TelnetPeer> console = std::make_shared<TelnetPeer>();
  std::vector<int> progress;  // every value the progress bar took

  WorkflowModem() {
    platform.network.listen(kModem, settings.telnetPort, console);
    platform.ftp.files["/bin/kova.bin"] = "KOVA-IMAGE 5.2.0.12\nold image";
    platform.ftp.files["/checksum.txt"] = "checksum 5.2.0.12";
    platform.ftp.files["/config.txt"] = "config";
  }

  // Start-up with its version query, ended and idle.
  void start() {
    load();
    f().Progress.changed.connect([this] { progress.push_back(f().Progress.value()); });
    f().sbUpgrade.changed.connect(
        [this] { timedStatuses_.push_back({clock().nowMs(), f().sbUpgrade.text()}); });
    advance(100);
  }

  // The time (virtual ms) at which the status line first showed text; -1 if never.
  long statusAt(const std::string& text) {
    for (auto& [t, s] : timedStatuses_)
      if (s == text) return t;
    return -1;
  }

  // Until idle: no busy state, and no restart, re-query or FTP watchdog pending.
  void settle(long limitMs = 400000) {
    clock().advanceUntil(
        [&] {
          return f().idle();
        },
        limitMs);
  }

  std::string backupPath(const std::string& name) { return f().session().backupDir + "/" + name; }
  std::string homePath(const std::string& name) { return f().session().homeDir + name; }
  static std::string Q(const std::string& s) { return "\"" + s + "\""; }
  std::vector<std::string>& ftpLog() { return platform.ftp.log; }

  // A backup pair in the store.
  void store(const std::string& v, bool withChecksum = true) {
    home.write("Backup/kova_" + v + ".bin", "KOVA-IMAGE " + v);
    if (withChecksum) home.write("Backup/chk_" + v + ".txt", "checksum " + v);
  }
  void removeHomeFile(const std::string& name) { std::filesystem::remove(home.path() / name); }

 private:
  std::vector<std::pair<long, std::string>> timedStatuses_;
};
