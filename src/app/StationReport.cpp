#include "app/StationReport.h"

#include <cstdio>

#include "app/StationPace.h"
#include "core/FailureCode.h"
#include "core/OperationKind.h"
#include "core/TextUtilities.h"
#include "core/UpgradeHistory.h"

namespace {
// What a unit whose station died under it is recorded with.
constexpr const char* kStationDied = "the station died";

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}
}  // namespace

void StationReport::show(const std::string& station, const JsonValue& event) {
  auto text = [&event](const char* key) {
    const JsonValue* v = event.get(key);
    return v ? v->asString() : std::string();
  };
  const std::string kind = text("event");
  if (kind == "status" || kind == "note") {
    if (!text("text").empty()) ui_.note(station + ": " + text("text"));
  } else if (kind == "hook" || kind == "line-stop") {
    ui_.note(station + ": " + text("text"));
  } else if (kind == "unit" && !text("text").empty()) {
    // A unit's event is news only when something flags it.
    const JsonValue* unit = event.get("unit");
    ui_.note(station + ": Unit " + std::to_string(unit ? static_cast<long>(unit->asNumber()) : 0) +
             ":" + text("text"));
  } else if (kind == "phase") {
    ui_.note(station + ": phase " + text("name"));
  } else if (kind == "result") {
    const JsonValue* d = event.get("duration_s");
    std::string line = station + ": " + text("operation") + " " + text("outcome") + " in " +
                       Seconds(d ? d->asNumber() : 0.0) + ", " + text("version_before") +
                       " -> " + text("version_after");
    if (!text("mac").empty()) line += ", modem " + text("mac");
    if (!text("reason").empty()) line += ": " + text("reason");
    ui_.note(line);
  }
}

void StationReport::diedInUnit(StationCounts& station, double seconds) {
  ++station.failed;
  if (options_.json) {
    ui_.json(JsonLine()
                 .add("event", "result")
                 .add("operation", OperationName(OperationKind::Upgrade))
                 .add("outcome", "failed")
                 .add("exit_code", static_cast<int>(kExitFailed))
                 .add("modem", modemAddress_)
                 .add("mac", "")
                 .add("interface", station.name)
                 .add("version_before", "")
                 .add("version_after", "")
                 .add("duration_s", seconds)
                 .add("reason", kStationDied)
                 .add("reason_code", FailureCodeText(FailureCode::StationDied))
                 .str());
  } else {
    ui_.note(station.name + ": upgrade failed in " + Seconds(seconds) + ": " + kStationDied);
  }
  if (historyFile_.empty()) return;
  HistoryEntry entry;
  entry.time = UtcIsoTime(std::chrono::system_clock::now());
  entry.modemAddress = modemAddress_;
  entry.interfaceName = station.name;
  entry.operation = OperationName(OperationKind::Upgrade);
  entry.outcome = "failed";
  entry.reasonCode = FailureCodeText(FailureCode::StationDied);
  entry.durationSeconds = seconds;
  entry.attempt = NewAttemptId();
  entry.station = station_;
  Text error;
  if (!AppendHistory(historyFile_, entry, error)) ui_.warning(error.english());
  // No outbox runs here: the next run with records sends it.
  if (!recordsQueue_.empty() && !AppendHistory(recordsQueue_, entry, error))
    ui_.warning(error.english());
}

int StationReport::summary(const std::vector<const StationCounts*>& stations,
                           std::chrono::milliseconds over) {
  auto perHour = [over](int units) { return UnitsPerHour(static_cast<std::size_t>(units), over); };
  int done = 0, failed = 0, skipped = 0;
  bool unusable = false;
  JsonLine each;
  std::string text;
  for (const StationCounts* s : stations) {
    done += s->done;
    failed += s->failed;
    skipped += s->skipped;
    unusable = unusable || s->exitCode == kExitUsage;
    each.addObject(s->name, JsonLine()
                                .add("done", s->done)
                                .add("failed", s->failed)
                                .add("skipped", s->skipped)
                                .add("units_per_hour", perHour(s->done)));
    text += s->name + " " + std::to_string(s->done) + " done, " + std::to_string(s->failed) +
            " failed, " + std::to_string(s->skipped) + " skipped; ";
  }
  const double median = Median(unitSeconds_);
  const double total = perHour(done);
  if (options_.json) {
    JsonLine line;
    line.add("event", "summary")
        .addObject("interfaces", each)
        .add("done", done)
        .add("failed", failed)
        .add("skipped", skipped)
        .add("units_per_hour", total)
        .add("median_s", median);
    if (lineStopped_.empty()) line.add("stopped", nullptr);
    else line.add("stopped", lineStopped_);
    ui_.json(line.str());
  } else {
    ui_.note("Stations: " + text + "all " + std::to_string(done) + " done, " +
             std::to_string(failed) + " failed, " + std::to_string(skipped) + " skipped; " +
             PaceText(total, median) + "." +
             (lineStopped_.empty() ? "" : " Line stopped: " + lineStopped_ + "."));
  }
  if (failed > 0 || !lineStopped_.empty()) return kExitFailed;
  return unusable ? kExitUsage : kExitDone;
}
