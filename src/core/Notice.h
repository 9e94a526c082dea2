// What the user must be told of, reported by the part of the tool that met
// it: a message box in the window, a line on standard error in batch mode.
// The words, icon and title are the presenter's; a notice carries what
// happened and its details.
#pragma once

#include <string>

#include "platform/Text.h"

struct Notice {
  enum class Kind {
    // No modem address to connect to ("IP address." / "IP Address.").
    EnterAddress,
    EnterAddressCapitalA,
    // The ZING channel and the FTP-port probe. SocketError: detail holds the
    // socket's own description of an error.
    SocketError,
    ZingConnectionLost,
    ContinueWithoutVersion,
    Unreachable,
    FtpTimeoutAfterReply,
    FtpTimeoutReachable,
    FtpTimeoutUnreachable,
    ResetNotDelivered,
    // The FTP chain. number: the response code (or the state); detail: the
    // response text.
    FtpServerRefused,
    FtpUnexpected,
    FtpLoginRefused,
    FtpCannotConnect,
    FtpWrongState,
    FtpDropped,
    // An operation gave up waiting for its chain.
    BackupTimedOut,
    UploadTimedOut,
    LogTimedOut,
    VerifyTimedOut,
    // The telnet console and the AT port.
    ConnectFailed,
    PicCommandNotSent,
    ConsoleBusy,
    ReflashCompleted,
    ReflashFailed,
    DnsUnsendable,
    AtNotSent,
    AtNoAnswer,
    AtClosed,
    AtUnreadable,
    DnsUnverifiable,
    DnsRefused,
    Dns2Refused,
    AtWrongState,  // number: the reply state
    // Checks before an operation sends anything.
    SeriesConflict,
    NoChecksumForUpgrade,
    NoOldVersions,
    NoChecksumForRestore,
    NoPicFile,  // detail: the home directory
    // An image that would leave the modem without software. detail: its path.
    EmptyImage,
    // A file the operation would send cannot be opened for reading. detail:
    // its path; extra: the system's reason.
    LocalFileUnreadable,
    // The backup came back empty (detail: the modem's file), could not be
    // stored (detail: why), or the backup folder stayed held by another
    // process (detail: what it does): the upgrade stops before anything is
    // sent.
    BackupEmpty,
    BackupNotKept,
    BackupFolderBusy,
    // The PC's own address. number: the system's error; detail: the command.
    PipeFailed,
    CommandNotFound,
    CommandTimedOut,
    SetAddressManually,
    // An upload that breaks is sent again, or the old image put back. What
    // broke a transfer that is being repaired: no data moved in time.
    TransferStalled,
    // The end of an upgrade or restore that could not write its image whole.
    // detail: the version put back; extra: the modem's address.
    OldImagePutBack,
    ImageIncomplete,
    // pic.hex did not read back as sent: no reflash. detail: the modem's file.
    PicNotStored,
    // An upload to this modem began and never ended (a crash, a power cut, or
    // nothing could be written). detail: when it began; extra: the modem.
    UnfinishedUpload,
    // A restart refused while the modem's image is not whole (as above).
    RestartRefusedUnfinished,
    // Another process of this tool works on the modem. detail: which
    // process and what it does; extra: the modem.
    ModemInUse,
    // The release is not one the operator trusts (detail: exactly what did
    // not match), may not go over the running version (detail: why), or a
    // backup differs from what was recorded when it was kept (detail: why).
    ReleaseRefused,
    ReleaseIncompatible,
    BackupAltered,
    // The modem came back with another version than the one sent. detail:
    // the version it reports; number: 0 upgrade, 1 restore; extra: the
    // version sent.
    WrongVersionAfter,
  };

  Kind kind;
  Text detail = {};
  long long number = 0;
  std::string extra = {};

  // Notices that tell of a failure, as opposed to news on the way (the
  // reflash completed, an upgrade may go on without the version).
  bool failure() const {
    return kind != Kind::ContinueWithoutVersion && kind != Kind::ReflashCompleted;
  }
};

// Where notices go: the presenter of the window or of batch mode.
class NoticeSink {
 public:
  virtual ~NoticeSink() = default;
  virtual void report(const Notice& notice) = 0;
};
