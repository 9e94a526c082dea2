// The run's operation on the modem, and what its end means for the exit
// code and the result line.
#include "app/BatchSession.h"
#include "at/AtChannel.h"
#include "firmware/ImageStore.h"

using Outcome = OperationResult::Outcome;

void BatchSession::operation(Op op, Ended then) {
  report_.begin(now());
  auto done = [this, op, then](const OperationResult& r) { ended(op, r, then); };
  std::unique_ptr<Operation> operation;
  ModemSession& modem = bench_.modem();
  const Session& session = bench_.session();
  // Another process holds the modem: the operation would be refused the
  // same way, and the user has been told once.
  if (lastResult_.reasonCode == FailureCode::ModemInUse) {
    after(0, [done, r = lastResult_] { done(r); });
    return;
  }
  switch (op) {
    case Op::Version:
      // The start-up read it already.
      after(0, [done, r = lastResult_] { done(r); });
      return;
    case Op::Upgrade:
    case Op::Restore:
    case Op::Pic:
      if (locked_) {
        report_.setReason(
            "The operation is not possible now: the modem did not answer. Read the version "
            "again once it is reachable.");
        ui_.note(report_.reason());
        OperationResult refused = FailedFor(Outcome::Refused, FailureCode::VersionUnknown);
        refused.versionBefore = refused.versionAfter = session.runningVersion;
        after(0, [done, refused] { done(refused); });
        return;
      }
      // As a station does, unless told to flash it again; an unfinished
      // upload is completed all the same.
      if (op == Op::Upgrade && !o_.reinstall && !o_.station &&
          session.unfinishedUploadSince.empty() && session.runningVersion.known() &&
          session.runningVersion == session.newVersion) {
        ui_.note("The modem already runs " + session.newVersion.display() +
                     ": skipped (--reinstall flashes it again).",
                 true);
        after(0, [this, op, then] {
          report_.skipped(op, now());
          then(kExitDone, OperationResult{});
        });
        return;
      }
      if (op != Op::Pic && !session.unfinishedUploadSince.empty())
        ui_.note("The upload that began at " + session.unfinishedUploadSince +
                 " never ended: this " + OperationName(op) + " completes it.");
      operation = op == Op::Upgrade   ? modem.upgrade()
                  : op == Op::Restore ? modem.restore()
                                      : modem.picUpgrade();
      break;
    case Op::Reset: operation = modem.reset(); break;
    case Op::Dns: operation = modem.dnsChange(); break;
    case Op::Log: operation = modem.logDownload(); break;
    default: return;
  }
  start(std::move(operation), done);
}

void BatchSession::ended(Op op, OperationResult result, const Ended& then) {
  if (ui_.holdingBoxes()) ui_.showHeldBoxes();
  ui_.holdBoxes(false);
  const Session& session = bench_.session();
  bool ok = result.done();
  if (op == Op::Log && ok) ui_.note("Log saved to " + bench_.images().logPath());
  if (session.runningVersion.known())
    ui_.note("Modem software version: " + session.runningVersion.display());
  else if (op == Op::Version || op == Op::Reset)
    ok = false;
  if (op == Op::Dns && ok)
    ui_.note("DNS servers: " + bench_.modem().atChannel().primaryDns() + " " +
             bench_.modem().atChannel().secondaryDns());
  // The reflash waits for the version after the restart, which never came.
  if (op == Op::Upgrade && session.picReflashPending)
    ui_.note("The PIC was not reflashed: the modem did not answer after its restart. Run pic "
             "once it answers.");
  // Unreachable: the last reachability check found neither port answering.
  // An interface taken away under the run (an adapter pulled out) is no
  // fault of the modem: it is named instead, and the run failed. Nor is a
  // modem that another process holds (it was not asked), or one that took
  // its image and is slow to come back (its version is unknown).
  const bool interfaceGone =
      !ok && !session.interfaceName.empty() &&
      !platform_.networkInterfaces().bindProblem(session.interfaceName).empty();
  const bool tookImage =
      result.modemHolds == ModemHolds::NewImage || result.modemHolds == ModemHolds::OldImage;
  const bool unreachable = !session.connected && !session.runningVersion.known() &&
                           !tookImage && result.reasonCode != FailureCode::ModemInUse;
  const int code = ok              ? kExitDone
                   : interfaceGone ? kExitFailed
                   : unreachable   ? kExitUnreachable
                                   : kExitFailed;
  if (!ok && result.outcome == Outcome::Done) {
    result.outcome = Outcome::Failed;
    result.reasonCode = FailureCode::VersionUnknown;
  }
  if (code == kExitUnreachable) result.reasonCode = FailureCode::Unreachable;
  report_.result(op, result, code, now());
  then(code, result);
}
