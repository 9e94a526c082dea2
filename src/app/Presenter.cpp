#include "app/Presenter.h"

#include "core/Texts.h"

namespace {
using Kind = Notice::Kind;

Box Warning(Text text, const char* title = kUpgraderTitle) {
  return {std::move(text), MsgExclamation, title};
}
}  // namespace

// Each box is one source text, so that a language can say it whole.
Box BoxFor(const Notice& n) {
  switch (n.kind) {
    case Kind::EnterAddress:
      return {"Please enter Satellite IP Modem's IP address."_t, MsgInformation, kAppTitle};
    case Kind::EnterAddressCapitalA:
      return {"Please enter Satellite IP Modem's IP Address."_t, MsgInformation, kAppTitle};
    case Kind::SocketError:
      // The socket's own error display.
      return Warning(n.detail, kAppTitle);
    case Kind::ZingConnectionLost:
      return {"Satellite IP Modem closed the connection. Connection lost."_t, MsgCritical,
              "Error"_t};
    case Kind::ContinueWithoutVersion:
      return {
          "Unable to get Satellite IP Modem's software version.\r\n\r\n"
          "Upgrade process can be continued."_t,
          MsgInformation, kUpgraderTitle};
    case Kind::Unreachable:
      return Warning(
          "Unable to get Satellite IP Modem's software version.\r\n\r\n"
          "Please check the cable connection.\r\n"
          "Remove power and reapply power to the Satellite IP Modem.\r\n"
          "Get software version using Tools menu before retrying.\r\n"
          "Close and restart Upgrader if error repeats."_t);
    case Kind::FtpTimeoutAfterReply:
      return Warning(
          "FTP timeout.\r\n\r\n"
          "Remove power and reapply power to the Satellite IP Modem.\r\n"
          "Get software version using Tools menu before retrying.\r\n"
          "Close and restart Upgrader if error repeats."_t);
    case Kind::FtpTimeoutReachable:
      return Warning(
          "FTP timeout.\r\n\r\n"
          "Remove power and reapply power to the Satellite IP Modem.\r\n"
          "Get software version using Tools menu before retrying.\r\n"
          "Close and restart Upgrader if error repeats.\r\n"_t,
          kAppTitle);
    case Kind::FtpTimeoutUnreachable:
      return Warning(
          "FTP timeout.\r\n"
          "Can not connect to the Satellite IP Modem.\r\n\r\n"
          "Please check the cable connection.\r\n"
          "Remove power and reapply power to the Satellite IP Modem.\r\n"
          "Get software version using Tools menu before retrying.\r\n"
          "Close and restart Upgrader if error repeats."_t);
    case Kind::ResetNotDelivered:
      return Warning(
          "Unable to reset Satellite IP Modem.\r\n\r\n"
          "Remove power and reapply power to the Satellite IP Modem."_t);
    case Kind::FtpServerRefused:
      return Warning(Text("An unexpected FTP error occurred. Operation cancelled.\r\n\r\n"
                          "Error Code:  %1 : %2"_t)
                         .arg(n.number)
                         .arg(n.detail));
    case Kind::FtpUnexpected:
      return Warning(Text("An unexpected FTP error occurred.\r\nOperation cancelled.\r\n\r\n"
                          "Error Code:  %1 : %2"_t)
                         .arg(n.number)
                         .arg(n.detail));
    case Kind::FtpLoginRefused: return Warning("Incorrect Username or Password!"_t);
    case Kind::FtpCannotConnect:
      return Warning(
          "Can not connect to Satellite IP Modem. Please check cable connection and retry."_t);
    case Kind::FtpWrongState:
      return Warning(Text("Upgrade failed.  Click OK and close the upgrader.  Check connection "
                          "before retrying upgrade.  Upgrader FTP state = %1"_t)
                         .arg(n.number));
    case Kind::FtpDropped:
      return Warning(
          "FTP connection was suddenly closed.\r\n\r\n"
          "Remove power and reapply power to the Satellite IP Modem, then repeat last "
          "operation."_t);
    case Kind::BackupTimedOut:
      return Warning(
          "Upgrade failed. Click OK and close the upgrader.  Check connection before retrying "
          "upgrade."_t);
    case Kind::UploadTimedOut:
      return Warning(
          "Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off "
          "and on again before retrying upgrade."_t);
    case Kind::LogTimedOut:
      return Warning(
          "Syslog file downloading failed.  Click OK and close the upgrader.  Check connection "
          "before retrying."_t);
    case Kind::VerifyTimedOut: return Warning("Reading the modem's image failed."_t);
    case Kind::ConnectFailed:
      return Warning(kConnectFailedText);
    case Kind::PicCommandNotSent:
      return Warning(
          "Can not send command to upgrade the PIC. \r\n"
          "Please check cable connections, remove and reapply power to the modem.\r\n"
          "Repeat upgrade process."_t);
    case Kind::ConsoleBusy:
      return Warning(
          "Telnet did not respond.\r\n"
          "Please terminate any active Telnet connections."_t);
    case Kind::ReflashCompleted:
      return Warning(
          "Upgrade Completed.\r\n"
          "Click OK and wait until we get software version."_t);
    case Kind::ReflashFailed:
      return Warning(
          "PIC Upgrade failed.  Click OK and try again.  If it fail again, call support."_t);
    case Kind::DnsUnsendable:
      return Warning(kUnsendableDnsMessage);
    case Kind::AtNotSent:
      return Warning(
          "The AT command could not be sent.\r\n"
          "Please check cable connections.\r\n"
          "Remove and reapply power to the modem.\r\n"
          "Use Tool menu to check DNS addresses."_t);
    case Kind::AtNoAnswer:
      return Warning(
          "The modem did not answer the AT command.\r\n"
          "Please check cable connections.\r\n"
          "Remove and reapply power to the modem.\r\n"
          "Use Tool menu to check DNS addresses."_t);
    case Kind::AtClosed:
      return Warning(
          "The modem closed the AT connection without answering.\r\n"
          "Please check cable connections.\r\n"
          "Remove and reapply power to the modem.\r\n"
          "Use Tool menu to check DNS addresses."_t);
    case Kind::AtUnreadable:
      return Warning(
          "The modem's answer to the AT command could not be read.\r\n"
          "Please check cable connections.\r\n"
          "Remove and reapply power to the modem.\r\n"
          "Use Tool menu to check DNS addresses."_t);
    case Kind::DnsUnverifiable:
      return {
          "Can't verify DNS address.\r\n\r\n"
          "Check if SIM card is inserted correctly.\r\n"
          "Reset Modem and repeat command.\r\n"_t,
          MsgCritical, kUpgraderTitle};
    case Kind::DnsRefused: return {"Wrong DNS adress.\r\n"_t, MsgCritical, kUpgraderTitle};
    case Kind::Dns2Refused: return {"Wrong DNS2 adress.\r\n"_t, MsgCritical, kUpgraderTitle};
    case Kind::AtWrongState:
      return {Text("Data arrival from AT in wrong state %1"_t).arg(n.number), MsgOkOnly, "Error"_t};
    case Kind::SeriesConflict:
      return {"Release Series conflict detected. Upgrade not possible."_t, MsgCritical, kAppTitle};
    case Kind::NoChecksumForUpgrade:
      return Warning("We can't load this version because checksum file doesn't exist."_t);
    case Kind::NoOldVersions: return Warning("No old versions are available."_t, kAppTitle);
    case Kind::NoChecksumForRestore:
      return Warning("We can't restore this version because checksum file doesn't exist."_t);
    case Kind::NoPicFile:
      return Warning(Text("Unable to find pic.hex in home directory %1.\r\n"
                          "Please copy PIC file in %1"_t)
                         .arg(n.detail),
                     kAppTitle);
    case Kind::EmptyImage:
      return Warning(Text("The image %1 is empty: it would leave the modem without software. "
                          "Nothing was sent to the modem."_t)
                         .arg(n.detail));
    case Kind::LocalFileUnreadable:
      return Warning(Text("The file %1 cannot be read: %2.\r\n"
                          "Nothing was sent to the modem."_t)
                         .arg(n.detail)
                         .arg(n.extra));
    case Kind::BackupEmpty:
      return Warning(Text("The modem's file %1 came back empty, so its software could not be "
                          "backed up.\r\n"
                          "The upgrade stopped before anything was sent to the modem."_t)
                         .arg(n.detail));
    case Kind::BackupNotKept:
      return Warning(Text("The backup of the modem's software could not be stored:\r\n"
                          "%1\r\n"
                          "The upgrade stopped before anything was sent to the modem."_t)
                         .arg(n.detail));
    case Kind::BackupFolderBusy:
      return Warning(Text("The backup folder was not free within 60 seconds: %1.\r\n"
                          "The upgrade stopped before anything was sent to the modem."_t)
                         .arg(n.detail));
    case Kind::PipeFailed:
      return {Text("CreatePipe failed. Error: %1"_t).arg(n.number), MsgCritical, kAppTitle};
    case Kind::CommandNotFound: return {"Command not found"_t, MsgCritical, kAppTitle};
    case Kind::CommandTimedOut:
      return {Text("The command did not finish within a minute and was ended:\r\n"
                   "%1\r\n\r\n"
                   "The PC address was not changed."_t)
                  .arg(n.detail),
              MsgCritical, kAppTitle};
    case Kind::SetAddressManually:
      return Warning("Please change your local IP address manually to 192.168.128.101"_t,
                     "Wrong local IP address"_t);
    case Kind::TransferStalled:
      return Warning("No data moved between the PC and the modem for 65 seconds."_t);
    case Kind::OldImagePutBack:
      return Warning(Text("The new software could not be written whole to the Satellite IP "
                          "Modem at %1.\r\n"
                          "Its previous software %2 was put back and read back intact; the "
                          "modem runs it as before.\r\n\r\n"
                          "Check the connection, then repeat the operation."_t)
                         .arg(n.extra)
                         .arg(n.detail));
    case Kind::ImageIncomplete:
      return Warning(Text("The software image on the Satellite IP Modem at %1 is incomplete: "
                          "the transfer broke, and neither the new nor the previous software "
                          "could be written whole.\r\n\r\n"
                          "Do not switch the modem off.\r\n"
                          "Repeat the operation as soon as the modem answers."_t)
                         .arg(n.extra));
    case Kind::PicNotStored:
      return Warning(Text("The PIC file did not reach the modem intact (%1 read back differs "
                          "from pic.hex). The PIC was not reflashed.\r\n"
                          "Repeat the PIC upgrade."_t)
                         .arg(n.detail));
    case Kind::UnfinishedUpload:
      return Warning(Text("An upload to the Satellite IP Modem at %1 began at %2 and never "
                          "ended: the modem's software image may be incomplete.\r\n\r\n"
                          "Do not switch the modem off.\r\n"
                          "Click Upgrade to send the image again, or Restore to put an older "
                          "version back."_t)
                         .arg(n.extra)
                         .arg(n.detail));
    case Kind::RestartRefusedUnfinished:
      return Warning(Text("The Satellite IP Modem at %1 was not restarted: its software image "
                          "is incomplete (an upload that began at %2 never ended), and it "
                          "would not start again.\r\n\r\n"
                          "Upgrade it again, or restore an older version, before restarting "
                          "it."_t)
                         .arg(n.extra)
                         .arg(n.detail));
    case Kind::ModemInUse:
      return Warning(Text("Another process of this tool is working on the Satellite IP Modem "
                          "at %1: %2.\r\n"
                          "Wait until it has finished, then try again."_t)
                         .arg(n.extra)
                         .arg(n.detail));
    case Kind::ReleaseRefused:
    case Kind::ReleaseIncompatible:
      return {Text("The new software is not installed: %1\r\n"
                   "Nothing was sent to the modem."_t)
                  .arg(n.detail),
              MsgCritical, kAppTitle};
    case Kind::BackupAltered:
      return {
          Text("The backup is not restored: %1\r\nNothing was sent to the modem."_t).arg(n.detail),
          MsgCritical, kAppTitle};
    case Kind::WrongVersionAfter:
      return Warning(Text(n.number == 0
                              ? "The modem reports version %1 after the upgrade, not %2."_t
                              : "The modem reports version %1 after the restore, not %2."_t)
                         .arg(n.detail)
                         .arg(n.extra));
  }
  return Warning(n.detail);
}

Box StaticAddressQuestion(const std::string& pcAddress) {
  return {Text("Can not connect to modem using existing PC address %1\r\n\r\n"
               "Upgrader will set static IP address 192.168.128.101 for yor computer.\r\n\r\n"
               "                 Do you want to proceed?"_t)
              .arg(pcAddress),
          MsgExclamation | MsgYesNo, "Wrong local IP address"_t};
}

namespace {
// The boxes whose advice is to switch the modem off and on again.
bool AdvisesPowerCycle(Kind kind) {
  switch (kind) {
    case Kind::Unreachable:
    case Kind::FtpTimeoutAfterReply:
    case Kind::FtpTimeoutReachable:
    case Kind::FtpTimeoutUnreachable:
    case Kind::ResetNotDelivered:
    case Kind::FtpDropped:
    case Kind::UploadTimedOut:
    case Kind::PicCommandNotSent:
    case Kind::ConnectFailed:
    case Kind::AtNotSent:
    case Kind::AtNoAnswer:
    case Kind::AtClosed:
    case Kind::AtUnreadable: return true;
    default: return false;
  }
}
}  // namespace

void Presenter::report(const Notice& notice) {
  if (audience_ == Audience::Console && notice.kind == Notice::Kind::ReflashCompleted) return;
  // A power cycle would start the modem from half an image.
  const bool keepPowered =
      session_ && !session_->unfinishedUploadSince.empty() && AdvisesPowerCycle(notice.kind);
  const Box box =
      keepPowered
          ? Warning(Text("The Satellite IP Modem at %1 did not answer as expected, and its "
                         "software image is incomplete: an upload that began at %2 never "
                         "ended.\r\n\r\n"
                         "Do not switch the modem off: it would not start again.\r\n"
                         "Check the cable connection. As soon as the modem answers, click "
                         "Upgrade to send the image again, or Restore to put an older version "
                         "back."_t)
                        .arg(session_->modemAddress)
                        .arg(session_->unfinishedUploadSince))
          : BoxFor(notice);
  ui_.msgBox(box.text, box.style, box.title);
}
