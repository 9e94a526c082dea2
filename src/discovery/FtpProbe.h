// Reachability probe of the modem's FTP port: the server must greet within
// 2 s. Used when the ZING port stays silent.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Context.h"
#include "core/ModemLink.h"

class FtpProbe {
 public:
  enum class Result { Reachable, Unreachable };
  static constexpr int kGreetingLimitMs = 2000;

  FtpProbe(const Context& context, int ftpPort);

  // One probe at a time: a start while one runs is ignored.
  void start();
  // Ends a running probe quietly.
  void cancel();
  bool idle() const { return !timer_->enabled(); }

  // The outcome; errorDescription is the socket's own text when the
  // connection failed with an error event (empty otherwise).
  std::function<void(Result, const std::string& errorDescription)> onResult;

 private:
  void finish(Result result, const std::string& errorDescription);

  ModemLink link_;
  std::unique_ptr<Timer> timer_;
};
