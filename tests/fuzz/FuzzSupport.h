// Shared pieces of the fuzz targets: a main window on the simulated
// platform, and the input cut into pieces as the network would deliver it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "sim/Harness.h"

// The first byte of each piece gives its length (1 to 32), so the fuzzer
// controls how a reply is split across arrivals.
inline std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < size) {
    std::size_t len = 1 + data[i++] % 32;
    if (i >= size) break;
    if (len > size - i) len = size - i;
    out.emplace_back(reinterpret_cast<const char*>(data + i), len);
    i += len;
  }
  return out;
}

// A port scripted with functions: what it sends on accepting, and on each
// piece the tool sends.
class ScriptedPeer : public BasicPeer {
 public:
  std::function<void(SimConnection&)> accepted;
  std::function<void(SimConnection&, const std::string&)> data;
  void onAccept(SimConnection& c) override {
    if (accepted) accepted(c);
  }
  void onData(SimConnection& c, const std::string& b) override {
    if (data) data(c, b);
  }
};

// Fails the run: the window stayed busy with nothing left to end it.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

// The scripted ports never close a connection: a closed one the tool closed.
inline bool AllClosed(const SimPeer& peer) {
  for (const auto& c : peer.connections)
    if (c->open()) return false;
  return true;
}
