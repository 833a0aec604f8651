#include "platform/ProfileDocument.h"

#include "platform/TextConv.h"

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The section name when the line is a "[name]" header.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return Trim(line);
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

// A "key=value" line; comments and lines without "=" are not keys.
std::optional<KeyLine> SplitKeyLine(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
  const std::size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  ProfileDocument doc;
  std::string text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    doc.m_encoding = Encoding::Utf16le;
    text = text::Utf16leToUtf8(bytes.substr(2));
  } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    doc.m_encoding = Encoding::Utf8Bom;
    text = bytes.substr(3);
  } else {
    text = bytes;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      doc.m_lines.push_back({text.substr(start), ""});
      break;
    }
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    doc.m_lines.push_back({text.substr(start, end - start), text.substr(end, next - end)});
    start = next;
  }
  return doc;
}

std::string ProfileDocument::Serialize() const {
  std::string text;
  for (const Line& line : m_lines) {
    text += line.text;
    text += line.eol;
  }
  std::string out;
  switch (m_encoding) {
    case Encoding::Utf16le:
      out = "\xFF\xFE";
      out += text::Utf8ToUtf16le(text);
      return out;
    case Encoding::Utf8Bom:
      out = "\xEF\xBB\xBF";
      out += text;
      return out;
    case Encoding::Utf8:
      break;
  }
  return text;
}

std::optional<ProfileDocument::SectionRange> ProfileDocument::FindSection(
    std::string_view section) const {
  const std::string_view wanted = Trim(section);
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const auto name = HeaderName(m_lines[i].text);
    if (!name || !text::AsciiIEquals(*name, wanted)) continue;
    std::size_t end = i + 1;
    while (end < m_lines.size() && !HeaderName(m_lines[end].text)) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::FindKey(const SectionRange& range,
                                                    std::string_view key) const {
  const std::string_view wanted = Trim(key);
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto kv = SplitKeyLine(m_lines[i].text);
    if (kv && text::AsciiIEquals(kv->key, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileDocument::Get(std::string_view section,
                                                std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto at = FindKey(*range, key);
  if (!at) return std::nullopt;
  return std::string(SplitKeyLine(m_lines[*at].text)->value);
}

std::string ProfileDocument::NewLineEnding() const {
  // Follow the file's own convention, so a file made on the host keeps CR LF throughout.
  for (const Line& line : m_lines) {
    if (!line.eol.empty()) return line.eol;
  }
  return "\n";
}

void ProfileDocument::InsertLine(std::size_t at, std::string text) {
  const std::string eol = NewLineEnding();
  if (at > 0 && m_lines[at - 1].eol.empty()) m_lines[at - 1].eol = eol;
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), eol});
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  value = Trim(value);
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (section.find(']') != std::string_view::npos || key.empty() ||
      key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[') {
    return false;
  }
  const auto range = FindSection(section);
  if (!range) {
    std::string header = "[";
    header += section;
    header += ']';
    InsertLine(m_lines.size(), std::move(header));
    InsertLine(m_lines.size(), std::string(key) + "=" + std::string(value));
    return true;
  }
  if (const auto at = FindKey(*range, key)) {
    // Keep the key as it is spelled in the file; only the value changes.
    const std::string existingKey(SplitKeyLine(m_lines[*at].text)->key);
    m_lines[*at].text = existingKey + "=" + std::string(value);
    return true;
  }
  // New keys go after the section's last non-blank line, before the blank lines that
  // usually separate it from the next section.
  std::size_t insertAt = range->end;
  while (insertAt > range->header + 1 && Trim(m_lines[insertAt - 1].text).empty()) --insertAt;
  InsertLine(insertAt, std::string(key) + "=" + std::string(value));
  return true;
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return false;
  const auto at = FindKey(*range, key);
  if (!at) return false;
  m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

bool ProfileDocument::RemoveSection(std::string_view section) {
  const auto range = FindSection(section);
  if (!range) return false;
  m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                m_lines.begin() + static_cast<std::ptrdiff_t>(range->end));
  return true;
}

}  // namespace platform
