#include "app/store/ContentMatch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace store {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// A–Z as UTF-16LE units: low byte 0x41–0x5A, high byte 0.
void FoldUnits(unsigned char* p, std::size_t units) {
  for (std::size_t i = 0; i < units; ++i) {
    unsigned char& low = p[2 * i];
    const unsigned char high = p[2 * i + 1];
    if (high == 0 && static_cast<unsigned char>(low - 'A') < 26)
      low = static_cast<unsigned char>(low + 32);
  }
}

bool FindAtEvenOffset(const char* data, std::size_t size, const std::string& units) {
  std::size_t pos = 0;
  while (pos + units.size() <= size) {
    const void* hit = ::memmem(data + pos, size - pos, units.data(), units.size());
    if (!hit) return false;
    const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
    // A hit at an odd offset straddles two characters.
    if (offset % 2 == 0) return true;
    pos = offset + 1;
  }
  return false;
}

}  // namespace

ContentNeedle::ContentNeedle(std::string_view utf8, bool matchCase)
    : m_utf8(matchCase ? std::string(utf8) : platform::text::AsciiLower(utf8)),
      m_units(platform::text::Utf8ToUtf16le(m_utf8)),
      m_matchCase(matchCase),
      m_needsConversion(m_utf8.find(kReplacementUtf8) != std::string::npos ||
                        !platform::text::IsValidUtf8(m_utf8)) {}

bool ContentBytesMatch(char* bytes, std::size_t size, const ContentNeedle& needle) {
  if (needle.Empty()) return false;
  if (size >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    bytes += 2;
    size -= 2;
  }
  size &= ~std::size_t{1};
  if (needle.NeedsConversion()) {
    std::string page = platform::text::Utf16leToUtf8(std::string_view(bytes, size));
    if (!needle.MatchCase()) page = platform::text::AsciiLower(page);
    return page.find(needle.Utf8()) != std::string::npos;
  }
  if (!needle.MatchCase()) FoldUnits(reinterpret_cast<unsigned char*>(bytes), size / 2);
  return FindAtEvenOffset(bytes, size, needle.Units());
}

bool ContentReader::ReadFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    ::close(fd);
    return false;
  }
  // The buffer is sized by what the file holds now; a file that grows while it is read is
  // taken up to that size.
  const auto want = static_cast<std::size_t>(info.st_size);
  if (want > m_capacity) {
    try {
      m_buffer.reset();
      m_capacity = 0;
      m_buffer = std::make_unique_for_overwrite<char[]>(want);
      m_capacity = want;
    } catch (const std::bad_alloc&) {
      ::close(fd);
      return false;
    }
  }
  std::size_t got = 0;
  while (got < want) {
    const ssize_t n = ::read(fd, m_buffer.get() + got, want - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  m_size = got;
  return true;
}

ContentReader::Result ContentReader::Check(const std::filesystem::path& folder,
                                           const ContentNeedle& needle) {
  if (!ReadFile(folder / kContentText)) return Result::Unreadable;
  try {
    return ContentBytesMatch(m_buffer.get(), m_size, needle) ? Result::Match : Result::NoMatch;
  } catch (const std::bad_alloc&) {
    // Only a search text that needs converted pages allocates here.
    return Result::Unreadable;
  }
}

}  // namespace store
