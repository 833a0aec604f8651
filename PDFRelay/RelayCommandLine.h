#pragma once

#include <optional>
#include <string>
#include <string_view>

// The command line the printer's port monitor starts PDFRelay with: the marker "/? " anywhere,
// then four fields separated by line feeds.
namespace pdfrelay {

struct RelayFields {
  std::string section;       // INI section, at most 103 characters
  std::string jobKey;        // prefix of the per-job keys, at most 255 characters
  std::string iniPath;       // the INI file, at most 1,503 characters
  std::string proposedName;  // file name the dialog starts with, at most 255 characters
};

inline constexpr std::string_view kMarker = "/? ";
inline constexpr std::size_t kSectionLimit = 103;
inline constexpr std::size_t kJobKeyLimit = 255;
inline constexpr std::size_t kIniPathLimit = 1503;
inline constexpr std::size_t kProposedNameLimit = 255;

// The process's arguments joined with single spaces, the way the host hands a program its
// command line; the starter may pass the marker and fields as one argument or several.
[[nodiscard]] std::string JoinArguments(int argc, const char* const* argv);

// nullopt when there is no marker (the relay then has nothing to do) or when fewer than the
// three fields needed to answer (section, job key, INI file) are present; a missing proposed
// name is left empty. Consecutive line feeds count as one separator, so no field is empty.
// Each field is cut to its limit in characters, never inside a UTF-8 sequence.
[[nodiscard]] std::optional<RelayFields> ParseCommandLine(std::string_view commandLine);

// The first maxChars characters (code points) of a UTF-8 string.
[[nodiscard]] std::string CutToCharacters(std::string_view s, std::size_t maxChars);

}  // namespace pdfrelay
