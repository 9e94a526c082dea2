#include "app/BatchStation.h"

#include <cstdio>

#include "app/StationPace.h"
#include "app/Workbench.h"
#include "core/JsonLine.h"
#include "operations/ModemSession.h"

namespace {
std::string Seconds(double seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f s", seconds);
  return buf;
}
}  // namespace

std::chrono::milliseconds BatchStation::now() const { return bench_.platform().loop().now(); }

void BatchStation::run() {
  if (started_.count() < 0) started_ = now();
  ui_.note("Waiting for a modem at " + bench_.session().modemAddress + "...");
  betweenModems_ = true;
  awaitModem();
}

bool BatchStation::stopBetweenModems() {
  if (!betweenModems_) return false;
  stopped_ = true;
  if (!bench_.busy()) {
    steps_.cancelPendingStep();
    summary();
  }
  return true;
}

void BatchStation::askQuietly(std::function<void(bool answered)> then) {
  ui_.setQuiet(true);
  steps_.start(bench_.modem().versionRead(), [this, then](const OperationResult&) {
    ui_.setQuiet(false);
    if (stopped_) return summary();
    then(bench_.session().runningVersion.known());
  });
}

bool BatchStation::linkDown() {
  const std::string& name = bench_.session().interfaceName;
  if (name.empty()) return false;
  const auto carrier = bench_.platform().networkInterfaces().carrier(name);
  return carrier && !*carrier;
}

void BatchStation::awaitModem() {
  // No cable, no modem: nothing to ask until the link comes up.
  if (linkDown()) return steps_.after(1000, [this] { awaitModem(); });
  bench_.forgetModemIdentity();
  askQuietly([this](bool answered) {
    if (!answered) return steps_.after(5000, [this] { awaitModem(); });
    betweenModems_ = false;
    const Session& session = bench_.session();
    if (session.runningVersion == session.newVersion) {
      ui_.note("The modem already runs " + session.newVersion.display() + ": skipped.", true);
      ++skipped_;
      return next();
    }
    unitStarted_ = now();
    steps_.operation(OperationKind::Upgrade,
                     [this](int code, const OperationResult& result) { unitEnded(code, result); });
  });
}

void BatchStation::unitEnded(int code, const OperationResult& result) {
  const bool done = code == kExitDone;
  ++(done ? done_ : failed_);
  const double seconds = static_cast<double>((now() - unitStarted_).count()) / 1000.0;
  // The pace is that of units upgraded: a failure may end at any moment.
  if (done) unitSeconds_.push_back(seconds);
  if (!options_.json) {
    std::string phases;
    for (const auto& [phase, s] : result.phases)
      phases += (phases.empty() ? "" : ", ") + std::string(PhaseName(phase)) + " " + Seconds(s);
    ui_.note("Unit " + std::to_string(done_ + failed_) + ": " + (done ? "done" : "failed") +
             " in " + Seconds(seconds) + (phases.empty() ? "" : " (" + phases + ")") + ".");
  }
  next();
}

void BatchStation::next() {
  if (stopped_) return summary();
  ui_.note("Disconnect the modem, or press Enter for the next one.");
  betweenModems_ = true;
  awaitDeparture(now());
}

void BatchStation::awaitDeparture(std::chrono::milliseconds lastAnswer) {
  if ((enterPressed_ && enterPressed_()) || linkDown()) return run();
  askQuietly([this, lastAnswer](bool answered) {
    const auto last = answered ? now() : lastAnswer;
    if (!answered && now() - last >= std::chrono::seconds(10)) return run();
    steps_.after(1000, [this, last] { awaitDeparture(last); });
  });
}

void BatchStation::summary() {
  const double perHour = UnitsPerHour(unitSeconds_.size(), now() - started_);
  const double median = Median(unitSeconds_);
  ui_.note("Station: " + std::to_string(done_) + " done, " + std::to_string(failed_) +
           " failed, " + std::to_string(skipped_) + " skipped; " + PaceText(perHour, median) +
           ".");
  if (options_.json)
    ui_.json(JsonLine()
                 .add("event", "summary")
                 .add("done", done_)
                 .add("failed", failed_)
                 .add("skipped", skipped_)
                 .add("units_per_hour", perHour)
                 .add("median_s", median)
                 .str());
  steps_.quit(failed_ > 0 ? kExitFailed : kExitDone);
}
