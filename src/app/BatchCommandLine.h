// The command line of batch mode: the operation and its options.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ModemVersion.h"
#include "core/OperationKind.h"

struct BatchOptions {
  using Operation = OperationKind;  // one of those InBatch()
  Operation operation = Operation::Version;
  ModemVersion restoreVersion;
  std::optional<ModemVersion> verifyVersion;  // none: the new image
  std::optional<std::pair<std::string, std::string>> dns;  // primary, secondary
  bool factory = false;
  bool noAutoPic = false;
  bool reinstall = false;  // upgrade a modem that runs the new version already
  bool yes = false;
  bool json = false;     // one JSON object per line on standard output
  int waitBackSeconds = 0;  // how long a restarting modem may take to answer again
  bool station = false;  // upgrade one modem after the other at the same address
  // The PC's interfaces the connections go out through: one, or with
  // --station one station each; empty for the system's choice.
  std::vector<std::string> interfaces;

  // report: the bounds of the units counted and the form (--json: JSON).
  std::string since, until;  // as ReportTime gives them; "" for none
  bool csv = false;
  // A station's line stop: after this many failed units in a row (0: never),
  // or this many failures among the last units (0 of 0: never).
  int stopAfterFailures = 0;
  int maxFailures = 0, ofLastUnits = 0;
  // A program run after each unit of a station, without a shell, with the
  // unit in its environment; ended after its time limit.
  std::string onUnit;
  int onUnitTimeoutSeconds = 30;
};

// Exit codes of batch mode.
// 130: abandoned by Ctrl+C, as a shell reports a command ended by SIGINT.
enum BatchExit {
  kExitDone = 0,
  kExitFailed = 1,
  kExitUsage = 2,
  kExitUnreachable = 3,
  kExitInterrupted = 130
};

// Parses the arguments after the program name. Returns nullopt and sets
// error for a usage error; sets help or version for those requests.
struct BatchCommandLine {
  bool batch = false;  // --batch given
  bool help = false;
  bool version = false;
  BatchOptions options;
  std::vector<std::string> arguments;  // as given, for the stations of a supervisor
};
std::optional<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& args,
                                                      std::string& error);
std::string BatchUsage();
// Takes "--home DIR" (or --home=DIR), the firmware folder, out of args, for
// the window and batch mode alike. False and error when it has no folder or
// comes twice.
bool TakeHomeOption(std::vector<std::string>& args, std::optional<std::string>& home,
                    std::string& error);
// Takes every "--trusted-key FILE" (or --trusted-key=FILE) out of args,
// for the window and batch mode alike. False and error when one has no file.
bool TakeTrustedKeyOptions(std::vector<std::string>& args, std::vector<std::string>& files,
                           std::string& error);
std::string BatchVersionText();

// Takes "--records URL" (or --records=URL), the production line's records
// database, out of args, for the window and batch mode alike. False and
// error when it has no URL, comes twice, or is no postgresql:// or
// postgres:// URL nor key=value pairs (the error never quotes the URL).
// "--lang CODE": the window's language (fr, pt_BR, ar, ...) instead of the
// system's. Batch mode takes it and stays English.
bool TakeLanguageOption(std::vector<std::string>& args, std::string& language, std::string& error);
bool TakeRecordsOption(std::vector<std::string>& args, std::string& url, std::string& error);
