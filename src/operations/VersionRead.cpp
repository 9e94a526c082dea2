#include "operations/VersionRead.h"

#include "core/BarSteps.h"
#include "discovery/ModemReset.h"

using Outcome = OperationResult::Outcome;

VersionRead::VersionRead(const Context& context, ModemChannels& channels, bool reportFtpTimeout)
    : Operation(context), channels_(channels), reportFtpTimeout_(reportFtpTimeout) {}

void VersionRead::begin() {
  channels_.query.query(reportFtpTimeout_, [this](VersionQuery::Outcome o) { queryEnded(o); });
}

void VersionRead::stop() {
  channels_.query.cancel();
  channels_.telnet.cancel();
  channels_.reset.cancel();
}

void VersionRead::queryEnded(VersionQuery::Outcome outcome) {
  Session& session = context_.session;
  switch (outcome) {
    case VersionQuery::Outcome::VersionRead:
    case VersionQuery::Outcome::NoVersionInReply:
      if (session.picReflashPending) {
        session.picReflashPending = false;
        setPhase(Phase::Reflash);
        channels_.telnet.startPicReflash([this](TelnetSession::Outcome o) { reflashEnded(o); });
        return;
      }
      context_.view.setProgress(BarAt(VersionReadStep::Read));
      finish(session.runningVersion.known() ? Outcome::Done : Outcome::Failed,
             FailureCode::VersionUnknown);
      return;
    case VersionQuery::Outcome::ReachableOnly:
      finish(Outcome::Failed, FailureCode::VersionUnknown);
      return;
    case VersionQuery::Outcome::FtpTimeoutReported:
      lockUpgradeControls();
      finish(Outcome::Failed, FailureCode::FtpTimeout);
      return;
    case VersionQuery::Outcome::Unreachable:
      lockUpgradeControls();
      finish(Outcome::Unreachable);
      return;
    case VersionQuery::Outcome::NoAddress:
      finish(Outcome::Refused);
      return;
    default:
      return;
  }
}

void VersionRead::reflashEnded(TelnetSession::Outcome outcome) {
  if (outcome != TelnetSession::Outcome::ReflashCompleted) {
    finish(Outcome::Failed, FailureCode::ReflashFailed);
    return;
  }
  // The modem restarts with its new controller; its version tells it is back.
  setPhase(Phase::Restart);
  channels_.reset.onRequeryDue = [this](std::chrono::milliseconds at) { setRequeryAt(at); };
  channels_.reset.waitForRestart([this](ModemReset::Outcome) {
    channels_.reset.onRequeryDue = nullptr;
    setPhase(Phase::Requery);
    channels_.query.query(false, [this](VersionQuery::Outcome o) { queryEnded(o); });
  });
}
