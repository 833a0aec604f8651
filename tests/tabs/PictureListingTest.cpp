#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/tabs/DetailText.h"
#include "app/tabs/PictureListing.h"
#include "tests/support/TempDir.h"

using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

using Names = std::vector<std::string>;

Names List(const std::filesystem::path& folder, bool showGif, bool* found = nullptr) {
  std::atomic<bool> stop{false};
  Names names{"left over"};
  const bool result = tabs::ListPictures(folder, showGif, stop, names);
  if (found) *found = result;
  return names;
}

TEST(PictureListing, KeepsPictureFilesInByteOrderAndHidesGifsOnlyWhenAsked) {
  TempDir dir;
  WriteFile(dir / "a.JPG", "x");
  WriteFile(dir / "B.gif", "x");
  WriteFile(dir / "c.txt", "x");
  std::filesystem::create_directories(dir / "d.png");
  EXPECT_EQ(List(dir.path(), true), (Names{"B.gif", "a.JPG"}));
  EXPECT_EQ(List(dir.path(), false), (Names{"a.JPG"}));
  EXPECT_TRUE(tabs::FolderHasPictures(dir.path()));
}

TEST(PictureListing, SortsCaseSensitivelyWithMultibyteNamesLast) {
  TempDir dir;
  for (const char* n : {"写真.png", "b.png", "B.png", "a.png", "A10.png", "A2.png"})
    WriteFile(dir / n, "x");
  EXPECT_EQ(List(dir.path(), true),
            (Names{"A10.png", "A2.png", "B.png", "a.png", "b.png", "写真.png"}));
}

TEST(PictureListing, GifHidingLooksAtTheLastThreeCharactersInAnyCase) {
  TempDir dir;
  for (const char* n : {"x.GIF", "y.Gif", "gif.png", "z.jpg"}) WriteFile(dir / n, "x");
  EXPECT_EQ(List(dir.path(), false), (Names{"gif.png", "z.jpg"}));
}

TEST(PictureListing, EmptyMissingAndGifOnlyFolders) {
  TempDir dir;
  bool found = true;
  EXPECT_TRUE(List(dir / "missing", true, &found).empty());
  EXPECT_FALSE(found);
  EXPECT_FALSE(tabs::FolderHasPictures(dir / "missing"));
  EXPECT_TRUE(List(dir.path(), true, &found).empty());
  EXPECT_FALSE(found);
  EXPECT_FALSE(tabs::FolderHasPictures(dir.path()));
  // Only GIFs while they are hidden: the scrap has pictures, the list shows none.
  WriteFile(dir / "only.gif", "x");
  EXPECT_TRUE(tabs::FolderHasPictures(dir.path()));
  EXPECT_TRUE(List(dir.path(), false, &found).empty());
  EXPECT_FALSE(found);
}

TEST(PictureListing, StopFlagEndsTheListingAtOnce) {
  TempDir dir;
  for (int i = 0; i < 20; ++i) WriteFile(dir / ("p" + std::to_string(i) + ".png"), "x");
  std::atomic<bool> stop{true};
  Names names;
  EXPECT_FALSE(tabs::ListPictures(dir.path(), true, stop, names));
  EXPECT_TRUE(names.empty());
}

TEST(PictureListing, OnlyTwoOrMorePicturesSelectTheFirst) {
  EXPECT_EQ(tabs::InitialSelection(0), -1);
  EXPECT_EQ(tabs::InitialSelection(1), -1);
  EXPECT_EQ(tabs::InitialSelection(2), 0);
}

TEST(DetailText, SizesInWholeKilobytesNeverZero) {
  EXPECT_EQ(tabs::SizeText(0), "1 KB");
  EXPECT_EQ(tabs::SizeText(1536), "1 KB");
  EXPECT_EQ(tabs::SizeText(2047), "1 KB");
  EXPECT_EQ(tabs::SizeText(2048), "2 KB");
  EXPECT_EQ(tabs::SizeText(uint64_t(5) << 40), "5368709120 KB");
}

TEST(DetailText, LocalTimeWithoutSeconds) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 2;
  t.tm_hour = 3;
  t.tm_min = 4;
  t.tm_sec = 59;
  t.tm_isdst = -1;
  EXPECT_EQ(tabs::TimeText(std::mktime(&t)), "2026/01/02 03:04");
}

}  // namespace
