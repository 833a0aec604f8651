#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// Whether a scrap's page text (Content.txt: UTF-16LE, FF FE optional, an odd last byte
// ignored) contains a search text, decided on the file's own bytes: the search text is turned
// into UTF-16LE once and looked for at even offsets, so a page is never converted. The answer
// is the one the page converted to UTF-8 would give, A–Z folded on both sides when the case
// does not matter.
namespace store {

class ContentNeedle {
 public:
  ContentNeedle() = default;
  ContentNeedle(std::string_view utf8, bool matchCase);

  [[nodiscard]] bool Empty() const { return m_utf8.empty(); }
  [[nodiscard]] bool MatchCase() const { return m_matchCase; }
  // The search text as UTF-16LE bytes, A–Z folded unless the case matters.
  [[nodiscard]] const std::string& Units() const { return m_units; }
  // The search text as given, A–Z folded unless the case matters.
  [[nodiscard]] const std::string& Utf8() const { return m_utf8; }
  // A U+FFFD in the search text also matches what an unpaired surrogate in a page becomes
  // on conversion, so such a text is compared on converted pages.
  [[nodiscard]] bool NeedsConversion() const { return m_needsConversion; }

 private:
  std::string m_utf8;
  std::string m_units;
  bool m_matchCase = true;
  bool m_needsConversion = false;
};

// Whether the file's bytes hold the needle. `bytes` is the whole file; it is folded in place
// when the case does not matter (the caller's buffer is scratch).
[[nodiscard]] bool ContentBytesMatch(char* bytes, std::size_t size, const ContentNeedle& needle);

// Reads Content.txt files into one buffer that is kept between files, so a walk over thousands
// of scraps allocates only as the largest page grows.
class ContentReader {
 public:
  enum class Result { Match, NoMatch, Unreadable };
  // Checks the folder's Content.txt. A missing or unreadable file, or one too large for the
  // memory there is, is Unreadable.
  [[nodiscard]] Result Check(const std::filesystem::path& folder, const ContentNeedle& needle);

 private:
  bool ReadFile(const std::filesystem::path& file);
  // Grown to the largest file read so far and never shrunk or cleared: refilling it costs
  // only the read.
  std::unique_ptr<char[]> m_buffer;
  std::size_t m_capacity = 0;
  std::size_t m_size = 0;
};

}  // namespace store
