// The main window: its controls and the status line. It holds the modem
// session, starts its operations from the controls and shows the runner's
// busy state; it holds no state of the subsystems.
#pragma once

#include <memory>
#include <vector>

#include "app/Settings.h"
#include "app/Workbench.h"
#include "core/Prompts.h"
#include "core/StatusView.h"
#include "platform/Form.h"
#include "platform/Platform.h"

class UpgradePrompt;
class ModemAddressDialog;
class FormPrompts;
struct OperationResult;

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

  // Start-up: the upgrade question of "-u", the workbench's checks, the
  // first version query. The window closes itself when it cannot work.
  void start();
  // The sibling tool /ModemInfo starts, in ../ModemInfo.
#ifdef _WIN32
  static constexpr const char* kModemInfoProgram = "ModemInfoUpgrader.exe";
#else
  static constexpr const char* kModemInfoProgram = "ModemInfoUpgrader";
#endif

  // StatusView
  void setStatus(const Text& text) override { sbUpgrade.setText(text); }
  std::string status() const override { return sbUpgrade.text(); }
  void setProgress(int percent) override { Progress.setValue(percent); }
  int progress() const override { return Progress.value(); }
  void setConnected(bool connected) override;
  void showRunningVersion(const Text& text) override;
  bool autoPicUpgrade() const override { return AutoPic.value() == 1; }

  // What the window works with.
  Workbench& workbench() { return bench_; }
  const Session& session() const { return bench_.session(); }
  ModemSession& modem() { return bench_.modem(); }
  PcAddressCheck& pcAddressCheck() { return bench_.pcAddressCheck(); }
  UpgradePrompt& upgradePrompt() { return *upgradePrompt_; }
  // An operation runs (the pointer shows the hourglass, the operation
  // controls are disabled).
  bool busy() const { return bench_.busy(); }
  bool idle() const { return bench_.idle(); }
  // Runs an operation unless one runs already.
  bool run(std::unique_ptr<Operation> operation);
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

  MenuItem cmdUpgradeMenu{"cmdUpgradeMenu", "&Upgrade"_t};
  MenuItem cmdRestoreMenu{"cmdRestoreMenu", "&Restore"_t};
  MenuItem cmdPicUpgradeMenu{"cmdPicUpgradeMenu", "&PicUpgrade"_t};
  MenuItem cmdDisableAutoPicMenu{"cmdDisableAutoPicMenu", "&DisableAutoPicUpgrade"_t};
  MenuItem cmdSeperator1{"cmdSeperator1", "-"};
  MenuItem mnuFileExit{"mnuFileExit", "E&xit"_t};
  MenuItem cmdSetModemIP{"cmdSetModemIP", "&Configure Modem &Interface"_t};
  MenuItem cmdGetSoftwareVersion{"cmdGetSoftwareVersion", "&Get Software Version"_t};
  MenuItem cmdSetDNS{"cmdSetDNS", "&Set DNS addresses"_t};
  MenuItem cmdSeperator2{"cmdSeperator2", "-"};
  MenuItem cmdResetModem{"cmdResetModem", "&Reset Modem"_t};
  MenuItem mnuHelpAbout{"mnuHelpAbout", "&About Upgrader..."_t};

 protected:
  bool queryUnload(int reason) override;
  void unload() override;

 private:
  void buildLayout();
  void bindControls();
  std::vector<Control*> operationControls();
  // The busy state as the window shows it: pointer and controls.
  void showBusy(bool busy);
  void lockUpgradeControls();
  // The light turns red when an operation failed because the modem stopped
  // answering.
  void showModemGone(const OperationResult& result);
  void showAbout();
  void changeModemAddress(const std::string& address);
  // The hidden key sequence of the log download: Ctrl+B then Ctrl+N.
  void keyPressed(int keyAscii);
  void showDetail();

  Platform& platform_;
  std::unique_ptr<FormPrompts> formPrompts_;
  Workbench bench_;
  std::unique_ptr<UpgradePrompt> upgradePrompt_;
  std::unique_ptr<ModemAddressDialog> addressDialog_;
  std::unique_ptr<Timer> detailTick_;  // the countdowns move once a second
  bool ctrlBSeen_ = false;
  bool lightDecided_ = false;  // a reachability outcome since the operation began
};
