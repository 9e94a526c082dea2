// What a production line made over a time, from its records: units done,
// failed and skipped, yield and pace, broken down by station, interface and
// hour, the failure reasons, the modems upgraded more than once, and the
// units whose MAC changed over their restart.
//
// A unit is the final line of one upgrade (done, failed, interrupted,
// skipped, or a "began" line whose attempt never ended: unfinished), known
// by its modem's MAC, or by its address when the line names no MAC. Other
// operations are no units.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/UpgradeHistory.h"

struct LineReportOptions {
  enum class Format { Text, Csv, Json };
  Format format = Format::Text;
  // Bounds on a unit's start, both included, as ReportTime gives them; ""
  // for none.
  std::string since, until;
};

// An ISO 8601 UTC time as the history writes it (2026-12-08T06:01:33Z, the
// seconds and the Z optional), or a date alone: its first second, or its
// last with endOfDay. The history's form; nullopt when text is neither.
std::optional<std::string> ReportTime(const std::string& text, bool endOfDay);

// The report over the records as read (began lines and all), in order of
// time or not; ends in "\n".
std::string LineReport(const std::vector<HistoryEntry>& records, const LineReportOptions& options);
