// The FTP command chain: runs a plan of commands one after the other, each
// issued from the completion notification of the previous one and guarded
// by the request watchdog, and ends with "CLOSE". The operations build the
// plans; the chain knows no file names.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Context.h"
#include "platform/FtpCommandText.h"
#include "platform/Text.h"

struct PlatformError;

// The state code of the outstanding command. The numbers show in a failure
// text ("Upgrader FTP state = "); 11 is not used.
enum class FtpState : std::int32_t {
  None = 0,
  GetImage = 1,
  GetChecksum = 2,
  PutNewImage = 3,
  PutNewChecksum = 4,
  PutRestoreImage = 5,
  PutRestoreChecksum = 6,
  RestoreDeleteConfig = 7,
  RestoreDeleteConfigAgain = 8,
  UpgradeDeleteChecksum = 9,
  RestoreDeleteChecksum = 10,
  Close = 12,
  GetLog = 13,
  PutUpgradePic = 14,
  PutPic = 15,
  UpgradeDeleteConfig = 16,
  // The files sent, read back before "CLOSE".
  ReadBackImage = 17,
  ReadBackChecksum = 18,
  ReadBackPic = 19,
};

// How a chain ends after its "CLOSE".
struct FtpFinish {
  Text status;                    // the status line once "CLOSE" is out
  int progress = -1;              // -1: the bar is left as it is
  bool watchCloseCommand = true;  // the request watchdog guards "CLOSE" too
};

struct FtpStep {
  // What follows an outcome of the step.
  enum class Next {
    Continue,    // the next step, or the finish after the last one
    SkipOne,     // the step after the next one
    Finish,      // straight to the finish given in finishInstead
    Fail,        // the unexpected-error notice
    EndQuietly,  // the chain ends with endStatus, without "CLOSE"
  };

  FtpState state = FtpState::None;
  FtpCommand command;
  Text status;                    // shown as the step is issued; empty: unchanged
  Next whenRefused = Next::Fail;  // the modem's server refused (no such file)
  Next whenDone = Next::Continue;
  int progressBeforeNext = -1;    // set when the step completed, before the next
  int progressAfterNext = -1;     // set once the next step is out
  bool completesBackup = false;   // the backup pair is whole when this completes
  // Reads back what went up: runs after the last step, whichever road led to
  // the finish (read-backs stand at the end of the plan).
  bool readBack = false;
  // Once this step is out, the modem's image may be incomplete: a failure of
  // it or of any later step is not told but handed to the starter, which
  // repairs it (Outcome::Broken).
  bool starterRepairs = false;
  // Decided when the step is reached; a step passed over sets progressIfSkipped.
  std::function<bool()> onlyIf;
  int progressIfSkipped = -1;
  // The command's local path, known only when the step is reached.
  std::function<std::string()> localFrom;
  std::shared_ptr<FtpFinish> finishInstead;  // for Next::Finish
  Text endStatus;                            // for Next::EndQuietly
};

struct FtpPlan {
  std::vector<FtpStep> steps;
  FtpFinish finish;
};

class FtpChain {
 public:
  enum class Outcome {
    Finished,        // "CLOSE" is out after the last step
    EndedQuietly,    // a step ended the chain without "CLOSE" (log missing)
    Failed,          // the user was told (a refusal, a dropped session...)
    TimedOut,        // the watchdog or the client's time-out: read the version to tell more
    Abandoned,       // its starter gave up waiting (told)
    Broken,          // a step whose starter repairs it failed; nothing was told
  };
  using Listener = std::function<void(Outcome)>;
  // What the starter of a chain hears of its steps. Given with each start and
  // dropped when the chain ends or is cancelled, so that no hook outlives the
  // operation that set it.
  struct Hooks {
    // Each step as it goes out.
    std::function<void(const FtpStep&)> onStepIssued;
    // How far the file of the outstanding step has moved (bytes, of how many;
    // -1: not told).
    std::function<void(const FtpStep&, long long done, long long total)> onTransfer;
    // Each step that completed, before the next one goes out; false stops the
    // chain there: nothing more goes out, and it ends as failed. It may hold()
    // the chain instead: the next step then waits for resume().
    std::function<bool(const FtpStep&)> onStepCompleted;
  };

  static constexpr int kRequestLimitMs = 65000;

  FtpChain(const Context& context, int ftpPort);
  ~FtpChain();

  // Runs the plan; listener hears how it ended, perhaps before start()
  // returns (a command refused at once).
  void start(FtpPlan plan, Listener listener, Hooks hooks = {});
  // Ends the chain quietly: the command cancelled, nobody told.
  void cancel();
  // Ends the chain because its starter stopped waiting: the command is
  // cancelled first, then the user is told why.
  void abandon(Notice::Kind why);
  // No command outstanding under the watchdog.
  bool idle() const;
  FtpState state() const { return state_; }
  // The step out now is one whose failure its starter repairs.
  bool repairing() const;
  // Ends the chain quietly as Broken (its starter's limit struck while a
  // step it repairs was out).
  void breakOff();
  // What broke the chain last (Outcome::Broken).
  const Notice& breakage() const { return breakage_; }
  // From onStepCompleted of a COMPARE step: the modem's file is the local
  // one, byte for byte.
  bool sameAsLocal() const { return client_->sameAsLocal(); }

  // From onStepCompleted: the next step waits (no command outstanding).
  void hold() { held_ = true; }
  // After a hold: the next step goes out (go), or the chain ends there as
  // failed, nothing more sent.
  void resume(bool go);

 private:
  void stateChanged(int state);
  void completed();
  void failedWithError();
  void disconnected();
  void watchdog();
  void proceed(const FtpStep& step);
  void follow(FtpStep::Next next, const FtpStep& step);
  bool issue(std::size_t index);
  // Issues the first step from index on that is to run, or finishes.
  bool goTo(std::size_t index);
  // The read-backs, then the finish chosen on the way.
  void toFinish(const FtpFinish& chosen);
  bool execute(const FtpCommand& command);
  void finish(const FtpFinish& finish);
  void fail(const Notice& notice);
  void refused(const PlatformError& e);
  void serverRefused();
  void timedOut(const char* status);
  void cannotConnect();
  void tell(Outcome outcome);

  Context context_;
  std::unique_ptr<FtpClient> client_;
  std::unique_ptr<Timer> watchdog_;
  FtpPlan plan_;
  Listener listener_;
  Hooks hooks_;
  std::size_t current_ = 0;
  FtpState state_ = FtpState::None;
  // Where a Next::Finish leads once the read-backs are done.
  std::optional<FtpFinish> chosenFinish_;
  bool repairing_ = false;  // a step the starter repairs is out, or was
  Notice breakage_{Notice::Kind::FtpDropped};
  // A command of ours awaits its outcome. "CLOSE" does not count: nothing
  // that answers it can change the outcome of the chain.
  bool outstanding_ = false;
  bool held_ = false;
};
