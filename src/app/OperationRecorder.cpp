#include "app/OperationRecorder.h"

#include <ctime>

#include "app/MainWindow.h"
#include "app/OperationWatch.h"
#include "core/TextUtilities.h"
#include "core/UpgradeHistory.h"
#include "firmware/ImageStore.h"

namespace {
std::string SystemUtcNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buf;
}

std::string Display(const std::string& version) {
  return version == kUnknownVersion ? std::string() : ReplaceChar(version, "_", ".");
}
}  // namespace

OperationRecorder::OperationRecorder(MainWindow& window, const Context& context)
    : utcNow(SystemUtcNow), window_(window), context_(context), idleCheck_(context.timer(100)) {
  idleCheck_->onTick = [this] { tick(); };
}

OperationRecorder::~OperationRecorder() = default;

std::string OperationRecorder::historyPath() const {
  return context_.session.backupDir + ImageStore::kSeparator + "history.jsonl";
}

void OperationRecorder::begin(const std::string& operation) {
  watch_ = std::make_unique<OperationWatch>(window_);
  operation_ = operation;
  versionBefore_ = Display(context_.session.runningVersion);
  startedAt_ = utcNow();
  started_ = context_.loop().now();
  if (automatic_) idleCheck_->setEnabled(true);
}

void OperationRecorder::tick() {
  if (!recording()) {
    idleCheck_->setEnabled(false);
    return;
  }
  if (window_.idle()) end();
}

void OperationRecorder::end() {
  if (!recording()) return;
  end(watch_->failures > 0 ? Outcome::Failed : Outcome::Done);
}

void OperationRecorder::end(Outcome outcome) {
  idleCheck_->setEnabled(false);
  if (!recording()) return;
  std::unique_ptr<OperationWatch> watch = std::move(watch_);
  // Nothing was chosen or sent: the modem is as it was.
  if (watch->nothingChosen) return;
  HistoryEntry entry;
  entry.time = startedAt_;
  entry.modemAddress = context_.session.modemAddress;
  entry.operation = operation_;
  entry.versionBefore = versionBefore_;
  entry.versionAfter = Display(context_.session.runningVersion);
  for (const auto& file : watch->files)
    if (!file.download && file.remote == "/bin/kova.bin") {
      auto slash = file.local.find_last_of("/\\");
      entry.imageName = slash == std::string::npos ? file.local : file.local.substr(slash + 1);
      entry.imageSize = file.size;
      entry.imageSha256 = file.sha256;
    }
  entry.outcome = outcome == Outcome::Done     ? "done"
                  : outcome == Outcome::Failed ? "failed"
                                               : "interrupted";
  entry.durationSeconds =
      static_cast<double>((context_.loop().now() - started_).count()) / 1000.0;
  std::string error;
  // A history that cannot be written never fails the operation.
  if (!AppendHistory(historyPath(), entry, error))
    context_.ui().msgBox("The upgrade history could not be written." + std::string(kCrLf) + error,
                         MsgExclamation, kAppTitle);
}
