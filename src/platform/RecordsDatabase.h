// A production line's shared records: a database that several station PCs
// write one row per attempt to. Rows travel as JSON objects (the upgrade
// history's lines), keyed by their "attempt".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class RecordsDatabase {
 public:
  virtual ~RecordsDatabase() = default;
  // Writes the rows in order, in one transaction, after making or migrating
  // the tables. A row whose attempt is on record already completes it when
  // it was only begun; otherwise it changes nothing. Away from the loop: the
  // outcome comes later through onWritten, on the loop's thread, never from
  // inside write(). One write at a time.
  virtual void write(std::vector<std::string> rows) = 0;
  virtual bool writing() const = 0;
  // The rows whose time lies in [since, until) (ISO 8601; empty: open), as
  // JSON objects, oldest first; nullopt and why in error. Blocks: for a
  // query run on its own, never while an operation runs.
  virtual std::optional<std::vector<std::string>> read(const std::string& since,
                                                       const std::string& until,
                                                       std::string& error) = 0;
  // Empty error: every row is in the database.
  std::function<void(const std::string& error)> onWritten;
};
