// A modem for whole upgrade and restore scenarios, its FTP server holding an
// image, its checksum and a configuration; records what the user saw.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/Sha256.h"
#include "core/UpgradeHistory.h"
#include "firmware/RestoreChooser.h"
#include "sim/Harness.h"
#include "sim/ModemPeers.h"

using Lines = std::vector<std::string>;

// The modem's telnet console: a banner with the prompt, an answer per command.
class TelnetPeer : public BasicPeer {
 public:
  struct Piece {
    std::string bytes;
    long delayMs;  // after the event that caused it
  };

  // Sent after each accept; an empty list is a console that stays silent.
  std::vector<Piece> banner = {{"\r\nKOVA console\r\n", 5}, {"-> ", 10}};
  // Answers to the reflash command: by default its echo, the end 30 s later.
  std::vector<Piece> reflashAnswer = {{"pic_driver_reflash 1\r\n", 5},
                                      {"Reflash done. Completed\r\n-> ", 30000}};
  // Answers to the prepare command; empty for a console that goes silent.
  std::vector<Piece> prepareAnswer = {{"mmi_prepare_for_download\r\nready\r\n-> ", 20}};

  // Command lines received (without CR LF), in order, across connections.
  std::vector<std::string> lines;

  void onAccept(SimConnection& c) override { sendAll(c, banner); }

  void onData(SimConnection& c, const std::string& bytes) override {
    pending_ += bytes;
    std::size_t end;
    while ((end = pending_.find("\r\n")) != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 2);
      lines.push_back(line);
      if (line == "pic_driver_reflash 1")
        sendAll(c, reflashAnswer);
      else if (line == "mmi_prepare_for_download")
        sendAll(c, prepareAnswer);
    }
  }

  void onClientClose(SimConnection&) override { pending_.clear(); }

 private:
  // Delays add up: each piece follows the one before it.
  static void sendAll(SimConnection& c, const std::vector<Piece>& pieces) {
    long t = 0;
    for (const auto& p : pieces) c.send(p.bytes, t += p.delayMs);
  }
  std::string pending_;
};

inline const std::string kUpgradeCompleted =
    "Upgrade Completed.\r\nClick OK and wait until we get software version.";

// The images of an upgrade from 5.2.0.12 to 5.2.0.13, and the FTP journal's
// lines for it. A backup is fetched under names of its own and takes its real
// ones when whole; each file sent is read back before "CLOSE", into a
// temporary of the backup folder.
inline const std::string kOld = "KOVA-IMAGE 5.2.0.12\nold image";
inline const std::string kNew = "KOVA-IMAGE 5.2.0.13\nimage bytes";
inline const std::string kGetImage = R"(GET /bin/kova.bin "~/Backup/.kova_5_2_0_12.bin.pending")";
inline const std::string kGetChecksum = R"(GET /checksum.txt "~/Backup/.chk_5_2_0_12.txt.pending")";
inline const std::string kPutImage = R"(PUT "~/kova_5_2_0_13.bin" /bin/kova.bin)";
inline const std::string kPutChecksum = R"(PUT "~/chk_5_2_0_13.txt" /checksum.txt)";
// Each file sent is read back and compared with it before "CLOSE".
inline const std::string kReadImage = R"(COMPARE /bin/kova.bin "~/kova_5_2_0_13.bin")";
inline const std::string kReadChecksum = R"(COMPARE /checksum.txt "~/chk_5_2_0_13.txt")";

// What the user clicks to start an operation: a button or its menu twin.
enum class Entry { Upgrade, UpgradeMenu, Restore, RestoreMenu, Pic, PicMenu };

class WorkflowModem : public Harness {
 public:

  std::shared_ptr<TelnetPeer> console = std::make_shared<TelnetPeer>();
  std::vector<int> progress;  // every value the progress bar took
  std::string pick;           // the version the user picks; "" takes the preselected one

  WorkflowModem() {
    // As a modem does, it restarts into the image it holds ("KOVA-IMAGE 5.2.0.13").
    zing->onReset = [this] {
      const std::string& image = platform.ftp.files["/bin/kova.bin"];
      if (zing->afterReset.empty() && image.starts_with("KOVA-IMAGE "))
        zing->versionText = image.substr(11, image.find('\n') - 11) + ",build 1";
    };
    platform.network.listen(kModem, settings.telnetPort, console);
    platform.ftp.files["/bin/kova.bin"] = "KOVA-IMAGE 5.2.0.12\nold image";
    platform.ftp.files["/checksum.txt"] = "checksum 5.2.0.12";
    platform.ftp.files["/config.txt"] = "config";
    ui().modalScripts["frmRestore"] = [this](Form& form) {
      auto& d = static_cast<RestoreChooser&>(form);
      const Lines& items = d.lstOldSoftwareVersions.items();
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == pick) d.lstOldSoftwareVersions.setListIndex(static_cast<int>(i));
      d.cmdOkRestore.click();
    };
  }

  // The modem leaves the network (restarting, or unplugged) and comes back.
  void unplug() {
    unplugZing();
    unplugFtpPort();
    platform.network.unlisten(kModem, settings.telnetPort);
    platform.ftp.reachable = false;
  }
  void plug(const std::string& version) {
    zing->versionText = version + ",build 7";
    platform.network.listen(kModem, settings.zingPort, zing);
    platform.network.listen(kModem, settings.ftpPort, ftpPort);
    platform.network.listen(kModem, settings.telnetPort, console);
    platform.ftp.reachable = true;
  }

  // Start-up with its version query, ended and idle.
  void start() {
    load();
    f().Progress.changed.add([this] { progress.push_back(f().Progress.value()); });
    f().sbUpgrade.changed.add(
        [this] { shown_.push_back({clock().nowMs(), busy(), f().sbUpgrade.text()}); });
    advance(100);
  }

  void click(Entry e) {
    switch (e) {
      case Entry::Upgrade: return f().cmdUpgrade.click();
      case Entry::UpgradeMenu: return f().cmdUpgradeMenu.click();
      case Entry::Restore: return f().cmdRestore.click();
      case Entry::RestoreMenu: return f().cmdRestoreMenu.click();
      case Entry::Pic: return f().cmdPICupgrade.click();
      case Entry::PicMenu: return f().cmdPicUpgradeMenu.click();
    }
  }

  struct Shown {
    long atMs = -1;
    bool busy = false;  // the window's state at that moment
    std::string text;
  };
  // When the status line first showed text; atMs is -1 if never.
  Shown status(const std::string& text) const {
    for (const auto& s : shown_)
      if (s.text == text) return s;
    return {};
  }

  // Until idle: no busy state, and no restart, re-query or FTP watchdog pending.
  void settle(long limitMs = 400000) {
    clock().advanceUntil([&] { return f().idle(); }, limitMs);
  }

  // The commands on the wire and the boxes, the home directory written as "~/".
  Lines wire() { return tilde(platform.ftp.log); }
  Lines boxes() { return tilde(boxTexts()); }
  // Names in the backup directory but the history, sorted.
  Lines backups() {
    Lines names;
    if (!std::filesystem::is_directory(home.path() / "Backup")) return names;
    for (const auto& e : std::filesystem::directory_iterator(home.path() / "Backup"))
      if (e.path().filename() != "history.jsonl") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // A backup pair in the store.
  void store(const std::string& v, bool withChecksum = true) {
    home.write("Backup/kova_" + v + ".bin", "KOVA-IMAGE " + ModemVersion::FromFileForm(v).display());
    if (withChecksum) home.write("Backup/chk_" + v + ".txt", "checksum " + v);
  }
  // The history line of an upgrade that kept the pair of version v with
  // these bytes.
  void recordBackup(const std::string& v, const std::string& image, const std::string& checksum) {
    const auto digest = [](const std::string& bytes) {
      Sha256 hash;
      hash.update(bytes.data(), bytes.size());
      return hash.hexDigest();
    };
    HistoryEntry kept;
    kept.time = "2026-12-01T08:00:00Z";
    kept.modemAddress = "127.0.0.1";
    kept.operation = "upgrade";
    kept.outcome = "done";
    kept.backupName = "kova_" + v + ".bin";
    kept.backupSha256 = digest(image);
    kept.backupChecksumSha256 = digest(checksum);
    Text error;
    AppendHistory((home.path() / "Backup" / "history.jsonl").string(), kept, error);
  }
  // A backup pair in the store and its record: an upgrade takes it as it is.
  void storeRecorded(const std::string& v) {
    store(v);
    recordBackup(v, home.read("Backup/kova_" + v + ".bin"), home.read("Backup/chk_" + v + ".txt"));
  }
  void removeHomeFile(const std::string& name) { std::filesystem::remove(home.path() / name); }

 private:
  // The home as "~/" (Windows' "Backup\" too), a temporary's process and serial number left out.
  Lines tilde(Lines lines) {
    const std::string home = f().session().homeDir;
    for (std::string& line : lines) {
      for (auto at = line.find(home); at != std::string::npos; at = line.find(home))
        line.replace(at, home.size(), "~/");
      // ".kova-<stamp>-<n>.pending" -> ".pending" (no <regex>: GCC warns inside it)
      for (auto at = line.find(".pending"); at != std::string::npos;
           at = line.find(".pending", at + 1)) {
        const auto dot = line.find_last_not_of("0123456789-", at - 1);
        if (dot != std::string::npos && dot >= 4 && line.compare(dot - 4, 5, ".kova") == 0)
          line.erase(dot - 4, at - dot + 4), at = dot - 4;
      }
      for (auto at = line.find("~/Backup\\"); at != std::string::npos; at = line.find("~/Backup\\"))
        line[at + 8] = '/';
    }
    return lines;
  }
  std::vector<Shown> shown_;
};
