// The FTP command chain: each next command is issued from the completion
// notification of the previous one, and tmrFTPReq guards every command.
//
// Starting a chain (upgrade, restore, PIC-only upload, log download):
//
//   f.SetBusyState(1);                       // and the caller's own status text
//   f.ftpChain->StartChain(FtpChain::GET_BIN_CMD,
//                          "GET /bin/kova.bin " + FtpChain::Quote(localPath));
//
// StartChain sets lngFTPState to the entry code, clears blnFTPDone, points
// inetFTP at strModemIP, enables tmrFTPReq and executes the command. The
// chain then runs on its own and sets blnFTPDone at every end, good or bad.
// Entry codes: GET_BIN_CMD 1, PUT_NEW_BIN_CMD 3, PUT_RESTORE_BIN_CMD 5,
// GET_LOG_CMD 13, PUT_NEW_PIC_CMD 15. A command the client refuses at once
// is reported like an unexpected FTP error (message, busy off, status
// cleared, blnFTPDone) and StartChain returns false.
//
// A caller that abandons a chain on its own time-out calls CancelRequest()
// (instead of inetFTP->cancel()), so that the chain forgets the command.
#pragma once

#include <cstdint>
#include <string>

class frmMain;
struct PlatformError;

class FtpChain {
 public:
  // lngFTPState codes (11 is not used).
  enum : std::int32_t {
    NO_CMD = 0,
    GET_BIN_CMD = 1,
    GET_CHK_CMD = 2,
    PUT_NEW_BIN_CMD = 3,
    PUT_NEW_CHK_CMD = 4,
    PUT_RESTORE_BIN_CMD = 5,
    PUT_RESTORE_CHK_CMD = 6,
    RESTORE_DEL_CFG_CMD = 7,
    RESTORE_DEL_CFG2_CMD = 8,
    UPDATE_DEL_CHK_CMD = 9,
    RESTORE_DEL_CHK_CMD = 10,
    CLOSE_CMD = 12,
    GET_LOG_CMD = 13,
    PUT_UPGRADE_PIC_CMD = 14,
    PUT_NEW_PIC_CMD = 15,
    UPDATE_DEL_CFG_CMD = 16,
  };

  explicit FtpChain(frmMain& f);

  // Returns false when the command was refused at once (already reported).
  bool StartChain(std::int32_t code, const std::string& command);
  // Abandons the outstanding command and closes the session, silently.
  void CancelRequest();
  // A local path as it goes into a command text: in double quotes.
  static std::string Quote(const std::string& path);

  void inetFTP_StateChanged(int state);
  void tmrFTPReq_Timer();

 private:
  void OnCompleted();
  void OnError();
  void OnServerRefused();
  void OnDisconnected();

  // Sets lngFTPState, enables tmrFTPReq and executes; false when refused.
  bool Issue(std::int32_t code, const std::string& command);
  bool Execute(const std::string& command);
  bool IssueClose();
  void PutNewImage();
  void AfterChecksumStored();
  void FinishUpgrade();
  void FinishRestore();
  void ChainFailed(const std::string& message);
  void Refused(const PlatformError& e);

  std::string NewImageCommand() const;

  frmMain& f;
  // A command of ours awaits its outcome. "CLOSE" does not count: nothing
  // that answers it can change the outcome of the chain.
  bool outstanding_ = false;
};
