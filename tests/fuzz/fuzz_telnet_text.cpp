// Whatever the telnet console sends, in whatever pieces, the prepare and
// reflash exchanges end once, leave the socket closed and send at most the
// one command of the exchange.
#include "fuzz/FuzzSupport.h"
#include "operations/ModemSession.h"
#include "transfer/TelnetSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool reflash = data[0] & 1;
  // The rest of the first byte spaces the pieces (1 to 128 ms apart), so
  // that some ends fall into the reflash ticks.
  const long gap = 1 + (data[0] >> 1);
  auto pieces = Pieces(data + 1, size - 1);
  Harness h;
  auto peer = std::make_shared<ScriptedPeer>();
  peer->accepted = [&pieces, gap](SimConnection& c) {
    long t = 1;
    for (auto& p : pieces) c.send(p, t += gap);
  };
  h.platform.network.listen(Harness::kModem, h.settings.telnetPort, peer);
  auto& f = h.load();
  h.advance(100);
  Require(!h.busy());
  int ends = 0;
  auto ended = [&ends](TelnetSession::Outcome) { ++ends; };
  TelnetSession& telnet = f.modem().telnet();
  reflash ? telnet.startPicReflash(ended) : telnet.prepareForDownload(ended);
  h.advance(10 * 60 * 1000);
  Require(ends == 1);
  Require(f.idle());
  Require(AllClosed(*peer));
  const std::string command = reflash ? "pic_driver_reflash 1\r\n" : "mmi_prepare_for_download\r\n";
  Require(peer->received.empty() || peer->received == command);
  return 0;
}
