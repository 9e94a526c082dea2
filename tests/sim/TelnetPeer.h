// The modem's telnet console as the tests script it: a banner with the
// prompt, then an answer to each command line.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sim/ModemPeers.h"

class TelnetPeer : public BasicPeer {
 public:
  struct Piece {
    std::string bytes;
    long delayMs;  // after the event that caused it
  };

  // Sent after each accept; an empty list is a console that stays silent.
  std::vector<Piece> banner = {{"\r\nKOVA console\r\n", 5}, {"-> ", 10}};
  // Answers to the reflash command. The default echoes it, then reports
  // the end 30 s later.
  std::vector<Piece> reflashAnswer = {{"pic_driver_reflash 1\r\n", 5},
                                      {"Reflash done. Completed\r\n-> ", 30000}};
  // Answers to the prepare command; empty for a console that goes silent.
  std::vector<Piece> prepareAnswer = {{"mmi_prepare_for_download\r\nready\r\n-> ", 20}};

  // Command lines received (without CR LF), in order, across connections.
  std::vector<std::string> lines;

  void onAccept(SimConnection& c) override { sendAll(c, banner); }

  void onData(SimConnection& c, const std::string& bytes) override {
    pending_ += bytes;
    std::size_t end;
    while ((end = pending_.find("\r\n")) != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 2);
      lines.push_back(line);
      if (line == "pic_driver_reflash 1")
        sendAll(c, reflashAnswer);
      else if (line == "mmi_prepare_for_download")
        sendAll(c, prepareAnswer);
    }
  }

  void onClientClose(SimConnection&) override { pending_.clear(); }

 private:
  // Delays add up: each piece follows the one before it.
  static void sendAll(SimConnection& c, const std::vector<Piece>& pieces) {
    long t = 0;
    for (const auto& p : pieces) c.send(p.bytes, t += p.delayMs);
  }
  std::string pending_;
};
