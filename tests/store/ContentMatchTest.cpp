#include "app/store/ContentMatch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/TextConv.h"
#include "tests/support/TempDir.h"

using store::ContentBytesMatch;
using store::ContentNeedle;
using store::ContentReader;

namespace {

std::string Utf16(const std::string& utf8, bool bom) {
  return (bom ? std::string("\xFF\xFE") : std::string()) + platform::text::Utf8ToUtf16le(utf8);
}

bool Matches(std::string bytes, const std::string& needle, bool matchCase) {
  return ContentBytesMatch(bytes.data(), bytes.size(), ContentNeedle(needle, matchCase));
}

// What the page gives when it is converted to UTF-8 and searched there, the meaning the
// direct search on UTF-16 bytes must keep.
bool ConvertedMatches(const std::string& bytes, const std::string& needle, bool matchCase) {
  std::string_view body = bytes;
  if (body.size() >= 2 && body[0] == '\xFF' && body[1] == '\xFE') body.remove_prefix(2);
  std::string page = platform::text::Utf16leToUtf8(body.substr(0, body.size() & ~std::size_t{1}));
  std::string text = needle;
  if (!matchCase) {
    page = platform::text::AsciiLower(page);
    text = platform::text::AsciiLower(text);
  }
  return page.find(text) != std::string::npos;
}

TEST(ContentMatch, WithAndWithoutByteOrderMarkAlike) {
  for (bool bom : {true, false}) {
    SCOPED_TRACE(bom ? "with FF FE" : "without");
    EXPECT_TRUE(Matches(Utf16("今日のニュース abc", bom), "ニュース", true));
    EXPECT_TRUE(Matches(Utf16("abc", bom), "abc", true));
    EXPECT_FALSE(Matches(Utf16("ab", bom), "abc", true));
  }
  // Without a mark the first two bytes are text: "ab" is 61 00 62 00.
  EXPECT_TRUE(Matches(std::string("a\0b\0", 4), "a", true));
  // FF FE is a mark only at the very start; later it is the character U+FEFF.
  EXPECT_TRUE(Matches(Utf16("x", true) + Utf16("", true), "\xEF\xBB\xBF", true));
  EXPECT_FALSE(Matches(Utf16("", true), "\xEF\xBB\xBF", true));
}

TEST(ContentMatch, OddLastByteIsIgnoredAndMatchesStartOnCharacters) {
  // "ab" followed by a stray byte that would complete a 'c' if it were read.
  EXPECT_FALSE(Matches(Utf16("ab", true) + "c", "abc", true));
  EXPECT_TRUE(Matches(Utf16("ab", true) + "c", "ab", true));
  // U+6100 U+6200 is 00 61 00 62: the bytes of "ab" appear one byte off, which is no match.
  EXPECT_FALSE(Matches(Utf16("\xE6\x84\x80\xE6\x88\x80", true), "a", true));
  EXPECT_FALSE(Matches(std::string("\xFF\xFE\x00"
                                   "a\0b\0",
                                   7),
                       "ab", true));
}

TEST(ContentMatch, OnlyAsciiLettersFoldWhenTheCaseDoesNotMatter) {
  const std::string page = Utf16("日本語のページ abc ＡＢＣ Äpfel", true);
  EXPECT_TRUE(Matches(page, "ABC", false));
  EXPECT_FALSE(Matches(page, "ABC", true));
  EXPECT_FALSE(Matches(page, "ａｂｃ", false)) << "full-width letters compare as they are";
  EXPECT_TRUE(Matches(page, "ＡＢＣ", false));
  EXPECT_FALSE(Matches(page, "äpfel", false));
  EXPECT_TRUE(Matches(page, "ÄPFEL", false)) << "Ä stays, the ASCII letters fold";
  EXPECT_TRUE(Matches(page, "Äpfel", false));
  // U+0141 (Ł) has low byte 0x41: folding it would turn it into U+0161.
  EXPECT_FALSE(Matches(Utf16("Ł", true), "š", false));
  EXPECT_FALSE(Matches(Utf16("", true), "a", false));
}

TEST(ContentMatch, AgreesWithSearchingTheConvertedPage) {
  // Units picked to meet the awkward cases: case pairs, surrogates paired and not, NUL, the
  // replacement character, and units whose bytes look like ASCII letters one byte off.
  const char16_t alphabet[] = {u'a',   u'A',   u'b',   u'B',   0,    0xFFFD, 0xD83D,
                               0xDE00, 0x4100, 0x6100, 0x0141, u'Z', u'z',   0x3042};
  std::mt19937 random(11);
  const auto randomUnits = [&](int maxLength) {
    std::string bytes;
    const int n = static_cast<int>(random() % static_cast<unsigned>(maxLength + 1));
    for (int i = 0; i < n; ++i) {
      const char16_t u = alphabet[random() % std::size(alphabet)];
      bytes.push_back(static_cast<char>(u & 0xFF));
      bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string page = randomUnits(10);
    if (random() % 3 == 0) page.push_back('a');  // an odd byte
    if (random() % 2 == 0) page.insert(0, "\xFF\xFE");
    const std::string needle = platform::text::Utf16leToUtf8(randomUnits(3));
    if (needle.empty()) continue;
    const bool matchCase = random() % 2;
    ASSERT_EQ(Matches(page, needle, matchCase), ConvertedMatches(page, needle, matchCase))
        << "round " << round;
  }
}

TEST(ContentMatch, ReaderSkipsWhatItCannotReadAndReusesItsBuffer) {
  testsupport::TempDir dir;
  const auto scrap = dir.path() / "scrap";
  ContentReader reader;
  const ContentNeedle needle("needle", false);
  EXPECT_EQ(reader.Check(scrap, needle), ContentReader::Result::Unreadable);
  testsupport::WriteFile(scrap / "Content.txt", Utf16(std::string(5000, 'x') + "NEEDLE", true));
  EXPECT_EQ(reader.Check(scrap, needle), ContentReader::Result::Match);
  // A shorter file after a longer one: what is left of the longer one in the buffer must not
  // count.
  testsupport::WriteFile(scrap / "Content.txt", Utf16("short", true));
  EXPECT_EQ(reader.Check(scrap, needle), ContentReader::Result::NoMatch);
  testsupport::WriteFile(scrap / "Content.txt", "");
  EXPECT_EQ(reader.Check(scrap, needle), ContentReader::Result::NoMatch);
  // A directory of that name is not a page.
  std::filesystem::remove(scrap / "Content.txt");
  std::filesystem::create_directories(scrap / "Content.txt");
  EXPECT_EQ(reader.Check(scrap, needle), ContentReader::Result::Unreadable);
}

}  // namespace
