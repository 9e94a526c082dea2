// The console in place of the window: status lines and progress on
// standard output, message boxes on standard error, the operations' questions
// answered from the command line; with --json, one JSON object per line.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/BatchCommandLine.h"
#include "core/Prompts.h"
#include "core/StatusView.h"
#include "operations/Operation.h"
#include "platform/Platform.h"

// The console Ui: boxes go to standard error and are answered OK (yes/no:
// No unless --yes); the operations' questions are answered from the options.
// It is also the status view of batch mode: what the window would show is
// printed.
class ConsoleUi : public Ui, public Prompts, public StatusView {
 public:
  ConsoleUi(std::ostream& out, std::ostream& err, const BatchOptions& options,
            std::function<std::string()> timestamp);
  int msgBox(const Text& text, int style, const Text& title) override;
  void setPointer(int code) override { pointer_ = code; }
  int pointer() const override { return pointer_; }
  // No dialog of its own is shown in batch mode: it is closed at once.
  void showModal(Form& form) override;
  void show(Form&) override {}

  std::optional<std::string> chooseRestoreVersion(
      const std::vector<std::string>& versions) override;
  DnsReview reviewDns(const std::string& primary, const std::string& secondary) override;
  bool allowStaticAddress(const std::string& pcAddress) override;

  // StatusView
  void setStatus(const Text& text) override;
  std::string status() const override { return status_; }
  void setProgress(int percent) override;
  int progress() const override { return lastProgress_ < 0 ? 0 : lastProgress_; }
  void setConnected(bool) override {}
  // A restarting modem that answers: the boxes kept back are no news.
  void showRunningVersion(const Text& text) override;
  bool autoPicUpgrade() const override { return !options_.noAutoPic; }

  // A line of our own on standard output; skipped: it tells that a station
  // left a unit alone (marked so in the JSON stream).
  void note(const std::string& text, bool skipped = false);
  void error(const std::string& text);  // a line of our own on standard error
  void hint(const std::string& text);   // what to check, on standard error
  void warning(const std::string& text);  // on standard error; the run goes on
  // A line another process of ours wrote to standard error, passed on.
  void passOn(const std::string& line);
  // A phase of the operation begins. With holdWhileRestarting, the boxes of
  // the reads that find a restarting modem not back yet are kept back;
  // only the last round's are shown if it never answers.
  void phase(Phase phase, bool holdWhileRestarting = false);
  // How far a file has moved: in the JSON stream at most four times a second
  // and with its last bytes; as text a line that rewrites itself on a
  // terminal, else a plain line every few seconds and the last one.
  void transfer(const Operation::Transfer& transfer, std::chrono::milliseconds now);
  // Standard output is a terminal: a transfer line may rewrite itself.
  void setTerminal(bool terminal) { terminal_ = terminal; }
  // A whole JSON object on a line of standard output (with --json); with an
  // interface set, it names the interface unless it does already.
  void json(std::string line);
  // The time stamp of a line printed now.
  std::string timestamp() const { return timestamp_(); }
  // The run's connections go out through this interface.
  void setInterface(std::string name) { interface_ = std::move(name); }
  // Text as it is, on standard output.
  void print(const std::string& text);
  // While a station waits for the next modem, its failing queries are not news.
  void setQuiet(bool quiet) { quiet_ = quiet; }
  // While a restarting modem is waited for, the boxes of the reads that find
  // it not back yet are kept back: dropped once it answers, else shown.
  void holdBoxes(bool hold) { holding_ = hold; }
  bool holdingBoxes() const { return holding_; }
  void dropHeldBoxes() { held_.clear(); }
  void showHeldBoxes();

 private:
  std::ostream& out_;
  std::ostream& err_;
  const BatchOptions& options_;
  std::function<std::string()> timestamp_;
  int pointer_ = kPointerDefault;
  int dnsReviews_ = 0;
  int lastProgress_ = -1;
  std::string status_;
  bool quiet_ = false;
  bool holding_ = false;
  bool terminal_ = false;
  std::string interface_;
  // The transfer shown last: which file, and when it was last told.
  std::string transferLocal_;
  std::chrono::milliseconds transferTold_{-1000000};
  bool transferWhole_ = false;
  bool lineOpen_ = false;  // a transfer line waits for its end on the terminal
  void endLine();
  struct HeldBox {
    std::string text;
    int style;
    std::string title;
  };
  std::vector<HeldBox> held_;
  void printBox(const std::string& text, int style, const std::string& title, int answer);
};
