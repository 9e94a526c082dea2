#include "firmware/WorkflowWaits.h"

#include "discovery/ModemReset.h"
#include "discovery/VersionQuery.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

WorkflowWaits::WorkflowWaits(const Context& context, VersionQuery& query, ModemReset& reset,
                             TelnetSession& telnet, FtpChain& chain)
    : context_(context), query_(query), reset_(reset), telnet_(telnet), chain_(chain) {}

long WorkflowWaits::since(std::chrono::milliseconds start) const {
  return static_cast<long>((context_.loop().now() - start).count());
}

void WorkflowWaits::endStuckExchanges() {
  query_.cancel();
  telnet_.cancel();
}

bool WorkflowWaits::waitWhileBusy(long limitMs) {
  const auto start = context_.loop().now();
  while (context_.view.busy()) {
    if (limitMs > 0 && since(start) >= limitMs) return false;
    context_.loop().pumpEvents();
    context_.loop().wait(100);
  }
  return true;
}

bool WorkflowWaits::ensureVersionQueried(const std::string& stoppedText) {
  if (context_.session.runningVersionKnown()) return true;
  query_.query();
  const auto start = context_.loop().now();
  // Once the reply has started a reflash, the busy state lasts through it,
  // the restart delay and one more query, each with its own bound.
  bool reflashStarted = false;
  while (context_.view.busy()) {
    reflashStarted = reflashStarted || telnet_.reflashRunning();
    if (since(start) >= (reflashStarted ? kReflashWaitMs : kVersionQueryWaitMs)) {
      endStuckExchanges();
      context_.view.setStatus(stoppedText);
      context_.view.setBusy(false);
      return false;
    }
    context_.loop().pumpEvents();
    context_.loop().wait(100);
  }
  return true;
}

void WorkflowWaits::prepareForDownload() {
  telnet_.prepareForDownload();
  if (waitWhileBusy(kPrepareWaitMs)) return;
  // The caller takes the busy state again for the transfer.
  endStuckExchanges();
  context_.view.setStatus("No answer to the prepare command; going on without it.");
  context_.view.setBusy(false);
}

WorkflowWaits::ChainEnd WorkflowWaits::waitForChain(std::chrono::milliseconds start) {
  for (;;) {
    context_.loop().pumpEvents();
    context_.loop().wait(1000);
    if (context_.loop().now() - start > kChainLimit) return ChainEnd::TimedOut;
    if (chain_.done()) return ChainEnd::Done;
  }
}

void WorkflowWaits::uploadAndWait(FtpPlan plan) {
  const auto start = context_.loop().now();
  // A refused command has been reported by the chain, busy state included.
  if (!chain_.start(std::move(plan))) return;
  if (waitForChain(start) == ChainEnd::TimedOut)
    abandonChain(std::string("Upgrade failed.  Click OK and close the upgrader.  ") +
                 "Turn the Satellite IP Modem off and on again before retrying upgrade.");
}

void WorkflowWaits::abandonChain(const std::string& message) {
  // The box that follows runs a nested loop: nothing the chain started may
  // go on while it is open, nor after it.
  reset_.cancel();
  telnet_.cancel();
  chain_.abandon(message);
}
