#include "transfer/FtpChain.h"

#include <filesystem>
#include <system_error>

#include "app/frmMain.h"

namespace {

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

const char* const kUnexpected = "An unexpected FTP error occurred.";

}  // namespace

FtpChain::FtpChain(frmMain& f) : f(f) {
  f.inetFTP->onStateChanged = [this](int state) { inetFTP_StateChanged(state); };
  f.tmrFTPReq->onTick = [this] { tmrFTPReq_Timer(); };
}

std::string FtpChain::Quote(const std::string& path) { return "\"" + path + "\""; }

bool FtpChain::StartChain(std::int32_t code, const std::string& command) {
  f.lngFTPState = code;
  f.blnFTPDone = false;
  f.inetFTP->setRemoteHost(f.strModemIP);
  f.tmrFTPReq->setEnabled(true);
  return Execute(command);
}

void FtpChain::CancelRequest() {
  outstanding_ = false;
  f.inetFTP->cancel();
}

// ---- Issuing commands ----

bool FtpChain::Execute(const std::string& command) {
  outstanding_ = command != "CLOSE";
  try {
    f.inetFTP->execute(command);
    return true;
  } catch (const PlatformError& e) {
    Refused(e);
    return false;
  }
}

bool FtpChain::Issue(std::int32_t code, const std::string& command) {
  f.lngFTPState = code;
  f.tmrFTPReq->setEnabled(true);
  return Execute(command);
}

bool FtpChain::IssueClose() { return Issue(CLOSE_CMD, "CLOSE"); }

std::string FtpChain::NewImageCommand() const {
  return "PUT " + Quote(f.strHomeDir + "kova_" + f.strNewVersion + ".bin") + " /bin/kova.bin";
}

void FtpChain::PutNewImage() {
  f.lngFTPState = PUT_NEW_BIN_CMD;
  f.SetStatus("Upgrading Satellite IP Modem with version " + f.txtNewSoftwareVersion.text() +
              " ...");
  f.tmrFTPReq->setEnabled(true);
  Execute(NewImageCommand());
}

// After /checksum.txt was stored or deleted: the PIC file, the factory
// deletion of the configuration, or the end.
void FtpChain::AfterChecksumStored() {
  if (f.AutoPic.value() == 1 && !f.strPicFile.empty()) {
    f.lngFTPState = PUT_UPGRADE_PIC_CMD;
    f.SetStatus("Uploading PIC software! Wait...");
    f.tmrFTPReq->setEnabled(true);
    // The bare name, resolved against the home directory (the working one).
    Execute("PUT " + f.strPicFile + " /pic.hex");
    return;
  }
  f.Progress.setValue(80);
  if (f.blnFactory) {
    f.SetStatus("Deleting config file");
    Issue(UPDATE_DEL_CFG_CMD, "DELETE /config.txt");
    return;
  }
  FinishUpgrade();
}

void FtpChain::FinishUpgrade() {
  f.blnFTPDone = true;
  if (!IssueClose()) return;
  f.SetStatus("Successfully upgraded! Wait...");
  f.tmrFiveSecDelay->setEnabled(true);
}

void FtpChain::FinishRestore() {
  f.blnFTPDone = true;
  if (!IssueClose()) return;
  f.SetStatus("Successfully restored! Wait...");
  f.tmrFiveSecDelay->setEnabled(true);
}

// ---- Failures ----

void FtpChain::ChainFailed(const std::string& message) {
  f.blnFTPDone = true;
  f.SetBusyState(0);
  f.ui().msgBox(message, MsgExclamation, kUpgraderTitle);
  f.SetStatus("");
}

// Refused at once (one still outstanding, a malformed text): handled like
// an unexpected error. The cancel also frees a client held by a command
// that never ended, so that the user's retry can run.
void FtpChain::Refused(const PlatformError& e) {
  outstanding_ = false;
  f.tmrFTPReq->setEnabled(false);
  f.blnFTPDone = true;
  f.inetFTP->cancel();
  ChainFailed(std::string(kUnexpected) + kCrLf + "Operation cancelled." + kCrLf + kCrLf +
              "Error Code:  " + std::to_string(e.number) + " : " + e.what());
  f.strModemVersion = kUnknownVersion;
}

// ---- Notifications ----

void FtpChain::inetFTP_StateChanged(int state) {
  switch (state) {
    case FtpClient::ResponseCompleted:
      f.tmrFTPReq->setEnabled(false);
      outstanding_ = false;
      OnCompleted();
      return;
    case FtpClient::ErrorState:
      f.tmrFTPReq->setEnabled(false);
      // Only an error answering our outstanding command counts; after
      // "CLOSE", a cancel or a time-out it is a leftover. (blnFTPDone is no
      // guide: it is already true while the factory deletion after a PIC
      // upload is outstanding.)
      if (!outstanding_) return;
      outstanding_ = false;
      OnError();
      return;
    case FtpClient::Disconnected:
      f.tmrFTPReq->setEnabled(false);
      OnDisconnected();
      return;
    default:
      return;
  }
}

void FtpChain::OnDisconnected() {
  const bool ours = outstanding_;
  outstanding_ = false;
  f.blnFTPDone = true;
  if (f.lngFTPState == CLOSE_CMD) return;
  // A session left open after a failure and dropped later by the modem is
  // no news, and must not clear the status of whatever runs by then.
  if (!ours) return;
  f.SetBusyState(0);
  f.ui().msgBox(std::string("FTP connection was suddenly closed.") + kCrLf + kCrLf +
                    "Remove power and reapply power to the Satellite IP Modem," +
                    " then repeat last operation.",
                MsgExclamation, kUpgraderTitle);
  f.SetStatus("");
}

void FtpChain::OnCompleted() {
  switch (f.lngFTPState) {
    case GET_BIN_CMD:
      if (Issue(GET_CHK_CMD, "GET /checksum.txt " + Quote(f.strBackupDir + frmMain::kSep + "chk_" +
                                                          f.strModemVersion + ".txt")))
        f.Progress.setValue(20);
      return;
    case GET_CHK_CMD:
      f.blnBackupDone = true;
      PutNewImage();
      return;
    case PUT_NEW_BIN_CMD: {
      const std::string chk = f.strHomeDir + "chk_" + f.strNewVersion + ".txt";
      if (FileExists(chk))
        Issue(PUT_NEW_CHK_CMD, "PUT " + Quote(chk) + " /checksum.txt");
      else
        Issue(UPDATE_DEL_CHK_CMD, "DELETE /checksum.txt");
      return;
    }
    case PUT_NEW_CHK_CMD:
    case UPDATE_DEL_CHK_CMD:
      AfterChecksumStored();
      return;
    case PUT_RESTORE_BIN_CMD: {
      const std::string chk =
          f.strBackupDir + frmMain::kSep + "chk_" + f.globals.strRestoreVersion + ".txt";
      if (FileExists(chk))
        Issue(PUT_RESTORE_CHK_CMD, "PUT " + Quote(chk) + " /checksum.txt");
      else
        Issue(RESTORE_DEL_CHK_CMD, "DELETE /checksum.txt");
      return;
    }
    case PUT_RESTORE_CHK_CMD:
    case RESTORE_DEL_CHK_CMD:
      Issue(RESTORE_DEL_CFG_CMD, "DELETE /config.txt");
      return;
    case RESTORE_DEL_CFG_CMD:
      Issue(RESTORE_DEL_CFG2_CMD, "DELETE /config.txt");
      return;
    case RESTORE_DEL_CFG2_CMD:
      FinishRestore();
      return;
    case GET_LOG_CMD:
      f.blnFTPDone = true;
      if (IssueClose()) f.SetStatus("Log downloaded");
      return;
    case PUT_UPGRADE_PIC_CMD:
      f.blnFTPDone = true;
      f.blnPicPending = true;
      if (f.blnFactory) {
        f.SetStatus("Deleting config file");
        Issue(UPDATE_DEL_CFG_CMD, "DELETE /config.txt");
        return;
      }
      if (!IssueClose()) return;
      f.SetStatus("PIC successfully uploaded! Wait...");
      f.Progress.setValue(40);
      f.tmrFiveSecDelay->setEnabled(true);
      return;
    case PUT_NEW_PIC_CMD:
      // The telnet exchange that follows has its own watchdogs.
      f.blnFTPDone = true;
      f.tmrFTPReq->setEnabled(false);
      f.lngFTPState = CLOSE_CMD;
      if (!Execute("CLOSE")) return;
      f.SetStatus("PIC successfully uploaded! Wait...");
      f.Progress.setValue(40);
      f.StartPicReflash();
      return;
    case UPDATE_DEL_CFG_CMD:
      FinishUpgrade();
      return;
    default:
      ChainFailed(
          "Upgrade failed.  Click OK and close the upgrader.  "
          "Check connection before retrying upgrade.  Upgrader FTP state = " +
          std::to_string(f.lngFTPState));
      return;
  }
}

void FtpChain::OnError() {
  const int code = f.inetFTP->responseCode();
  switch (code) {
    case FtpClient::kTimeout:
      f.blnFTPDone = true;
      f.inetFTP->cancel();
      f.SetBusyState(0);
      f.SetStatus("FTP Timeout. Checking connection.....");
      f.strModemVersion = kUnknownVersion;
      f.blnFTPTimeout = true;
      f.QuerySoftwareVersion();  // reports the time-out when it ends
      return;
    case FtpClient::kServerRefused:
      OnServerRefused();
      return;
    case FtpClient::kLoginRefused:
      ChainFailed("Incorrect Username or Password!");
      return;
    case FtpClient::kCannotConnect:
      f.blnFTPDone = true;
      f.inetFTP->cancel();
      ChainFailed("Can not connect to Satellite IP Modem. Please check cable connection and retry.");
      f.strModemVersion = kUnknownVersion;
      return;
    default: {
      const std::string info = f.inetFTP->responseInfo();
      f.blnFTPDone = true;
      f.inetFTP->cancel();
      ChainFailed(std::string(kUnexpected) + kCrLf + "Operation cancelled." + kCrLf + kCrLf +
                  "Error Code:  " + std::to_string(code) + " : " + info);
      f.strModemVersion = kUnknownVersion;
      return;
    }
  }
}

// The modem's server refused the command (typically: no such file).
void FtpChain::OnServerRefused() {
  switch (f.lngFTPState) {
    case GET_BIN_CMD:
    case GET_CHK_CMD:
      // Nothing to back up: the upgrade goes on without a backup.
      PutNewImage();
      return;
    case RESTORE_DEL_CFG_CMD:
      Issue(RESTORE_DEL_CFG2_CMD, "DELETE /config.txt");
      return;
    case RESTORE_DEL_CFG2_CMD:
      // The first deletion already removed the file.
      FinishRestore();
      return;
    case UPDATE_DEL_CHK_CMD:
    case UPDATE_DEL_CFG_CMD:
      FinishUpgrade();
      return;
    case RESTORE_DEL_CHK_CMD:
      Issue(RESTORE_DEL_CFG_CMD, "DELETE /config.txt");
      return;
    case GET_LOG_CMD:
      f.blnFTPDone = true;
      f.SetBusyState(0);
      f.SetStatus("Log file doesn't exist.");
      return;
    default:
      ChainFailed(std::string(kUnexpected) + " Operation cancelled." + kCrLf + kCrLf +
                  "Error Code:  " + std::to_string(f.inetFTP->responseCode()) + " : " +
                  f.inetFTP->responseInfo());
      return;
  }
}

// ---- Watchdog ----

// 65 s without an outcome for one command: abandon the chain and let the
// version query tell whether the modem is still there.
void FtpChain::tmrFTPReq_Timer() {
  f.tmrFTPReq->setEnabled(false);
  f.blnFTPDone = true;
  CancelRequest();
  f.SetBusyState(0);
  f.SetStatus("Timer expired. Checking connection....");
  f.blnFTPTimeout = true;
  f.strModemVersion = kUnknownVersion;
  f.QuerySoftwareVersion();
}
