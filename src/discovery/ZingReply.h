// The ZING version reply as it arrives, piece by piece: a 32-bit big-endian
// reply code (4100), four bytes not read, then the version text up to a
// zero byte. Bytes only, no sockets: the channel and the fuzz target share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class ZingReplyReader {
 public:
  enum class Status {
    NeedMore,          // too short to carry a reply code
    NotAVersionReply,  // another reply: its bytes are dropped
    Partial,           // a version reply whose zero byte has not come yet
    Complete,          // a whole version reply (or as much as is kept of one)
  };
  static constexpr std::int32_t kVersionReplyCode = 4100;
  // Upper bound of the bytes kept of one reply.
  static constexpr std::size_t kMaxReply = 4096;

  // Adds a piece and judges the reply so far.
  Status add(std::string_view piece);
  // The version the reply names: the digits and dots before the first ",",
  // or empty when there are none.
  std::string version() const;
  bool empty() const { return bytes_.empty(); }
  void clear() { bytes_.clear(); }

 private:
  std::string bytes_;
};
