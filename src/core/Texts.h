// Texts and values several subsystems show or compare.
#pragma once

#include "platform/Text.h"

inline constexpr const char* kAppTitle = "KOVA Upgrader"_t;
inline constexpr const char* kUpgraderTitle = "Satellite IP Modem Upgrader"_t;
inline constexpr const char* kCrLf = "\r\n";
// The running version while the modem has not told it.
inline constexpr const char* kUnknownVersion = "0_0_0_0";
inline constexpr const char* kUnknownVersionText = "Unknown"_t;
// A telnet or AT connection that did not open in time.
inline constexpr const char* kConnectFailedText =
    "Can not Connect to AT interface. \r\n"
    "Please check cable connections.\r\n"
    "Remove and reapply power to the modem.\r\n"
    "Repeat upgrade process."_t;
inline constexpr const char* kUnsendableDnsMessage =
    "A DNS address may not contain a double quote, a line break, another control "
    "character or a character the modem's single-byte text cannot hold."_t;
