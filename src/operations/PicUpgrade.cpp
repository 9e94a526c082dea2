#include "operations/PicUpgrade.h"

#include "core/BarSteps.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"
#include "firmware/ReleaseCheck.h"

using Outcome = OperationResult::Outcome;

PicUpgrade::PicUpgrade(const Context& context, ModemChannels& channels)
    : TransferOperation(context, channels) {}

void PicUpgrade::begin() {
  const Session& session = context_.session;
  // Without an address the upload would go nowhere.
  if (refusedWithoutAddress(Notice::Kind::EnterAddress)) return;
  // A reflash restarts the modem: not while its image is not whole.
  if (refusedWhileImageUnfinished()) return;
  context_.view.setProgress(BarAt(PicUpgradeStep::Begun));
  const std::string picFile = channels_.store.findPicFile();
  if (picFile.empty()) {
    context_.report({Notice::Kind::NoPicFile, session.homeDir});
    finish(Outcome::Failed);
    return;
  }
  if (refusedUnreadable({channels_.store.picPath()})) return;
  // pic.hex is part of the release: with a trusted key it goes up only as signed.
  const ReleaseVerdict verdict =
      CheckRelease(session.trust, session.homeDir, session.newVersion, picFile);
  if (verdict.state == ReleaseVerdict::State::Refused) {
    const Notice refusal{Notice::Kind::ReleaseRefused, verdict.problem};
    context_.report(refusal);
    finish(Outcome::Refused, refusal);
    return;
  }
  setPhase(Phase::Upload);
  // No limit of its own: the request watchdog guards the one command, and
  // the reflash that follows has its own.
  FtpPlan plan = channels_.plans.picUpload(channels_.store.picPath());
  FtpStep readBack;
  readBack.state = FtpState::ReadBackPic;
  readBack.command = FtpCommand::MakeCompare("/pic.hex", channels_.store.picPath());
  readBack.readBack = true;
  plan.steps.push_back(readBack);
  FtpChain::Hooks hooks;
  hooks.onStepCompleted = [this](const FtpStep& step) {
    if (!step.readBack) {
      addFile(MovedFile(step.command, context_.session.homeDir));
      return true;
    }
    if (channels_.chain.sameAsLocal()) return true;
    context_.report({Notice::Kind::PicNotStored, "/pic.hex"});
    context_.view.setStatus("");
    return false;
  };
  channels_.chain.start(
      std::move(plan), [this](FtpChain::Outcome o) { chainEnded(o); }, std::move(hooks));
}

void PicUpgrade::chainEnded(FtpChain::Outcome outcome) {
  switch (outcome) {
    case FtpChain::Outcome::Finished:
      setPhase(Phase::Reflash);
      channels_.telnet.startPicReflash([this](TelnetSession::Outcome o) { reflashEnded(o); });
      return;
    case FtpChain::Outcome::TimedOut:
      readVersionAfterTimeout();
      return;
    default:
      finish(Outcome::Failed);
      return;
  }
}

void PicUpgrade::reflashEnded(TelnetSession::Outcome outcome) {
  if (outcome != TelnetSession::Outcome::ReflashCompleted) {
    finish(Outcome::Failed);
    return;
  }
  restart(ModemRestart::Order::AlreadyGiven,
          [this](const OperationResult& r) { finish(r.outcome); });
}
