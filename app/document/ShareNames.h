#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/document/ScrapText.h"

// Names for the files a scrap is shared through: the picture export's proposed name and the
// base names of the temporary files handed to the mail and note programs.
namespace share {

// How the temporary files are named (FileNameType).
enum FileNameRule : int {
  kRuleTitle = 0,
  kRuleDomain = 1,
  kRuleFullAddress = 2,
  kRuleUserDefined = 3,
};

inline constexpr std::string_view kBaseNamePrefix = "scrap_";
// Base names from the page's title or address are cut to this many bytes; a name of the
// user's own only by the name cleaning.
inline constexpr std::size_t kMaxBaseNameBytes = 60;
// The scrap's title in the proposed export name is cut to this many bytes.
inline constexpr std::size_t kMaxExportTitleBytes = 128;

// The site's own label in an address: the text just before the first of ".com", ".co.jp",
// ".org", ".net", ".jp", ".edu" (found in any letter case), back to the "." or "/" before it.
// "noname" when the address has none of them.
[[nodiscard]] std::string DomainLabel(std::string_view address);

// The base name for a rule: "scrap_" and the cleaned title (0), the domain label (1), the
// cleaned address after its "://" with dots as "_" (2), or the cleaned user name (3); rules
// 0–2 need the scrap's info.txt (nullopt: it could not be read, the name is "scrap_noname")
// and are cut to 60 bytes, never inside a character.
[[nodiscard]] std::string BaseName(int rule, std::string_view userName,
                                   const std::optional<scrapfiles::PageInfo>& info);
// The same with info.txt read from infoPath (only for rules 0–2).
[[nodiscard]] std::string BaseNameForScrap(int rule, std::string_view userName,
                                           const std::filesystem::path& infoPath);

// The export's proposed file: the save folder and the scrap's title cut to 128 bytes.
[[nodiscard]] std::string ProposedExportPath(std::string_view saveFolder, std::string_view title);

}  // namespace share
