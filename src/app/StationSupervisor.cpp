#include "app/StationSupervisor.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/StationPace.h"
#include "core/JsonLine.h"

namespace {
using std::chrono::milliseconds;

// A station that dies this soon after its start waits longer before the
// next try: a fault that kills it at once must not spin.
constexpr milliseconds kShortLife{10000};
constexpr int kRestartMs = 1000;
constexpr int kRestartAfterShortLifeMs = 5000;

class Supervisor {
 public:
  Supervisor(Platform& platform, ConsoleUi& ui, const BatchOptions& options,
             const std::vector<std::string>& arguments, const std::string& program,
             const std::atomic<int>& interrupts)
      : platform_(platform),
        ui_(ui),
        o_(options),
        arguments_(arguments),
        program_(program),
        interrupts_(interrupts),
        guard_(platform.createTimer()) {}

  int run();

 private:
  struct Station {
    std::string name;
    std::unique_ptr<ChildProcess> child;
    std::unique_ptr<Timer> restart;
    milliseconds started{0};
    bool running = false;
    bool ended = false;  // will not be started again
    int exitCode = 0;
    int done = 0, failed = 0, skipped = 0;
  };

  void launch(Station& s);
  void line(Station& s, const std::string& text);
  void show(Station& s, const JsonValue& event);
  void exited(Station& s, int code, bool crashed);
  void stationEvent(const Station& s, const char* state, long pid,
                    std::optional<int> exitCode = std::nullopt, bool signal = false);
  void guardTick();
  void finishIfAllEnded();
  // The summary line of all stations; returns the exit code.
  int summary();
  std::vector<std::string> childArguments(const std::string& name) const;

  Platform& platform_;
  ConsoleUi& ui_;
  const BatchOptions& o_;
  const std::vector<std::string>& arguments_;
  const std::string& program_;
  const std::atomic<int>& interrupts_;
  std::unique_ptr<Timer> guard_;
  std::vector<std::unique_ptr<Station>> stations_;
  std::vector<double> unitSeconds_;
  milliseconds started_{0};
  int seenInterrupts_ = 0;
  bool stopping_ = false;
  bool finished_ = false;
};

std::vector<std::string> Supervisor::childArguments(const std::string& name) const {
  // The command line as given, for one interface, as a JSON stream to read.
  std::vector<std::string> args;
  bool json = false;
  for (std::size_t i = 0; i < arguments_.size(); ++i) {
    args.push_back(arguments_[i]);
    json = json || arguments_[i] == "--json";
    if (arguments_[i] == "--interface" && i + 1 < arguments_.size()) {
      args.push_back(name);
      ++i;
    }
  }
  if (!json) args.insert(args.begin(), "--json");
  return args;
}

int Supervisor::run() {
  // Every interface must be usable before anything connects anywhere.
  for (const auto& name : o_.interfaces) {
    const std::string problem = platform_.networkInterfaces().bindProblem(name);
    if (!problem.empty()) {
      ui_.error("Cannot use the interface " + name + ": " + problem + ".");
      return kExitUsage;
    }
  }
  // Several interfaces in one subnet: a strict reverse-path filter drops
  // the replies on all but the one the routing table prefers.
  for (const auto& name : o_.interfaces)
    if (platform_.networkInterfaces().reversePathFilter(name) == 1)
      ui_.warning(name +
                " drops replies that the routing table expects on another interface "
                "(strict reverse-path filter). Set it to loose: sysctl -w "
                "net.ipv4.conf.all.rp_filter=2 net.ipv4.conf." +
                name + ".rp_filter=2");
  started_ = platform_.loop().now();
  for (const auto& name : o_.interfaces) {
    auto s = std::make_unique<Station>();
    s->name = name;
    s->restart = platform_.createTimer();
    Station* station = s.get();
    s->restart->onTick = [this, station] {
      station->restart->setEnabled(false);
      if (!stopping_) launch(*station);
    };
    stations_.push_back(std::move(s));
  }
  for (auto& s : stations_) launch(*s);
  guard_->setInterval(100);
  guard_->onTick = [this] { guardTick(); };
  guard_->setEnabled(true);
  // None could start: nothing to wait for.
  if (std::all_of(stations_.begin(), stations_.end(), [](auto& s) { return s->ended; }))
    return summary();
  return platform_.loop().run();
}

void Supervisor::launch(Station& s) {
  s.child = platform_.createChildProcess();
  Station* station = &s;
  s.child->onOutputLine = [this, station](const std::string& text) { line(*station, text); };
  s.child->onErrorLine = [this, station](const std::string& text) {
    ui_.passOn(station->name + ": " + text);
  };
  s.child->onExit = [this, station](int code, bool crashed) { exited(*station, code, crashed); };
  s.started = platform_.loop().now();
  if (!s.child->start(program_, childArguments(s.name))) {
    ui_.error("The station on " + s.name + " could not be started.");
    s.ended = true;
    s.exitCode = kExitUsage;
    return;
  }
  s.running = true;
  stationEvent(s, "started", s.child->processId());
}

void Supervisor::stationEvent(const Station& s, const char* state, long pid,
                              std::optional<int> exitCode, bool signal) {
  if (o_.json) {
    JsonLine line;
    line.add("event", "station")
        .add("time", ui_.timestamp())
        .add("interface", s.name)
        .add("state", state)
        .add("pid", pid);
    if (exitCode) line.add(signal ? "signal" : "exit_code", *exitCode);
    ui_.json(line.str());
    return;
  }
  std::string text = "Station " + s.name + " " + state + " (process " + std::to_string(pid);
  if (exitCode) text += (signal ? ", signal " : ", exit code ") + std::to_string(*exitCode);
  ui_.note(text + ").");
}

void Supervisor::line(Station& s, const std::string& text) {
  auto event = ParseJson(text);
  if (!event || !event->isObject() || !event->get("event")) {
    ui_.passOn(s.name + ": " + text);  // not ours to read: shown as it came
    return;
  }
  const std::string kind = event->get("event")->asString();
  if (kind == "summary") return;  // one summary of all comes at the end
  if (kind == "result") {
    const JsonValue* code = event->get("exit_code");
    ++(code && code->asNumber() == 0 ? s.done : s.failed);
    if (const JsonValue* seconds = event->get("duration_s")) unitSeconds_.push_back(seconds->asNumber());
  }
  if (kind == "note" && event->get("skipped") && event->get("skipped")->asBool()) ++s.skipped;
  if (o_.json)
    ui_.json(text);  // it names its interface
  else
    show(s, *event);
}

// The text lines of a station's events; its boxes and hints reach standard
// error from its own.
void Supervisor::show(Station& s, const JsonValue& event) {
  auto text = [&event](const char* key) {
    const JsonValue* v = event.get(key);
    return v ? v->asString() : std::string();
  };
  const std::string kind = text("event");
  if (kind == "status" || kind == "note") {
    if (!text("text").empty()) ui_.note(s.name + ": " + text("text"));
  } else if (kind == "phase") {
    ui_.note(s.name + ": phase " + text("name"));
  } else if (kind == "result") {
    char seconds[32];
    const JsonValue* d = event.get("duration_s");
    std::snprintf(seconds, sizeof seconds, "%.1f s", d ? d->asNumber() : 0.0);
    std::string line = s.name + ": " + text("operation") + " " + text("outcome") + " in " +
                       seconds + ", " + text("version_before") + " -> " + text("version_after");
    if (!text("mac").empty()) line += ", modem " + text("mac");
    if (!text("reason").empty()) line += ": " + text("reason");
    ui_.note(line);
  }
}

void Supervisor::exited(Station& s, int code, bool crashed) {
  s.running = false;
  const long pid = s.child ? s.child->processId() : 0;
  if (stopping_ || code == kExitUsage) {
    // Asked to stop, or its interface cannot be used: it stays down.
    s.ended = true;
    s.exitCode = crashed ? kExitFailed : code;
    stationEvent(s, "ended", pid, code, crashed);
    return finishIfAllEnded();
  }
  stationEvent(s, "crashed", pid, code, crashed);
  const bool shortLife = platform_.loop().now() - s.started < kShortLife;
  s.restart->setInterval(shortLife ? kRestartAfterShortLifeMs : kRestartMs);
  s.restart->setEnabled(true);
}

// Ctrl+C goes to each station once, as the terminal would have sent it; a
// second one abandons what they do.
void Supervisor::guardTick() {
  const int now = interrupts_.load();
  if (now == seenInterrupts_) return;
  const bool twice = now - seenInterrupts_ >= 2;
  seenInterrupts_ = now;
  stopping_ = true;
  for (auto& s : stations_) {
    s->restart->setEnabled(false);
    if (!s->running) {
      s->ended = true;
      continue;
    }
    if (twice)
      s->child->terminate();
    else
      s->child->interrupt();
  }
  finishIfAllEnded();
}

void Supervisor::finishIfAllEnded() {
  if (finished_ || !stopping_) return;
  for (auto& s : stations_)
    if (!s->ended) return;
  finished_ = true;
  guard_->setEnabled(false);
  platform_.loop().quit(summary());
}

int Supervisor::summary() {
  const auto over = platform_.loop().now() - started_;
  auto perHour = [over](int units) { return UnitsPerHour(static_cast<std::size_t>(units), over); };
  int done = 0, failed = 0, skipped = 0;
  bool unusable = false;
  JsonLine each;
  std::string text;
  for (auto& s : stations_) {
    done += s->done;
    failed += s->failed;
    skipped += s->skipped;
    unusable = unusable || s->exitCode == kExitUsage;
    each.addObject(s->name, JsonLine()
                                .add("done", s->done)
                                .add("failed", s->failed)
                                .add("skipped", s->skipped)
                                .add("units_per_hour", perHour(s->done + s->failed)));
    text += s->name + " " + std::to_string(s->done) + " done, " + std::to_string(s->failed) +
            " failed, " + std::to_string(s->skipped) + " skipped; ";
  }
  const double median = Median(unitSeconds_);
  const double total = perHour(done + failed);
  if (o_.json) {
    ui_.json(JsonLine()
                 .add("event", "summary")
                 .addObject("interfaces", each)
                 .add("done", done)
                 .add("failed", failed)
                 .add("skipped", skipped)
                 .add("units_per_hour", total)
                 .add("median_s", median)
                 .str());
  } else {
    ui_.note("Stations: " + text + "all " + std::to_string(done) + " done, " +
             std::to_string(failed) + " failed, " + std::to_string(skipped) + " skipped; " +
             PaceText(total, median) + ".");
  }
  if (failed > 0) return kExitFailed;
  return unusable ? kExitUsage : kExitDone;
}
}  // namespace

int RunStations(Platform& platform, ConsoleUi& ui, const BatchOptions& options,
                const std::vector<std::string>& arguments, const std::string& program,
                const std::atomic<int>& interrupts) {
  Supervisor supervisor(platform, ui, options, arguments, program, interrupts);
  return supervisor.run();
}
