// The main window: its controls and the status line. It holds the modem
// session, starts its operations from the controls and shows the runner's
// busy state; it holds no state of the subsystems.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "core/Notice.h"
#include "firmware/ReleaseCheck.h"
#include "core/Prompts.h"
#include "core/Session.h"
#include "core/StatusView.h"
#include "platform/Form.h"
#include "platform/Platform.h"

class UpgradePrompt;
class ModemAddressDialog;
class FormPrompts;
class Presenter;
class ModemSession;
class PcAddressCheck;
class ImageStore;
class OperationRecorder;
class Operation;

// Colours of the connection indicator.
inline constexpr long kLedRed = 255;
inline constexpr long kLedGreen = 65280;
// The hidden key sequence of the log download.
inline constexpr int kCtrlB = 2;
inline constexpr int kCtrlN = 14;

class MainWindow : public Form, public StatusView {
 public:
  // prompts: who answers the operations' questions; the window's own
  // dialogs when none is given.
  MainWindow(Platform& platform, Settings settings, Prompts* prompts = nullptr);
  ~MainWindow() override;

  // Start-up: command line, home directory, the image, the first version
  // query. The window closes itself when it cannot work. Without
  // imageRequired (batch operations that need no new image) a home without
  // its one image is no reason to stop.
  void start(bool imageRequired = true);
  // The home directory a working directory stands for: with the separator.
  static std::string HomeDirectory(const std::string& workingDirectory);
  // The sibling tool /ModemInfo starts, in ../ModemInfo.
#ifdef _WIN32
  static constexpr const char* kModemInfoProgram = "ModemInfoUpgrader.exe";
#else
  static constexpr const char* kModemInfoProgram = "ModemInfoUpgrader";
#endif

  // StatusView
  void setStatus(const std::string& text) override { sbUpgrade.setText(text); }
  std::string status() const override { return sbUpgrade.text(); }
  void setProgress(int percent) override { Progress.setValue(percent); }
  int progress() const override { return Progress.value(); }
  void setConnected(bool connected) override;
  void showRunningVersion(const std::string& text) override {
    txtCurrentSoftwareVersion.setText(text);
  }
  bool autoPicUpgrade() const override { return AutoPic.value() == 1; }

  // An operation runs (the pointer shows the hourglass, the operation
  // controls are disabled).
  bool busy() const;
  // Nothing runs and nothing is pending: no operation, no exchange, no
  // unanswered "CLOSE".
  bool idle() const;
  // Runs an operation unless one runs already.
  bool run(std::unique_ptr<Operation> operation);

  Platform& platform() { return platform_; }
  const Session& session() const { return session_; }
  // Every connection goes out through this interface (batch mode).
  void bindToInterface(const std::string& name) { session_.interfaceName = name; }
  // Another unit may answer at the same address now (a station).
  void forgetModemIdentity() { session_.modemMac.clear(); }
  ModemSession& modem() { return *modem_; }
  PcAddressCheck& pcAddressCheck() { return *pcAddress_; }
  ImageStore& images();
  UpgradePrompt& upgradePrompt() { return *upgradePrompt_; }
  OperationRecorder& recorder() { return *recorder_; }
  // The history file, known before start-up has run.
  std::string historyPathBeforeStart() const;
  // The new release as start-up found it: signed, not signed or refused.
  const ReleaseVerdict& release() const { return release_; }
  // File > DisableAutoPicUpgrade.
  void disableAutoPic();

  // ---- Controls ----
  TextBox txtIPAddress{"txtIPAddress"};
  Label lblIPAddress{"lblIPAddress"};
  TextBox txtNewSoftwareVersion{"txtNewSoftwareVersion"};
  Label lblNewVersion{"lblNewVersion"};
  // "not signed", or "signed by " and the signature's trusted comment.
  Label lblSignature{"lblSignature"};
  TextBox txtCurrentSoftwareVersion{"txtCurrentSoftwareVersion"};
  Label lblCurrentVersion{"lblCurrentVersion"};
  TextBox sbUpgrade{"sbUpgrade"};
  // Under the progress bar: bytes, rate and time left of a transfer, the
  // countdown of a restart, the time a reflash has run.
  Label lblDetail{"lblDetail"};
  ProgressBar Progress{"Progress"};
  Shape statusLED{"statusLED"};
  CheckBox AutoPic{"AutoPic"};
  Label AutoPicLabel{"AutoPicLabel"};
  Button cmdUpgrade{"cmdUpgrade"};
  Button cmdRestore{"cmdRestore"};
  Button cmdPICupgrade{"cmdPICupgrade"};

  MenuItem cmdUpgradeMenu{"cmdUpgradeMenu", "&Upgrade"};
  MenuItem cmdRestoreMenu{"cmdRestoreMenu", "&Restore"};
  MenuItem cmdPicUpgradeMenu{"cmdPicUpgradeMenu", "&PicUpgrade"};
  MenuItem cmdDisableAutoPicMenu{"cmdDisableAutoPicMenu", "&DisableAutoPicUpgrade"};
  MenuItem cmdSeperator1{"cmdSeperator1", "-"};
  MenuItem mnuFileExit{"mnuFileExit", "E&xit"};
  MenuItem cmdSetModemIP{"cmdSetModemIP", "&Configure Modem &Interface"};
  MenuItem cmdGetSoftwareVersion{"cmdGetSoftwareVersion", "&Get Software Version"};
  MenuItem cmdSetDNS{"cmdSetDNS", "&Set DNS addresses"};
  MenuItem cmdSeperator2{"cmdSeperator2", "-"};
  MenuItem cmdResetModem{"cmdResetModem", "&Reset Modem"};
  MenuItem mnuHelpAbout{"mnuHelpAbout", "&About Upgrader..."};

 protected:
  bool queryUnload(int reason) override;
  void unload() override;

 private:
  void buildLayout();
  // Loads the trusted keys and checks the new release: false (the window
  // closes) when a key cannot be used, or the release is refused and needed.
  bool checkRelease(bool imageFound, bool imageRequired);
  // The working directory when it holds an image or the window is not to
  // ask; else the folder chosen before, or one the user picks now.
  std::string firmwareFolder();
  void bindControls();
  std::vector<Control*> operationControls();
  // The busy state as the window shows it: pointer and controls.
  void showBusy(bool busy);
  void lockUpgradeControls();
  void showAbout();
  void changeModemAddress(const std::string& address);
  // The hidden key sequence of the log download: Ctrl+B then Ctrl+N.
  void keyPressed(int keyAscii);
  void showDetail();

  Platform& platform_;
  const Settings settings_;
  Session session_;
  std::unique_ptr<Presenter> presenter_;
  std::unique_ptr<FormPrompts> formPrompts_;
  Prompts* prompts_;
  std::unique_ptr<UpgradePrompt> upgradePrompt_;
  std::unique_ptr<ModemAddressDialog> addressDialog_;
  std::unique_ptr<ModemSession> modem_;
  std::unique_ptr<PcAddressCheck> pcAddress_;
  std::unique_ptr<OperationRecorder> recorder_;
  std::unique_ptr<Timer> detailTick_;  // the countdowns move once a second
  // An unfinished upload found in the history is told from the top of the
  // loop, once what found it has settled.
  std::unique_ptr<Timer> tellUnfinished_;
  Notice unfinished_{Notice::Kind::UnfinishedUpload};
  bool ctrlBSeen_ = false;
  ReleaseVerdict release_;
};
