#include "app/RecordsOutbox.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/Records.h"
#include "core/Files.h"
#include "firmware/ImageStore.h"

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kRowsPerWrite = 500;
const std::string kQueuePrefix = "records-queue-";
const std::string kQueueSuffix = ".jsonl";

}  // namespace

std::string RecordsOutbox::QueuePath(const std::string& backupDir, const std::string& stamp) {
  return backupDir + ImageStore::kSeparator + kQueuePrefix + stamp + kQueueSuffix;
}

RecordsOutbox::RecordsOutbox(Platform& platform, std::unique_ptr<RecordsDatabase> database,
                             std::string url, std::string backupDir)
    : platform_(platform),
      database_(std::move(database)),
      url_(std::move(url)),
      backupDir_(std::move(backupDir)),
      stamp_(platform.process().processStamp()),
      ownQueue_(QueuePath(backupDir_, stamp_)),
      retry_(platform.createTimer()),
      settleLimit_(platform.createTimer()) {
  queues_.push_back(ownQueue_);
  database_->onWritten = [this](const std::string& error) { written(error); };
  retry_->setInterval(kRetryMs);
  retry_->onTick = [this] {
    retry_->setEnabled(false);
    send();
  };
  settleLimit_->onTick = [this] {
    settleLimit_->setEnabled(false);
    if (auto then = std::move(settled_)) then();
  };
}

RecordsOutbox::~RecordsOutbox() { database_->onWritten = nullptr; }

void RecordsOutbox::start() {
  std::error_code ec;
  for (fs::directory_iterator it(backupDir_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= kQueuePrefix.size() + kQueueSuffix.size() ||
        name.rfind(kQueuePrefix, 0) != 0 ||
        name.compare(name.size() - kQueueSuffix.size(), kQueueSuffix.size(), kQueueSuffix) != 0)
      continue;
    const std::string stamp =
        name.substr(kQueuePrefix.size(), name.size() - kQueuePrefix.size() - kQueueSuffix.size());
    // Another run that ended left it; one that still runs sends its own.
    if (stamp != stamp_ && platform_.process().ended(stamp)) queues_.push_back(it->path().string());
  }
  send();
}

void RecordsOutbox::add(const HistoryEntry& entry) {
  Text error;
  if (!AppendHistory(ownQueue_, entry, error)) unsaved_.push_back(entry);
  send();
}

std::size_t RecordsOutbox::waiting() const {
  std::size_t count = unsaved_.size();
  for (const auto& file : queues_) count += ReadHistory(file).entries.size();
  return count;
}

void RecordsOutbox::send() {
  if (database_->writing() || retry_->enabled()) return;
  std::vector<std::string> rows;
  inFlight_.assign(queues_.size(), 0);
  for (std::size_t i = 0; i < queues_.size() && rows.size() < kRowsPerWrite; ++i)
    for (const auto& entry : ReadHistory(queues_[i]).entries) {
      if (rows.size() == kRowsPerWrite) break;
      rows.push_back(HistoryLine(entry));
      ++inFlight_[i];
    }
  unsavedInFlight_ = 0;
  for (const auto& entry : unsaved_) {
    if (rows.size() == kRowsPerWrite) break;
    rows.push_back(HistoryLine(entry));
    ++unsavedInFlight_;
  }
  if (rows.empty()) return checkSettled();
  database_->write(std::move(rows));
}

void RecordsOutbox::written(const std::string& error) {
  if (!error.empty()) {
    if (!unreachable_ && tell)
      tell(waiting(), Text(waiting() == 1 ? "%1 record waits for the records database, which "
                                            "cannot be reached (%2): they go when it answers."_t
                                          : "%1 records wait for the records database, which "
                                            "cannot be reached (%2): they go when it answers."_t)
                          .arg(static_cast<long long>(waiting()))
                          .arg(HidePassword(error, url_)));
    unreachable_ = true;
    retry_->setEnabled(true);
    return checkSettled();
  }
  // The rows are in: they leave their queue files.
  Text problem;
  for (std::size_t i = queues_.size(); i-- > 0;) {
    if (i >= inFlight_.size() || inFlight_[i] == 0) continue;
    if (!dropSent(queues_[i], inFlight_[i], problem)) continue;
    if (i > 0 && !fs::exists(queues_[i])) queues_.erase(queues_.begin() + static_cast<long>(i));
  }
  unsaved_.erase(unsaved_.begin(), unsaved_.begin() + static_cast<long>(unsavedInFlight_));
  inFlight_.clear();
  unsavedInFlight_ = 0;
  if (unreachable_ && tell)
    tell(0, "The records database answers again: the waiting records are in."_t);
  unreachable_ = false;
  // A queue that cannot be rewritten would send the same rows over and
  // over: they go again with the next try instead (changing nothing).
  if (!problem.empty()) {
    retry_->setEnabled(true);
    return checkSettled();
  }
  // Rows added meanwhile go now.
  send();
}

bool RecordsOutbox::dropSent(const std::string& file, std::size_t count, Text& error) {
  const HistoryRead read = ReadHistory(file);
  std::error_code ec;
  if (read.entries.size() <= count) {
    if (fs::remove(file, ec) || !ec) return true;
    error = Text("Cannot remove %1: %2"_t).arg(file).arg(ec.message());
    return false;
  }
  // Whole or not at all: a temporary of this run, then renamed over the queue.
  const fs::path path(file);
  // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) on "." + string.
  std::string name = ".";
  name += path.filename().string();
  name += ".kova-" + stamp_ + "-0.pending";
  const std::string temporary = (path.parent_path() / name).string();
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (std::size_t i = count; i < read.entries.size(); ++i)
      out << HistoryLine(read.entries[i]) << '\n';
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary, ec);
      error = Text("Cannot write %1"_t).arg(temporary);
      return false;
    }
  }
  if (DurableRename(temporary, file, error)) return true;
  fs::remove(temporary, ec);
  return false;
}

void RecordsOutbox::whenSettled(int limitMs, std::function<void()> then) {
  settled_ = std::move(then);
  settleLimit_->setEnabled(false);
  settleLimit_->setInterval(limitMs);
  settleLimit_->setEnabled(true);
  // The database may answer again by now: one more try, not the next tick.
  if (retry_->enabled()) {
    retry_->setEnabled(false);
    send();
  }
  checkSettled();
}

void RecordsOutbox::checkSettled() {
  if (!settled_ || database_->writing()) return;
  if (!unreachable_ && waiting() > 0) return;
  settleLimit_->setEnabled(false);
  auto then = std::move(settled_);
  settled_ = nullptr;
  then();
}
