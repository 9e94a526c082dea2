// The rows of the records database on their way there. Each is first
// appended to this process's queue file beside the history
// (Backup/records-queue-STAMP.jsonl, the history's line form) and leaves it
// once the database has it, so nothing is lost when the server is away and
// nothing doubles (the database keeps one row per attempt). The queue files
// of runs that ended are taken over at start. Never waits: the database
// answers later, and while it cannot be reached the rows wait and are sent
// again every few seconds.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/UpgradeHistory.h"
#include "platform/Platform.h"

class RecordsOutbox {
 public:
  static constexpr int kRetryMs = 5000;
  // The queue file of the process with this stamp; one that ended is taken
  // over by the next run's outbox.
  static std::string QueuePath(const std::string& backupDir, const std::string& stamp);

  // url only names the database in what the user is told (without its password).
  RecordsOutbox(Platform& platform, std::unique_ptr<RecordsDatabase> database, std::string url,
                std::string backupDir);
  ~RecordsOutbox();

  // Takes over the queue files of runs that ended and sends what waits.
  void start();
  void add(const HistoryEntry& entry);
  // Rows not in the database yet.
  std::size_t waiting() const;
  // then, once nothing waits, or the database cannot be reached (tried once
  // more now), or limitMs have passed; at once when that is so now.
  void whenSettled(int limitMs, std::function<void()> then);
  // One line for the user: waiting rows wait (once an outage begins), or
  // they went (waiting 0).
  std::function<void(std::size_t waiting, const Text& text)> tell;

 private:
  void send();
  void written(const std::string& error);
  void checkSettled();
  // Keeps only the entries of file after its first count; false and why in error.
  bool dropSent(const std::string& file, std::size_t count, Text& error);

  Platform& platform_;
  std::unique_ptr<RecordsDatabase> database_;
  const std::string url_, backupDir_, stamp_, ownQueue_;
  std::vector<std::string> queues_;    // own first, then those taken over
  std::vector<HistoryEntry> unsaved_;  // what the queue file could not keep
  std::vector<std::size_t> inFlight_;  // per queue file
  std::size_t unsavedInFlight_ = 0;
  bool unreachable_ = false;
  std::unique_ptr<Timer> retry_, settleLimit_;
  std::function<void()> settled_;
};
