// Reachability probe of the modem's FTP port after a silent ZING port: the
// server must greet within 2 s.
#pragma once

#include <string>

class frmMain;

class FtpProbe {
 public:
  explicit FtpProbe(frmMain& f);
  void Start();
  bool waiting() const;

 private:
  void sckTest_DataArrival();
  void ProbeFailed();
  frmMain& f;
};
