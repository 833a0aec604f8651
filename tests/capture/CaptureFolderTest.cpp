#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "app/document/ScrapText.h"
#include "app/image/CxImage.h"
#include "app/shell/CommandLine.h"
#include "capture/CaptureFolder.h"
#include "capture/CaptureRun.h"
#include "tests/support/TempDir.h"

using namespace capture;
namespace fs = std::filesystem;

namespace {

CapturedPage SamplePage() {
  CapturedPage page;
  page.url = "https://example.jp/news?id=1";
  page.title = "★★★★ 今日の\nニュース ★★★★";
  page.text = "見出し\n本文 ★★★★ です\r\n終わり";
  page.pageHeight = page.capturedHeight = 40;
  EXPECT_TRUE(page.picture.Create(16, 40, 24));
  page.pictures.push_back({"https://example.jp/a.png", "GIF89a-not-really-a-png"});
  page.pictures.push_back({"https://example.jp/b/A.PNG", "\x89PNG\r\n\x1A\n-"});
  page.pictures.push_back({"https://example.jp/c/A.gif", "GIF87a"});
  return page;
}

}  // namespace

TEST(CaptureFolder, FolderNameIsTheTitleOnOneLine) {
  EXPECT_EQ(FolderNameForPage("  a/b\nc  ", "https://x.jp/"), "a_b c");
  EXPECT_EQ(FolderNameForPage("", "https://user@www.example.jp:8080/p?q"), "www.example.jp:8080");
  EXPECT_EQ(FolderNameForPage(" ", "file:///tmp/pages/page.html"), "page.html");
  EXPECT_EQ(FolderNameForPage("..", "about:blank"), "noname");
  EXPECT_EQ(FolderNameForPage("\"引用\" ", "about:blank"), "引用");
  EXPECT_EQ(FolderNameForPage("", "http://\"q\"/"), "q");
  EXPECT_EQ(FolderNameForPage(std::string(199, 'a') + " b", ""), std::string(199, 'a'));
  // 70 three-byte characters are 210 bytes: the cut keeps whole characters only.
  std::string title;
  for (int i = 0; i < 70; ++i) title += "あ";
  EXPECT_EQ(FolderNameForPage(title, ""), title.substr(0, 198));
}

TEST(CaptureFolder, TheDocumentReadsTheAddressBackEvenWithMarkersInThePage) {
  CapturedPage page = SamplePage();
  const std::string text = ContentTextFor(page);
  EXPECT_EQ(scrapfiles::ExtractPageAddress(text), page.url);
  EXPECT_NE(text.find("本文 ★★★★ です\r\n終わり"), std::string::npos);
  EXPECT_EQ(text.find("\n\n"), std::string::npos) << "bare line feeds left";
  EXPECT_EQ(text.find("ピクセル"), std::string::npos);
  page.pageHeight = 90000;
  EXPECT_NE(ContentTextFor(page).find("90000 ピクセルのうち、先頭の 40 ピクセル"),
            std::string::npos);
}

TEST(CaptureFolder, WritesFilesTheDocumentReadsBack) {
  testsupport::TempDir dir;
  CapturedPage page = SamplePage();
  CaptureFolder folder;
  std::string error;
  ASSERT_TRUE(folder.Create(dir.path(), FolderNameForPage(page.title, page.url), error)) << error;
  ASSERT_TRUE(folder.Write(page, error)) << error;
  folder.Keep();
  const fs::path p = folder.path();
  // The import proposes the text after "クリップレン" and one separator: the title.
  const std::string path = p.string();
  const std::string proposed = path.substr(path.find("クリップレン") + std::string("クリップレン").size() + 1);
  EXPECT_EQ(proposed, "★★★★ 今日の ニュース ★★★★");

  const std::string raw = testsupport::ReadFile(p / "Content.txt");
  ASSERT_GE(raw.size(), 2u);
  EXPECT_EQ(raw.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(raw.size() % 2, 0u);
  const std::optional<std::string> text = scrapfiles::ReadContentText(p / "Content.txt");
  ASSERT_TRUE(text);
  EXPECT_EQ(scrapfiles::ExtractPageAddress(*text), page.url);
  const std::optional<scrapfiles::PageInfo> info = scrapfiles::ReadInfoText(p / "info.txt");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->url, page.url);
  EXPECT_EQ(info->title, "★★★★ 今日の ニュース ★★★★");

  CxImage main;
  ASSERT_TRUE(main.Load((p / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  EXPECT_EQ(main.GetWidth(), 16u);
  EXPECT_EQ(main.GetHeight(), 40u);
  // Pictures keep their names with the extension of what they really are.
  EXPECT_EQ(testsupport::ReadFile(p / "Images" / "a.gif"), "GIF89a-not-really-a-png");
  EXPECT_TRUE(fs::exists(p / "Images" / "A.png"));
  EXPECT_EQ(testsupport::ReadFile(p / "Images" / "A_1.gif"), "GIF87a");
}

TEST(CaptureFolder, ASecondCaptureOfTheSameTitleGetsANumberAndFailuresLeaveNothing) {
  testsupport::TempDir dir;
  {
    CaptureFolder first, second;
    std::string error;
    ASSERT_TRUE(first.Create(dir.path(), "頁", error));
    ASSERT_TRUE(second.Create(dir.path(), "頁", error));
    EXPECT_EQ(first.path(), dir.path() / "クリップレン" / "頁");
    EXPECT_EQ(second.path(), dir.path() / "クリップレン" / "頁 (2)");
    testsupport::WriteFile(second.path() / "Images" / "x.png", "x");
  }
  // Neither was kept: both are gone, and so is the folder that held them.
  EXPECT_TRUE(fs::is_empty(dir.path()));

  CaptureFolder kept;
  std::string error;
  {
    CaptureFolder failed;
    ASSERT_TRUE(kept.Create(dir.path(), "a", error));
    kept.Keep();
    ASSERT_TRUE(failed.Create(dir.path(), "b", error));
  }
  EXPECT_TRUE(fs::exists(kept.path()));
  EXPECT_FALSE(fs::exists(dir.path() / "クリップレン" / "b"));
}

TEST(CaptureFolder, AFolderThatCannotBeMadeIsAnError) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir / "file", "x");  // a file where the captures folder should be
  CaptureFolder folder;
  std::string error;
  EXPECT_FALSE(folder.Create(dir / "file", "t", error));
  EXPECT_NE(error.find("cannot make the folder"), std::string::npos) << error;
  EXPECT_EQ(testsupport::ReadFile(dir / "file"), "x");
}

TEST(CaptureFolder, PastingBandsPutsRowsWhereThePageHasThem) {
  CxImage page;
  ASSERT_TRUE(page.Create(4, 10, 24));
  CxImage band;
  ASSERT_TRUE(band.Create(6, 4, 24));  // wider than the page: the right side is dropped
  for (uint32_t r = 0; r < 4; ++r)
    for (uint32_t x = 0; x < 6; ++x) band.GetBits(3 - r)[3 * x] = uint8_t(10 + r);
  PasteBand(page, 8, band);  // only two of its rows fit
  EXPECT_EQ(page.GetBits(1)[0], 10);  // page row 8 counted from the top
  EXPECT_EQ(page.GetBits(0)[9], 11);  // page row 9
  EXPECT_EQ(page.GetBits(2)[0], 0);
  PasteBand(page, 10, band);  // entirely below the page
  EXPECT_EQ(MaxPictureRows(1280), kCxImageMaxMemory / 3840);
  CxImage big;
  EXPECT_TRUE(big.Create(1280, MaxPictureRows(1280), 24));
  big.Destroy();
  EXPECT_FALSE(big.Create(1280, MaxPictureRows(1280) + 1, 24));
}

TEST(CaptureFolder, ClipwrenIsStartedWithTheFolderItsCommandLineReads) {
  testsupport::TempDir dir;
  const fs::path script = dir / "fake-clipwren";
  const fs::path out = dir / "args";
  {
    std::ofstream s(script);
    s << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << out.string() << ".tmp'\nmv '" << out.string()
      << ".tmp' '" << out.string() << "'\n";
  }
  fs::permissions(script, fs::perms::owner_all);
  const fs::path folder = dir.path() / "cache" / "クリップレン" / "A \"quoted\" title";
  std::string error;
  ASSERT_TRUE(StartClipwren(script, folder, error)) << error;
  for (int i = 0; i < 500 && !fs::exists(out); ++i) usleep(10000);
  std::string args = testsupport::ReadFile(out);
  ASSERT_FALSE(args.empty());
  args.pop_back();  // the last "|"
  const char* argv[] = {"clipwren", args.c_str()};
  EXPECT_EQ(shell::ExtractCapturePath(shell::JoinArguments(2, argv)), folder.string());
  EXPECT_FALSE(StartClipwren(dir / "missing", folder, error));
}
