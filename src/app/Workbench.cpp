#include "app/Workbench.h"

#include <filesystem>
#include <system_error>

#include "app/OperationRecorder.h"
#include "app/Presenter.h"
#include "app/RecordsOutbox.h"
#include "core/TextUtilities.h"
#include "core/Texts.h"
#include "core/TrustedKeys.h"
#include "firmware/ImageStore.h"
#include "netconfig/PcAddressCheck.h"
#include "operations/ModemSession.h"
#include "platform/FtpCommandText.h"

namespace fs = std::filesystem;

Workbench::Workbench(Platform& platform, Settings settings, StatusView& view, Prompts& prompts,
                     Audience audience)
    : platform_(platform), settings_(std::move(settings)), view_(view) {
  session_.modemAddress = Trim(settings_.initialAddress);
  presenter_ = std::make_unique<Presenter>(platform.ui(), audience, &session_);
  modem_ = std::make_unique<ModemSession>(
      platform, session_, view, *presenter_, prompts,
      ModemPorts{settings_.zingPort, settings_.ftpPort, settings_.telnetPort, settings_.atPort});
  pcAddress_ = std::make_unique<PcAddressCheck>(modem_->context(), prompts);
  recorder_ = std::make_unique<OperationRecorder>(modem_->context(), modem_->runner());
  recorder_->journalPath = settings_.uploadJournal;
  tellUnfinished_ = platform.createTimer();
  tellUnfinished_->setInterval(0);
  tellUnfinished_->onTick = [this] {
    tellUnfinished_->setEnabled(false);
    presenter_->report(unfinished_);
  };
  recorder_->onUnfinishedUpload.add([this](const HistoryEntry& began) {
    unfinished_ = {Notice::Kind::UnfinishedUpload, began.time, 0, began.modemAddress};
    tellUnfinished_->setEnabled(true);
  });
  recorder_->onRecorded.add([this](const HistoryEntry& entry) {
    if (records_) records_->add(entry);
  });
}

Workbench::~Workbench() = default;

ImageStore& Workbench::images() { return modem_->images(); }

bool Workbench::run(std::unique_ptr<Operation> operation) {
  return modem_->runner().run(std::move(operation));
}

bool Workbench::busy() const { return modem_->runner().busy(); }

bool Workbench::idle() const { return modem_->idle(); }

void Workbench::tell(const Text& text, int style) { platform_.ui().msgBox(text, style, kAppTitle); }

Workbench::Start Workbench::start(bool imageRequired) {
  session_.factoryMode = settings_.commandLine.find("/Factory") != std::string::npos;
  session_.homeDir = firmwareFolder();
  session_.backupDir = session_.homeDir + "Backup";
  session_.runningVersion = ModemVersion();
  view_.showRunningVersion(kUnknownVersionText);

  auto images = ListImagesIfReadable(session_.homeDir);
  if (!images) {
    tell(Text("Unable to find upgrade program home directory %1.\r\n"
              "Please install the upgrade program in this Computer."_t)
             .arg(session_.homeDir),
         MsgExclamation);
    return Start::FolderUnusable;
  }
  // Later steps build the image's path from its version, so a name that
  // matches only through letter case cannot be used.
  const bool usable = images->size() == 1 &&
                      "kova_" + VersionFromImageName((*images)[0]) + ".bin" == (*images)[0];
  if (!usable && imageRequired) {
    tell(Text("Unable to find the binary file %1kova_*.bin. \r\n"
              "Or there is more than one binary file in the application's home directory.\r\n"
              "Please make sure there is and there is only one binary file in that directory."_t)
             .arg(session_.homeDir),
         MsgExclamation);
    return Start::ImageUnusable;
  }
  // Every transfer names the image's path, or its folder, in a command text.
  const std::string image = session_.homeDir + (usable ? (*images)[0] : std::string());
  if (!LocalPathFits(image)) {
    tell(Text("%1 cannot be used: a double quote or a control character in the name of the "
              "binary file or of its folder would break every transfer.\r\n"
              "Please rename it."_t)
             .arg(VisibleText(image)),
         MsgExclamation);
    return Start::FolderUnusable;
  }
  if (usable)
    session_.newVersion = ModemVersion::FromFileForm(VersionFromImageName((*images)[0]));
  if (const Start release = checkRelease(usable, imageRequired); release != Start::Ready)
    return release;

  std::error_code ec;
  if (!fs::is_directory(session_.backupDir, ec)) {
    fs::create_directory(session_.backupDir, ec);
    if (ec || !fs::is_directory(session_.backupDir, ec))
      tell(Text("Unable to create the backup directory %1.\r\n"
                "The modem's software cannot be backed up before an upgrade."_t)
               .arg(session_.backupDir),
           MsgExclamation);
  }
  // What a run that ended without cleaning up left in the backup directory.
  Process& process = platform_.process();
  modem_->images().removeStaleTemporaries(
      [&process](const std::string& stamp) { return process.ended(stamp); });
  startRecords();
  return Start::Ready;
}

Workbench::Start Workbench::checkRelease(bool imageFound, bool imageRequired) {
  Text error;
  auto trust = LoadTrustedKeys(settings_.trustedKeyFolders, settings_.trustedKeyFiles, error);
  if (!trust) {
    // A key the operator placed is never skipped: nothing goes up until it is fixed.
    tell(Text("%1\r\nPlease replace or remove it."_t).arg(error), MsgCritical);
    return Start::KeyUnusable;
  }
  session_.trust = std::move(*trust);
  release_ = imageFound ? CheckRelease(session_.trust, session_.homeDir, session_.newVersion,
                                       modem_->images().findPicFile())
                        : ReleaseVerdict{};
  session_.releaseSigner = release_.signer;
  if (release_.state != ReleaseVerdict::State::Refused || !imageRequired) return Start::Ready;
  tell(Text("The new software %1 is refused: %2\r\nNothing will be sent to the modem."_t)
           .arg(session_.newVersion.display())
           .arg(release_.problem),
       MsgCritical);
  return Start::ReleaseRefused;
}

namespace {
bool HoldsImage(const std::string& home) {
  auto images = ListImagesIfReadable(home);
  return images && !images->empty();
}
}  // namespace

std::string Workbench::firmwareFolder() {
  const std::string here = HomeDirectory(settings_.workingDirectory);
  if (!settings_.askForHome || HoldsImage(here)) return here;
  const auto remembered = RecallHome(settings_.homeMemoryFile);
  if (remembered && HoldsImage(HomeDirectory(*remembered))) return HomeDirectory(*remembered);
  std::string start = remembered ? *remembered : settings_.workingDirectory;
  for (;;) {
    auto chosen = platform_.ui().chooseFolder(
        "Choose the firmware folder (the one with kova_*.bin)"_t, start);
    // Cancelled: the working directory, and its refusal, as ever.
    if (!chosen) return here;
    if (HoldsImage(HomeDirectory(*chosen))) {
      Text error;
      if (!RememberHome(settings_.homeMemoryFile, *chosen, error))
        tell(Text("The firmware folder %1 could not be remembered for the next start: %2."_t)
                 .arg(*chosen)
                 .arg(error),
             MsgExclamation);
      return HomeDirectory(*chosen);
    }
    tell(Text("There is no kova_*.bin in %1.\r\n"
              "Please choose the folder that holds the new software image."_t)
             .arg(*chosen),
         MsgExclamation);
    start = *chosen;
  }
}

std::string Workbench::HomeDirectory(const std::string& workingDirectory) {
  // Taken as given: "DIR " is another folder than "DIR".
  std::string home = workingDirectory;
  // A folder typed with '/' on Windows ends in the system's own separator.
  if (!home.empty() && home.back() == '/') home.back() = ImageStore::kSeparator;
  if (home.empty() || home.back() != ImageStore::kSeparator) home += ImageStore::kSeparator;
  return home;
}

std::string Workbench::historyPathBeforeStart() const {
  return ImageStore::HistoryPath(HomeDirectory(settings_.workingDirectory) + "Backup");
}

void Workbench::changeModemAddress(const std::string& address) {
  const bool known = !session_.currentModemMac().empty();
  session_.modemAddress = Trim(address);
  if (known) session_.modemMacAddress = session_.modemAddress;
}

void Workbench::startRecords() {
  if (settings_.recordsUrl.empty() || records_) return;
  auto database = platform_.createRecordsDatabase(settings_.recordsUrl);
  if (!database) return;  // refused on the command line already
  records_ = std::make_unique<RecordsOutbox>(platform_, std::move(database), settings_.recordsUrl,
                                             session_.backupDir);
  records_->tell = [this](std::size_t waiting, const Text& text) {
    if (tellRecords)
      tellRecords(waiting, text);
    else
      view_.setStatus(text);
  };
  records_->start();
}

void Workbench::whenRecordsSettled(int limitMs, std::function<void()> then) {
  if (!records_) return then();
  records_->whenSettled(limitMs, std::move(then));
}

void Workbench::restoreDhcpAddress() { pcAddress_->restoreDhcpAddress(); }

void Workbench::shutDown() { modem_->shutDown(); }
