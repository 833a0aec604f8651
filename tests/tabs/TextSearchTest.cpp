#include "app/tabs/TextSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

using tabs::FindInText;
using tabs::TextRange;

struct Step {
  long start, end;  // expected selection after the search; -1 start: nothing found
};

// Runs the same search repeatedly from a starting selection and records each selection.
std::vector<Step> Repeat(const std::wstring& text, const std::wstring& needle, TextRange sel,
                         bool matchCase, bool down, int times) {
  std::vector<Step> steps;
  for (int i = 0; i < times; ++i) {
    const long at = FindInText(text, needle, sel, matchCase, down, true);
    steps.push_back(at < 0 ? Step{-1, -1} : Step{sel.start, sel.end});
  }
  return steps;
}

void ExpectSteps(const std::vector<Step>& got, const std::vector<Step>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].start, want[i].start) << "search " << i;
    EXPECT_EQ(got[i].end, want[i].end) << "search " << i;
  }
}

TEST(TextSearch, DownwardsWithMatchCaseSkipsTheUpperCaseRunAndWraps) {
  ExpectSteps(Repeat(L"abcABCabc", L"abc", {0, 0}, true, true, 3), {{0, 3}, {6, 9}, {0, 3}});
}

TEST(TextSearch, DownwardsWithoutMatchCaseVisitsEveryRun) {
  ExpectSteps(Repeat(L"abcABCabc", L"abc", {0, 0}, false, true, 4),
              {{0, 3}, {3, 6}, {6, 9}, {0, 3}});
}

TEST(TextSearch, UpwardsFromTheEndFindsTheNearestEndingBeforeTheCaret) {
  ExpectSteps(Repeat(L"abcABCabc", L"abc", {9, 9}, true, false, 3), {{6, 9}, {0, 3}, {6, 9}});
  ExpectSteps(Repeat(L"abcABCabc", L"ABC", {9, 9}, false, false, 3), {{6, 9}, {3, 6}, {0, 3}});
}

TEST(TextSearch, WrapOnlyWhenTheSearchDidNotStartAtTheFarEnd) {
  // Downwards from 0 the whole text has been searched: no second pass, nothing found.
  TextRange sel{0, 0};
  EXPECT_EQ(FindInText(L"xyz", L"abc", sel, true, true, true), -1);
  // Upwards from the end likewise.
  sel = {3, 3};
  EXPECT_EQ(FindInText(L"xyz", L"abc", sel, true, false, true), -1);
  // Without wrap an occurrence behind the search direction stays unfound.
  sel = {4, 4};
  EXPECT_EQ(FindInText(L"abc.", L"abc", sel, true, true, false), -1);
  EXPECT_EQ(sel.start, 4);
  EXPECT_EQ(FindInText(L"abc.", L"abc", sel, true, true, true), 0);
  sel = {0, 0};
  EXPECT_EQ(FindInText(L".abc", L"abc", sel, true, false, false), -1);
  EXPECT_EQ(FindInText(L".abc", L"abc", sel, true, false, true), 1);
}

TEST(TextSearch, NothingFoundOrEmptyNeedleLeavesTheSelection) {
  TextRange sel{2, 5};
  EXPECT_EQ(FindInText(L"abcdefgh", L"", sel, true, true, true), -1);
  EXPECT_EQ(FindInText(L"abcdefgh", L"zz", sel, false, true, true), -1);
  EXPECT_EQ(FindInText(L"ab", L"abc", sel, false, false, true), -1);
  EXPECT_EQ(sel.start, 2);
  EXPECT_EQ(sel.end, 5);
}

TEST(TextSearch, OnlyAsciiLettersFold) {
  TextRange sel{0, 0};
  // Full-width Ａ (U+FF21) and ａ (U+FF41) are different characters whatever the case flag.
  EXPECT_EQ(FindInText(L"ｘａｙ", L"Ａ", sel, false, true, true), -1);
  EXPECT_EQ(FindInText(L"ＡＢＣ", L"ＡＢＣ", sel, false, true, true), 0);
  sel = {0, 0};
  EXPECT_EQ(FindInText(L"Ä ä", L"ä", sel, false, true, true), 2);
  sel = {0, 0};
  EXPECT_EQ(FindInText(L"日本語のABCページ", L"abc", sel, false, true, true), 4);
  EXPECT_EQ(sel.end, 7);
  // '[' and '{' sit next to the letters in ASCII and must not fold into each other.
  sel = {0, 0};
  EXPECT_EQ(FindInText(L"{", L"[", sel, false, true, true), -1);
}

TEST(TextSearch, NegativeSelectionIsClampedToZero) {
  TextRange sel{-5, -1};
  EXPECT_EQ(FindInText(L"abcabc", L"abc", sel, true, true, true), 0);
  sel = {-5, -1};
  EXPECT_EQ(FindInText(L"abcabc", L"abc", sel, true, false, true), 3);
}

// The upward search is defined by reversing the text and the needle and searching forwards;
// this is that definition, written out literally, to hold the direct search to it.
long ReversedReference(const std::wstring& text, const std::wstring& needle, TextRange& sel,
                       bool wrap) {
  if (needle.empty()) return -1;
  std::wstring rt(text.rbegin(), text.rend()), rn(needle.rbegin(), needle.rend());
  const long length = static_cast<long>(text.size());
  const long from = length - std::max(sel.start, 0L);
  std::size_t r = from <= length ? rt.find(rn, static_cast<std::size_t>(from)) : std::wstring::npos;
  if (r == std::wstring::npos && from > 0 && wrap) r = rt.find(rn, 0);
  if (r == std::wstring::npos) return -1;
  sel.start = length - static_cast<long>(needle.size()) - static_cast<long>(r);
  sel.end = sel.start + static_cast<long>(needle.size());
  return sel.start;
}

TEST(TextSearch, UpwardsAgreesWithSearchingTheReversedText) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::wstring text, needle;
    const int n = static_cast<int>(random() % 12);
    for (int i = 0; i < n; ++i) text.push_back(L"ab"[random() % 2]);
    const int m = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < m; ++i) needle.push_back(L"ab"[random() % 2]);
    const long caret = n ? static_cast<long>(random() % (n + 1)) : 0;
    const bool wrap = random() % 2;
    TextRange ours{caret, caret}, theirs{caret, caret};
    const long a = FindInText(text, needle, ours, true, false, wrap);
    const long b = ReversedReference(text, needle, theirs, wrap);
    ASSERT_EQ(a, b) << "text " << text.size() << " caret " << caret;
    ASSERT_EQ(ours.start, theirs.start);
    ASSERT_EQ(ours.end, theirs.end);
  }
}

}  // namespace
