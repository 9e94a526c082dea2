// The modem's AT port as the tests script it: an answer to each command
// line, in pieces.
#pragma once

#include <string>
#include <vector>

#include "sim/ModemPeers.h"

class AtPeer : public BasicPeer {
 public:
  struct Piece {
    std::string bytes;
    long delayMs;  // after the piece before it
  };

  static std::string DnsReply(const std::string& dns, const std::string& dns2) {
    return "DNS: " + dns + "\r\nDNS2: " + dns2 + "\r\nOK\r\n";
  }

  // Answers by command; an empty list is a modem that stays silent.
  std::vector<Piece> readAnswer = {{DnsReply("10.0.0.1", "10.0.0.2"), 20}};
  std::vector<Piece> dnsAnswer = {{"OK\r\n", 20}};
  std::vector<Piece> dns2Answer = {{"OK\r\n", 20}};
  std::vector<Piece> restartAnswer = {{"OK\r\n", 20}};
  // Sent on each accept, before any command (none by default).
  std::vector<Piece> greeting;
  // When set, the modem hangs up this long after its answer to the read.
  long hangUpAfterRead = -1;
  // Command lines received (without CR LF), in order, across connections.
  std::vector<std::string> lines;

  void onAccept(SimConnection& c) override { sendAll(c, greeting); }

  void onData(SimConnection& c, const std::string& bytes) override {
    pending_ += bytes;
    std::size_t end;
    while ((end = pending_.find("\r\n")) != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 2);
      lines.push_back(line);
      if (line == "AT_IHIP?") {
        long end = sendAll(c, readAnswer);
        if (hangUpAfterRead >= 0) c.close(end + hangUpAfterRead);
      } else if (line.rfind("AT_IHIP=\"DNS\",", 0) == 0)
        sendAll(c, dnsAnswer);
      else if (line.rfind("AT_IHIP=\"DNS2\",", 0) == 0)
        sendAll(c, dns2Answer);
      else if (line == "AT+CFUN=1,1")
        sendAll(c, restartAnswer);
    }
  }

  void onClientClose(SimConnection&) override { pending_.clear(); }

 private:
  static long sendAll(SimConnection& c, const std::vector<Piece>& pieces) {
    long t = 0;
    for (const auto& p : pieces) c.send(p.bytes, t += p.delayMs);
    return t;
  }
  std::string pending_;
};
