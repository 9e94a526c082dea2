// What the window and batch mode share, without a window: the home and image
// checks of start-up, the backup folder and its stale temporaries, the
// release check, and the modem session with its presenter and recorder. A
// front end owns one and shows its state through the status view it gives.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/Audience.h"
#include "app/Settings.h"
#include "core/Notice.h"
#include "core/Prompts.h"
#include "core/Session.h"
#include "core/StatusView.h"
#include "firmware/ReleaseCheck.h"
#include "platform/Platform.h"

class ImageStore;
class ModemSession;
class Operation;
class OperationRecorder;
class PcAddressCheck;
class Presenter;
class RecordsOutbox;

class Workbench {
 public:
  // How start-up ended; every reason not to go on was told in a box.
  enum class Start {
    Ready,
    FolderUnusable,  // no readable home directory, or a name a transfer cannot carry
    ImageUnusable,   // not exactly one image where one is needed
    KeyUnusable,     // a trusted key the operator placed cannot be used
    ReleaseRefused,  // the new release failed its signature or manifest
  };

  // view: the front end's status line, bar, indicator and PIC choice.
  // prompts: who answers the operations' questions.
  Workbench(Platform& platform, Settings settings, StatusView& view, Prompts& prompts,
            Audience audience = Audience::Window);
  ~Workbench();

  // Home directory, image, trusted keys and release, backup folder, stale
  // temporaries. Without imageRequired (operations that need no new image)
  // a home without its one image is no reason to stop.
  Start start(bool imageRequired = true);

  // The home directory a working directory stands for: with the separator.
  static std::string HomeDirectory(const std::string& workingDirectory);
  // The history file, known before start-up has run.
  std::string historyPathBeforeStart() const;

  Platform& platform() { return platform_; }
  const Settings& settings() const { return settings_; }
  const Session& session() const { return session_; }
  ModemSession& modem() { return *modem_; }
  ImageStore& images();
  OperationRecorder& recorder() { return *recorder_; }
  PcAddressCheck& pcAddressCheck() { return *pcAddress_; }
  // The new release as start-up found it: signed, not signed or refused.
  const ReleaseVerdict& release() const { return release_; }

  // Runs an operation unless one runs already.
  bool run(std::unique_ptr<Operation> operation);
  bool busy() const;
  // Nothing runs and nothing is pending: no operation, no exchange, no
  // unanswered "CLOSE".
  bool idle() const;

  // Every connection goes out through this interface (batch mode).
  void bindToInterface(const std::string& name) { session_.interfaceName = name; }
  // Another unit may answer at the same address now (a station): a reflash
  // left pending for the last one (it never answered after its restart) is
  // not this one's to run.
  void forgetModemIdentity() {
    session_.modemMac.clear();
    session_.picReflashPending = false;
  }
  // A restarting modem is asked again for up to this long (batch mode).
  void setRestartWaitBack(std::chrono::seconds limit) { session_.restartWaitBack = limit; }
  // The modem now answers at address: the same unit, if it was known.
  void changeModemAddress(const std::string& address);

  // then, once the records of the run are in the database, or it cannot be
  // reached, or limitMs have passed; at once without --records.
  void whenRecordsSettled(int limitMs, std::function<void()> then);
  // Tells that records wait for the database, or went; without it, the
  // status line does.
  std::function<void(std::size_t waiting, const Text& text)> tellRecords;

  // The front end closes: the PC's own address is given back to DHCP if it
  // was changed, and nothing of the session fires any more; what ran is
  // recorded as interrupted.
  void restoreDhcpAddress();
  void shutDown();

 private:
  // The working directory when it holds an image or the user is not to be
  // asked; else the folder chosen before, or one the user picks now.
  std::string firmwareFolder();
  // Loads the trusted keys and checks the new release.
  Start checkRelease(bool imageFound, bool imageRequired);
  void tell(const Text& text, int style);
  // The outbox of --records: what earlier runs left waiting goes now.
  void startRecords();

  Platform& platform_;
  const Settings settings_;
  StatusView& view_;
  Session session_;
  std::unique_ptr<Presenter> presenter_;
  std::unique_ptr<ModemSession> modem_;
  std::unique_ptr<PcAddressCheck> pcAddress_;
  std::unique_ptr<OperationRecorder> recorder_;
  // An unfinished upload found in the history is told from the top of the
  // loop, once what found it has settled.
  std::unique_ptr<Timer> tellUnfinished_;
  Notice unfinished_{Notice::Kind::UnfinishedUpload};
  ReleaseVerdict release_;
  std::unique_ptr<RecordsOutbox> records_;  // with --records, once start-up found the backup folder
};
