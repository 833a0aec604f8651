#include "platform/TextConv.h"

#include <iconv.h>

#include <cerrno>
#include <climits>
#include <cstdint>

namespace platform::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16le(std::string& out, char32_t cp) {
  const auto unit = [&](std::uint16_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  if (cp < 0x10000) {
    unit(static_cast<std::uint16_t>(cp));
  } else {
    cp -= 0x10000;
    unit(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
    unit(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Decodes one UTF-8 sequence at s[i]. Returns its length, or 0 when the bytes there are not
// a well-formed sequence (overlong forms, surrogates and values past U+10FFFF included).
std::size_t DecodeUtf8At(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

// Valid UTF-8 with every broken sequence replaced by U+FFFD, one per bad byte.
std::string RepairUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8At(s, i, cp);
    if (len == 0) {
      AppendUtf8(out, kReplacement);
      ++i;
    } else {
      out.append(s.substr(i, len));
      i += len;
    }
  }
  return out;
}

}  // namespace

std::string Utf16leToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  const std::size_t units = bytes.size() / 2;
  const auto unitAt = [&](std::size_t k) -> char32_t {
    return static_cast<unsigned char>(bytes[2 * k]) |
           (static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t u = unitAt(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
      const char32_t low = unitAt(k + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++k;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  return out;
}

std::string Utf8ToUtf16le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8At(utf8, i, cp);
    if (len == 0) {
      AppendUtf16le(out, kReplacement);
      ++i;
    } else {
      AppendUtf16le(out, cp);
      i += len;
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8At(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
  // A descriptor per call: iconv descriptors keep shift state and are not thread-safe.
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  bool ok = true;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) {
        const std::size_t used = static_cast<std::size_t>(dst - out.data());
        out.resize(out.size() * 2);
        dst = out.data() + used;
        outLeft = out.size() - used;
        continue;
      }
      ok = false;  // EILSEQ or EINVAL (a lead byte cut off at the end)
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return out;
}

std::string DecodeUtf8OrCp932(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  if (auto converted = Cp932ToUtf8(bytes)) return *converted;
  return RepairUtf8(bytes);
}

std::size_t Utf8PrefixLength(std::string_view s, std::size_t maxBytes) {
  if (s.size() <= maxBytes) return s.size();
  // s[maxBytes] would be the first byte left out. If it continues a sequence that began
  // within the last three bytes kept, cut before that sequence's lead byte.
  std::size_t k = maxBytes;
  while (k > 0 && maxBytes - k < 3 && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) --k;
  const auto lead = static_cast<unsigned char>(s[k]);
  std::size_t len = 1;
  if ((lead & 0xE0) == 0xC0) len = 2;
  else if ((lead & 0xF0) == 0xE0) len = 3;
  else if ((lead & 0xF8) == 0xF0) len = 4;
  if (k < maxBytes && k + len > maxBytes) return k;
  return maxBytes;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool AsciiIEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

long long ParseDecimalPrefix(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // Accumulate as a negative number so LLONG_MIN is reachable without overflow.
  long long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    const int digit = s[i] - '0';
    if (value < (LLONG_MIN + digit) / 10) {
      value = LLONG_MIN;
      while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == LLONG_MIN ? LLONG_MAX : -value;
}

}  // namespace platform::text
