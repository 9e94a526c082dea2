// End-to-end support: the simulated modem as a real process on loopback,
// and the real platform (Qt widgets offscreen, sockets, libcurl) driven as
// a user drives the window.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "platform/qt/QtFormView.h"
#include "platform/qt/QtPlatform.h"
#include "sim/Harness.h"

// tools/modemsim/modemsim.py on free loopback ports, stopped with the object.
class ModemSim {
 public:
  struct Options {
    std::string version = "5.2.0.12";
    std::vector<std::string> faults;
    double rebootSeconds = 1;
    double reflashSeconds = 1;
    std::vector<std::string> extra;  // further command-line arguments
  };
  explicit ModemSim(Options options);
  ~ModemSim();
  bool ready() const { return zing > 0 && ftp > 0 && telnet > 0 && at > 0; }
  int zing = 0, ftp = 0, telnet = 0, at = 0;
  std::string root;  // the modem's file system
  std::vector<std::string> journal() const;
  bool journalHas(const std::string& line) const;
  // A firmware image that names its version in its first line, as the
  // simulated modem reads it when it restarts.
  static void WriteImage(const std::string& path, const std::string& version);
  // A file of the modem's file system ("" when absent).
  std::string file(const std::string& remotePath) const;
  std::string startError;

 private:
  TempDir dir_;
  QProcess process_;
  std::string journalPath_;
};

// Answers message boxes at once (recording them) and lets a test act in
// the real dialogs through their widgets.
class E2eUi : public QtUi {
 public:
  int msgBox(const std::string& text, int style, const std::string& title) override;
  void showModal(Form& form) override;
  std::vector<MsgRecord> boxes;
  std::map<std::string, std::function<void(Form&, QtFormView&)>> dialogScripts;
  std::vector<std::string> dialogs;
  QElapsedTimer clock;  // started with the tool: atMs of the boxes
};

// The window of the tool on the real platform against a ModemSim.
class E2eTool {
 public:
  E2eTool(const ModemSim& modem, TempDir& home, std::string commandLine = "");
  ~E2eTool();
  MainWindow& f() { return *form_; }
  QtFormView& view() { return *ui_.mainView(); }
  E2eUi& ui() { return ui_; }
  // Handles events until pred holds or ms pass; true when it held.
  bool runUntil(const std::function<bool()>& pred, int ms);
  // Handles events until the tool is idle and nothing it started is pending.
  bool settle(int ms);
  void clickButton(const std::string& name);
  void clickMenu(const std::string& name);
  void pressKeys(const std::vector<int>& ctrlLetters);  // Qt::Key_B ...
  std::vector<std::string> statuses;
  std::vector<std::string> boxTexts() const;
  // Statuses, boxes and dialogs, one a line, for a failure's trace.
  std::string history() const;

 private:
  std::filesystem::path previousDirectory_;
  E2eUi ui_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<MainWindow> form_;
};

// Every file under dir, relative, sorted (directories not listed).
std::vector<std::string> FilesUnder(const std::filesystem::path& dir);

// A home directory with the new image kova_<v>.bin, its checksum file and
// (optionally) pic.hex.
void PrepareHome(TempDir& home, const std::string& newVersion, bool withPic);
