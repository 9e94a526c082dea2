// The FTP command chain: runs a plan of commands one after the other, each
// issued from the completion notification of the previous one and guarded
// by the request watchdog, and ends with "CLOSE". The workflows build the
// plans; the chain knows no file names.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/Observers.h"

class VersionQuery;
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
};

// How a chain ends after its "CLOSE".
struct FtpFinish {
  std::string status;               // the status line once "CLOSE" is out
  int progress = -1;                // -1: the bar is left as it is
  bool watchCloseCommand = true;    // the request watchdog guards "CLOSE" too
  std::function<void()> then;       // what follows (the reset, the reflash)
};

struct FtpStep {
  // What follows an outcome of the step.
  enum class Next {
    Continue,  // the next step, or the finish after the last one
    SkipOne,   // the step after the next one
    Finish,    // straight to the finish given in finishInstead
    Fail,      // the unexpected-error box
    EndQuietly,  // the chain ends with endStatus, without "CLOSE"
  };

  FtpState state = FtpState::None;
  std::string command;
  std::string status;             // shown as the step is issued; empty: unchanged
  Next whenRefused = Next::Fail;  // the modem's server refused (no such file)
  Next whenDone = Next::Continue;
  int progressBeforeNext = -1;    // set when the step completed, before the next
  int progressAfterNext = -1;     // set once the next step is out
  bool completesBackup = false;   // the backup pair is whole when this completes
  bool endsWait = false;          // the chain counts as done once this completes
  // Decided when the step is reached; a step passed over sets progressIfSkipped.
  std::function<bool()> onlyIf;
  int progressIfSkipped = -1;
  std::function<void()> whenCompleted;
  std::shared_ptr<FtpFinish> finishInstead;  // for Next::Finish
  std::string endStatus;                     // for Next::EndQuietly
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
    Failed,          // the user was told in a box
    TimedOut,        // the watchdog or the client's time-out: the version query follows
    ConnectionLost,  // the server dropped the session during a command
    Abandoned,       // the workflow gave up waiting
  };

  static constexpr int kRequestLimitMs = 65000;

  FtpChain(const Context& context, int ftpPort, VersionQuery& query);
  ~FtpChain();

  // Returns false when the first command was refused at once (reported).
  bool start(FtpPlan plan);
  // Ends the chain quietly: no box, no status text.
  void cancel();
  // Ends the chain because its caller stopped waiting: the command is
  // cancelled first, then the user is told.
  void abandon(const std::string& message);
  // No command outstanding under the watchdog.
  bool idle() const;
  // The chain has ended, well or badly (or handed over to what follows).
  bool done() const { return done_; }
  bool backupDone() const { return backupDone_; }
  FtpState state() const { return state_; }

  // A local path as it goes into a command text: in double quotes.
  static std::string Quote(const std::string& path);

  Observers<Outcome> onOutcome;
  // Each step that completed, before the next one goes out.
  Observers<const FtpStep&> onStepCompleted;

 private:
  void stateChanged(int state);
  void completed();
  void failedWithError();
  void disconnected();
  void watchdog();
  void follow(FtpStep::Next next, const FtpStep& step);
  bool issue(std::size_t index);
  // Issues the first step from index on that is to run, or finishes.
  bool goTo(std::size_t index);
  bool execute(const std::string& command);
  void finish(const FtpFinish& finish);
  void fail(const std::string& message);
  void refused(const PlatformError& e);
  void serverRefused();
  void timedOut(const char* status);
  void cannotConnect();

  Context context_;
  VersionQuery& query_;
  std::unique_ptr<FtpClient> client_;
  std::unique_ptr<Timer> watchdog_;
  FtpPlan plan_;
  std::size_t current_ = 0;
  FtpState state_ = FtpState::None;
  bool done_ = true;
  bool backupDone_ = false;
  // A command of ours awaits its outcome. "CLOSE" does not count: nothing
  // that answers it can change the outcome of the chain.
  bool outstanding_ = false;
};
