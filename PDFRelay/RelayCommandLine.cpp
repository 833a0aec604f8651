#include "PDFRelay/RelayCommandLine.h"

#include <vector>

namespace pdfrelay {

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

std::string CutToCharacters(std::string_view s, std::size_t maxChars) {
  std::size_t chars = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (chars == maxChars) break;
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = 1;
    if (lead >= 0xF0)
      len = 4;
    else if (lead >= 0xE0)
      len = 3;
    else if (lead >= 0xC0)
      len = 2;
    // A sequence cut short at the end of the text still counts as one character.
    std::size_t next = i + 1;
    while (next < s.size() && next < i + len &&
           (static_cast<unsigned char>(s[next]) & 0xC0) == 0x80)
      ++next;
    i = next;
    ++chars;
  }
  return std::string(s.substr(0, i));
}

std::optional<RelayFields> ParseCommandLine(std::string_view commandLine) {
  const auto marker = commandLine.find(kMarker);
  if (marker == std::string_view::npos) return std::nullopt;
  const std::string_view rest = commandLine.substr(marker + kMarker.size());

  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < rest.size() && fields.size() < 4) {
    const auto end = rest.find('\n', pos);
    const std::size_t stop = end == std::string_view::npos ? rest.size() : end;
    if (stop > pos) fields.push_back(rest.substr(pos, stop - pos));
    pos = stop + 1;
  }
  if (fields.size() < 3) return std::nullopt;

  RelayFields result;
  result.section = CutToCharacters(fields[0], kSectionLimit);
  result.jobKey = CutToCharacters(fields[1], kJobKeyLimit);
  result.iniPath = CutToCharacters(fields[2], kIniPathLimit);
  if (fields.size() > 3) result.proposedName = CutToCharacters(fields[3], kProposedNameLimit);
  return result;
}

}  // namespace pdfrelay
