// The records' way to the database, on the virtual clock: a database that
// does not answer is tried again every 5 s and told of once; what waits goes
// in order when it answers, and leaves the queue file.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/RecordsOutbox.h"
#include "sim/Harness.h"

namespace {
// Answers each write when the test says so.
class ScriptedDatabase : public RecordsDatabase {
 public:
  void write(std::vector<std::string> rows) override {
    writes.push_back(std::move(rows));
    writing_ = true;
  }
  bool writing() const override { return writing_; }
  std::optional<std::vector<std::string>> read(const std::string&, const std::string&,
                                               std::string&) override {
    return std::nullopt;
  }
  void answer(const std::string& error) {
    writing_ = false;
    onWritten(error);
  }
  std::vector<std::vector<std::string>> writes;

 private:
  bool writing_ = false;
};

HistoryEntry Line(const std::string& attempt, const std::string& outcome) {
  HistoryEntry entry;
  entry.time = "2026-12-08T06:01:33Z";
  entry.modemAddress = "192.168.128.100";
  entry.operation = "upgrade";
  entry.outcome = outcome;
  entry.attempt = attempt;
  return entry;
}
}  // namespace

TEST(RecordsOutbox, WaitsWhileTheDatabaseIsAwayTellsOnceAndSendsEveryRowOnceItAnswers) {
  SimPlatform platform;
  TempDir home;
  std::filesystem::create_directories(home.path() / "Backup");
  auto owned = std::make_unique<ScriptedDatabase>();
  ScriptedDatabase& database = *owned;
  RecordsOutbox outbox(platform, std::move(owned), "postgresql://line:pw@db/line",
                       home.str() + "/Backup");
  std::vector<std::pair<std::size_t, std::string>> told;
  outbox.tell = [&](std::size_t waiting, const Text& text) {
    told.emplace_back(waiting, text.english());
  };
  outbox.start();
  EXPECT_TRUE(database.writes.empty());

  const HistoryEntry began = Line("a", "began"), done = Line("a", "done"),
                     other = Line("b", "failed"), last = Line("c", "done");
  outbox.add(began);
  ASSERT_EQ(database.writes.size(), 1u);
  database.answer("no route to db for pw");
  const decltype(told) once{{1,
                             "1 record waits for the records database, which cannot be reached "
                             "(no route to db for ***): they go when it answers."}};
  EXPECT_EQ(told, once);
  outbox.add(done);
  platform.clock().advance(RecordsOutbox::kRetryMs - 1);
  EXPECT_EQ(database.writes.size(), 1u);
  platform.clock().advance(1);
  ASSERT_EQ(database.writes.size(), 2u);
  EXPECT_EQ(database.writes[1], (std::vector<std::string>{HistoryLine(began), HistoryLine(done)}));
  database.answer("still away");
  EXPECT_EQ(told, once);

  outbox.add(other);
  platform.clock().advance(RecordsOutbox::kRetryMs);
  ASSERT_EQ(database.writes.size(), 3u);
  outbox.add(last);  // while a write is under way: it waits for the next
  EXPECT_EQ(outbox.waiting(), 4u);
  database.answer("");
  EXPECT_EQ(told.back(),
            std::make_pair(std::size_t{0}, std::string("The records database answers "
                                                       "again: the waiting records are in.")));
  ASSERT_EQ(database.writes.size(), 4u);
  EXPECT_EQ(database.writes[3], std::vector<std::string>{HistoryLine(last)});
  bool settled = false;
  outbox.whenSettled(10000, [&] { settled = true; });
  EXPECT_FALSE(settled);
  database.answer("");
  EXPECT_TRUE(settled);
  EXPECT_EQ(outbox.waiting(), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(home.path() / "Backup"));
}
