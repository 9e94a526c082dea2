#include "operations/DnsChange.h"

#include "core/Prompts.h"

using Outcome = OperationResult::Outcome;

DnsChange::DnsChange(const Context& context, ModemChannels& channels)
    : Operation(context), channels_(channels), restart_(context, channels) {}

void DnsChange::begin() {
  refused_ = false;
  // A DNS change ends in a restart: not while the modem's image is not whole.
  if (refusedWhileImageUnfinished()) return;
  setPhase(Phase::Dns);
  channels_.at.readDns([this](AtChannel::Outcome o) { atEnded(o); });
}

void DnsChange::stop() {
  channels_.at.cancel();
  restart_.abandon();
}

void DnsChange::atEnded(AtChannel::Outcome outcome) {
  switch (outcome) {
    case AtChannel::Outcome::DnsRead:
      review();
      return;
    case AtChannel::Outcome::WriteRefused:
      // The dialog shows the refused values again, which are the user's own.
      refused_ = true;
      review();
      return;
    case AtChannel::Outcome::RestartOrdered:
      dnsWritten(channels_.at.primaryDns(), channels_.at.secondaryDns());
      restart(ModemRestart::Order::AlreadyGiven);
      return;
    case AtChannel::Outcome::NoAddress:
      finish(Outcome::Refused);
      return;
    default:
      finish(Outcome::Failed);
      return;
  }
}

void DnsChange::review() {
  const DnsReview review =
      channels_.prompts.reviewDns(channels_.at.primaryDns(), channels_.at.secondaryDns());
  switch (review.choice) {
    case DnsReview::Choice::Keep:
      restart(ModemRestart::Order::Now);
      return;
    case DnsReview::Choice::Modify:
      channels_.at.writeDns(review.primary, review.secondary,
                            [this](AtChannel::Outcome o) { atEnded(o); });
      return;
    case DnsReview::Choice::Dismissed:
      // Nothing was written: the modem is as it was, unless it refused what
      // the user wanted.
      if (refused_) {
        finish(Outcome::Failed);
      } else {
        nothingDone();
        finish(Outcome::Done);
      }
      return;
  }
}

void DnsChange::restart(ModemRestart::Order order) {
  restart_.setOrder(order);
  runInside(restart_, [this](const OperationResult& r) { finish(r.outcome); });
}
