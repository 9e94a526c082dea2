// One user-level operation on the modem (a version read, an upgrade, a DNS
// change...): a state machine over its steps, driven by the channels'
// outcomes and its own timers. It starts, reports its phase and progress,
// and ends with exactly one result.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "operations/Phase.h"
#include "core/Context.h"
#include "core/FailureCode.h"
#include "core/ModemVersion.h"
#include "core/Notice.h"
#include "core/OperationKind.h"
#include "platform/Observers.h"

// A file that moved between the PC and the modem.
struct FileMoved {
  enum class Direction { Download, Upload };
  Direction direction = Direction::Download;
  std::string local;    // as the PC names it
  std::string remote;
  long long size = -1;  // -1: the file could not be read
  std::string sha256;
};

// What an upgrade or restore left in the modem's one image slot.
enum class ModemHolds {
  Untouched,   // no image was sent
  NewImage,    // the image sent, read back byte-exact
  OldImage,    // the upload could not be made whole: the previous image put back, read back
  Incomplete,  // neither could be written: the modem must not restart
};
const char* ModemHoldsName(ModemHolds holds);  // "new-image", "old-image", "incomplete"; "" untouched

// An image upload about to send its first byte: on record before it does.
struct ImageUploadStart {
  std::string image;   // the file sent, as the PC names it
  long long size = -1;
  std::string sha256;
  std::string backupImage;  // the backup pair of the running version kept, or ""
};

struct OperationResult {
  enum class Outcome { Done, Failed, Refused, Interrupted, Unreachable };
  Outcome outcome = Outcome::Done;
  ModemVersion versionBefore;
  ModemVersion versionAfter;
  std::vector<FileMoved> files;
  // Why it did not end well: the last failure the user was told of, or the
  // operation's own reason.
  std::optional<Notice> failure;
  // Exactly one when it did not end well; none when done.
  std::optional<FailureCode> reasonCode;
  // The modem did not answer as it should: no upgrade, restore or PIC upload
  // until its version has been read again.
  bool lockUpgradeControls = false;
  // The user chose nothing: nothing was sent, the modem is as it was.
  bool nothingDone = false;
  // How long each phase took, in the order they first began (seconds).
  std::vector<std::pair<Phase, double>> phases;
  ModemHolds modemHolds = ModemHolds::Untouched;
  // The SHA-256 of the image as read back from the modem; "" when none was.
  std::string verifiedSha256;
  // The DNS servers written to the modem (primary, secondary); none when
  // none were.
  std::optional<std::pair<std::string, std::string>> dnsWritten;

  bool done() const { return outcome == Outcome::Done; }
};

class Operation {
 public:
  // A file on its way between the PC and the modem.
  struct Transfer {
    FileMoved::Direction direction = FileMoved::Direction::Download;
    std::string local, remote;
    long long done = 0;
    long long total = -1;  // -1: not told
    std::chrono::milliseconds started{0};  // loop time of its start
    std::chrono::milliseconds lastMoved{0};  // loop time its count last grew
  };
  struct Progress {
    Phase phase = Phase::None;
    std::chrono::milliseconds phaseStarted{0};  // loop time
    int percent = 0;  // the progress bar
    std::optional<Transfer> transfer;  // while a file moves
    // While the modem restarts: when its version will be read again.
    std::optional<std::chrono::milliseconds> requeryAt;
  };

  explicit Operation(const Context& context);
  virtual ~Operation();
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  virtual OperationKind kind() const = 0;
  // Its name in the history and the batch output ("upgrade", "dns"...).
  const char* name() const { return OperationName(kind()); }
  // Starts it. The result follows exactly once, perhaps before start() returns.
  void start();
  // Instead of start(): it ends at once, refused for why (told), having
  // sent nothing.
  void refuse(const Notice& why);
  // Ends it quietly (sockets closed, timers off, no box); the result says
  // it was interrupted.
  void cancel();
  // Ends it quietly without a result: its caller no longer waits for it.
  void abandon();
  bool running() const { return running_; }
  Phase phase() const { return progress_.phase; }
  const Progress& progress() const { return progress_; }

  // Each change of phase or progress while it runs.
  Observers<const Progress&> onProgress;
  std::function<void(const OperationResult&)> onFinished;
  // Before the first byte of an image goes to the modem (once an operation).
  Observers<const ImageUploadStart&> onImageUploadBegins;

  // The session tells it what the user was told and how far the bar went.
  void noticed(const Notice& notice);
  void progressed(int percent);

 protected:
  // The steps: begin() runs at the start; stop() ends whatever still runs,
  // quietly, when it is cancelled or abandoned.
  virtual void begin() = 0;
  virtual void stop() = 0;

  void setPhase(Phase phase);
  void setTransfer(std::optional<Transfer> transfer);
  void setRequeryAt(std::optional<std::chrono::milliseconds> at);
  void addFile(FileMoved file) { result_.files.push_back(std::move(file)); }
  // A file moved earlier now lies under another name on the PC.
  void fileRenamed(const std::string& from, const std::string& to) {
    for (auto& f : result_.files)
      if (f.local == from) f.local = to;
  }
  // Ends it; the versions, the files and the last failure noticed are added.
  // A failure's code is the notice's; otherwise is the code when no notice
  // told of one.
  void finish(OperationResult::Outcome outcome,
              std::optional<FailureCode> otherwise = std::nullopt);
  void finish(OperationResult::Outcome outcome, const Notice& failure);
  // Ends it failed for code, whatever the notices on the way said (they
  // stay its message).
  void failWith(FailureCode code);
  void lockUpgradeControls() { result_.lockUpgradeControls = true; }
  void setModemHolds(ModemHolds holds, const std::string& verifiedSha256) {
    result_.modemHolds = holds;
    result_.verifiedSha256 = verifiedSha256;
    // Read back whole: whatever upload was left unfinished is over.
    if (holds == ModemHolds::NewImage || holds == ModemHolds::OldImage)
      context_.session.unfinishedUploadSince.clear();
  }
  ModemHolds modemHolds() const { return result_.modemHolds; }
  void nothingDone() { result_.nothingDone = true; }
  void dnsWritten(const std::string& primary, const std::string& secondary) {
    result_.dnsWritten = std::make_pair(primary, secondary);
  }
  // With no modem address there is nothing to talk to: tells the user with
  // `notice` and ends refused.
  bool refusedWithoutAddress(Notice::Kind notice);
  // An upload to the modem began and never ended: a restart would leave it
  // without software. Tells the user why and what to do; ends refused.
  bool refusedWhileImageUnfinished();
  // Each file to be sent, opened for reading before anything goes to the
  // modem: the first that cannot be read is named with the system's reason,
  // and the operation ends refused.
  bool refusedUnreadable(const std::vector<std::string>& files);
  // Runs a step of another operation inside this one; then() gets its result.
  void runInside(Operation& inner, std::function<void(const OperationResult&)> then);

  Context context_;

 private:
  void notePhaseTime();

  OperationResult result_;
  Progress progress_;
  std::optional<Notice> lastFailure_;
  std::optional<FailureCode> innerCode_;  // of a step run inside that failed
  std::optional<FailureCode> failedWith_;
  bool running_ = false;
};
