#include "app/BatchStation.h"

#include <algorithm>
#include <cstdio>

#include "app/OperationRecorder.h"
#include "app/StationPace.h"
#include "app/Workbench.h"
#include "core/FailureCode.h"
#include "core/JsonLine.h"
#include "operations/ModemSession.h"

namespace {
std::string Seconds(double seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f s", seconds);
  return buf;
}

// What tells a unit apart: the same modem as an earlier one, a MAC that
// changed over the restart; "" when nothing does.
std::string UnitFlags(std::optional<int> sameAs, const std::string& mac,
                      const std::string& macBefore, const std::string& macAfter);
}  // namespace

std::chrono::milliseconds BatchStation::now() const { return bench_.platform().loop().now(); }

void BatchStation::run() {
  if (started_.count() < 0) started_ = now();
  ui_.note("Waiting for a modem at " + bench_.session().modemAddress + "...");
  betweenModems_ = true;
  awaitModem();
}

bool BatchStation::stopBetweenModems() {
  // Summarized, waiting for the hooks: they are ended.
  if (summarized_) {
    for (auto& hook : hooks_) hook->kill();
    return true;
  }
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
    // An upload to it that never ended is completed, as a single run does.
    if (session.runningVersion == session.newVersion && session.unfinishedUploadSince.empty()) {
      ui_.note("The modem already runs " + session.newVersion.display() + ": skipped.", true);
      bench_.recorder().skipped(OperationName(OperationKind::Upgrade));
      ++skipped_;
      Unit unit;
      unit.number = ++unitNumber_;
      unit.outcome = "skipped";
      unit.macBefore = unit.macAfter = session.currentModemMac();
      unit.versionBefore = unit.versionAfter = session.runningVersion.display();
      unitRecorded(unit);
      return next();
    }
    unitStarted_ = now();
    macBefore_ = session.currentModemMac();
    versionBefore_ = session.runningVersion.display();
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
  const Session& session = bench_.session();
  Unit unit;
  unit.number = ++unitNumber_;
  unit.outcome = done ? "done" : "failed";
  unit.seconds = seconds;
  unit.macBefore = macBefore_;
  // As read again once the modem was back from its restart.
  unit.macAfter = session.currentModemMac();
  unit.versionBefore = versionBefore_;
  unit.versionAfter = session.runningVersion.display();
  if (!done && result.reasonCode) unit.reasonCode = FailureCodeText(*result.reasonCode);
  const std::string mac = unit.macBefore.empty() ? unit.macAfter : unit.macBefore;
  if (!mac.empty()) {
    const auto [first, isNew] = units_.emplace(mac, unit.number);
    if (!isNew) unit.sameAs = first->second;
  }
  if (!options_.json) {
    std::string phases;
    for (const auto& [phase, s] : result.phases)
      phases += (phases.empty() ? "" : ", ") + std::string(PhaseName(phase)) + " " + Seconds(s);
    ui_.note("Unit " + std::to_string(unit.number) + ": " + unit.outcome + " in " +
             Seconds(seconds) + (phases.empty() ? "" : " (" + phases + ")") + "." +
             UnitFlags(unit.sameAs, mac, unit.macBefore, unit.macAfter));
  }
  unitRecorded(std::move(unit));
  next();
}

namespace {
std::string UnitFlags(std::optional<int> sameAs, const std::string& mac,
                      const std::string& macBefore, const std::string& macAfter) {
  std::string flags;
  if (sameAs) flags += " The same modem (" + mac + ") as unit " + std::to_string(*sameAs) + ".";
  if (!macBefore.empty() && !macAfter.empty() && macBefore != macAfter)
    flags += " Its MAC changed over the restart: " + macBefore + " before, " + macAfter + " after.";
  return flags;
}
}  // namespace

void BatchStation::unitRecorded(Unit unit) {
  if (options_.json) {
    JsonLine line;
    line.add("event", "unit")
        .add("time", ui_.timestamp())
        .add("unit", unit.number)
        .add("outcome", unit.outcome)
        .add("duration_s", unit.seconds)
        .add("mac_before", unit.macBefore)
        .add("mac_after", unit.macAfter)
        .add("mac_changed", unit.macChanged());
    if (unit.sameAs) line.add("same_as_unit", *unit.sameAs);
    else line.add("same_as_unit", nullptr);
    const std::string& mac = unit.macBefore.empty() ? unit.macAfter : unit.macBefore;
    line.add("text", UnitFlags(unit.sameAs, mac, unit.macBefore, unit.macAfter));
    ui_.json(line.str());
  }
  if (!options_.onUnit.empty()) runHook(unit);
  if (unit.outcome == "skipped") return;
  const bool failed = unit.outcome == "failed";
  failedInRow_ = failed ? failedInRow_ + 1 : 0;
  if (options_.ofLastUnits > 0) {
    lastFailed_.push_back(failed);
    if (lastFailed_.size() > static_cast<std::size_t>(options_.ofLastUnits)) lastFailed_.pop_front();
  }
  if (!lineStopped_.empty()) return;
  lineStopped_ = lineStopReason();
  if (lineStopped_.empty()) return;
  stopped_ = true;
  const std::string text = "Line stopped: " + lineStopped_ + ".";
  if (options_.json)
    ui_.json(JsonLine()
                 .add("event", "line-stop")
                 .add("time", ui_.timestamp())
                 .add("reason", lineStopped_)
                 .add("text", text)
                 .str());
  else
    ui_.note(text);
}

std::string BatchStation::lineStopReason() const {
  if (options_.stopAfterFailures > 0 && failedInRow_ >= options_.stopAfterFailures)
    return std::to_string(failedInRow_) + " units failed in a row (--stop-after-failures " +
           std::to_string(options_.stopAfterFailures) + ")";
  if (options_.maxFailures > 0) {
    const auto failures = std::count(lastFailed_.begin(), lastFailed_.end(), true);
    if (failures >= options_.maxFailures)
      return std::to_string(failures) + " of the last " + std::to_string(lastFailed_.size()) +
             " units failed (--max-failure-rate " + std::to_string(options_.maxFailures) + "/" +
             std::to_string(options_.ofLastUnits) + ")";
  }
  return {};
}

void BatchStation::runHook(const Unit& unit) {
  // Those that ended are let go; none is inside its own handler now.
  std::erase_if(hooks_, [](const auto& hook) { return !hook->running(); });
  const Session& session = bench_.session();
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", unit.seconds);
  const UnitHook::Environment environment = {
      {"KOVA_UNIT_NUMBER", std::to_string(unit.number)},
      {"KOVA_UNIT_OUTCOME", unit.outcome},
      {"KOVA_UNIT_MAC", unit.macBefore.empty() ? unit.macAfter : unit.macBefore},
      {"KOVA_UNIT_MAC_AFTER", unit.macAfter},
      {"KOVA_UNIT_MAC_CHANGED", unit.macChanged() ? "1" : "0"},
      {"KOVA_UNIT_SAME_AS_UNIT", unit.sameAs ? std::to_string(*unit.sameAs) : ""},
      {"KOVA_UNIT_ADDRESS", session.modemAddress},
      {"KOVA_UNIT_VERSION_BEFORE", unit.versionBefore},
      {"KOVA_UNIT_VERSION_AFTER", unit.versionAfter},
      {"KOVA_UNIT_INTERFACE", session.interfaceName},
      {"KOVA_UNIT_STATION", bench_.platform().resolver().localHostName()},
      {"KOVA_UNIT_REASON_CODE", unit.reasonCode},
      {"KOVA_UNIT_DURATION_S", seconds}};
  const auto limit = std::chrono::seconds(options_.onUnitTimeoutSeconds);
  hooks_.push_back(std::make_unique<UnitHook>(bench_.platform(), options_.onUnit, limit));
  hooks_.back()->start(unit.number, environment, [this, limit](const UnitHook::Result& r) {
    const std::string text = "Unit " + std::to_string(r.unit) + " hook: " + HookText(r, limit) + ".";
    if (options_.json) {
      JsonLine line;
      line.add("event", "hook")
          .add("time", ui_.timestamp())
          .add("unit", r.unit)
          .add("started", r.started)
          .add("timed_out", r.timedOut)
          .add("signal", r.crashed);
      if (r.started && !r.crashed && !r.timedOut) line.add("exit_code", r.exitCode);
      else line.add("exit_code", nullptr);
      line.add("duration_s", r.seconds)
          .add("output", r.output)
          .add("output_cut", r.outputCut)
          .add("text", text);
      ui_.json(line.str());
    } else {
      ui_.note(text);
    }
    if (quitCode_) quitAfterHooks();
  });
}

void BatchStation::next() {
  if (stopped_) return summary();
  // Unplugged, a unit whose flash holds part of an image may never start again.
  if (!bench_.session().unfinishedUploadSince.empty())
    ui_.note("Leave the modem connected and powered: press Enter to repeat the upgrade."_t);
  else
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
  if (summarized_) return;
  summarized_ = true;
  const double perHour = UnitsPerHour(unitSeconds_.size(), now() - started_);
  const double median = Median(unitSeconds_);
  ui_.note("Station: " + std::to_string(done_) + " done, " + std::to_string(failed_) +
           " failed, " + std::to_string(skipped_) + " skipped; " + PaceText(perHour, median) +
           "." + (lineStopped_.empty() ? "" : " Stopped: " + lineStopped_ + "."));
  if (options_.json) {
    JsonLine line;
    line.add("event", "summary")
        .add("done", done_)
        .add("failed", failed_)
        .add("skipped", skipped_)
        .add("units_per_hour", perHour)
        .add("median_s", median);
    if (lineStopped_.empty()) line.add("stopped", nullptr);
    else line.add("stopped", lineStopped_);
    ui_.json(line.str());
  }
  quitCode_ = failed_ > 0 ? kExitFailed : kExitDone;
  quitAfterHooks();
}

void BatchStation::quitAfterHooks() {
  const auto running = std::count_if(hooks_.begin(), hooks_.end(),
                                     [](const auto& hook) { return hook->running(); });
  if (running == 0) return steps_.quit(*quitCode_);
  // Its end comes back here, within its limit.
  if (!toldHooks_)
    ui_.note("Waiting for the --on-unit program to end (at most " +
             std::to_string(options_.onUnitTimeoutSeconds) + " s)...");
  toldHooks_ = true;
}
