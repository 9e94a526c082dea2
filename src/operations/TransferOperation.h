// What the operations that move files to or from the modem share: the
// version read first when it is unknown, the prepare-for-download exchange,
// the FTP chain under the operation's own limit, the files it moved, the
// version read after a transfer that timed out, and the restart after a
// transfer. Every wait has its bound, so none holds the window for good.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "operations/ModemRestart.h"
#include "operations/RoundWait.h"
#include "operations/VersionRead.h"
#include "transfer/FtpChain.h"

class TransferOperation : public Operation {
 public:
  // How long the version query and the prepare-for-download exchange may
  // take before the operation stops waiting. Both end much earlier through
  // their own watchdogs (about 12 s and 25 s at most); looked at every
  // 100 ms.
  static constexpr int kShortRoundMs = 100;
  static constexpr int kVersionQueryWaitMs = 30000;
  static constexpr int kPrepareWaitMs = 30000;
  // A version reply may start a pending PIC reflash, which lasts through
  // the reflash (110 s at most), the 25 s restart delay and a further query:
  // the version wait then stretches to this ceiling.
  static constexpr int kReflashWaitMs = 180000;
  // The operation's own limit for the whole FTP chain, looked at once a second.
  static constexpr int kChainRoundMs = 1000;
  static constexpr int kChainLimitMs = 180000;
  // An image that broke on its way or read back wrong goes up this many
  // times at most, then the previous one as often; each time on a fresh
  // connection, after a pause that lets a stumbling modem recover.
  static constexpr int kImageAttempts = 3;
  static constexpr int kRepairPauseMs = 5000;

 protected:
  TransferOperation(const Context& context, ModemChannels& channels);
  void stop() override;

  // Reads the version when it is unknown, then runs then(); when the read
  // does not end in time the operation ends with stoppedText on the status
  // line. Whether the modem answered is in the session afterwards.
  void ensureVersion(const std::string& stoppedText, std::function<void()> then);
  // Asks the modem to prepare for a download; whatever its answer, then().
  void prepareForDownload(std::function<void()> then);
  // How the operation watches its chain: it looks once a round; past the
  // limit it gives the chain up. An end and the limit seen at the same look:
  // limitFirst decides which counts.
  struct ChainWatch {
    int roundMs = kChainRoundMs;
    int rounds = kChainLimitMs / kChainRoundMs + 1;  // "more than" the limit
    bool limitFirst = true;
  };
  // How an image upload is carried to a whole image on the modem. The first
  // chain is given to runChain; these build the chains that repair it.
  struct Repairs {
    std::function<FtpPlan()> again;  // the same files once more
    // The previous image's pair back, when it is kept on the PC.
    std::function<std::optional<FtpPlan>()> putBack;
    std::string putBackVersion;  // display form, for the user
    std::string putBackImage;    // its image on the PC
  };
  void setRepairs(Repairs repairs) { repairs_ = std::move(repairs); }
  // The chain that ended well (Finished) put the previous image back.
  bool putBack() const { return target_ == ModemHolds::OldImage; }
  // The last chain sent that file (and, Finished, read it back intact).
  bool wentUp(const std::string& remote) const { return sent_.count(remote) > 0; }
  // Runs plan. Every file it sends to /bin/kova.bin, /checksum.txt or
  // /pic.hex is read back before "CLOSE"; the chain is Finished only when
  // each came back byte-exact. A transfer that breaks once the image is on
  // its way, or reads back wrong, is repaired as setRepairs() says, and
  // what the modem then holds is in the result. Its end is told at once to atOnce (what follows the chain at
  // once: the restart, the version read after a time-out) and taken up at
  // the next look by atLook, unless the limit struck: then whatever runs is
  // given up, the user told why, and atLook hears Abandoned.
  void runChain(FtpPlan plan, ChainWatch watch, Notice::Kind whyGivenUp,
                std::function<void(FtpChain::Outcome)> atOnce,
                std::function<void(FtpChain::Outcome)> atLook);
  // Each step as it goes out, and each completed step, after its file was
  // recorded; false stops the chain before anything more goes out.
  virtual void stepIssued(const FtpStep&) {}
  // The name a file moving now will have once it is kept: what the user is
  // shown of a temporary.
  virtual std::string keptName(const std::string& local) const { return local; }
  virtual bool stepCompleted(const FtpStep&) { return true; }
  // After a chain that timed out: reading the version tells whether the
  // modem is still there and reports the time-out; then() runs and the
  // operation has failed.
  void readVersionAfterTimeout(std::function<void()> then = nullptr);
  // The modem restarts and is read again; the result is the read's.
  void restart(ModemRestart::Order order, std::function<void(const OperationResult&)> then);
  // Ends the operation after a restart whose read did not succeed. A modem
  // that answered until its restart and is not back in time is no
  // unreachable modem: what it runs is unknown.
  void finishNotBack(const OperationResult& restart);

  ModemChannels& channels_;

 private:
  void startChain(FtpPlan plan);
  void appendReadBacks(FtpPlan& plan);
  bool checkReadBack(const FtpStep& step);
  void issued(const FtpStep& step);
  void repair();
  void runRepair(FtpPlan plan);
  void incomplete();
  ImageUploadStart uploadStart(const FtpStep& step) const;

  VersionRead versionRead_;
  VersionRead timeoutRead_;
  ModemRestart restart_;
  RoundWait versionWait_;
  RoundWait prepareWait_;
  std::unique_ptr<Timer> chainLook_;
  std::chrono::milliseconds stepStarted_{0};
  ChainWatch watch_;
  int looks_ = 0;
  std::optional<FtpChain::Outcome> chainEnd_;
  Notice::Kind whyGivenUp_ = Notice::Kind::UploadTimedOut;
  std::function<void(FtpChain::Outcome)> atLook_;
  std::function<void(FtpChain::Outcome)> atOnce_;
  Notice::Kind firstWhyGivenUp_ = Notice::Kind::UploadTimedOut;
  ChainWatch firstWatch_;
  // What this chain sent, by remote path, and the image read back whole.
  std::map<std::string, FileMoved> sent_;
  // Each local file's SHA-256 as it first went out: a file changed on the PC
  // meanwhile reads back as not what was meant to be sent.
  std::map<std::string, std::string> pinned_;
  std::string verifiedImage_;
  bool readBackWrong_ = false;
  bool repairing_ = false;   // the chain broke: a repair is under way
  bool announced_ = false;   // the upload's start is on record
  int attempts_ = 0;         // of the current target
  ModemHolds target_ = ModemHolds::NewImage;
  Repairs repairs_;
  std::unique_ptr<Timer> repairPause_;
  std::function<void()> afterPause_;
};

// What moved with one FTP command, as the files now lie on the PC: a bare
// local name lies in home.
FileMoved MovedFile(const FtpCommand& command, const std::string& home);
