// Whatever the telnet console sends, in whatever pieces, the prepare and
// reflash exchanges end and release the window.
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  bool reflash = data[0] & 1;
  auto pieces = Pieces(data + 1, size - 1);
  Harness h;
  auto peer = std::make_shared<ScriptedPeer>();
  peer->accepted = [&pieces](SimConnection& c) {
    long t = 1;
    for (auto& p : pieces) c.send(p, t += 3);
  };
  h.platform.network.listen(Harness::kModem, h.settings.telnetPort, peer);
  auto& f = h.load();
  h.advance(100);
  if (reflash) {
    f.SetBusyState(1);
    f.StartPicReflash();
  } else {
    f.PrepareForDownload();
  }
  h.advance(10 * 60 * 1000);
  Require(!h.busy());
  return 0;
}
