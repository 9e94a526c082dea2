#include "app/OperationRecorder.h"

#include <chrono>

#include "core/TextUtilities.h"
#include "core/Texts.h"
#include "core/UpgradeHistory.h"
#include "firmware/ImageStore.h"

namespace {
std::string SystemUtcNow() { return UtcIsoTime(std::chrono::system_clock::now()); }

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
  runner.onStarted.add([this](Operation&) {
    startedAt_ = utcNow();
    started_ = context_.loop().now();
  });
  runner.onFinished.add([this](Operation& op, const OperationResult& result) {
    if (!automatic_) return;
    record(op.name(), result, startedAt_,
           static_cast<double>((context_.loop().now() - started_).count()) / 1000.0);
  });
}

bool OperationRecorder::Recorded(const std::string& operation) {
  for (const char* name : {"upgrade", "restore", "pic", "dns", "reset", "address"})
    if (operation == name) return true;
  return false;
}

std::string OperationRecorder::historyPath() const {
  return context_.session.backupDir + ImageStore::kSeparator + "history.jsonl";
}

void OperationRecorder::record(const std::string& operation, const OperationResult& result,
                               const std::string& startedAt, double seconds) {
  // Nothing was chosen or sent: the modem is as it was.
  if (!Recorded(operation) || result.nothingDone) return;
  HistoryEntry entry;
  entry.time = startedAt;
  entry.modemAddress = context_.session.modemAddress;
  entry.modemMac = context_.session.currentModemMac();
  entry.interfaceName = context_.session.interfaceName;
  entry.operation = operation;
  entry.versionBefore = result.versionBefore.display();
  entry.versionAfter = result.versionAfter.display();
  for (const auto& file : result.files)
    if (file.direction == FileMoved::Direction::Upload && file.remote == "/bin/kova.bin") {
      auto slash = file.local.find_last_of("/\\");
      entry.imageName = slash == std::string::npos ? file.local : file.local.substr(slash + 1);
      entry.imageSize = file.size;
      entry.imageSha256 = file.sha256;
      if (operation == "upgrade") entry.signedBy = context_.session.releaseSigner;
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
  entry.durationSeconds = seconds;
  std::string error;
  // A history that cannot be written never fails the operation.
  if (!AppendHistory(historyPath(), entry, error))
    context_.platform.ui().msgBox(
        "The upgrade history could not be written." + std::string(kCrLf) + error, MsgExclamation,
        kAppTitle);
}
