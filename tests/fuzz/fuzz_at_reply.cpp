// Whatever the AT port answers to the DNS read, in whatever pieces, the
// operation ends and the window is idle again; what reaches the dialog is
// one line of window text, and writing it back sends well-formed lines.
#include "at/AtText.h"
#include "app/DnsDialog.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto pieces = Pieces(data, size);
  Harness h;
  auto peer = std::make_shared<ScriptedPeer>();
  // The fuzzed pieces answer the read; every later command gets "OK".
  peer->data = [&pieces](SimConnection& c, const std::string&) {
    if (pieces.empty()) {
      c.send("OK\r\n", 5);
      return;
    }
    long t = 1;
    for (auto& p : pieces) c.send(p, t += 3);
    pieces.clear();
  };
  h.platform.network.listen(Harness::kModem, h.settings.atPort, peer);
  h.ui().modalScripts["DNSverification"] = [](Form& form) {
    auto& d = static_cast<DnsDialog&>(form);
    for (const auto* box : {&d.DNS, &d.DNS2}) {
      Require(box->text().find('\r') == std::string::npos);
      Require(Utf8ToLatin1(box->text()).has_value());
    }
    d.cmdModify.click();
    // Refused text keeps the dialog open; the user gives up then.
  };
  auto& f = h.load();
  h.advance(100);
  f.cmdSetDNS.click();  // reads the DNS addresses
  h.advance(10 * 60 * 1000);
  Require(f.idle());
  Require(AllClosed(*peer));
  // Each line sent is one command: exactly one CR LF, at its end.
  const std::string& sent = peer->received;
  std::size_t start = 0, end;
  while ((end = sent.find("\r\n", start)) != std::string::npos) {
    std::string line = sent.substr(start, end - start);
    Require(line.find_first_of("\r\n") == std::string::npos);
    Require(line == "AT_IHIP?" || line == "AT+CFUN=1,1" || line.rfind("AT_IHIP=\"DNS", 0) == 0);
    start = end + 2;
  }
  Require(start == sent.size());
  return 0;
}
