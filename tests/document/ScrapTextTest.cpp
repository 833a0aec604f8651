#include "app/document/ScrapText.h"

#include <gtest/gtest.h>

#include "app/document/ViewSettings.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

TEST(ContentText, ReadsWithAndWithoutByteOrderMark) {
  testsupport::TempDir dir;
  // "あA" in UTF-16LE: 42 30 41 00.
  WriteFile(dir / "bom.txt", std::string("\xFF\xFE\x42\x30\x41\x00", 6));
  WriteFile(dir / "plain.txt", std::string("\x42\x30\x41\x00", 4));
  WriteFile(dir / "odd.txt", std::string("\xFF\xFE\x42\x30\x41\x00\x7A", 7));
  EXPECT_EQ(scrapfiles::ReadContentText(dir / "bom.txt"), "あA");
  EXPECT_EQ(scrapfiles::ReadContentText(dir / "plain.txt"), "あA");
  EXPECT_EQ(scrapfiles::ReadContentText(dir / "odd.txt"), "あA");
  EXPECT_EQ(scrapfiles::ReadContentText(dir / "missing.txt"), std::nullopt);
  WriteFile(dir / "empty.txt", "");
  EXPECT_EQ(scrapfiles::ReadContentText(dir / "empty.txt"), "");
}

TEST(ContentText, WriteStartsWithMarkHasEvenLengthAndRoundTrips) {
  testsupport::TempDir dir;
  const std::string text = "★★★★ https://example.jp/ ★★★★\r\n本文 text 😀";
  ASSERT_TRUE(scrapfiles::WriteContentText(dir / "Content.txt", text));
  const std::string bytes = ReadFile(dir / "Content.txt");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(bytes.size() % 2, 0u);
  EXPECT_EQ(bytes.substr(2, 2), std::string("\x05\x26", 2));  // U+2605, no terminator follows
  EXPECT_NE(bytes.substr(bytes.size() - 2), std::string("\0\0", 2));
  EXPECT_EQ(scrapfiles::ReadContentText(dir / "Content.txt"), text);
  EXPECT_FALSE(scrapfiles::WriteContentText(dir / "no" / "such" / "Content.txt", text));
}

struct AddressCase {
  const char* text;
  const char* address;
};
class PageAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(PageAddressTest, BetweenTheFirstTwoMarkers) {
  EXPECT_EQ(scrapfiles::ExtractPageAddress(GetParam().text), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageAddressTest,
    ::testing::Values(
        AddressCase{"★★★★http://a.jp/★★★★", "http://a.jp/"},
        AddressCase{"title\r\n★★★★  \t http://a.jp/x?q=1 \r\n★★★★ rest", "http://a.jp/x?q=1"},
        AddressCase{"★★★★\u3000\u3000http://a.jp/\u3000 ★★★★", "http://a.jp/"},
        AddressCase{"★★★★http://a.jp/★★★★http://b.jp/★★★★", "http://a.jp/"},
        AddressCase{"only one ★★★★ http://a.jp/", ""},
        AddressCase{"★★★★ \u3000 ★★★★", ""},
        AddressCase{"no markers", ""},
        AddressCase{"★★★http://a.jp/★★★", ""}));

TEST(InfoText, TwoLinesCutAndCleaned) {
  testsupport::TempDir dir;
  WriteFile(dir / "info.txt", "http://a.jp/page\r\nページの題名\r\nignored\r\n");
  auto info = scrapfiles::ReadInfoText(dir / "info.txt");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->url, "http://a.jp/page");
  EXPECT_EQ(info->title, "ページの題名");

  // 166 three-byte characters are 498 bytes; the 167th would pass 499 and is left out.
  std::string longTitle;
  for (int i = 0; i < 170; ++i) longTitle += "題";
  WriteFile(dir / "long.txt", "u\n" + longTitle);
  info = scrapfiles::ReadInfoText(dir / "long.txt");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->title.size(), 498u);

  // A capture from Japanese Windows: CP932 "題名" = 91 E8 96 BC.
  WriteFile(dir / "sjis.txt", std::string("http://s.jp/\r\n\x91\xE8\x96\xBC\r\n"));
  info = scrapfiles::ReadInfoText(dir / "sjis.txt");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->title, "題名");
  EXPECT_FALSE(scrapfiles::ReadInfoText(dir / "none.txt"));
}

TEST(ViewSettingsFile, MissingKeysKeepValuesInMemory) {
  testsupport::TempDir dir;
  ViewSettings s{1, false};
  scrapfiles::ReadViewSettings(dir / "ImageView.ini", s);
  EXPECT_EQ(s.viewMode, 1);
  EXPECT_FALSE(s.showGif);
  WriteFile(dir / "ImageView.ini", "[ViewMode]\nViewMode=2\n");
  scrapfiles::ReadViewSettings(dir / "ImageView.ini", s);
  EXPECT_EQ(s.viewMode, 2);
  EXPECT_FALSE(s.showGif);
}

TEST(ViewSettingsFile, ValuesConvertAsDecimalPrefixes) {
  testsupport::TempDir dir;
  WriteFile(dir / "ImageView.ini", "[viewmode]\nviewmode=1x\n[IsShowGif]\nIsShowGif=abc\n");
  ViewSettings s;
  scrapfiles::ReadViewSettings(dir / "ImageView.ini", s);
  EXPECT_EQ(s.viewMode, 1);
  EXPECT_FALSE(s.showGif);
  WriteFile(dir / "ImageView.ini", "[IsShowGif]\nIsShowGif=7\n");
  scrapfiles::ReadViewSettings(dir / "ImageView.ini", s);
  EXPECT_TRUE(s.showGif);
}

TEST(ViewSettingsFile, WriteWritesBothKeys) {
  testsupport::TempDir dir;
  ASSERT_TRUE(scrapfiles::WriteViewSettings(dir / "ImageView.ini", ViewSettings{2, false}));
  const std::string text = ReadFile(dir / "ImageView.ini");
  EXPECT_NE(text.find("[ViewMode]"), std::string::npos);
  EXPECT_NE(text.find("ViewMode=2"), std::string::npos);
  EXPECT_NE(text.find("[IsShowGif]"), std::string::npos);
  EXPECT_NE(text.find("IsShowGif=0"), std::string::npos);
  ViewSettings back{0, true};
  scrapfiles::ReadViewSettings(dir / "ImageView.ini", back);
  EXPECT_EQ(back.viewMode, 2);
  EXPECT_FALSE(back.showGif);
}

}  // namespace
