#include "discovery/ZingReply.h"

#include "core/TextUtilities.h"

ZingReplyReader::Status ZingReplyReader::add(std::string_view piece) {
  if (bytes_.size() < kMaxReply) bytes_ += piece.substr(0, kMaxReply - bytes_.size());
  if (bytes_.size() < 4) return Status::NeedMore;
  if (BytesToLong(bytes_, 4, 0) != kVersionReplyCode) {
    bytes_.clear();
    return Status::NotAVersionReply;
  }
  const bool terminated = bytes_.size() > 8 && bytes_.find('\0', 8) != std::string::npos;
  return terminated || bytes_.size() >= kMaxReply ? Status::Complete : Status::Partial;
}

std::string ZingReplyReader::version() const {
  std::int16_t index = 8;
  std::string raw = BytesToString(bytes_, static_cast<std::int32_t>(bytes_.size()) - 8, index);
  return ExtractVersion(raw);
}
