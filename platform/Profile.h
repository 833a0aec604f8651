#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// Private-profile (INI) files with the host's semantics: sections and keys are matched
// without regard to ASCII case, the first match wins, a missing file, section or key gives
// the default, and writing keeps every other line (comments included) as it was.
// New files are written UTF-8 without a BOM; UTF-16LE files starting with FF FE are read too
// and stay UTF-16LE (with the BOM) when written, so whoever made them can still read them.
// Every write goes through a temporary file and a rename; a missing folder is not created.
namespace platform::profile {

// The value of key in section, blanks around it removed. bufferBytes, when not 0, is the
// caller's buffer size including the terminating zero: at most bufferBytes - 1 bytes come
// back, never cutting a UTF-8 character.
[[nodiscard]] std::string GetString(const std::filesystem::path& file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferBytes = 0);

// Host-style integer read: the value as a decimal number (leading blanks and a sign accepted,
// ending at the first non-digit); defaultValue when the key is missing; 0 when the text holds
// no number.
[[nodiscard]] int GetInt(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, int defaultValue);

// Writes key = value in section, creating the file, section and key as needed.
// No key (nullopt) deletes the whole section; no value deletes the key.
[[nodiscard]] bool WriteString(const std::filesystem::path& file, std::string_view section,
                               std::optional<std::string_view> key,
                               std::optional<std::string_view> value);

struct Entry {
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

// Several key writes in one replacement of the file. flushToDisk false skips the fsync, for
// per-folder settings that are rewritten by the thousand and fall back to defaults if lost.
[[nodiscard]] bool WriteStrings(const std::filesystem::path& file,
                                std::initializer_list<Entry> entries, bool flushToDisk = true);

}  // namespace platform::profile
