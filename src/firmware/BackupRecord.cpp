#include "firmware/BackupRecord.h"

#include "core/Sha256.h"

std::string BackupProblem(const std::vector<HistoryEntry>& history, const std::string& image,
                          const std::string& checksum, const ModemVersion& version,
                          bool requireRecord) {
  const std::string name = "kova_" + version.fileForm() + ".bin";
  std::vector<const HistoryEntry*> records;
  for (const auto& e : history)
    if (e.backupName == name) records.push_back(&e);
  if (records.empty())
    return requireRecord ? "the backup " + name +
                               " was not taken by this tool: the history holds no record of it, "
                               "and with a trusted key only recorded backups are restored."
                         : std::string();
  const std::string imageDigest = Sha256OfFile(image).value_or("");
  const std::string checksumDigest = Sha256OfFile(checksum).value_or("");
  for (const HistoryEntry* e : records)
    if (e->backupSha256 == imageDigest && e->backupChecksumSha256 == checksumDigest) return {};
  const HistoryEntry& last = *records.back();
  if (last.backupSha256 != imageDigest)
    return "the SHA-256 of " + image + " is " + imageDigest + "; when it was kept on " +
           last.time + " it was " + last.backupSha256 + ".";
  return "the SHA-256 of " + checksum + " is " + checksumDigest + "; when it was kept on " +
         last.time + " it was " + last.backupChecksumSha256 + ".";
}
