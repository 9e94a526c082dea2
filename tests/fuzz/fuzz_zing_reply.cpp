// Any version reply, cut anywhere, ends the query: no crash, no read past
// the bytes, and the window is idle again.
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Harness h;
  h.zing->customPieces = Pieces(data, size);
  if (h.zing->customPieces.empty()) h.zing->silent = true;
  auto& f = h.load();
  h.advance(60000);
  Require(f.idle());
  Require(f.session().runningVersion.find_first_not_of("0123456789_") == std::string::npos);
  return 0;
}
