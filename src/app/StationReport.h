// What a line of stations tells of its units: each station's unit lines as
// text, the failed unit of a station that died under it (on the console and
// in the history), and one summary of them all with the line's pace.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "app/BatchCommandLine.h"
#include "app/ConsoleUi.h"
#include "core/JsonLine.h"

// One station's units so far.
struct StationCounts {
  std::string name;  // its interface
  int done = 0, failed = 0, skipped = 0;
  int exitCode = 0;
};

class StationReport {
 public:
  // historyFile: where a died unit is recorded ("": nowhere), and
  // recordsQueue: where it waits for the records database ("": none), for
  // the modem at modemAddress, by the station PC named station.
  StationReport(ConsoleUi& ui, const BatchOptions& options, std::string historyFile,
                std::string modemAddress, std::string recordsQueue = "", std::string station = "")
      : ui_(ui),
        options_(options),
        historyFile_(std::move(historyFile)),
        modemAddress_(std::move(modemAddress)),
        recordsQueue_(std::move(recordsQueue)),
        station_(std::move(station)) {}

  // A unit made in seconds: the pace counts it.
  void unitDone(double seconds) { unitSeconds_.push_back(seconds); }
  // The text line of a station's event; its boxes and hints reach standard
  // error from its own.
  void show(const std::string& station, const JsonValue& event);
  // The unit in hand failed with its station after seconds.
  void diedInUnit(StationCounts& station, double seconds);
  // The line stopped, for this reason (the station's name first); the
  // summary says it.
  void lineStopped(std::string reason) { lineStopped_ = std::move(reason); }
  // The summary of all stations over that time; returns the exit code.
  int summary(const std::vector<const StationCounts*>& stations, std::chrono::milliseconds over);

 private:
  ConsoleUi& ui_;
  const BatchOptions& options_;
  const std::string historyFile_;
  const std::string modemAddress_;
  const std::string recordsQueue_, station_;
  std::vector<double> unitSeconds_;
  std::string lineStopped_;
};
