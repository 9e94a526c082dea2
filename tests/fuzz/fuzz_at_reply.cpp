// Whatever the AT port answers to the DNS read, in whatever pieces, the
// operation ends and the window is idle again.
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto pieces = Pieces(data, size);
  Harness h;
  auto peer = std::make_shared<ScriptedPeer>();
  peer->data = [&pieces](SimConnection& c, const std::string&) {
    long t = 1;
    for (auto& p : pieces) c.send(p, t += 3);
    pieces.clear();
  };
  h.platform.network.listen(Harness::kModem, h.settings.atPort, peer);
  auto& f = h.load();
  h.advance(100);
  f.SendGetDNS();
  h.advance(10 * 60 * 1000);
  Require(!h.busy());
  return 0;
}
