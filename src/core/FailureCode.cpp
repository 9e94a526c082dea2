#include "core/FailureCode.h"

#include "platform/Platform.h"

namespace {
using C = FailureCode;
constexpr FailureCodeRow kFailureRows[] = {
    {C::Unreachable, "unreachable"},
    {C::NoAddress, "no-address"},
    {C::ConnectionLost, "connection-lost"},
    {C::VersionUnknown, "version-unknown"},
    {C::FtpTimeout, "ftp-timeout"},
    {C::FtpLoginRefused, "ftp-login-refused"},
    {C::FtpRefused, "ftp-refused"},
    {C::FtpError, "ftp-error"},
    {C::TransferCut, "transfer-cut"},
    {C::TimedOut, "timed-out"},
    {C::DiskFull, "disk-full"},
    {C::ResetFailed, "reset-failed"},
    {C::PortUnreachable, "port-unreachable"},
    {C::ConsoleBusy, "console-busy"},
    {C::ReflashFailed, "reflash-failed"},
    {C::AtFailed, "at-failed"},
    {C::DnsRefused, "dns-refused"},
    {C::ReleaseRefused, "release-refused"},
    {C::ReleaseIncompatible, "release-incompatible"},
    {C::FileMissing, "file-missing"},
    {C::FileUnreadable, "file-unreadable"},
    {C::NoBackup, "no-backup"},
    {C::ImageEmpty, "image-empty"},
    {C::BackupFailed, "backup-failed"},
    {C::BackupFolderBusy, "backup-folder-busy"},
    {C::BackupAltered, "backup-altered"},
    {C::PcAddress, "pc-address"},
    {C::OldImagePutBack, "old-image-put-back"},
    {C::ImageIncomplete, "image-incomplete"},
    {C::VerifyMismatch, "verify-mismatch"},
    {C::UploadUnfinished, "upload-unfinished"},
    {C::ModemInUse, "modem-in-use"},
    {C::WrongVersionAfter, "wrong-version-after"},
    {C::Interrupted, "interrupted"},
    {C::BadArgument, "bad-argument"},
    {C::InterfaceUnusable, "interface-unusable"},
    {C::InterfaceGone, "interface-gone"},
    {C::FolderUnusable, "folder-unusable"},
    {C::ChecksFailed, "checks-failed"},
    {C::StationDied, "station-died"},
};
}  // namespace

std::span<const FailureCodeRow> FailureCodes() { return kFailureRows; }

const char* FailureCodeText(FailureCode code) {
  for (const auto& row : kFailureRows)
    if (row.code == code) return row.text;
  return "";
}

std::optional<FailureCode> FailureCodeNamed(std::string_view text) {
  for (const auto& row : kFailureRows)
    if (text == row.text) return row.code;
  return std::nullopt;
}

std::optional<FailureCode> FailureCodeOf(const Notice& notice) {
  using K = Notice::Kind;
  switch (notice.kind) {
    case K::ContinueWithoutVersion:
    case K::ReflashCompleted:
      return std::nullopt;
    case K::EnterAddress:
    case K::EnterAddressCapitalA:
      return C::NoAddress;
    case K::SocketError:
    case K::ZingConnectionLost:
      return C::ConnectionLost;
    case K::Unreachable:
    case K::FtpTimeoutUnreachable:
    case K::FtpCannotConnect:
      return C::Unreachable;
    case K::FtpTimeoutAfterReply:
    case K::FtpTimeoutReachable:
      return C::FtpTimeout;
    case K::ResetNotDelivered:
      return C::ResetFailed;
    case K::FtpServerRefused:
      return C::FtpRefused;
    case K::FtpUnexpected:
      return notice.number == FtpClient::kDiskFull ? C::DiskFull : C::FtpError;
    case K::FtpWrongState:
      return C::FtpError;
    case K::FtpLoginRefused:
      return C::FtpLoginRefused;
    case K::FtpDropped:
    case K::TransferStalled:
      return C::TransferCut;
    case K::BackupTimedOut:
    case K::UploadTimedOut:
    case K::LogTimedOut:
    case K::VerifyTimedOut:
      return C::TimedOut;
    case K::ConnectFailed:
    case K::PicCommandNotSent:
      return C::PortUnreachable;
    case K::ConsoleBusy:
      return C::ConsoleBusy;
    case K::ReflashFailed:
      return C::ReflashFailed;
    case K::DnsUnsendable:
      return C::BadArgument;
    case K::AtNotSent:
    case K::AtNoAnswer:
    case K::AtClosed:
    case K::AtUnreadable:
    case K::AtWrongState:
      return C::AtFailed;
    case K::DnsUnverifiable:
    case K::DnsRefused:
    case K::Dns2Refused:
      return C::DnsRefused;
    case K::SeriesConflict:
    case K::ReleaseIncompatible:
      return C::ReleaseIncompatible;
    case K::ReleaseRefused:
      return C::ReleaseRefused;
    case K::NoChecksumForUpgrade:
    case K::NoChecksumForRestore:
    case K::NoPicFile:
      return C::FileMissing;
    case K::LocalFileUnreadable:
      return C::FileUnreadable;
    case K::NoOldVersions:
      return C::NoBackup;
    case K::EmptyImage:
      return C::ImageEmpty;
    case K::BackupEmpty:
    case K::BackupNotKept:
      return C::BackupFailed;
    case K::BackupFolderBusy:
      return C::BackupFolderBusy;
    case K::BackupAltered:
      return C::BackupAltered;
    case K::PipeFailed:
    case K::CommandNotFound:
    case K::CommandTimedOut:
    case K::SetAddressManually:
      return C::PcAddress;
    case K::OldImagePutBack:
      return C::OldImagePutBack;
    case K::ImageIncomplete:
      return C::ImageIncomplete;
    case K::PicNotStored:
      return C::VerifyMismatch;
    case K::UnfinishedUpload:
    case K::RestartRefusedUnfinished:
      return C::UploadUnfinished;
    case K::ModemInUse:
      return C::ModemInUse;
    case K::WrongVersionAfter:
      return C::WrongVersionAfter;
  }
  return C::FtpError;
}
