// The command-text parser refuses what it cannot take apart cleanly and
// never lets a control character or a quote into a path.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"
#include "platform/FtpCommandText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  try {
    FtpCommand c = ParseFtpCommand(text);
    for (const std::string* p : {&c.remote, &c.local})
      for (unsigned char ch : *p)
        if (ch < 0x20 || ch == 0x7f || ch == '"') std::abort();
    if (c.kind != FtpCommand::Close && c.remote.empty()) std::abort();
  } catch (const PlatformError&) {
  }
  return 0;
}
