#include "platform/TextConv.h"

#include <gtest/gtest.h>

#include <climits>

namespace platform::text {
namespace {

TEST(TextConv, Utf16RoundTripKeepsSurrogatePairs) {
  // "あ" U+3042, "😀" U+1F600 (a surrogate pair), "A".
  const std::string utf8 = "\xE3\x81\x82\xF0\x9F\x98\x80" "A";
  const std::string utf16 = std::string("\x42\x30\x3D\xD8\x00\xDE\x41\x00", 8);
  EXPECT_EQ(Utf8ToUtf16le(utf8), utf16);
  EXPECT_EQ(Utf16leToUtf8(utf16), utf8);
}

struct Utf16Case {
  std::string utf16;
  std::string utf8;
};
class Utf16Broken : public ::testing::TestWithParam<Utf16Case> {};
TEST_P(Utf16Broken, BecomesReplacementCharacter) {
  EXPECT_EQ(Utf16leToUtf8(GetParam().utf16), GetParam().utf8);
}
INSTANTIATE_TEST_SUITE_P(
    TextConv, Utf16Broken,
    ::testing::Values(Utf16Case{std::string("\x3D\xD8", 2), "\xEF\xBF\xBD"},          // lone high
                      Utf16Case{std::string("\x00\xDE\x41\x00", 4), "\xEF\xBF\xBD" "A"},  // lone low
                      Utf16Case{std::string("\x3D\xD8\x41\x00", 4), "\xEF\xBF\xBD" "A"},
                      Utf16Case{std::string("\x41\x00\x42", 3), "A"}));  // odd byte dropped

class Utf8Validity : public ::testing::TestWithParam<std::pair<std::string, bool>> {};
TEST_P(Utf8Validity, Matches) { EXPECT_EQ(IsValidUtf8(GetParam().first), GetParam().second); }
INSTANTIATE_TEST_SUITE_P(
    TextConv, Utf8Validity,
    ::testing::Values(std::pair<std::string, bool>{"", true},
                      std::pair<std::string, bool>{"plain", true},
                      std::pair<std::string, bool>{"\xE3\x82\xAF\xE3\x83\xAA", true},
                      std::pair<std::string, bool>{"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
                      std::pair<std::string, bool>{"\xF4\x90\x80\x80", false},  // past U+10FFFF
                      std::pair<std::string, bool>{"\xC0\xAF", false},          // overlong "/"
                      std::pair<std::string, bool>{"\xED\xA0\x80", false},      // surrogate
                      std::pair<std::string, bool>{"\xE3\x82", false},          // cut short
                      std::pair<std::string, bool>{"\x83\x4E", false}));        // CP932 "ク"

TEST(TextConv, Cp932DecodesJapaneseAndRejectsBrokenBytes) {
  // "クリップ" and the NEC/IBM extension "①" (0x8740), which plain Shift-JIS lacks.
  EXPECT_EQ(Cp932ToUtf8("\x83\x4E\x83\x8A\x83\x62\x83\x76"), "クリップ");
  EXPECT_EQ(Cp932ToUtf8("\x87\x40"), "①");
  EXPECT_EQ(Cp932ToUtf8("C:\\a"), "C:\\a");  // 0x5C stays a backslash
  EXPECT_EQ(Cp932ToUtf8("\x83"), std::nullopt);  // lead byte without its trail
}

TEST(TextConv, DecodeUtf8OrCp932PrefersUtf8) {
  EXPECT_EQ(DecodeUtf8OrCp932("クリップ"), "クリップ");
  EXPECT_EQ(DecodeUtf8OrCp932("\x83\x4E\x83\x8A"), "クリ");
  // Neither encoding: broken bytes become U+FFFD instead of being lost silently.
  EXPECT_EQ(DecodeUtf8OrCp932("a\x80" "b"), "a\xEF\xBF\xBD" "b");
}

struct PrefixCase {
  std::string text;
  std::size_t maxBytes;
  std::size_t expected;
};
class Utf8Prefix : public ::testing::TestWithParam<PrefixCase> {};
TEST_P(Utf8Prefix, NeverSplitsACharacter) {
  EXPECT_EQ(Utf8PrefixLength(GetParam().text, GetParam().maxBytes), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(TextConv, Utf8Prefix,
                         ::testing::Values(PrefixCase{"abc", 5, 3}, PrefixCase{"abc", 2, 2},
                                           PrefixCase{"aあ", 1, 1}, PrefixCase{"aあ", 2, 1},
                                           PrefixCase{"aあ", 3, 1}, PrefixCase{"aあ", 4, 4},
                                           PrefixCase{"😀x", 3, 0}, PrefixCase{"😀x", 4, 4},
                                           PrefixCase{"ab\x80\x80\x80\x80", 4, 4},
                                           PrefixCase{"", 0, 0}, PrefixCase{"あ", 0, 0}));

TEST(TextConv, AsciiCaseFoldingLeavesOtherBytesAlone) {
  EXPECT_EQ(AsciiLower("Main.JPG ＡＢ"), "main.jpg ＡＢ");
  EXPECT_TRUE(AsciiIEquals("SortType", "SORTTYPE"));
  EXPECT_FALSE(AsciiIEquals("ＡＢ", "ａｂ"));  // full-width letters are not folded
  EXPECT_FALSE(AsciiIEquals("ab", "abc"));
  EXPECT_FALSE(AsciiIEquals("[", "{"));  // '[' | 0x20 == '{': folding must be letters only
}

struct DecimalCase {
  std::string text;
  long long value;
};
class DecimalPrefix : public ::testing::TestWithParam<DecimalCase> {};
TEST_P(DecimalPrefix, Parses) { EXPECT_EQ(ParseDecimalPrefix(GetParam().text), GetParam().value); }
INSTANTIATE_TEST_SUITE_P(
    TextConv, DecimalPrefix,
    ::testing::Values(DecimalCase{"42", 42}, DecimalCase{"  \t-17x", -17}, DecimalCase{"+8", 8},
                      DecimalCase{"2abc", 2}, DecimalCase{"abc", 0}, DecimalCase{"", 0},
                      DecimalCase{"-", 0}, DecimalCase{"+-3", 0}, DecimalCase{"0x1F", 0},
                      DecimalCase{"9223372036854775807", LLONG_MAX},
                      DecimalCase{"9223372036854775808", LLONG_MAX},
                      DecimalCase{"-9223372036854775808", LLONG_MIN},
                      DecimalCase{"-99999999999999999999999", LLONG_MIN}));

}  // namespace
}  // namespace platform::text
