#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the encodings Clipwren meets on disk. Non-UI code keeps UTF-8.
namespace platform::text {

// UTF-16LE bytes (no BOM expected; an odd trailing byte is dropped) to UTF-8. Unpaired
// surrogates become U+FFFD.
[[nodiscard]] std::string Utf16leToUtf8(std::string_view bytes);
// UTF-8 to UTF-16LE bytes without BOM. Invalid sequences become U+FFFD.
[[nodiscard]] std::string Utf8ToUtf16le(std::string_view utf8);
[[nodiscard]] bool IsValidUtf8(std::string_view bytes);
// CP932 (Japanese Windows) bytes to UTF-8; nullopt when the bytes are not valid CP932.
[[nodiscard]] std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
// Text from a file that is UTF-8 when valid, else CP932 (captures made on Japanese Windows).
[[nodiscard]] std::string DecodeUtf8OrCp932(std::string_view bytes);

// Length of the longest prefix of s no longer than maxBytes that does not split a UTF-8
// sequence.
[[nodiscard]] std::size_t Utf8PrefixLength(std::string_view s, std::size_t maxBytes);

// ASCII-only lower casing: only the single-byte letters A–Z change.
[[nodiscard]] std::string AsciiLower(std::string_view s);
[[nodiscard]] bool AsciiIEquals(std::string_view a, std::string_view b);

// Host-style decimal conversion: leading blanks and one sign accepted, stops at the first
// non-digit, 0 when there is no number. Saturates instead of overflowing.
[[nodiscard]] long long ParseDecimalPrefix(std::string_view s);

}  // namespace platform::text
