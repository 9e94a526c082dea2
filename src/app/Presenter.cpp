#include "app/Presenter.h"

#include "core/Texts.h"

namespace {
using Kind = Notice::Kind;

const std::string kRetry = std::string("Remove power and reapply power to the Satellite IP Modem.") +
                           kCrLf + "Get software version using Tools menu before retrying." +
                           kCrLf + "Close and restart Upgrader if error repeats.";
const std::string kUnable = std::string("Unable to get Satellite IP Modem's software version.") +
                            kCrLf + kCrLf;
const std::string kCable = std::string("Please check the cable connection.") + kCrLf + kRetry;
const std::string kCheckAt = std::string(kCrLf) + "Please check cable connections." + kCrLf +
                             "Remove and reapply power to the modem." + kCrLf +
                             "Use Tool menu to check DNS addresses.";
const std::string kUnexpected = "An unexpected FTP error occurred.";

Box Warning(std::string text, const char* title = kUpgraderTitle) {
  return {std::move(text), MsgExclamation, title};
}
}  // namespace

Box BoxFor(const Notice& n) {
  const std::string number = std::to_string(n.number);
  switch (n.kind) {
    case Kind::EnterAddress:
      return {"Please enter Satellite IP Modem's IP address.", MsgInformation, kAppTitle};
    case Kind::EnterAddressCapitalA:
      return {"Please enter Satellite IP Modem's IP Address.", MsgInformation, kAppTitle};
    case Kind::SocketError:
      // The socket's own error display.
      return Warning(n.detail, kAppTitle);
    case Kind::ZingConnectionLost:
      return {"Satellite IP Modem closed the connection. Connection lost.", MsgCritical, "Error"};
    case Kind::ContinueWithoutVersion:
      return {kUnable + "Upgrade process can be continued.", MsgInformation, kUpgraderTitle};
    case Kind::Unreachable:
      return Warning(kUnable + kCable);
    case Kind::FtpTimeoutAfterReply:
      return Warning(std::string("FTP timeout.") + kCrLf + kCrLf + kRetry);
    case Kind::FtpTimeoutReachable:
      return Warning(std::string("FTP timeout.") + kCrLf + kCrLf + kRetry + kCrLf, kAppTitle);
    case Kind::FtpTimeoutUnreachable:
      return Warning(std::string("FTP timeout.") + kCrLf +
                     "Can not connect to the Satellite IP Modem." + kCrLf + kCrLf + kCable);
    case Kind::ResetNotDelivered:
      return Warning(std::string("Unable to reset Satellite IP Modem.") + kCrLf + kCrLf +
                     "Remove power and reapply power to the Satellite IP Modem.");
    case Kind::FtpServerRefused:
      return Warning(kUnexpected + " Operation cancelled." + kCrLf + kCrLf + "Error Code:  " +
                     number + " : " + n.detail);
    case Kind::FtpUnexpected:
      return Warning(kUnexpected + kCrLf + "Operation cancelled." + kCrLf + kCrLf +
                     "Error Code:  " + number + " : " + n.detail);
    case Kind::FtpLoginRefused:
      return Warning("Incorrect Username or Password!");
    case Kind::FtpCannotConnect:
      return Warning("Can not connect to Satellite IP Modem. Please check cable connection and retry.");
    case Kind::FtpWrongState:
      return Warning(
          "Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying "
          "upgrade.  Upgrader FTP state = " +
          number);
    case Kind::FtpDropped:
      return Warning(std::string("FTP connection was suddenly closed.") + kCrLf + kCrLf +
                     "Remove power and reapply power to the Satellite IP Modem," +
                     " then repeat last operation.");
    case Kind::BackupTimedOut:
      return Warning(std::string("Upgrade failed. Click OK and close the upgrader.  ") +
                     "Check connection before retrying upgrade.");
    case Kind::UploadTimedOut:
      return Warning(std::string("Upgrade failed.  Click OK and close the upgrader.  ") +
                     "Turn the Satellite IP Modem off and on again before retrying upgrade.");
    case Kind::LogTimedOut:
      return Warning(std::string("Syslog file downloading failed.  Click OK and close the "
                                 "upgrader.  ") +
                     "Check connection before retrying.");
    case Kind::VerifyTimedOut:
      return Warning("Reading the modem's image failed.");
    case Kind::ConnectFailed:
      return Warning(kConnectFailedText);
    case Kind::PicCommandNotSent:
      return Warning(std::string("Can not send command to upgrade the PIC. ") + kCrLf +
                     "Please check cable connections, remove and reapply power to the modem." +
                     kCrLf + "Repeat upgrade process.");
    case Kind::ConsoleBusy:
      return Warning(std::string("Telnet did not respond.") + kCrLf +
                     "Please terminate any active Telnet connections.");
    case Kind::ReflashCompleted:
      return Warning(std::string("Upgrade Completed.") + kCrLf +
                     "Click OK and wait until we get software version.");
    case Kind::ReflashFailed:
      return Warning(std::string("PIC Upgrade failed.  Click OK and try again.  ") +
                     "If it fail again, call support.");
    case Kind::DnsUnsendable:
      return Warning(kUnsendableDnsMessage);
    case Kind::AtNotSent:
      return Warning("The AT command could not be sent." + kCheckAt);
    case Kind::AtNoAnswer:
      return Warning("The modem did not answer the AT command." + kCheckAt);
    case Kind::AtClosed:
      return Warning("The modem closed the AT connection without answering." + kCheckAt);
    case Kind::AtUnreadable:
      return Warning("The modem's answer to the AT command could not be read." + kCheckAt);
    case Kind::DnsUnverifiable:
      return {std::string("Can't verify DNS address.") + kCrLf + kCrLf +
                  "Check if SIM card is inserted correctly." + kCrLf +
                  "Reset Modem and repeat command." + kCrLf,
              MsgCritical, kUpgraderTitle};
    case Kind::DnsRefused:
      return {std::string("Wrong DNS adress.") + kCrLf, MsgCritical, kUpgraderTitle};
    case Kind::Dns2Refused:
      return {std::string("Wrong DNS2 adress.") + kCrLf, MsgCritical, kUpgraderTitle};
    case Kind::AtWrongState:
      return {"Data arrival from AT in wrong state " + number, MsgOkOnly, "Error"};
    case Kind::SeriesConflict:
      return {"Release Series conflict detected. Upgrade not possible.", MsgCritical, kAppTitle};
    case Kind::NoChecksumForUpgrade:
      return Warning("We can't load this version because checksum file doesn't exist.");
    case Kind::NoOldVersions:
      return Warning("No old versions are available.", kAppTitle);
    case Kind::NoChecksumForRestore:
      return Warning("We can't restore this version because checksum file doesn't exist.");
    case Kind::NoPicFile:
      return Warning("Unable to find pic.hex in home directory " + n.detail + "." + kCrLf +
                         "Please copy PIC file in " + n.detail,
                     kAppTitle);
    case Kind::EmptyImage:
      return Warning("The image " + n.detail +
                     " is empty: it would leave the modem without software. Nothing was sent to "
                     "the modem.");
    case Kind::BackupEmpty:
      return Warning("The modem's file " + n.detail +
                     " came back empty, so its software could not be backed up." + kCrLf +
                     "The upgrade stopped before anything was sent to the modem.");
    case Kind::BackupNotKept:
      return Warning("The backup of the modem's software could not be stored:" +
                     std::string(kCrLf) + n.detail + kCrLf +
                     "The upgrade stopped before anything was sent to the modem.");
    case Kind::BackupFolderBusy:
      return Warning("The backup folder was not free within 60 seconds: " + n.detail + "." +
                     std::string(kCrLf) +
                     "The upgrade stopped before anything was sent to the modem.");
    case Kind::PipeFailed:
      return {"CreatePipe failed. Error: " + number, MsgCritical, kAppTitle};
    case Kind::CommandNotFound:
      return {"Command not found", MsgCritical, kAppTitle};
    case Kind::CommandTimedOut:
      return {"The command did not finish within a minute and was ended:" + std::string(kCrLf) +
                  n.detail + kCrLf + kCrLf + "The PC address was not changed.",
              MsgCritical, kAppTitle};
    case Kind::SetAddressManually:
      return Warning("Please change your local IP address manually to 192.168.128.101",
                     "Wrong local IP address");
    case Kind::TransferStalled:
      return Warning("No data moved between the PC and the modem for 65 seconds.");
    case Kind::OldImagePutBack:
      return Warning("The new software could not be written whole to the Satellite IP Modem at " +
                     n.extra + "." + kCrLf + "Its previous software " + n.detail +
                     " was put back and read back intact; the modem runs it as before." + kCrLf +
                     kCrLf + "Check the connection, then repeat the operation.");
    case Kind::ImageIncomplete:
      return Warning("The software image on the Satellite IP Modem at " + n.extra +
                     " is incomplete: the transfer broke, and neither the new nor the previous "
                     "software could be written whole." +
                     kCrLf + kCrLf + "Do not switch the modem off." + kCrLf +
                     "Repeat the operation as soon as the modem answers.");
    case Kind::PicNotStored:
      return Warning("The PIC file did not reach the modem intact (" + n.detail +
                     " read back differs from pic.hex). The PIC was not reflashed." + kCrLf +
                     "Repeat the PIC upgrade.");
    case Kind::UnfinishedUpload:
      return Warning("An upload to the Satellite IP Modem at " + n.extra + " began at " +
                     n.detail + " and never ended: the modem's software image may be incomplete." +
                     kCrLf + kCrLf + "Do not switch the modem off." + kCrLf +
                     "Click Upgrade to send the image again, or Restore to put an older version "
                     "back.");
    case Kind::RestartRefusedUnfinished:
      return Warning("The Satellite IP Modem at " + n.extra +
                     " was not restarted: its software image is incomplete (an upload that began "
                     "at " + n.detail + " never ended), and it would not start again." +
                     kCrLf + kCrLf +
                     "Upgrade it again, or restore an older version, before restarting it.");
    case Kind::ModemInUse:
      return Warning("Another process of this tool is working on the Satellite IP Modem at " +
                     n.extra + ": " + n.detail + "." + kCrLf +
                     "Wait until it has finished, then try again.");
    case Kind::ReleaseRefused:
      return {"The new software is not installed: " + n.detail + kCrLf +
                  "Nothing was sent to the modem.",
              MsgCritical, kAppTitle};
    case Kind::ReleaseIncompatible:
      return {"The new software is not installed: " + n.detail + kCrLf +
                  "Nothing was sent to the modem.",
              MsgCritical, kAppTitle};
    case Kind::BackupAltered:
      return {"The backup is not restored: " + n.detail + kCrLf + "Nothing was sent to the modem.",
              MsgCritical, kAppTitle};
    case Kind::WrongVersionAfter:
      return Warning("The modem reports version " + n.detail + " after the " +
                     (n.number == 0 ? "upgrade" : "restore") + ", not " + n.extra + ".");
  }
  return Warning(n.detail);
}

Box StaticAddressQuestion(const std::string& pcAddress) {
  return {"Can not connect to modem using existing PC address " + pcAddress + kCrLf + kCrLf +
              "Upgrader will set static IP address 192.168.128.101 for yor computer." + kCrLf +
              kCrLf + "                 Do you want to proceed?",
          MsgExclamation | MsgYesNo, "Wrong local IP address"};
}

void Presenter::report(const Notice& notice) {
  if (audience_ == Audience::Console && notice.kind == Notice::Kind::ReflashCompleted) return;
  const Box box = BoxFor(notice);
  ui_.msgBox(box.text, box.style, box.title);
}
