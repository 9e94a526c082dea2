// Batch mode: the same logic as the window, with a console front end.
// Status texts go to standard output, message boxes to standard error, and
// the dialogs are answered from the command line.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/Prompts.h"
#include "platform/Platform.h"

class MainWindow;

struct BatchOptions {
  enum class Operation { Version, Upgrade, Restore, Pic, Reset, Dns, Log, Verify, History };
  Operation operation = Operation::Version;
  std::string restoreVersion;  // display form, as the chooser lists it
  std::string verifyVersion;   // display form; empty: the new image
  std::optional<std::pair<std::string, std::string>> dns;  // primary, secondary
  bool factory = false;
  bool noAutoPic = false;
  bool yes = false;
  bool json = false;     // one JSON object per line on standard output
  int waitBackSeconds = 0;  // how long a restarting modem may take to answer again
  bool station = false;  // upgrade one modem after the other at the same address
};

// Exit codes of batch mode.
enum BatchExit { kExitDone = 0, kExitFailed = 1, kExitUsage = 2, kExitUnreachable = 3 };

// Parses the arguments after the program name. Returns nullopt and sets
// error for a usage error; sets help or version for those requests.
struct BatchCommandLine {
  bool batch = false;  // --batch given
  bool help = false;
  bool version = false;
  BatchOptions options;
};
std::optional<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& args,
                                                      std::string& error);
std::string BatchUsage();
std::string BatchVersionText();

// The console Ui: boxes go to standard error and are answered OK (yes/no:
// No unless --yes); the workflows' questions are answered from the options.
class ConsoleUi : public Ui, public Prompts {
 public:
  ConsoleUi(std::ostream& out, std::ostream& err, const BatchOptions& options,
            std::function<std::string()> timestamp);
  int msgBox(const std::string& text, int style, const std::string& title) override;
  void setPointer(int code) override { pointer_ = code; }
  int pointer() const override { return pointer_; }
  // No dialog of its own is shown in batch mode: it is closed at once.
  void showModal(Form& form) override;
  void show(Form&) override {}

  std::optional<std::string> chooseRestoreVersion(
      const std::vector<std::string>& versions) override;
  DnsReview reviewDns(const std::string& primary, const std::string& secondary) override;

  void status(const std::string& text);
  void progress(int value);
  void note(const std::string& text);  // a line of our own on standard output
  void error(const std::string& text);  // a line of our own on standard error
  // A whole JSON object on a line of standard output (with --json).
  void json(const std::string& line);
  // Text as it is, on standard output.
  void print(const std::string& text);
  // While a station waits for the next modem, its failing queries are not news.
  void setQuiet(bool quiet) { quiet_ = quiet; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  const BatchOptions& options_;
  std::function<std::string()> timestamp_;
  int pointer_ = kPointerDefault;
  int dnsReviews_ = 0;
  int lastProgress_ = -1;
  bool quiet_ = false;
};

// Thrown out of the event loop when the run is abandoned (second Ctrl+C)
// and no endProcess was given.
struct BatchAbandoned {};

// Runs one operation on a window that has not been started yet and returns
// the exit code: 0 done, 1 failed, 2 no usable home directory. interrupts
// counts Ctrl+C presses; endProcess ends the process after an abandoned
// run has been cleaned up. The window must answer its questions through ui.
// enterPressed tells, without waiting, whether the operator pressed Enter
// (station mode); none: never.
int RunBatch(MainWindow& window, ConsoleUi& ui, const BatchOptions& options,
             const std::atomic<int>& interrupts,
             const std::function<void(int code)>& endProcess = nullptr,
             const std::function<bool()>& enterPressed = nullptr);
