#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text of one private-profile file as a list of lines, so that a change touches only the
// line it is about and every other byte (comments, blank lines, odd lines, line endings)
// survives. Lookups follow the host: ASCII case-insensitive, the first matching section and
// the first matching key in it; lines before the first section belong to no section.
class ProfileDocument {
 public:
  enum class Encoding { Utf8, Utf8Bom, Utf16le };

  // Decodes file bytes: UTF-16LE when they start with FF FE, else UTF-8 (a UTF-8 BOM is kept).
  static ProfileDocument Parse(std::string_view bytes);
  // The file bytes in the encoding the document was read in.
  [[nodiscard]] std::string Serialize() const;

  [[nodiscard]] std::optional<std::string> Get(std::string_view section,
                                               std::string_view key) const;
  // Replaces the first matching key's value, or adds the key at the end of the first
  // matching section, or appends the section. False for text a line cannot hold.
  [[nodiscard]] bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Return whether anything was removed.
  bool RemoveKey(std::string_view section, std::string_view key);
  bool RemoveSection(std::string_view section);

  Encoding encoding() const { return m_encoding; }

 private:
  struct Line {
    std::string text;  // without the line ending
    std::string eol;   // "\n", "\r\n", "\r" or "" for a last line without one
  };
  struct SectionRange {
    std::size_t header;  // index of the [section] line
    std::size_t end;     // one past its last line
  };

  std::optional<SectionRange> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view key) const;
  void InsertLine(std::size_t at, std::string text);
  std::string NewLineEnding() const;

  std::vector<Line> m_lines;
  Encoding m_encoding = Encoding::Utf8;
};

}  // namespace platform
