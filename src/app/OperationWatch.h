// What one operation did, as the subsystems report it: the failures they
// told the user of, whether the modem was out of reach, what ended well, and
// each file that moved between the PC and the modem.
#pragma once

#include <string>
#include <vector>

class MainWindow;

class OperationWatch {
 public:
  struct FileMoved {
    bool download = false;  // from the modem to the PC
    std::string local;      // as the PC names it
    std::string remote;
    long long size = -1;    // -1: the file could not be read
    std::string sha256;
  };

  explicit OperationWatch(MainWindow& window);
  ~OperationWatch();
  OperationWatch(const OperationWatch&) = delete;
  OperationWatch& operator=(const OperationWatch&) = delete;

  int failures = 0;
  // Failures of the version query that say the modem did not answer.
  int unreachable = 0;
  int socketErrors = 0;
  int chainsFinished = 0;
  int reflashesCompleted = 0;
  // The user chose no version to restore: nothing was sent.
  bool nothingChosen = false;
  std::vector<FileMoved> files;

 private:
  MainWindow& w_;
  std::vector<int> ids_;
};
