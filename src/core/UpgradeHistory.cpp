#include "core/UpgradeHistory.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <random>

#include "core/JsonLine.h"
#include "core/RegularFile.h"
#include "core/TextUtilities.h"

namespace {

// Whether the file's last byte is a newline (true for an empty file). When it
// cannot be told, false: a blank line costs less than two merged ones.
bool EndsWithNewline(RegularFile& file) {
  const long long size = file.size();
  return size == 0 || (size > 0 && file.byteAt(size - 1) == '\n');
}

// Opens the history file without ever blocking: a FIFO or a device in its
// place would hold the tool for good, and is refused (false, and why in error).
bool OpenHistory(RegularFile& file, const std::string& path, RegularFile::Mode mode, Text& error) {
  if (file.open(path, mode)) return true;
  error = Text(file.notRegular() ? "Cannot use the history file %1: %2"_t
                                 : "Cannot open the history file %1: %2"_t)
              .arg(path)
              .arg(file.error());
  return false;
}

bool TakeText(const JsonValue& object, const char* key, std::string& out) {
  const JsonValue* value = object.get(key);
  if (!value || !value->isString()) return false;
  out = value->asString();
  return true;
}

std::optional<HistoryEntry> EntryFrom(const JsonValue& line) {
  HistoryEntry e;
  if (!TakeText(line, "time", e.time) || !TakeText(line, "modem", e.modemAddress) ||
      !TakeText(line, "operation", e.operation) ||
      !TakeText(line, "version_before", e.versionBefore) ||
      !TakeText(line, "version_after", e.versionAfter) || !TakeText(line, "outcome", e.outcome))
    return std::nullopt;
  // Lines written before units were told apart have neither.
  for (auto [key, out] : {std::pair{"mac", &e.modemMac}, {"interface", &e.interfaceName},
                          {"station", &e.station}})
    if (line.get(key) && !TakeText(line, key, *out)) return std::nullopt;
  // Lines written before uploads were verified have none of these.
  for (auto [key, out] : {std::pair{"attempt", &e.attempt}, {"holds", &e.holds},
                          {"verified_sha256", &e.verifiedSha256}, {"backup_image", &e.backupImage},
                          {"reason_code", &e.reasonCode}}) {
    const JsonValue* value = line.get(key);
    if (value && !value->isNull() && !TakeText(line, key, *out)) return std::nullopt;
  }
  const JsonValue* duration = line.get("duration_s");
  if (!duration || !duration->isNumber()) return std::nullopt;
  e.durationSeconds = duration->asNumber();
  const JsonValue* image = line.get("image");
  if (!image || !(image->isNull() || image->isObject())) return std::nullopt;
  if (image->isObject()) {
    const JsonValue* size = image->get("size");
    // Integral and well inside long long, so the conversion is defined.
    if (!size || !size->isNumber() || std::trunc(size->asNumber()) != size->asNumber() ||
        std::fabs(size->asNumber()) > 9e15 || !TakeText(*image, "name", e.imageName) ||
        !TakeText(*image, "sha256", e.imageSha256))
      return std::nullopt;
    e.imageSize = static_cast<long long>(size->asNumber());
  }
  // Lines written before backups were recorded have neither.
  if (const JsonValue* backup = line.get("backup")) {
    const JsonValue* size = backup->get("size");
    if (!size || !size->isNumber() || std::trunc(size->asNumber()) != size->asNumber() ||
        std::fabs(size->asNumber()) > 9e15 || !TakeText(*backup, "name", e.backupName) ||
        !TakeText(*backup, "sha256", e.backupSha256) ||
        !TakeText(*backup, "checksum_sha256", e.backupChecksumSha256))
      return std::nullopt;
    e.backupSize = static_cast<long long>(size->asNumber());
  }
  if (line.get("signed_by") && !TakeText(line, "signed_by", e.signedBy)) return std::nullopt;
  if (const JsonValue* dns = line.get("dns");
      dns && (!TakeText(*dns, "primary", e.dnsPrimary) ||
              !TakeText(*dns, "secondary", e.dnsSecondary)))
    return std::nullopt;
  return e;
}

// A table cell: "-" for nothing, control characters (from a hand-edited
// file) as '?' so they cannot break the layout or drive the terminal.
std::string Cell(const std::string& text) { return text.empty() ? "-" : VisibleText(text); }

std::string Seconds(double seconds) {
  char buffer[400];
  auto end = std::to_chars(buffer, std::end(buffer), seconds, std::chars_format::fixed, 1).ptr;
  return std::string(buffer, end) + " s";
}

}  // namespace

// An attempt's lines are told apart by it, on this PC and any other that
// writes the same records.
std::string NewAttemptId() {
  std::random_device random;
  unsigned char bytes[16];
  for (auto& b : bytes) b = static_cast<unsigned char>(random());
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
  char text[37];
  std::snprintf(text, sizeof text,
                "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", bytes[0],
                bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}

std::string HistoryLine(const HistoryEntry& entry) {
  JsonLine line;
  line.add("time", entry.time)
      .add("modem", entry.modemAddress)
      .add("mac", entry.modemMac)
      .add("interface", entry.interfaceName);
  if (!entry.station.empty()) line.add("station", entry.station);
  line.add("operation", entry.operation)
      .add("version_before", entry.versionBefore)
      .add("version_after", entry.versionAfter);
  if (entry.hasImage())
    line.addObject("image", JsonLine()
                                .add("name", entry.imageName)
                                .add("size", entry.imageSize)
                                .add("sha256", entry.imageSha256));
  else
    line.add("image", nullptr);
  if (!entry.backupName.empty())
    line.addObject("backup", JsonLine()
                                 .add("name", entry.backupName)
                                 .add("size", entry.backupSize)
                                 .add("sha256", entry.backupSha256)
                                 .add("checksum_sha256", entry.backupChecksumSha256));
  if (!entry.signedBy.empty()) line.add("signed_by", entry.signedBy);
  if (!entry.dnsPrimary.empty() || !entry.dnsSecondary.empty())
    line.addObject("dns", JsonLine()
                              .add("primary", entry.dnsPrimary)
                              .add("secondary", entry.dnsSecondary));
  // A NaN would be written as null and make the line unreadable.
  const double duration = std::isfinite(entry.durationSeconds) ? entry.durationSeconds : 0;
  line.add("outcome", entry.outcome).add("duration_s", duration);
  if (!entry.reasonCode.empty()) line.add("reason_code", entry.reasonCode);
  if (!entry.attempt.empty()) line.add("attempt", entry.attempt);
  if (!entry.backupImage.empty()) line.add("backup_image", entry.backupImage);
  if (!entry.holds.empty()) line.add("holds", entry.holds);
  if (!entry.verifiedSha256.empty()) line.add("verified_sha256", entry.verifiedSha256);
  return line.str();
}

bool AppendHistory(const std::string& path, const HistoryEntry& entry, Text& error) {
  RegularFile file;
  if (!OpenHistory(file, path, RegularFile::Mode::Append, error)) return false;
  // A line left without its end (a power cut) is ended first.
  std::string text = EndsWithNewline(file) ? std::string() : std::string("\n");
  text += HistoryLine(entry);
  text += '\n';
  // One write, so a concurrent appender or a power cut cannot interleave or
  // split the line into pieces written at different times.
  const long long written = file.write(text);
  if (written < 0) {
    error = Text("Cannot write the history file %1: %2"_t).arg(path).arg(file.error());
  } else if (static_cast<std::size_t>(written) != text.size()) {
    error = Text("Cannot write the history file %1: only %2 of %3 bytes were written"_t)
                .arg(path)
                .arg(written)
                .arg(static_cast<long long>(text.size()));
  } else if (!file.sync()) {
    error = Text("Cannot save the history file to disk %1: %2"_t).arg(path).arg(file.error());
  } else {
    return true;
  }
  return false;
}

std::optional<HistoryEntry> HistoryEntryFromLine(std::string_view line) {
  auto value = ParseJson(line);
  return value ? EntryFrom(*value) : std::nullopt;
}

HistoryRead ReadHistory(const std::string& path) {
  HistoryRead result;
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return result;
  Text error;
  RegularFile file;
  if (!OpenHistory(file, path, RegularFile::Mode::Read, error)) {
    result.warnings.push_back(error.english());
    return result;
  }
  std::string content;
  char piece[65536];
  for (;;) {
    const long long n = file.read(piece, sizeof piece);
    if (n < 0) result.warnings.push_back("Cannot read " + path + ": " + file.error());
    if (n <= 0) break;
    content.append(piece, static_cast<std::size_t>(n));
  }
  file.close();

  std::size_t lineNumber = 0;
  for (std::size_t start = 0; start < content.size();) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string_view line(content.data() + start, end - start);
    start = end + 1;
    ++lineNumber;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    auto entry = HistoryEntryFromLine(line);
    if (entry)
      result.entries.push_back(std::move(*entry));
    else
      result.warnings.push_back("line " + std::to_string(lineNumber) + " of " + path +
                                " is damaged and was skipped");
  }
  return result;
}

std::vector<HistoryEntry> HistoryOperations(const std::vector<HistoryEntry>& entries) {
  std::vector<HistoryEntry> operations;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const HistoryEntry& e = entries[i];
    if (e.outcome != "began") {
      operations.push_back(e);
      continue;
    }
    const bool ended = !e.attempt.empty() &&
                       std::any_of(entries.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                   entries.end(), [&e](const HistoryEntry& later) {
                                     return later.attempt == e.attempt && later.outcome != "began";
                                   });
    if (ended) continue;
    HistoryEntry unfinished = e;
    unfinished.outcome = "unfinished";
    operations.push_back(std::move(unfinished));
  }
  return operations;
}

std::optional<HistoryEntry> UnfinishedUpload(const std::vector<HistoryEntry>& entries,
                                             const std::string& mac, const std::string& address) {
  auto sameModem = [&](const HistoryEntry& e) {
    if (!mac.empty() && !e.modemMac.empty()) return e.modemMac == mac;
    return e.modemAddress == address;
  };
  std::optional<HistoryEntry> open;
  for (const HistoryEntry& e : entries) {
    if (!sameModem(e)) continue;
    if (e.outcome == "began") {
      open = e;
    } else if (open && !e.attempt.empty() && e.attempt == open->attempt) {
      // Its end: whole unless nothing could be written.
      if (e.holds != "incomplete") open.reset();
    } else if (e.holds == "new-image" || e.holds == "old-image" ||
               (e.hasImage() && e.outcome == "done")) {
      // A later upload left a whole image.
      open.reset();
    }
  }
  return open;
}

std::string HistoryTable(const std::vector<HistoryEntry>& all) {
  const std::vector<HistoryEntry> entries = HistoryOperations(all);
  if (entries.empty()) return "No operations recorded.\n";
  std::vector<std::vector<std::string>> rows = {
      {"Time", "Modem", "MAC", "Interface", "Operation", "Before", "After", "Outcome", "Reason",
       "Duration", "Image"}};
  for (const auto& e : entries)
    rows.push_back({Cell(e.time), Cell(e.modemAddress), Cell(e.modemMac), Cell(e.interfaceName),
                    Cell(e.operation),
                    Cell(e.versionBefore), Cell(e.versionAfter), Cell(e.outcome),
                    Cell(e.reasonCode), Seconds(e.durationSeconds), Cell(e.imageName)});
  std::vector<std::size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  // Bytes count as columns: only the image name, which comes last and is
  // never padded, may be non-ASCII.
  std::string out;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      out += row[c];
      if (c + 1 < row.size()) out.append(widths[c] - row[c].size() + 2, ' ');
    }
    out += '\n';
  }
  return out;
}
