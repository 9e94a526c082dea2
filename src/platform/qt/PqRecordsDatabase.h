// The records database through libpq, on a worker thread of its own: a
// server that does not answer holds the worker for its connect time-out,
// never the loop. The worker keeps one connection and makes or migrates
// the tables once per connection.
#pragma once

#include <QObject>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/RecordsDatabase.h"

struct pg_conn;

class PqRecordsDatabase : public RecordsDatabase {
 public:
  explicit PqRecordsDatabase(std::string url);
  // Waits for the write under way (at most the connect time-out when the
  // server does not answer).
  ~PqRecordsDatabase() override;
  void write(std::vector<std::string> rows) override;
  bool writing() const override { return writing_; }
  std::optional<std::vector<std::string>> read(const std::string& since, const std::string& until,
                                               std::string& error) override;

  // Why url is no connection string libpq takes; "" when it is one.
  static std::string UrlProblem(const std::string& url);
  // The numbered migrations, in order: the schema after the first n of
  // them is schema version n.
  static const std::vector<std::string>& Migrations();

 private:
  void work();
  // On the worker: "" when every row is in.
  std::string writeNow(const std::vector<std::string>& rows);

  const std::string url_;
  QObject receiver_;  // on the loop's thread: the outcomes are posted to it
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::vector<std::string>> job_;
  bool stopping_ = false;
  bool writing_ = false;           // the loop's
  pg_conn* connection_ = nullptr;  // the worker's
  std::thread worker_;
};
