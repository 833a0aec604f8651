#include "app/document/ScrapText.h"

#include "platform/AtomicFile.h"
#include "platform/TextConv.h"

namespace scrapfiles {
namespace {

constexpr std::string_view kMarker = "★★★★";
constexpr size_t kInfoLineBytes = 499;

bool StartsWithBlank(std::string_view s, size_t& len) {
  static constexpr std::string_view kWide = "\u3000";  // ideographic space
  if (!s.empty() && (s[0] == ' ' || s[0] == '\t' || s[0] == '\r' || s[0] == '\n' ||
                     s[0] == '\v' || s[0] == '\f')) {
    len = 1;
    return true;
  }
  if (s.starts_with(kWide)) {
    len = kWide.size();
    return true;
  }
  return false;
}

bool EndsWithBlank(std::string_view s, size_t& len) {
  static constexpr std::string_view kWide = "\u3000";
  const char c = s.empty() ? 0 : s.back();
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
    len = 1;
    return true;
  }
  if (s.ends_with(kWide)) {
    len = kWide.size();
    return true;
  }
  return false;
}

std::string InfoLine(std::string_view line) {
  line = line.substr(0, platform::text::Utf8PrefixLength(line, kInfoLineBytes));
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return std::string(line);
}

}  // namespace

std::optional<std::string> ReadContentText(const std::filesystem::path& file) {
  std::optional<std::string> bytes = platform::file::ReadAll(file);
  if (!bytes) return std::nullopt;
  std::string_view body = *bytes;
  if (body.size() >= 2 && static_cast<uint8_t>(body[0]) == 0xFF &&
      static_cast<uint8_t>(body[1]) == 0xFE) {
    body.remove_prefix(2);
  }
  body = body.substr(0, body.size() & ~size_t{1});
  return platform::text::Utf16leToUtf8(body);
}

std::string EncodeContentText(std::string_view utf8) {
  const std::string body = platform::text::Utf8ToUtf16le(utf8);
  std::string bytes;
  bytes.reserve(body.size() + 2);
  bytes.push_back('\xFF');
  bytes.push_back('\xFE');
  bytes.append(body);
  return bytes;
}

bool WriteContentText(const std::filesystem::path& file, std::string_view utf8) {
  return platform::file::WriteAtomically(file, EncodeContentText(utf8));
}

std::optional<PageInfo> ReadInfoText(const std::filesystem::path& file) {
  std::optional<std::string> bytes = platform::file::ReadAll(file);
  if (!bytes) return std::nullopt;
  const std::string text = platform::text::DecodeUtf8OrCp932(*bytes);
  std::string_view rest = text;
  PageInfo info;
  std::string* lines[2] = {&info.url, &info.title};
  for (std::string* out : lines) {
    if (rest.empty()) break;
    const size_t nl = rest.find('\n');
    *out = InfoLine(rest.substr(0, nl == std::string_view::npos ? rest.size() : nl + 1));
    rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
  }
  return info;
}

std::string ExtractPageAddress(std::string_view text) {
  const size_t first = text.find(kMarker);
  if (first == std::string_view::npos) return {};
  const size_t start = first + kMarker.size();
  const size_t second = text.find(kMarker, start);
  if (second == std::string_view::npos) return {};
  std::string_view address = text.substr(start, second - start);
  size_t len = 0;
  while (StartsWithBlank(address, len)) address.remove_prefix(len);
  while (EndsWithBlank(address, len)) address.remove_suffix(len);
  return std::string(address);
}

}  // namespace scrapfiles
