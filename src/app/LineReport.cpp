#include "app/LineReport.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string_view>
#include <tuple>

#include "app/StationPace.h"
#include "core/JsonLine.h"
#include "core/OperationKind.h"
#include "core/TextUtilities.h"

namespace {

bool Digits(const std::string& text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Seconds since the epoch of a time in the history's form; nullopt for a
// line whose time is not one (hand-edited).
std::optional<long long> EpochSeconds(const std::string& time) {
  int y, mo, d, h, mi, s;
  if (time.size() < 19 || time[4] != '-' || time[7] != '-' || time[10] != 'T' ||
      time[13] != ':' || time[16] != ':' || !Digits(time, 0, 4, y) || !Digits(time, 5, 2, mo) ||
      !Digits(time, 8, 2, d) || !Digits(time, 11, 2, h) || !Digits(time, 14, 2, mi) ||
      !Digits(time, 17, 2, s))
    return std::nullopt;
  return DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
}

struct Tally {
  int done = 0, failed = 0, skipped = 0;
  std::vector<double> doneSeconds;
  std::optional<long long> first, last;  // the first start, the last end

  void count(const HistoryEntry& unit) {
    if (unit.outcome == "done") {
      ++done;
      doneSeconds.push_back(unit.durationSeconds);
    } else if (unit.outcome == "skipped") {
      ++skipped;
    } else {
      ++failed;
    }
    if (auto start = EpochSeconds(unit.time)) {
      const long long end = *start + static_cast<long long>(std::max(0.0, unit.durationSeconds));
      first = std::min(first.value_or(*start), *start);
      last = std::max(last.value_or(end), end);
    }
  }
  std::optional<double> yield() const {
    if (done + failed == 0) return std::nullopt;
    return static_cast<double>(done) / (done + failed);
  }
  double perHour() const {
    if (!first) return 0;
    return UnitsPerHour(static_cast<std::size_t>(done), std::chrono::seconds(*last - *first));
  }
  double median() const { return Median(doneSeconds); }
};

// Why a unit failed: its code, else what ended it.
std::string Reason(const HistoryEntry& unit) {
  if (!unit.reasonCode.empty()) return unit.reasonCode;
  if (unit.outcome == "unfinished" || unit.outcome == "interrupted") return unit.outcome;
  return "unknown";
}

// A unit whose modem answered with another MAC after its restart than
// before its upload (as its "began" line recorded it).
struct MacChange {
  const HistoryEntry* unit;
  std::string before;
};

struct Report {
  Tally total;
  std::map<std::string, Tally> stations, interfaces, hours, macs;
  std::map<std::string, int> reasons;
  std::vector<MacChange> macChanges;
};

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string YieldText(const Tally& t) {
  return t.yield() ? Fixed(*t.yield() * 100, 1) + " %" : "-";
}

// A text cell: "-" for nothing, control characters as '?'.
std::string Cell(const std::string& text) { return text.empty() ? "-" : VisibleText(text); }

std::string Columns(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (widths.size() <= c) widths.push_back(0);
      widths[c] = std::max(widths[c], row[c].size());
    }
  std::string out;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      // The first column to the left, the numbers to the right.
      const std::size_t pad = widths[c] - row[c].size();
      if (c == 0) out += row[c] + std::string(pad, ' ');
      else out += "  " + std::string(pad, ' ') + row[c];
    }
    out += '\n';
  }
  return out;
}

std::vector<std::string> TallyCells(const std::string& name, const Tally& t) {
  return {Cell(name), std::to_string(t.done), std::to_string(t.failed), std::to_string(t.skipped),
          YieldText(t), Fixed(t.perHour(), 1), Fixed(t.median(), 1) + " s"};
}

std::string TextReport(const Report& r, const LineReportOptions& o) {
  std::string out = "Units " + (o.since.empty() ? std::string("from the first record") : "from " + o.since) +
                    (o.until.empty() ? std::string(" to the last") : " to " + o.until) + ": " +
                    std::to_string(r.total.done) + " done, " + std::to_string(r.total.failed) +
                    " failed, " + std::to_string(r.total.skipped) + " skipped; yield " +
                    YieldText(r.total) + "; " + PaceText(r.total.perHour(), r.total.median()) +
                    ".\n";
  const std::vector<std::string> head = {"", "Done", "Failed", "Skipped", "Yield", "Units/h",
                                         "Median"};
  for (const auto& [title, groups] :
       {std::pair{"Station", &r.stations}, {"Interface", &r.interfaces}, {"Hour (UTC)", &r.hours}}) {
    std::vector<std::vector<std::string>> rows = {head};
    rows[0][0] = title;
    for (const auto& [name, tally] : *groups) rows.push_back(TallyCells(name, tally));
    out += "\n" + Columns(rows);
  }
  if (!r.reasons.empty()) {
    std::vector<std::pair<std::string, int>> sorted(r.reasons.begin(), r.reasons.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<std::vector<std::string>> rows = {{"Failure reason", "Units"}};
    for (const auto& [code, units] : sorted) rows.push_back({Cell(code), std::to_string(units)});
    out += "\n" + Columns(rows);
  }
  std::vector<std::vector<std::string>> duplicates = {
      {"Upgraded more than once", "Units", "Done", "Failed", "Skipped"}};
  for (const auto& [mac, t] : r.macs)
    if (t.done + t.failed + t.skipped > 1)
      duplicates.push_back({Cell(mac), std::to_string(t.done + t.failed + t.skipped),
                            std::to_string(t.done), std::to_string(t.failed),
                            std::to_string(t.skipped)});
  if (duplicates.size() > 1) out += "\n" + Columns(duplicates);
  if (!r.macChanges.empty()) {
    std::vector<std::vector<std::string>> rows = {
        {"MAC changed at restart", "Before", "After", "Station", "Interface"}};
    for (const auto& change : r.macChanges)
      rows.push_back({Cell(change.unit->time), Cell(change.before), Cell(change.unit->modemMac),
                      Cell(change.unit->station), Cell(change.unit->interfaceName)});
    out += "\n" + Columns(rows);
  }
  return out;
}

// A CSV field: quoted when it holds a comma, a quote or a line end, its
// quotes doubled. A text a spreadsheet would run as a formula (a station or
// interface name from a hand-edited history) is kept text by a leading '.
std::string CsvField(const std::string& given) {
  const bool formula =
      !given.empty() && std::string_view("=+-@\t\r").find(given[0]) != std::string_view::npos;
  const std::string text = formula ? "'" + given : given;
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string CsvReport(const Report& r) {
  std::string out = "section,name,done,failed,skipped,yield,units_per_hour,median_s,units\n";
  auto tally = [&out](const char* section, const std::string& name, const Tally& t) {
    out += std::string(section) + "," + CsvField(name) + "," + std::to_string(t.done) + "," +
           std::to_string(t.failed) + "," + std::to_string(t.skipped) + "," +
           (t.yield() ? Fixed(*t.yield(), 4) : "") + "," + Fixed(t.perHour(), 2) + "," +
           Fixed(t.median(), 1) + "," + std::to_string(t.done + t.failed + t.skipped) + "\n";
  };
  tally("total", "", r.total);
  for (const auto& [name, t] : r.stations) tally("station", name, t);
  for (const auto& [name, t] : r.interfaces) tally("interface", name, t);
  for (const auto& [name, t] : r.hours) tally("hour", name, t);
  for (const auto& [code, units] : r.reasons)
    out += "reason," + CsvField(code) + ",,,,,,," + std::to_string(units) + "\n";
  for (const auto& [mac, t] : r.macs)
    if (t.done + t.failed + t.skipped > 1) tally("duplicate", mac, t);
  for (const auto& change : r.macChanges)
    out += "mac-changed," + CsvField(change.before + " -> " + change.unit->modemMac) + ",,,,,,,1\n";
  return out;
}

JsonLine& AddTally(JsonLine& line, const Tally& t) {
  line.add("done", t.done).add("failed", t.failed).add("skipped", t.skipped);
  if (t.yield()) line.add("yield", *t.yield());
  else line.add("yield", nullptr);
  return line.add("units_per_hour", t.perHour()).add("median_s", t.median());
}

std::string JsonReport(const Report& r, const LineReportOptions& o) {
  JsonLine line;
  line.add("event", "report");
  for (auto [key, value] : {std::pair{"since", &o.since}, {"until", &o.until}})
    if (value->empty()) line.add(key, nullptr);
    else line.add(key, *value);
  JsonLine total;
  line.addObject("total", AddTally(total, r.total));
  for (const auto& [key, name, groups] :
       {std::tuple{"stations", "station", &r.stations},
        {"interfaces", "interface", &r.interfaces}, {"hours", "hour", &r.hours}}) {
    std::vector<JsonLine> rows;
    for (const auto& [value, tally] : *groups) {
      JsonLine row;
      if (value.empty()) row.add(name, nullptr);
      else row.add(name, value);
      AddTally(row, tally);
      rows.push_back(row);
    }
    line.addArray(key, rows);
  }
  std::vector<JsonLine> reasons;
  for (const auto& [code, units] : r.reasons)
    reasons.push_back(JsonLine().add("reason_code", code).add("units", units));
  line.addArray("reasons", reasons);
  std::vector<JsonLine> duplicates;
  for (const auto& [mac, t] : r.macs)
    if (t.done + t.failed + t.skipped > 1)
      duplicates.push_back(JsonLine()
                               .add("mac", mac)
                               .add("units", t.done + t.failed + t.skipped)
                               .add("done", t.done)
                               .add("failed", t.failed)
                               .add("skipped", t.skipped));
  line.addArray("duplicates", duplicates);
  std::vector<JsonLine> changes;
  for (const auto& change : r.macChanges) {
    JsonLine row;
    row.add("time", change.unit->time);
    if (change.unit->station.empty()) row.add("station", nullptr);
    else row.add("station", change.unit->station);
    row.add("interface", change.unit->interfaceName)
        .add("mac_before", change.before)
        .add("mac_after", change.unit->modemMac);
    changes.push_back(row);
  }
  line.addArray("mac_changed", changes);
  return line.str() + "\n";
}

}  // namespace

std::optional<std::string> ReportTime(const std::string& text, bool endOfDay) {
  int y, mo, d, h = endOfDay ? 23 : 0, mi = endOfDay ? 59 : 0, s = endOfDay ? 59 : 0;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-' || !Digits(text, 0, 4, y) ||
      !Digits(text, 5, 2, mo) || !Digits(text, 8, 2, d))
    return std::nullopt;
  std::string rest = text.substr(10);
  if (!rest.empty()) {
    if (rest.back() == 'Z') rest.pop_back();
    if (rest.size() != 6 && rest.size() != 9) return std::nullopt;
    if (rest[0] != 'T' || rest[3] != ':' || !Digits(rest, 1, 2, h) || !Digits(rest, 4, 2, mi))
      return std::nullopt;
    s = 0;
    if (rest.size() == 9 && (rest[6] != ':' || !Digits(rest, 7, 2, s))) return std::nullopt;
  }
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (mo < 1 || mo > 12 || d < 1 || d > kDays[mo - 1] || (mo == 2 && d == 29 && !leap) ||
      h > 23 || mi > 59 || s > 59)
    return std::nullopt;
  char out[64];
  std::snprintf(out, sizeof out, "%04d-%02d-%02dT%02d:%02d:%02dZ", y, mo, d, h, mi, s);
  return std::string(out);
}

std::string LineReport(const std::vector<HistoryEntry>& records, const LineReportOptions& options) {
  Report r;
  const std::string upgrade = OperationName(OperationKind::Upgrade);
  // The MAC each upload was begun for; its final line names the one that
  // answered after the restart.
  std::map<std::string, std::string> macBefore;
  for (const HistoryEntry& e : records)
    if (e.outcome == "began" && !e.attempt.empty()) macBefore[e.attempt] = e.modemMac;
  const std::vector<HistoryEntry> units = HistoryOperations(records);
  for (const HistoryEntry& unit : units) {
    if (unit.operation != upgrade) continue;
    // The history's own form compares as text; a time of another form
    // (hand-edited) lies outside any bound.
    const std::string_view start = std::string_view(unit.time).substr(0, 20);
    if (!options.since.empty() && (start < options.since || !EpochSeconds(unit.time))) continue;
    if (!options.until.empty() && (start > options.until || !EpochSeconds(unit.time))) continue;
    r.total.count(unit);
    r.stations[unit.station].count(unit);
    r.interfaces[unit.interfaceName].count(unit);
    r.hours[EpochSeconds(unit.time) ? unit.time.substr(0, 13) + ":00" : std::string()].count(unit);
    // Without a MAC every modem of a station is at one address: no duplicate.
    if (!unit.modemMac.empty()) r.macs[unit.modemMac].count(unit);
    if (unit.outcome != "done" && unit.outcome != "skipped") ++r.reasons[Reason(unit)];
    if (auto began = macBefore.find(unit.attempt);
        unit.outcome != "unfinished" && began != macBefore.end() && !began->second.empty() &&
        !unit.modemMac.empty() && began->second != unit.modemMac)
      r.macChanges.push_back({&unit, began->second});
  }
  switch (options.format) {
    case LineReportOptions::Format::Csv: return CsvReport(r);
    case LineReportOptions::Format::Json: return JsonReport(r, options);
    default: return TextReport(r, options);
  }
}
