#include "operations/VerifyImage.h"

#include <filesystem>
#include <system_error>

#include "core/Sha256.h"
#include "firmware/ChainPlans.h"
#include "firmware/ImageStore.h"

using Outcome = OperationResult::Outcome;

VerifyImage::VerifyImage(const Context& context, ModemChannels& channels, std::string reference)
    : TransferOperation(context, channels), reference_(std::move(reference)) {}

void VerifyImage::begin() {
  modemDigest_.clear();
  referenceDigest_.clear();
  copy_ = channels_.store.temporaryPath("modem-image.verify");
  context_.view.setStatus("Reading the modem's image..."_t);
  setPhase(Phase::Verify);
  // Looked at every 100 ms; an end seen with the limit counts as an end.
  runChain(
      channels_.plans.verifyDownload(copy_), {kShortRoundMs, kLimitMs / kShortRoundMs, false},
      Notice::Kind::VerifyTimedOut,
      [this](FtpChain::Outcome o) {
        if (o == FtpChain::Outcome::Finished) modemDigest_ = Sha256OfFile(copy_).value_or("");
        if (o == FtpChain::Outcome::TimedOut) {
          removeCopy();
          readVersionAfterTimeout();
        }
      },
      [this](FtpChain::Outcome o) { chainEnded(o); });
}

void VerifyImage::stop() {
  TransferOperation::stop();
  removeCopy();
}

void VerifyImage::removeCopy() {
  if (copy_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(copy_, ec);
  copy_.clear();
}

void VerifyImage::chainEnded(FtpChain::Outcome outcome) {
  removeCopy();
  if (outcome == FtpChain::Outcome::TimedOut) return;
  if (modemDigest_.empty()) {
    finish(context_.session.connected ? Outcome::Failed : Outcome::Unreachable);
    return;
  }
  referenceDigest_ = Sha256OfFile(reference_).value_or("");
  finish(match() ? Outcome::Done : Outcome::Failed, FailureCode::VerifyMismatch);
}
