// Scripted modem peers for the simulated network.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/SimNetwork.h"

// Accepts, refuses or ignores connections; the other peers build on it.
class BasicPeer : public SimPeer {
 public:
  Accept mode = Accept::Yes;
  long acceptDelay = 0;
  Accept accept() override { return mode; }
  long acceptDelayMs() override { return acceptDelay; }
};

// The ZING port: answers the version request, swallows the reset order.
class ZingPeer : public BasicPeer {
 public:
  std::string versionText = "5.2.0.12,build 7";
  long replyDelayMs = 10;
  bool silent = false;
  // When set, sent instead of the usual reply (in these pieces, 1 ms apart).
  std::vector<std::string> customPieces;
  // Request codes received, in order.
  std::vector<int> requests;
  // When set, the modem closes each connection this long after accepting.
  long accepted_close_after = -1;
  // When set, the version text the modem reports once it took a reset order.
  std::string afterReset;
  // Runs when the modem takes a reset order.
  std::function<void()> onReset;

  void onAccept(SimConnection& c) override {
    if (accepted_close_after >= 0) c.close(accepted_close_after);
  }

  static std::string VersionReply(const std::string& text, bool zeroEnd = true) {
    std::string r("\x00\x00\x10\x04\x00\x00\x00\x00", 8);
    r += text;
    if (zeroEnd) r += '\0';
    return r;
  }

  void onData(SimConnection& c, const std::string& bytes) override {
    pending_ += bytes;
    while (pending_.size() >= 4) {
      int code = (static_cast<unsigned char>(pending_[2]) << 8) |
                 static_cast<unsigned char>(pending_[3]);
      pending_.erase(0, 4);
      requests.push_back(code);
      if (code == 13 && !afterReset.empty()) versionText = afterReset;
      if (code == 13 && onReset) onReset();
      if (code != 4 || silent) continue;
      if (!customPieces.empty()) {
        long t = replyDelayMs;
        for (auto& p : customPieces) c.send(p, t++);
      } else {
        c.send(VersionReply(versionText), replyDelayMs);
      }
    }
  }

 private:
  std::string pending_;
};

// A server that greets first (the FTP port as the probe sees it).
class GreetingPeer : public BasicPeer {
 public:
  std::string greeting = "220 FTP server ready.\r\n";
  long greetDelayMs = 5;
  bool silent = false;
  void onAccept(SimConnection& c) override {
    if (!silent) c.send(greeting, greetDelayMs);
  }
};
