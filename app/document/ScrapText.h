#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The scrap's files that belong to the document: Content.txt (the page text), info.txt (the
// page's address and title) and the page address kept inside the text.
namespace scrapfiles {

// Content.txt: UTF-16LE after an optional FF FE mark, an odd last byte dropped. Returns the
// text as UTF-8; nullopt when the file cannot be read.
[[nodiscard]] std::optional<std::string> ReadContentText(const std::filesystem::path& file);
// The bytes Content.txt holds for a text: FF FE, then UTF-16LE without terminator.
[[nodiscard]] std::string EncodeContentText(std::string_view utf8);
// Writes Content.txt through a temporary file and a rename; false when it cannot be written
// (the old file then stays as it was).
[[nodiscard]] bool WriteContentText(const std::filesystem::path& file, std::string_view utf8);

// info.txt: line 1 the page address, line 2 the title, each at most 499 bytes (never cutting
// a character), line ends removed. Old captures in CP932 are converted.
struct PageInfo {
  std::string url;
  std::string title;
};
[[nodiscard]] std::optional<PageInfo> ReadInfoText(const std::filesystem::path& file);

// The address between the first two "★★★★" markers of the text, blanks (full-width ones
// too) removed from both ends; empty when the text has fewer than two markers.
[[nodiscard]] std::string ExtractPageAddress(std::string_view text);

}  // namespace scrapfiles
