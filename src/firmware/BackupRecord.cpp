#include "firmware/BackupRecord.h"

#include "core/Sha256.h"

Text BackupProblem(const std::vector<HistoryEntry>& history, const std::string& image,
                   const std::string& checksum, const ModemVersion& version, bool requireRecord) {
  const std::string name = "kova_" + version.fileForm() + ".bin";
  std::vector<const HistoryEntry*> records;
  for (const auto& e : history)
    if (e.backupName == name) records.push_back(&e);
  if (records.empty())
    return requireRecord ? Text(
                               "the backup %1 was not taken by this tool: the history holds no "
                               "record of it, and with a trusted key only recorded backups are "
                               "restored."_t)
                               .arg(name)
                         : Text();
  const std::string imageDigest = Sha256OfFile(image).value_or("");
  const std::string checksumDigest = Sha256OfFile(checksum).value_or("");
  for (const HistoryEntry* e : records)
    if (e->backupSha256 == imageDigest && e->backupChecksumSha256 == checksumDigest) return {};
  const HistoryEntry& last = *records.back();
  if (last.backupSha256 != imageDigest)
    return Text("the SHA-256 of %1 is %2; when it was kept on %3 it was %4."_t)
        .arg(image)
        .arg(imageDigest)
        .arg(last.time)
        .arg(last.backupSha256);
  return Text("the SHA-256 of %1 is %2; when it was kept on %3 it was %4."_t)
      .arg(checksum)
      .arg(checksumDigest)
      .arg(last.time)
      .arg(last.backupChecksumSha256);
}
