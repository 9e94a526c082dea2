// Batch mode on the simulated platform: the console front end in place of
// the recorded UI, its output captured, a whole modem behind it.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <sstream>
#include <vector>

#include "app/BatchCommandLine.h"
#include "app/BatchMode.h"
#include "core/JsonLine.h"
#include "core/Sha256.h"
#include "core/UpgradeHistory.h"
#include "sim/WorkflowPeers.h"

struct Batch {
  WorkflowModem h;
  std::ostringstream out, err;
  BatchOptions options;
  std::atomic<int> interrupts{0};
  std::unique_ptr<ConsoleUi> ui;
  std::function<bool()> enterPressed;

  // The options as the command line gives them, after "--batch".
  ::testing::AssertionResult parse(std::vector<std::string> args) {
    args.insert(args.begin(), "--batch");
    std::string error;
    auto line = ParseBatchCommandLine(args, error);
    if (!line) return ::testing::AssertionFailure() << error;
    options = line->options;
    return ::testing::AssertionSuccess();
  }

  int run() {
    ui = std::make_unique<ConsoleUi>(out, err, options,
                                     [this] { return std::to_string(h.clock().nowMs()); });
    h.platform.consoleUi = ui.get();  // in place of the recorded one
    return RunBatch(h.platform, h.settings, *ui, options, interrupts, nullptr, enterPressed);
  }
};

// Stations under their supervisor, one per interface: the line's console
// captured, each child played by the test.
struct Stations {
  SimPlatform platform;
  std::ostringstream out, err;
  BatchOptions options;
  ConsoleUi ui{out, err, options, [this] { return std::to_string(platform.clock().nowMs()); }};
  std::atomic<int> interrupts{0};

  explicit Stations(std::vector<std::string> interfaces = {"eth1", "eth2"}) {
    options.operation = BatchOptions::Operation::Upgrade;
    options.station = true;
    options.interfaces = std::move(interfaces);
  }
  SimLoop& clock() { return platform.clock(); }
  SimChildProcess& child(std::size_t i) { return *platform.children.at(i).child; }
};

inline std::string Sha(const std::string& bytes) {
  Sha256 sha;
  sha.update(bytes.data(), bytes.size());
  return sha.hexDigest();
}

// Every line of a JSON stream, parsed; fails the test on a line that is no
// JSON object.
inline std::vector<JsonValue> Events(const std::string& out) {
  std::vector<JsonValue> events;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    auto value = ParseJson(line);
    EXPECT_TRUE(value && value->isObject()) << line;
    if (value) events.push_back(*value);
  }
  return events;
}

inline std::string TextField(const JsonValue& object, const char* key) {
  const JsonValue* v = object.get(key);
  return v && v->isString() ? v->asString() : "(missing)";
}

inline std::vector<HistoryEntry> History(WorkflowModem& h) {
  // As the user reads it: an attempt's "began" line only while it never ended.
  return HistoryOperations(
      ReadHistory((h.home.path() / "Backup" / "history.jsonl").string()).entries);
}

// "operation outcome version_after" of each history entry, in order.
inline std::vector<std::string> HistoryRows(WorkflowModem& h) {
  std::vector<std::string> rows;
  for (const auto& e : History(h))
    rows.push_back(e.operation + " " + e.outcome + " " + e.versionAfter);
  return rows;
}
