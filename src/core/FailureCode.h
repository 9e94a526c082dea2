// Why an operation failed, as a value: one code per failed result, written
// in the JSON result and the history as its wire text. Hints and exit codes
// are chosen by code; the message beside it is for people.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/Notice.h"

enum class FailureCode {
  Unreachable,
  NoAddress,
  ConnectionLost,
  VersionUnknown,
  FtpTimeout,
  FtpLoginRefused,
  FtpRefused,
  FtpError,
  TransferCut,
  TimedOut,
  DiskFull,
  ResetFailed,
  PortUnreachable,
  ConsoleBusy,
  ReflashFailed,
  AtFailed,
  DnsRefused,
  ReleaseRefused,
  ReleaseIncompatible,
  FileMissing,
  FileUnreadable,
  NoBackup,
  ImageEmpty,
  BackupFailed,
  BackupFolderBusy,
  BackupAltered,
  PcAddress,
  OldImagePutBack,
  ImageIncomplete,
  VerifyMismatch,
  UploadUnfinished,
  ModemInUse,
  WrongVersionAfter,
  Interrupted,
  BadArgument,
  InterfaceUnusable,
  InterfaceGone,
  FolderUnusable,
  ChecksFailed,
  StationDied,
};

struct FailureCodeRow {
  FailureCode code;
  const char* text;  // "ftp-login-refused"
};

// Every code with its wire text, in the order of the enum.
std::span<const FailureCodeRow> FailureCodes();
const char* FailureCodeText(FailureCode code);
std::optional<FailureCode> FailureCodeNamed(std::string_view text);
// The code of a notice that tells of a failure; nullopt for news.
std::optional<FailureCode> FailureCodeOf(const Notice& notice);
