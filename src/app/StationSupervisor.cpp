#include "app/StationSupervisor.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <optional>

#include "app/InterruptGuard.h"
#include "app/StationPace.h"
#include "app/StationReport.h"
#include "core/JsonLine.h"

namespace {
using std::chrono::milliseconds;

// A station that keeps dying waits longer before each next try (1, 2, 4 …
// 60 s), and is given up after 5 deaths within 2 minutes: a fault that
// kills it at once must not spin.
constexpr int kRestartMs = 1000;
constexpr int kRestartLimitMs = 60000;
constexpr std::size_t kCrashesToGiveUp = 5;
constexpr milliseconds kCrashWindow{120000};

class Supervisor {
 public:
  Supervisor(Platform& platform, ConsoleUi& ui, const BatchOptions& options,
             const std::vector<std::string>& arguments, const std::string& program,
             const std::atomic<int>& interrupts, const std::string& historyFile,
             const std::string& modemAddress, const std::string& recordsQueue)
      : platform_(platform),
        ui_(ui),
        o_(options),
        arguments_(arguments),
        program_(program),
        report_(ui, options, historyFile, modemAddress, recordsQueue,
                platform.resolver().localHostName()),
        guard_(platform, interrupts) {}

  int run();

 private:
  struct Station : StationCounts {
    std::unique_ptr<ChildProcess> child;
    std::unique_ptr<Timer> restart;
    milliseconds started{0};
    long pid = 0;  // as started: a process that ended has none any more
    bool running = false;
    bool ended = false;  // will not be started again
    std::deque<milliseconds> crashes;  // within the last 2 minutes
    int restartMs = kRestartMs;        // before the next start after a death
    std::optional<milliseconds> unitStarted;  // a unit in hand since then
  };

  void launch(Station& s);
  void line(Station& s, const std::string& text);
  void exited(Station& s, int code, bool crashed);
  void stationEvent(const Station& s, const char* state, long pid,
                    std::optional<int> exitCode = std::nullopt, bool signal = false,
                    const std::string& reason = "");
  void interrupted(bool twice, int presses);
  // A station stopped taking units: the whole line stops after the units
  // in hand.
  void lineStop(const Station& s, const std::string& reason);
  void finishIfAllEnded();
  // The summary line of all stations; returns the exit code.
  int summary();
  std::vector<std::string> childArguments(const std::string& name) const;

  Platform& platform_;
  ConsoleUi& ui_;
  const BatchOptions& o_;
  const std::vector<std::string>& arguments_;
  const std::string& program_;
  StationReport report_;
  InterruptGuard guard_;
  std::vector<std::unique_ptr<Station>> stations_;
  milliseconds started_{0};
  bool stopping_ = false;
  bool abandoned_ = false;  // a second Ctrl+C
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
  // Two names of one interface (an alternative name) would run two
  // stations on one modem.
  std::map<int, std::string> byIndex;
  for (const auto& name : o_.interfaces) {
    const int index = platform_.networkInterfaces().index(name);
    const auto [seen, added] = byIndex.emplace(index, name);
    if (!added && index != 0) {
      ui_.error("Cannot use the interfaces " + seen->second + " and " + name +
                ": they are one interface (index " + std::to_string(index) + ").");
      return kExitUsage;
    }
  }
  // Several interfaces in one subnet: a strict reverse-path filter drops
  // the replies on all but the one the routing table prefers.
  for (const auto& name : o_.interfaces)
    if (platform_.networkInterfaces().reversePathFilter(name) == 1)
      ui_.warning(StrictReversePathWarning(name));
  started_ = platform_.loop().now();
  for (const auto& name : o_.interfaces) {
    auto s = std::make_unique<Station>();
    s->name = name;
    s->restart = platform_.createTimer();
    Station* station = s.get();
    s->restart->onTick = [this, station] {
      station->restart->setEnabled(false);
      if (stopping_) return;
      launch(*station);
      finishIfAllEnded();  // the program may be gone meanwhile
    };
    stations_.push_back(std::move(s));
  }
  for (auto& s : stations_) launch(*s);
  guard_.onInterrupt = [this](bool twice, int presses) { interrupted(twice, presses); };
  guard_.watch(true);
  // None could start: nothing to wait for.
  if (std::all_of(stations_.begin(), stations_.end(), [](auto& s) { return s->ended; })) {
    summary();
    return kExitUsage;
  }
  return platform_.loop().run();
}

void Supervisor::launch(Station& s) {
  s.child = platform_.createChildProcess();
  Station* station = &s;
  s.child->onOutputLine = [this, station](const std::string& text) { line(*station, text); };
  s.child->onErrorLine = [this, station](const std::string& text) {
    // Told once for the whole line, above.
    if (text.ends_with(StrictReversePathWarning(station->name))) return;
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
  s.pid = s.child->processId();
  stationEvent(s, "started", s.pid);
}

void Supervisor::stationEvent(const Station& s, const char* state, long pid,
                              std::optional<int> exitCode, bool signal, const std::string& reason) {
  if (o_.json) {
    JsonLine line;
    line.add("event", "station")
        .add("time", ui_.timestamp())
        .add("interface", s.name)
        .add("state", state)
        .add("pid", pid);
    if (exitCode) line.add(signal ? "signal" : "exit_code", *exitCode);
    if (!reason.empty()) line.add("reason", reason);
    ui_.json(line.str());
    return;
  }
  std::string text = "Station " + s.name + " " + state + " (process " + std::to_string(pid);
  if (exitCode) text += (signal ? ", signal " : ", exit code ") + std::to_string(*exitCode);
  ui_.note(text + ")" + (reason.empty() ? "" : ": " + reason) + ".");
}

void Supervisor::line(Station& s, const std::string& text) {
  auto event = ParseJson(text);
  if (!event || !event->isObject() || !event->get("event")) {
    ui_.passOn(s.name + ": " + text);  // not ours to read: shown as it came
    return;
  }
  const std::string kind = event->get("event")->asString();
  if (kind == "summary") return;  // one summary of all comes at the end
  if (kind == "phase" && !s.unitStarted) s.unitStarted = platform_.loop().now();
  if (kind == "result") {
    s.unitStarted.reset();
    const JsonValue* code = event->get("exit_code");
    // A start refused (its interface unusable) is no unit.
    if (code && code->asNumber() == static_cast<int>(kExitUsage)) {
      s.exitCode = kExitUsage;
      if (!o_.json) return;  // its reason reached standard error
    } else {
      const bool done = code && code->asNumber() == 0;
      ++(done ? s.done : s.failed);
      // The pace is that of units made: a unit that failed early is no
      // faster unit.
      if (const JsonValue* seconds = event->get("duration_s"); seconds && done)
        report_.unitDone(seconds->asNumber());
    }
  }
  if (kind == "note" && event->get("skipped") && event->get("skipped")->asBool()) ++s.skipped;
  if (kind == "line-stop") lineStop(s, event->get("reason") ? event->get("reason")->asString() : "");
  if (o_.json)
    ui_.json(text);  // it names its interface
  else
    report_.show(s.name, *event);
}


void Supervisor::exited(Station& s, int code, bool crashed) {
  s.running = false;
  if (s.unitStarted) {
    // The unit in hand failed with its station.
    report_.diedInUnit(
        s, static_cast<double>((platform_.loop().now() - *s.unitStarted).count()) / 1000.0);
    s.unitStarted.reset();
  }
  if (stopping_ || code == kExitUsage) {
    // Asked to stop, or its interface cannot be used: it stays down.
    s.ended = true;
    s.exitCode = crashed ? kExitFailed : code;
    stationEvent(s, "ended", s.pid, code, crashed);
    return finishIfAllEnded();
  }
  const milliseconds now = platform_.loop().now();
  while (!s.crashes.empty() && now - s.crashes.front() > kCrashWindow) s.crashes.pop_front();
  s.crashes.push_back(now);
  if (s.crashes.size() >= kCrashesToGiveUp) {
    s.ended = true;
    s.exitCode = crashed ? kExitFailed : code;
    stationEvent(s, "ended", s.pid, code, crashed,
                 "given up: it died " + std::to_string(s.crashes.size()) +
                     " times within 2 minutes");
    return finishIfAllEnded();
  }
  stationEvent(s, "crashed", s.pid, code, crashed);
  // The first death within the window starts the back-off over.
  if (s.crashes.size() == 1) s.restartMs = kRestartMs;
  s.restart->setInterval(s.restartMs);
  s.restart->setEnabled(true);
  s.restartMs = std::min(s.restartMs * 2, kRestartLimitMs);
}


void Supervisor::lineStop(const Station& s, const std::string& reason) {
  if (stopping_) return;
  report_.lineStopped(s.name + ": " + reason);
  // As one Ctrl+C to each: the units in hand are finished, no other is taken.
  stopping_ = true;
  for (auto& other : stations_) {
    other->restart->setEnabled(false);
    if (!other->running) other->ended = true;
    else if (other.get() != &s) other->child->interrupt();
  }
  finishIfAllEnded();
}

// Ctrl+C goes to each station once, as the terminal would have sent it; a
// second one abandons what they do.
void Supervisor::interrupted(bool twice, int presses) {
  abandoned_ = abandoned_ || presses >= 2;
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
  if (finished_) return;
  for (auto& s : stations_)
    if (!s->ended) return;
  finished_ = true;
  guard_.watch(false);
  const int code = summary();
  // No station is left, and nobody asked them to stop.
  platform_.loop().quit(!stopping_ ? kExitUsage : abandoned_ ? kExitInterrupted : code);
}

int Supervisor::summary() {
  std::vector<const StationCounts*> counts;
  for (const auto& s : stations_) counts.push_back(s.get());
  return report_.summary(counts, platform_.loop().now() - started_);
}
}  // namespace

int RunStations(Platform& platform, ConsoleUi& ui, const BatchOptions& options,
                const std::vector<std::string>& arguments, const std::string& program,
                const std::atomic<int>& interrupts, const std::string& historyFile,
                const std::string& modemAddress, const std::string& recordsQueue) {
  Supervisor supervisor(platform, ui, options, arguments, program, interrupts, historyFile,
                        modemAddress, recordsQueue);
  return supervisor.run();
}
