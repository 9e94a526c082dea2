// The record of what was done to which modem: one JSON line per operation,
// appended to a file that is never rewritten, so a power cut can at worst
// damage the line being written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Text.h"

struct HistoryEntry {
  std::string time;  // UTC ISO 8601, 2026-12-08T06:01:33Z
  std::string modemAddress;
  std::string modemMac;       // lower case with colons; "" when unknown
  std::string interfaceName;  // the PC's interface; "" when none was chosen
  std::string operation;  // upgrade, restore, pic, dns, reset, address
  std::string versionBefore, versionAfter;  // display form 5.2.0.12, "" when unknown
  // The image sent: empty name and hash and size -1 when none moved.
  std::string imageName;
  long long imageSize = -1;
  std::string imageSha256;
  std::string outcome;  // done, failed, interrupted; began: an image upload starts
  double durationSeconds = 0;
  // One attempt's id: its "began" line and its final line share it.
  std::string attempt = {};
  // What the modem's image slot holds afterwards: new-image, old-image,
  // incomplete; "" when no image was sent (or on lines of older runs).
  std::string holds = {};
  std::string verifiedSha256 = {};  // the image as read back from the modem
  std::string backupImage = {};     // the backup pair kept before the upload (began)
  // The backup pair this operation kept in the backup folder: its image's
  // name, size and SHA-256 and its checksum file's SHA-256; no name when none.
  std::string backupName = {};
  long long backupSize = -1;
  std::string backupSha256 = {}, backupChecksumSha256 = {};
  // Who signed the image sent, as its signature's trusted comment says.
  std::string signedBy = {};
  // Why it failed, as one of the failure codes ("disk-full"); "" when it was
  // done (or on lines of older runs).
  std::string reasonCode = {};
  // The DNS servers a dns operation wrote; empty when none were.
  std::string dnsPrimary = {}, dnsSecondary = {};
  std::string station = {};  // the PC's host name; "" on lines of older runs

  bool operator==(const HistoryEntry&) const = default;
  bool hasImage() const { return !imageName.empty() || imageSize >= 0 || !imageSha256.empty(); }
};

// A new attempt id: a random (version 4) UUID.
std::string NewAttemptId();

// The entry as one JSON object, without a newline.
std::string HistoryLine(const HistoryEntry& entry);

// Appends the entry's line with a single write() and syncs it to disk. The
// file is created when missing and never truncated; a partial last line left
// by a power cut stays as it is and the new line starts after a "\n". On
// failure returns false and sets error (naming the path and the cause).
bool AppendHistory(const std::string& path, const HistoryEntry& entry, Text& error);

struct HistoryRead {
  std::vector<HistoryEntry> entries;  // in file order, oldest first
  std::vector<std::string> warnings;  // one per damaged line
};

// The entry of one history line; nullopt when it is none.
std::optional<HistoryEntry> HistoryEntryFromLine(std::string_view line);

// Every entry of the file. A missing file is an empty history; a line that is
// not a history object is skipped with a warning; blank lines are ignored.
HistoryRead ReadHistory(const std::string& path);

// The operations of the history: a "began" line whose attempt never got its
// final line stands for an operation that never ended (outcome
// "unfinished"); one that did is left out.
std::vector<HistoryEntry> HistoryOperations(const std::vector<HistoryEntry>& entries);

// The upload to this modem (by MAC when both name one, else by address)
// whose attempt never ended, or ended holding an incomplete image, unless a
// later attempt left the modem a whole image: its "began" line; nullopt when
// the modem's image is whole as far as the history knows.
std::optional<HistoryEntry> UnfinishedUpload(const std::vector<HistoryEntry>& entries,
                                             const std::string& mac, const std::string& address);

// The entries as aligned columns under a header, ending in "\n";
// "No operations recorded.\n" when there are none.
std::string HistoryTable(const std::vector<HistoryEntry>& entries);
