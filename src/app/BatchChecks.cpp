#include "app/BatchChecks.h"

#include <algorithm>
#include <filesystem>

#include "app/Workbench.h"
#include "core/JsonLine.h"
#include "core/TextUtilities.h"
#include "firmware/ImageStore.h"
#include "firmware/ReleaseCheck.h"
#include "operations/ModemSession.h"
#include "operations/VerifyImage.h"

using Outcome = OperationResult::Outcome;

BatchChecks::BatchChecks(BatchSteps& steps, ConsoleUi& ui, const BatchOptions& options,
                         Workbench& bench, BatchReport& report)
    : steps_(steps), ui_(ui), options_(options), bench_(bench), report_(report) {
  finishedObserver_ = bench_.modem().runner().onFinished.add(
      [this](Operation& op, const OperationResult&) {
        if (auto* verifier = dynamic_cast<VerifyImage*>(&op)) {
          modemDigest_ = verifier->modemDigest();
          referenceDigest_ = verifier->referenceDigest();
        }
      });
}

BatchChecks::~BatchChecks() { bench_.modem().runner().onFinished.remove(finishedObserver_); }

namespace {
std::chrono::milliseconds Now(Workbench& bench) { return bench.platform().loop().now(); }
}  // namespace

void BatchChecks::verify() {
  ImageStore& store = bench_.images();
  const std::string reference = options_.verifyVersion
                                    ? store.backupImagePath(*options_.verifyVersion)
                                    : store.newImagePath();
  report_.begin(Now(bench_));
  if (!ImageStore::fileExists(reference)) {
    report_.setReason("There is no image " + reference + " to compare with.");
    ui_.error(report_.reason());
    report_.result(OperationKind::Verify, FailedFor(Outcome::Failed, FailureCode::BadArgument),
                   kExitUsage, Now(bench_));
    return steps_.quit(kExitUsage);
  }
  if (!bench_.session().connected) {
    report_.setReason("The modem did not answer.");
    report_.result(OperationKind::Verify, FailedFor(Outcome::Failed, FailureCode::Unreachable),
                   kExitUnreachable, Now(bench_));
    return steps_.quit(kExitUnreachable);
  }
  steps_.start(bench_.modem().verify(reference), [this, reference](const OperationResult& r) {
    OperationResult result = r;
    for (auto& f : result.files) f.local.clear();  // the copy is gone
    if (modemDigest_.empty()) {
      const int code = !bench_.session().connected ? kExitUnreachable : kExitFailed;
      if (code == kExitUnreachable) result.reasonCode = FailureCode::Unreachable;
      report_.result(OperationKind::Verify, result, code, Now(bench_));
      return steps_.quit(code);
    }
    const bool match = modemDigest_ == referenceDigest_;
    ui_.note("modem     " + modemDigest_);
    ui_.note("reference " + referenceDigest_ + " " + reference);
    ui_.note(match ? "match" : "differs");
    const int code = match ? kExitDone : kExitFailed;
    report_.setReason("The modem's image differs from " + reference + ".");
    result.reasonCode = FailureCode::VerifyMismatch;
    report_.result(OperationKind::Verify, result, code, Now(bench_), [&](JsonLine& line) {
      line.add("verdict", match ? "match" : "differs").add("reference", reference);
    });
    steps_.quit(code);
  });
}

void BatchChecks::checkLine(const std::string& name, bool passed, const std::string& text) {
  if (!passed) ++checksFailed_;
  if (options_.json)
    ui_.json(JsonLine()
                 .add("event", "check")
                 .add("name", name)
                 .add("passed", passed)
                 .add("text", text)
                 .str());
  else
    ui_.print(std::string(passed ? "ok      " : "FAILED  ") + name + ": " + VisibleText(text) +
              "\n");
}

// What can be checked on this PC: the image, its checksum file, its
// signature and the room for a backup.
void BatchChecks::localChecks(long long imageSize) {
  ImageStore& store = bench_.images();
  const Session& session = bench_.session();
  const std::string image = store.newImagePath();
  const bool imageFound = session.newVersion.known();
  if (!imageFound)
    checkLine("image", false,
              "there is not exactly one kova_<version>.bin in " + session.homeDir + ".");
  else if (imageSize <= 0)
    checkLine("image", false, image + " is empty or cannot be read.");
  else
    checkLine("image", true, image + ": " + std::to_string(imageSize) + " bytes.");
  if (imageFound) {
    const std::string checksum = store.newChecksumPath();
    checkLine("checksum file", ImageStore::fileExists(checksum),
              checksum + (ImageStore::fileExists(checksum) ? "." : " is missing."));
  }
  if (imageFound && !session.trust.active())
    checkLine("signature", true, "not signed: no trusted key is set up, so it is not checked.");
  else if (imageFound)
    for (const auto& f : bench_.release().findings) checkLine(f.check, f.passed, f.text);
  // The backup of the running image needs about as much room as the new one.
  std::error_code ec;
  const auto space = std::filesystem::space(session.backupDir, ec);
  const long long needed = std::max(imageSize, 0LL) + (1 << 20);
  if (ec)
    checkLine("disk space", false, "the free space of " + session.backupDir +
                                       " cannot be read: " + ec.message() + ".");
  else
    checkLine("disk space", static_cast<long long>(space.available) >= needed,
              std::to_string(space.available / (1 << 20)) + " MiB free in " +
                  session.backupDir + "; a backup needs about " +
                  std::to_string(needed / (1 << 20) + 1) + " MiB.");
}

void BatchChecks::checksEnded(int code) {
  OperationResult result = FailedFor(
      Outcome::Failed,
      code == kExitUnreachable ? FailureCode::Unreachable : FailureCode::ChecksFailed);
  if (code == kExitDone) result = OperationResult{};
  report_.setReason(code == kExitUnreachable ? "The modem did not answer."
                                             : std::to_string(checksFailed_) + " check(s) failed.");
  report_.result(OperationKind::Check, result, code, Now(bench_));
  steps_.quit(code);
}

void BatchChecks::check() {
  const Session& session = bench_.session();
  report_.begin(Now(bench_));
  const std::string image = bench_.images().newImagePath();
  const long long imageSize = ImageStore::fileSize(image);
  localChecks(imageSize);
  if (!session.connected) {
    checkLine("modem", false, "nothing answers at " + session.modemAddress + ".");
    return checksEnded(kExitUnreachable);
  }
  checkLine("modem", true, "answers at " + session.modemAddress + ".");
  const ModemVersion& running = session.runningVersion;
  checkLine("version", running.known(),
            running.known() ? "the modem runs " + running.display() + "."
                            : "the modem answered on its FTP port only; its version is unknown.");
  if (session.newVersion.known()) {
    const ReleaseVerdict& release = bench_.release();
    std::string problem;
    if (!running.allows(session.newVersion, session.reachableWithoutVersion))
      problem = "Release Series conflict detected. Upgrade not possible.";
    else if (release.manifest)
      problem = CompatibilityProblem(*release.manifest, running).english();
    const bool refused = release.state == ReleaseVerdict::State::Refused;
    checkLine("compatibility", problem.empty() && !refused,
              !problem.empty() ? problem
              : refused        ? "not known: the release was refused."
                               : session.newVersion.display() + " may be installed over " +
                              running.shown() + ".");
  }
  // Logging in and reading the modem's image proves the FTP login.
  steps_.start(bench_.modem().verify(image), [this](const OperationResult&) {
    checkLine("ftp login", !modemDigest_.empty(),
              !modemDigest_.empty()
                  ? "logged in; the modem's image has SHA-256 " + modemDigest_ + "."
                  : "the modem's image could not be read over FTP.");
    checksEnded(checksFailed_ == 0 ? kExitDone : kExitFailed);
  });
}
