// Texts and values several subsystems show or compare.
#pragma once

inline constexpr const char* kAppTitle = "KOVA Upgrader";
inline constexpr const char* kUpgraderTitle = "Satellite IP Modem Upgrader";
inline constexpr const char* kCrLf = "\r\n";
// The running version while the modem has not told it.
inline constexpr const char* kUnknownVersion = "0_0_0_0";
inline constexpr const char* kUnknownVersionText = "Unknown";
