#include "app/OperationRecorder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <tuple>

#include "core/FailureCode.h"
#include "core/OperationKind.h"
#include "core/TextUtilities.h"
#include "core/Texts.h"
#include "core/UpgradeHistory.h"
#include "firmware/ImageStore.h"

namespace {
std::string SystemUtcNow() { return UtcIsoTime(std::chrono::system_clock::now()); }

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* OutcomeText(OperationResult::Outcome outcome) {
  switch (outcome) {
    case OperationResult::Outcome::Done: return "done";
    case OperationResult::Outcome::Interrupted: return "interrupted";
    default: return "failed";
  }
}
}  // namespace

OperationRecorder::OperationRecorder(const Context& context, OperationRunner& runner)
    : utcNow(SystemUtcNow), context_(context) {
  runner.onStarted.add([this](Operation& op) {
    startedAt_ = utcNow();
    started_ = context_.loop().now();
    // Another process may have left an upload unfinished since the last look:
    // what this operation may do (restart, take a backup, advise a power
    // cycle) depends on it. Told, if new, when the operation ends.
    checkUnfinished(/*tell=*/false);
    if (!ChangesModem(op.name())) return;
    attempt_ = NewAttemptId();
    ownAttempts_.insert(attempt_);
    versionBefore_ = context_.session.runningVersion.display();
    const std::string name = op.name();
    op.onImageUploadBegins.add(
        [this, name](const ImageUploadStart& start) { uploadBegins(name, start); });
  });
  runner.onFinished.add([this](Operation& op, const OperationResult& result) {
    record(op.name(), result, startedAt_,
           static_cast<double>((context_.loop().now() - started_).count()) / 1000.0);
  });
}

HistoryEntry OperationRecorder::entryNow(const std::string& operation) const {
  HistoryEntry entry;
  entry.modemAddress = context_.session.modemAddress;
  entry.modemMac = context_.session.currentModemMac();
  entry.interfaceName = context_.session.interfaceName;
  entry.station = context_.platform.resolver().localHostName();
  entry.operation = operation;
  entry.attempt = attempt_;
  return entry;
}

bool OperationRecorder::append(const HistoryEntry& entry) {
  Text error;
  if (!journalPath.empty() && (entry.outcome == "began" || journaled_.count(entry.attempt))) {
    journaled_.insert(entry.attempt);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(journalPath).parent_path(), ec);
    // The folder's own history is the record; this only widens what is known.
    Text ignored;
    AppendHistory(journalPath, entry, ignored);
  }
  const bool appended = AppendHistory(historyPath(), entry, error);
  onRecorded(entry);
  if (appended) return true;
  // A history that cannot be written never fails the operation.
  context_.platform.ui().msgBox(
      Text("The upgrade history could not be written.\r\n%1"_t).arg(error), MsgExclamation,
      kAppTitle);
  return false;
}

// On record before the first byte goes out: should this run never end (a
// crash, a power cut), the next one knows the modem's image may be half.
void OperationRecorder::uploadBegins(const std::string& operation, const ImageUploadStart& start) {
  HistoryEntry entry = entryNow(operation);
  entry.time = utcNow();
  entry.versionBefore = versionBefore_;
  entry.imageName = BaseName(start.image);
  entry.imageSize = start.size;
  entry.imageSha256 = start.sha256;
  entry.backupImage = BaseName(start.backupImage);
  entry.outcome = "began";
  append(entry);
  context_.session.unfinishedUploadSince = entry.time;
}

void OperationRecorder::checkUnfinished(bool tell) {
  const std::string mac = context_.session.currentModemMac();
  const std::string& address = context_.session.modemAddress;
  std::optional<HistoryEntry> open =
      UnfinishedUpload(ReadHistory(historyPath()).entries, mac, address);
  if (!journalPath.empty()) {
    // The journal sees the uploads of every folder: where it knows this
    // folder's open upload, its verdict stands (a later upload from another
    // folder may have ended it); an upload it never saw stays open.
    const std::vector<HistoryEntry> journal = ReadHistory(journalPath).entries;
    const bool known = open && std::any_of(journal.begin(), journal.end(), [&](const auto& e) {
                         return e.attempt == open->attempt;
                       });
    if (!open || known) open = UnfinishedUpload(journal, mac, address);
  }
  context_.session.unfinishedUploadSince = open ? open->time : std::string();
  // What this process left incomplete counts though the history could not
  // keep it.
  if (!open) {
    const auto left = leftIncomplete_.find(modemKey());
    if (left != leftIncomplete_.end()) context_.session.unfinishedUploadSince = left->second;
  }
  if (!tell || !open || ownAttempts_.count(open->attempt) || toldAttempts_.count(open->attempt))
    return;
  toldAttempts_.insert(open->attempt);
  onUnfinishedUpload(*open);
}

void OperationRecorder::skipped(const std::string& operation) {
  HistoryEntry entry = entryNow(operation);
  // A unit of its own: the records database keys every row by its attempt.
  entry.attempt = NewAttemptId();
  entry.time = utcNow();
  entry.versionBefore = entry.versionAfter = context_.session.runningVersion.display();
  entry.outcome = "skipped";
  append(entry);
}

std::string OperationRecorder::modemKey() const {
  const std::string mac = context_.session.currentModemMac();
  return mac.empty() ? "address " + context_.session.modemAddress : mac;
}

std::string OperationRecorder::historyPath() const {
  return ImageStore::HistoryPath(context_.session.backupDir);
}

void OperationRecorder::record(const std::string& operation, const OperationResult& result,
                               const std::string& startedAt, double seconds) {
  // Nothing was chosen or sent: the modem is as it was.
  if (!ChangesModem(operation) || result.nothingDone) {
    checkUnfinished();
    return;
  }
  HistoryEntry entry = entryNow(operation);
  entry.time = startedAt;
  entry.versionBefore = result.versionBefore.display();
  entry.versionAfter = result.versionAfter.display();
  for (const auto& file : result.files)
    if (file.direction == FileMoved::Direction::Upload && file.remote == "/bin/kova.bin") {
      auto slash = file.local.find_last_of("/\\");
      entry.imageName = slash == std::string::npos ? file.local : file.local.substr(slash + 1);
      entry.imageSize = file.size;
      entry.imageSha256 = file.sha256;
      if (operation == OperationName(OperationKind::Upgrade)) entry.signedBy = context_.session.releaseSigner;
    }
  // A backup kept under its real name is on record with its digests, so a
  // restore can tell whether it is still what came from the modem.
  const std::string folder = context_.session.backupDir + ImageStore::kSeparator;
  for (const auto& file : result.files) {
    if (file.direction != FileMoved::Direction::Download || file.local.rfind(folder, 0) != 0)
      continue;
    const std::string name = file.local.substr(folder.size());
    if (name.rfind("kova_", 0) == 0 && file.remote == "/bin/kova.bin") {
      entry.backupName = name;
      entry.backupSize = file.size;
      entry.backupSha256 = file.sha256;
    } else if (name.rfind("chk_", 0) == 0 && file.remote == "/checksum.txt") {
      entry.backupChecksumSha256 = file.sha256;
    }
  }
  entry.outcome = OutcomeText(result.outcome);
  if (result.reasonCode && !result.done()) entry.reasonCode = FailureCodeText(*result.reasonCode);
  entry.durationSeconds = seconds;
  entry.holds = ModemHoldsName(result.modemHolds);
  entry.verifiedSha256 = result.verifiedSha256;
  if (result.dnsWritten) std::tie(entry.dnsPrimary, entry.dnsSecondary) = *result.dnsWritten;
  if (result.modemHolds == ModemHolds::Incomplete) {
    const std::string& since = context_.session.unfinishedUploadSince;
    leftIncomplete_[modemKey()] = since.empty() ? startedAt : since;
  } else if (result.modemHolds != ModemHolds::Untouched) {
    leftIncomplete_.erase(modemKey());
  }
  append(entry);
  checkUnfinished();
}
