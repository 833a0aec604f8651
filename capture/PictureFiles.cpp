#include "capture/PictureFiles.h"

#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace capture {
namespace {

// Names stay well inside a file name's 255 bytes once the suffix and extension are added.
constexpr size_t kMaxStemBytes = 100;

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+' || c == '-') return 62;
  if (c == '/' || c == '_') return 63;
  return -1;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() &&
        HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view sig, size_t at = 0) {
  return bytes.size() >= at + sig.size() && bytes.substr(at, sig.size()) == sig;
}

bool LooksLikeSvg(std::string_view bytes) {
  std::string_view head = bytes.substr(0, 1024);
  if (StartsWith(head, "\xEF\xBB\xBF")) head.remove_prefix(3);
  while (!head.empty() && (head.front() == ' ' || head.front() == '\n' || head.front() == '\r' ||
                           head.front() == '\t'))
    head.remove_prefix(1);
  return head.starts_with("<") && head.find("<svg") != std::string_view::npos;
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  uint32_t acc = 0;
  int bits = 0;
  size_t padding = 0;
  for (const char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    const int v = Base64Value(c);
    if (v < 0 || padding) return std::nullopt;
    acc = (acc << 6) | uint32_t(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(char((acc >> bits) & 0xFF));
    }
  }
  // Six or more left-over bits mean a lone character, which no encoder writes.
  if (bits >= 6 || padding > 2) return std::nullopt;
  return out;
}

std::optional<std::string> DecodeDataUrl(std::string_view url) {
  if (url.size() < 5 || !platform::text::AsciiIEquals(url.substr(0, 5), "data:"))
    return std::nullopt;
  const size_t comma = url.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string header = platform::text::AsciiLower(url.substr(5, comma - 5));
  const std::string_view body = url.substr(comma + 1);
  if (header.ends_with(";base64")) return DecodeBase64(PercentDecode(body));
  return PercentDecode(body);
}

std::string PictureExtension(std::string_view bytes) {
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return "png";
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return "jpg";
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return "gif";
  if (StartsWith(bytes, "RIFF") && StartsWith(bytes, "WEBP", 8)) return "webp";
  if (StartsWith(bytes, "BM") && bytes.size() > 26) return "bmp";
  if (StartsWith(bytes, std::string_view("\0\0\1\0", 4)) && bytes.size() > 6) return "ico";
  if (StartsWith(bytes, "ftypavif", 4) || StartsWith(bytes, "ftypavis", 4)) return "avif";
  if (LooksLikeSvg(bytes)) return "svg";
  return {};
}

std::string PictureNamer::NameFor(std::string_view url, std::string_view extension) {
  std::string stem;
  if (!platform::text::AsciiIEquals(url.substr(0, std::min<size_t>(url.size(), 5)), "data:")) {
    std::string_view path = url.substr(0, url.find_first_of("?#"));
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    const size_t slash = path.rfind('/');
    std::string last = PercentDecode(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (!platform::text::IsValidUtf8(last)) last.clear();
    if (const size_t dot = last.rfind('.'); dot != std::string::npos && dot > 0) last.resize(dot);
    if (last.find_first_not_of('.') != std::string::npos) stem = last;
  }
  if (stem.empty()) stem = "image";
  stem = store::CleanName(stem);
  stem.resize(platform::text::Utf8PrefixLength(stem, kMaxStemBytes));
  std::string suffix;
  if (!extension.empty()) suffix.append(".").append(extension);
  std::string name = stem + suffix;
  for (int n = 1; m_taken.contains(platform::text::AsciiLower(name)); ++n)
    name = stem + "_" + std::to_string(n) + suffix;
  m_taken.insert(platform::text::AsciiLower(name));
  return name;
}

}  // namespace capture
