// The phases an operation goes through, as the user and a script see them:
// named in the JSON stream, timed in the result and the station's lines.
#pragma once

enum class Phase {
  None,      // not begun
  Version,   // the version is read
  Prepare,   // the plan is checked and set up
  Backup,    // the running image is fetched
  Upload,    // the new files go up
  Verify,    // what went up is read back and compared
  Check,     // the modem's files are checked
  Restart,   // the modem restarts
  Requery,   // its version is read once it is back
  WaitBack,  // a slow modem is waited for between two questions
  Reflash,   // the PIC controller is reflashed
  Log,       // the system log comes down
  Dns,       // the DNS servers are read and written
  Address,   // the modem's address changes
};

inline const char* PhaseName(Phase phase) {
  switch (phase) {
    case Phase::None: return "";
    case Phase::Version: return "version";
    case Phase::Prepare: return "prepare";
    case Phase::Backup: return "backup";
    case Phase::Upload: return "upload";
    case Phase::Verify: return "verify";
    case Phase::Check: return "check";
    case Phase::Restart: return "restart";
    case Phase::Requery: return "requery";
    case Phase::WaitBack: return "wait-back";
    case Phase::Reflash: return "reflash";
    case Phase::Log: return "log";
    case Phase::Dns: return "dns";
    case Phase::Address: return "address";
  }
  return "";
}
