#include "app/OperationWatch.h"

#include <filesystem>
#include <system_error>

#include "app/MainWindow.h"
#include "at/AtChannel.h"
#include "core/Sha256.h"
#include "discovery/VersionQuery.h"
#include "firmware/PicUpgradeWorkflow.h"
#include "firmware/RestoreWorkflow.h"
#include "firmware/UpgradeWorkflow.h"
#include "platform/FtpCommandText.h"
#include "transfer/FtpChain.h"
#include "transfer/TelnetSession.h"

namespace fs = std::filesystem;

OperationWatch::OperationWatch(MainWindow& w) : w_(w) {
  using VQ = VersionQuery::Outcome;
  ids_.push_back(w.versionQuery().onOutcome.add([this](VQ o) {
    if (o == VQ::Unreachable) ++unreachable;
    if (o == VQ::SocketError) ++socketErrors;
    if (o == VQ::Unreachable || o == VQ::FtpTimeoutReported || o == VQ::SocketError ||
        o == VQ::ResetFailed || o == VQ::ConnectionClosed)
      ++failures;
  }));
  using FC = FtpChain::Outcome;
  ids_.push_back(w.ftpChain().onOutcome.add([this](FC o) {
    if (o == FC::Finished) ++chainsFinished;
    if (o == FC::Failed || o == FC::TimedOut || o == FC::ConnectionLost || o == FC::Abandoned)
      ++failures;
  }));
  ids_.push_back(w.ftpChain().onStepCompleted.add([this](const FtpStep& step) {
    FtpCommand command;
    try {
      command = ParseFtpCommand(step.command);
    } catch (const PlatformError&) {
      return;
    }
    if (command.kind != FtpCommand::Get && command.kind != FtpCommand::Put) return;
    FileMoved file;
    file.download = command.kind == FtpCommand::Get;
    file.local = command.local;
    file.remote = command.remote;
    // A bare name is resolved against the home directory, as the client does.
    fs::path path(command.local);
    if (path.is_relative()) path = fs::path(w_.session().homeDir) / path;
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    if (!ec) file.size = static_cast<long long>(size);
    file.sha256 = Sha256OfFile(path.string()).value_or("");
    files.push_back(file);
  }));
  using TS = TelnetSession::Outcome;
  ids_.push_back(w.telnet().onOutcome.add([this](TS o) {
    if (o == TS::ReflashCompleted) ++reflashesCompleted;
    if (o == TS::ReflashFailed || o == TS::ConsoleBusy || o == TS::ConnectFailed) ++failures;
  }));
  using AT = AtChannel::Outcome;
  ids_.push_back(w.atChannel().onOutcome.add([this](AT o) {
    if (o == AT::Refused || o == AT::Failed || o == AT::Unsendable || o == AT::ConnectFailed)
      ++failures;
  }));
  ids_.push_back(w.upgradeWorkflow().onOutcome.add([this](UpgradeWorkflow::Outcome o) {
    if (o == UpgradeWorkflow::Outcome::Refused) ++failures;
  }));
  ids_.push_back(w.restoreWorkflow().onOutcome.add([this](RestoreWorkflow::Outcome o) {
    if (o == RestoreWorkflow::Outcome::NothingChosen) nothingChosen = true;
    if (o != RestoreWorkflow::Outcome::Stopped) ++failures;
  }));
  ids_.push_back(
      w.picUpgradeWorkflow().onOutcome.add([this](PicUpgradeWorkflow::Outcome) { ++failures; }));
}

OperationWatch::~OperationWatch() {
  std::size_t i = 0;
  w_.versionQuery().onOutcome.remove(ids_[i++]);
  w_.ftpChain().onOutcome.remove(ids_[i++]);
  w_.ftpChain().onStepCompleted.remove(ids_[i++]);
  w_.telnet().onOutcome.remove(ids_[i++]);
  w_.atChannel().onOutcome.remove(ids_[i++]);
  w_.upgradeWorkflow().onOutcome.remove(ids_[i++]);
  w_.restoreWorkflow().onOutcome.remove(ids_[i++]);
  w_.picUpgradeWorkflow().onOutcome.remove(ids_[i++]);
}
