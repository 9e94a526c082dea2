// A main window on the simulated platform, in a temporary home directory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "sim/ModemPeers.h"
#include "sim/SimPlatform.h"

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // Writes a file (creating directories), relative to the directory.
  void write(const std::string& relative, const std::string& content) const;
  bool exists(const std::string& relative) const;
  std::string read(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

class Harness {
 public:
  static constexpr const char* kModem = "127.0.0.1";

  // A home holding kova_5_2_0_13.bin and its checksum file, and a modem
  // answering the ZING port with 5.2.0.12.
  Harness();

  SimPlatform platform;
  TempDir home;
  TempDir config;  // the user's own folder, beside every firmware folder
  Settings settings;
  std::unique_ptr<MainWindow> form;
  std::vector<std::string> statuses;  // every text the status line showed
  std::shared_ptr<ZingPeer> zing = std::make_shared<ZingPeer>();
  std::shared_ptr<GreetingPeer> ftpPort = std::make_shared<GreetingPeer>();

  // Creates the window and runs its start-up.
  MainWindow& load();
  MainWindow& f() { return *form; }
  SimLoop& clock() { return platform.clock(); }
  SimUi& ui() { return platform.recordedUi(); }
  void advance(long ms) { clock().advance(ms); }
  bool busy() { return ui().pointer() == Ui::kPointerBusy; }
  // Takes the ZING or FTP peer off the network.
  void unplugZing() { platform.network.unlisten(kModem, settings.zingPort); }
  void unplugFtpPort() { platform.network.unlisten(kModem, settings.ftpPort); }
  // Message box texts, in order.
  std::vector<std::string> boxTexts();
  bool sawStatus(const std::string& text) const;
};
