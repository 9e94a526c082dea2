#include "app/BatchReport.h"

#include <cmath>
#include <optional>
#include <vector>

#include "app/Presenter.h"
#include "app/Workbench.h"
#include "core/TextUtilities.h"

namespace {
double SecondsBetween(std::chrono::milliseconds from, std::chrono::milliseconds to) {
  return static_cast<double>((to - from).count()) / 1000.0;
}

JsonLine FileLine(const FileMoved& f) {
  return JsonLine()
      .add("direction", f.direction == FileMoved::Direction::Download ? "download" : "upload")
      .add("local", f.local)
      .add("remote", f.remote)
      .add("size", f.size)
      .add("sha256", f.sha256);
}

// Text mode's last line of an operation, the result line's words:
// "Done: upgrade in 96 s; the modem runs 5.2.0.13."
std::string EndLine(const char* outcome, OperationKind op, std::optional<FailureCode> failure,
                    double seconds, const ModemVersion& running, ModemHolds holds) {
  std::string line = std::string(outcome) + ": " + OperationName(op);
  if (failure) line += " (" + std::string(FailureCodeText(*failure)) + ")";
  line += " in " + std::to_string(std::lround(seconds)) + " s; ";
  // The version it answers with is not what its flash holds: it would not
  // start again into it.
  if (holds == ModemHolds::Incomplete) return line + "the modem's software image is incomplete.";
  line += running.known() ? "the modem runs " + running.display() + "."
                          : "the modem's version is unknown.";
  return line;
}

// A text field, or null when nothing is known of it.
void AddOrNull(JsonLine& line, const char* key, const std::string& value) {
  if (value.empty())
    line.add(key, nullptr);
  else
    line.add(key, value);
}

// What the modem's image slot holds once an image was sent, and the digest
// read back.
void AddHolds(JsonLine& line, const OperationResult& result) {
  if (result.modemHolds == ModemHolds::Untouched)
    line.add("modem_holds", nullptr);
  else
    line.add("modem_holds", ModemHoldsName(result.modemHolds));
  AddOrNull(line, "verified_sha256", result.verifiedSha256);
}
}  // namespace

namespace {
// The fields of a result line that a run which never began knows nothing of.
void AddUnknowns(JsonLine& line) {
  for (const char* unknown : {"mac", "interface", "version_before", "version_after"})
    line.add(unknown, nullptr);
  line.add("duration_s", 0.0)
      .addArray("files", {})
      .addObject("phases", JsonLine())
      .add("modem_holds", nullptr)
      .add("verified_sha256", nullptr);
}
}  // namespace

std::string UsageFailureLine(const std::vector<std::string>& arguments, const std::string& reason) {
  bool json = false;
  const char* operation = nullptr;
  for (const auto& a : arguments) {
    json = json || a == "--json";
    const auto kind = OperationKindNamed(a);
    if (!operation && kind && InBatch(*kind)) operation = OperationName(*kind);
  }
  if (!json) return {};
  JsonLine line;
  line.add("event", "result");
  if (operation)
    line.add("operation", operation);
  else
    line.add("operation", nullptr);
  line.add("outcome", "failed")
      .add("exit_code", static_cast<int>(kExitUsage))
      .add("modem", nullptr);
  AddUnknowns(line);
  line.add("reason", reason).add("reason_code", FailureCodeText(FailureCode::BadArgument));
  return line.str();
}

OperationResult FailedFor(OperationResult::Outcome outcome, FailureCode code) {
  OperationResult result;
  result.outcome = outcome;
  result.reasonCode = code;
  return result;
}

void BatchReport::begin(std::chrono::milliseconds now) {
  started_ = now;
  versionBefore_ = bench_.session().runningVersion.display();
}

FailureCode BatchReport::blame(FailureCode code) const {
  const std::string& name = bench_.session().interfaceName;
  if (!name.empty() && !bench_.platform().networkInterfaces().bindProblem(name).empty())
    return FailureCode::InterfaceGone;
  return code;
}

void BatchReport::result(OperationKind op, const OperationResult& result, int code,
                         std::chrono::milliseconds now,
                         const std::function<void(JsonLine&)>& more) {
  // Every failure has its code; the run's own reason is told beside it.
  std::optional<FailureCode> failure;
  if (code != kExitDone && result.reasonCode) {
    failure = blame(*result.reasonCode);
    hint(*failure);
  }
  const Session& session = bench_.session();
  if (!options_.json) {
    ui_.note(EndLine(skipped_            ? "Skipped"
                     : code == kExitDone ? "Done"
                                         : "Failed",
                     op, failure, SecondsBetween(started_, now), session.runningVersion,
                     result.modemHolds));
    return;
  }
  std::vector<JsonLine> moved;
  for (const auto& f : result.files) moved.push_back(FileLine(f));
  JsonLine phases;
  for (const auto& [phase, seconds] : result.phases) phases.add(PhaseName(phase), seconds);
  JsonLine line;
  line.add("event", "result")
      .add("operation", OperationName(op))
      .add("outcome", skipped_            ? "skipped"
                      : code == kExitDone ? "done"
                                          : "failed")
      .add("exit_code", code)
      .add("modem", session.modemAddress)
      .add("mac", session.currentModemMac())
      .add("interface", session.interfaceName)
      .add("version_before", versionBefore_)
      .add("version_after", session.runningVersion.display())
      .add("duration_s", SecondsBetween(started_, now))
      .addArray("files", moved)
      .addObject("phases", phases);
  AddHolds(line, result);
  if (op == OperationKind::Upgrade || op == OperationKind::Check)
    line.add("signature", signatureState());
  if (code != kExitDone)
    line.add("reason", result.failure ? BoxFor(*result.failure).text.english() : reason_);
  if (failure)
    line.add("reason_code", FailureCodeText(*failure));
  else
    line.add("reason_code", nullptr);
  if (more) more(line);
  ui_.json(line.str());
}

void BatchReport::skipped(OperationKind op, std::chrono::milliseconds now) {
  skipped_ = true;
  result(op, OperationResult{}, kExitDone, now);
  skipped_ = false;
}

void BatchReport::interrupted(const OperationResult& abandoned) {
  const Session& session = bench_.session();
  const double seconds = SecondsBetween(started_, bench_.platform().loop().now());
  // Abandoned while the image went up: the flash may hold part of it.
  if (abandoned.modemHolds == ModemHolds::Incomplete) hint(FailureCode::ImageIncomplete);
  if (!options_.json) {
    ui_.note(EndLine("Interrupted", options_.operation, FailureCode::Interrupted, seconds,
                     session.runningVersion, abandoned.modemHolds));
    return;
  }
  JsonLine line;
  line.add("event", "result")
      .add("operation", OperationName(options_.operation))
      .add("outcome", "interrupted")
      .add("exit_code", static_cast<int>(kExitInterrupted))
      .add("modem", session.modemAddress)
      .add("mac", session.currentModemMac())
      .add("interface", session.interfaceName)
      .add("version_before", versionBefore_)
      .add("version_after", session.runningVersion.display())
      .add("duration_s", seconds)
      .addArray("files", {})
      .addObject("phases", JsonLine());
  AddHolds(line, abandoned);
  line.add("reason", "Abandoned.").add("reason_code", FailureCodeText(FailureCode::Interrupted));
  ui_.json(line.str());
}

void BatchReport::unfinishedUpload(const HistoryEntry& began) {
  if (!options_.json) return;
  const Box box = BoxFor({Notice::Kind::UnfinishedUpload, began.time, 0, began.modemAddress});
  ui_.json(JsonLine()
               .add("event", "warning")
               .add("kind", "unfinished-upload")
               .add("began", began.time)
               .add("modem", began.modemAddress)
               .add("mac", began.modemMac)
               .add("image", began.imageName)
               .add("message", box.text.english())
               .str());
}

int BatchReport::unusable(FailureCode code, const std::string& reason) {
  if (!options_.json) {
    ui_.note("Failed: " + std::string(OperationName(options_.operation)) + " (" +
             FailureCodeText(code) + "): it did not begin.");
    return kExitUsage;
  }
  JsonLine line;
  line.add("event", "result")
      .add("operation", OperationName(options_.operation))
      .add("outcome", "failed")
      .add("exit_code", static_cast<int>(kExitUsage))
      .add("modem", bench_.session().modemAddress);
  AddUnknowns(line);
  AddOrNull(line, "reason", reason);
  line.add("reason_code", FailureCodeText(code));
  ui_.json(line.str());
  return kExitUsage;
}

std::string BatchReport::signatureState() const {
  const Session& session = bench_.session();
  if (!session.releaseSigner.empty()) return "signed by " + session.releaseSigner;
  return session.trust.active() ? "refused" : "not signed";
}

void BatchReport::hint(FailureCode code) {
  const Session& session = bench_.session();
  // A power cycle would start the modem from half an image.
  if (!session.unfinishedUploadSince.empty() && code != FailureCode::ImageIncomplete)
    ui_.hint(
        "do not switch the modem off: its software image is incomplete (an upload that "
        "began at " +
        session.unfinishedUploadSince + " never ended); repeat it as soon as it answers.");
  switch (code) {
    case FailureCode::InterfaceGone:
      ui_.hint("the interface " + session.interfaceName + " is gone (" +
               bench_.platform().networkInterfaces().bindProblem(session.interfaceName) +
               "): connect it again, then start again.");
      return;
    case FailureCode::Unreachable:
      ui_.hint("nothing answers at " + session.modemAddress + ": check the cable, " +
               (session.unfinishedUploadSince.empty() ? "the modem's power, " : "") +
               "and that this PC has an address in the modem's subnet (192.168.128.x).");
      return;
    case FailureCode::FtpLoginRefused:
      ui_.hint("the modem refused the FTP login of the user kovauser.");
      return;
    case FailureCode::ConsoleBusy:
      ui_.hint("another telnet session holds the modem's console: close it, then try again.");
      return;
    case FailureCode::ImageIncomplete:
      ui_.hint("do not switch the modem off: repeat the operation as soon as it answers.");
      return;
    case FailureCode::DiskFull:
      ui_.hint("the disk of " + session.homeDir + " is full: free some space, then try again.");
      return;
    default:
      return;
  }
}
