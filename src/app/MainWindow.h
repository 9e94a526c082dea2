// The main window: its controls, the busy state and the status line. It
// composes the subsystems, binds them to its controls and holds no state
// of theirs.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "core/Context.h"
#include "core/Prompts.h"
#include "core/Session.h"
#include "core/StatusView.h"
#include "platform/Form.h"
#include "platform/Platform.h"

class UpgradePrompt;
class ModemAddressDialog;
class FormPrompts;
class FtpProbe;
class VersionQuery;
class ModemReset;
class FtpChain;
class TelnetSession;
class AtChannel;
class PcAddressCheck;
class ImageStore;
class ChainPlans;
class WorkflowWaits;
class UpgradeWorkflow;
class RestoreWorkflow;
class PicUpgradeWorkflow;
class LogDownload;
class OperationRecorder;

// Colours of the connection indicator.
inline constexpr long kLedRed = 255;
inline constexpr long kLedGreen = 65280;

class MainWindow : public Form, public StatusView {
 public:
  // prompts: who answers the workflows' questions; the window's own
  // dialogs when none is given.
  MainWindow(Platform& platform, Settings settings, Prompts* prompts = nullptr);
  ~MainWindow() override;

  // Start-up: command line, home directory, the image, the first version
  // query. The window closes itself when it cannot work.
  void start();
  // The home directory a working directory stands for: with the separator.
  static std::string HomeDirectory(const std::string& workingDirectory);

  // StatusView
  void setStatus(const std::string& text) override { sbUpgrade.setText(text); }
  std::string status() const override { return sbUpgrade.text(); }
  void setProgress(int percent) override { Progress.setValue(percent); }
  int progress() const override { return Progress.value(); }
  void setConnected(bool connected) override;
  void showRunningVersion(const std::string& text) override {
    txtCurrentSoftwareVersion.setText(text);
  }
  void setBusy(bool busy) override;
  bool busy() const override;
  void lockUpgradeControls() override;
  bool autoPicUpgrade() const override { return AutoPic.value() == 1; }

  // Nothing runs and nothing is scheduled: no busy state, no exchange, no
  // delayed reset or re-query.
  bool idle() const;

  Platform& platform() { return platform_; }
  const Session& session() const { return session_; }
  VersionQuery& versionQuery() { return *versionQuery_; }
  ModemReset& modemReset() { return *reset_; }
  FtpChain& ftpChain() { return *chain_; }
  TelnetSession& telnet() { return *telnet_; }
  AtChannel& atChannel() { return *at_; }
  PcAddressCheck& pcAddressCheck() { return *pcAddress_; }
  ImageStore& images() { return *store_; }
  UpgradeWorkflow& upgradeWorkflow() { return *upgrade_; }
  RestoreWorkflow& restoreWorkflow() { return *restore_; }
  PicUpgradeWorkflow& picUpgradeWorkflow() { return *picUpgrade_; }
  UpgradePrompt& upgradePrompt() { return *upgradePrompt_; }
  ModemAddressDialog& modemAddressDialog() { return *addressDialog_; }
  OperationRecorder& recorder() { return *recorder_; }
  ChainPlans& plans() { return *plans_; }
  // The history file, known before start-up has run.
  std::string historyPathBeforeStart() const;

  // ---- Controls ----
  TextBox txtIPAddress{"txtIPAddress"};
  Label lblIPAddress{"lblIPAddress"};
  TextBox txtNewSoftwareVersion{"txtNewSoftwareVersion"};
  Label lblNewVersion{"lblNewVersion"};
  TextBox txtCurrentSoftwareVersion{"txtCurrentSoftwareVersion"};
  Label lblCurrentVersion{"lblCurrentVersion"};
  TextBox sbUpgrade{"sbUpgrade"};
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
  void bindControls();
  std::vector<Control*> operationControls();
  void showAbout();
  void disableAutoPic();
  void changeModemAddress(const std::string& address);
  // The operation runs unless another one is still running.
  // recordedAs names it in the upgrade history when it may change the modem.
  std::function<void()> exclusive(std::function<void()> operation,
                                  const char* recordedAs = nullptr);

  Platform& platform_;
  const Settings settings_;
  Session session_;
  Context context_;
  std::unique_ptr<FormPrompts> formPrompts_;
  Prompts* prompts_;
  std::unique_ptr<UpgradePrompt> upgradePrompt_;
  std::unique_ptr<ModemAddressDialog> addressDialog_;
  std::unique_ptr<ImageStore> store_;
  std::unique_ptr<FtpProbe> probe_;
  std::unique_ptr<VersionQuery> versionQuery_;
  std::unique_ptr<ModemReset> reset_;
  std::unique_ptr<TelnetSession> telnet_;
  std::unique_ptr<FtpChain> chain_;
  std::unique_ptr<AtChannel> at_;
  std::unique_ptr<PcAddressCheck> pcAddress_;
  std::unique_ptr<ChainPlans> plans_;
  std::unique_ptr<WorkflowWaits> waits_;
  std::unique_ptr<UpgradeWorkflow> upgrade_;
  std::unique_ptr<RestoreWorkflow> restore_;
  std::unique_ptr<PicUpgradeWorkflow> picUpgrade_;
  std::unique_ptr<LogDownload> logDownload_;
  std::unique_ptr<OperationRecorder> recorder_;
  bool operationRunning_ = false;
};
