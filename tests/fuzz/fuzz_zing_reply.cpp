// Whatever the ZING port sends, cut anywhere: the reply framing never reads
// past the bytes, keeps a bounded reply, and a version it finds holds digits
// and dots only.
#include "discovery/ZingReply.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZingReplyReader reply;
  for (const auto& piece : Pieces(data, size)) {
    const auto status = reply.add(piece);
    Require((status == ZingReplyReader::Status::NotAVersionReply) == reply.empty() ||
            status == ZingReplyReader::Status::NeedMore);
    Require(reply.version().find_first_not_of("0123456789.") == std::string::npos);
    if (status == ZingReplyReader::Status::Complete) reply.clear();
  }
  return 0;
}
