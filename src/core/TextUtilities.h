// Text and byte helpers shared by the subsystems.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// Copy of text with every character equal to find replaced by the first
// character of replacement. A find of more than one character never matches.
std::string ReplaceChar(std::string_view text, std::string_view find, std::string_view replacement);

// Digits and dots of the part of text before the first ","; the whole text
// filtered the same way when it holds no ",".
std::string ExtractVersion(std::string_view text);

// Big-endian value of count bytes from index start; bytes past the end of
// the buffer count as missing (the value is built from the bytes present),
// and a count of 0 or less gives 0. Results wrap to a signed 32-bit value,
// so a first byte of 0x80 or more gives a negative number.
std::int32_t BytesToLong(std::string_view bytes, int count, int start);

// Up to count bytes from index as characters, stopping at a zero byte;
// index advances by count even past the zero. Never reads past the buffer.
std::string BytesToString(std::string_view bytes, std::int32_t count, std::int16_t& index);

// The same text but for the letter case of ASCII letters.
bool EqualNoCase(std::string_view a, std::string_view b);

// Leading and trailing blanks removed (Trim) or leading only (LTrim).
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);

// Bytes read as Latin-1, as UTF-8 text for the window.
std::string Latin1ToUtf8(std::string_view bytes);

// Text as a terminal may show it: control characters (C0, DEL, C1) and bytes
// that are not UTF-8 become visible escapes (\x1B, \u009B), so that text
// from the modem can neither move the cursor nor set a window title.
std::string VisibleText(std::string_view text);

// UTC in ISO 8601, 2026-12-08T06:01:33Z, or with milliseconds
// 2026-12-08T06:01:33.250Z. Plain calendar arithmetic: the same on every
// system, no time zone database, no thread-unsafe gmtime.
std::string UtcIsoTime(std::chrono::system_clock::time_point time, bool milliseconds = false);
