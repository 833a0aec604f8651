#include "app/store/ScrapStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>

#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

void MakeDir(const fs::path& p) { fs::create_directories(p); }

// --- Recognising scraps and pictures folders ---

struct ScrapCase {
  const char* entry;
  bool asDirectory;
  bool scrap;
};

class IsScrapFolderTest : public ::testing::TestWithParam<ScrapCase> {};

TEST_P(IsScrapFolderTest, MainJpgInAnyCaseAndKind) {
  TempDir dir;
  const ScrapCase c = GetParam();
  if (c.asDirectory) {
    MakeDir(dir / c.entry);
  } else {
    WriteFile(dir / c.entry, "x");
  }
  EXPECT_EQ(store::IsScrapFolder(dir.path()), c.scrap) << c.entry;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, IsScrapFolderTest,
    ::testing::Values(ScrapCase{"Main.jpg", false, true}, ScrapCase{"MAIN.JPG", false, true},
                      ScrapCase{"main.JPG", true, true},  // a directory counts too
                      ScrapCase{"Main.jpeg", false, false}, ScrapCase{"Main.jpg.bak", false, false},
                      ScrapCase{"xMain.jpg", false, false}, ScrapCase{"Content.txt", false, false}));

// A scrap's fixed files are found as its recognition finds Main.jpg, in any letter case, but
// the exact name wins when both are there.
TEST(ScrapStore, FixedFilesAreFoundInAnyCaseExactNameFirst) {
  TempDir dir;
  WriteFile(dir / "main.JPG", "x");
  WriteFile(dir / "CONTENT.TXT", "x");
  WriteFile(dir / "imageview.ini", "x");
  WriteFile(dir / "Info.txt", "lower");
  WriteFile(dir / "info.txt", "exact");
  EXPECT_EQ(store::ScrapFilePath(dir.path(), store::kMainPicture), dir / "main.JPG");
  EXPECT_EQ(store::ScrapFilePath(dir.path(), store::kContentText), dir / "CONTENT.TXT");
  EXPECT_EQ(store::ScrapFilePath(dir.path(), store::kImageViewIni), dir / "imageview.ini");
  EXPECT_EQ(store::ScrapFilePath(dir.path(), store::kInfoText), dir / "info.txt");
  // A missing file is where a new one would be written, under its own name.
  EXPECT_EQ(store::ScrapFilePath(dir.path(), store::kCopyPicture), dir / "Main_copy.jpg");
  EXPECT_EQ(store::ScrapFilePath(dir / "missing", store::kMainPicture),
            dir / "missing" / "Main.jpg");
}

TEST(ScrapStore, MainJpgDeeperDownDoesNotMakeAScrap) {
  TempDir dir;
  WriteFile(dir / "sub" / "Main.jpg", "x");
  EXPECT_FALSE(store::IsScrapFolder(dir.path()));
  EXPECT_TRUE(store::IsScrapFolder(dir / "sub"));
}

TEST(ScrapStore, UnlistableOrMissingDirectoryIsNoScrap) {
  TempDir dir;
  EXPECT_FALSE(store::IsScrapFolder(dir / "missing"));
  WriteFile(dir / "file", "x");
  EXPECT_FALSE(store::IsScrapFolder(dir / "file"));
  if (geteuid() != 0) {  // root reads everything
    WriteFile(dir / "locked" / "Main.jpg", "x");
    chmod((dir / "locked").c_str(), 0);
    EXPECT_FALSE(store::IsScrapFolder(dir / "locked"));
    chmod((dir / "locked").c_str(), 0755);
  }
}

TEST(ScrapStore, PicturesFolderByNameInAnyCase) {
  EXPECT_TRUE(store::IsPicturesFolder("Images"));
  EXPECT_TRUE(store::IsPicturesFolder("images"));
  EXPECT_TRUE(store::IsPicturesFolder("IMAGES"));
  EXPECT_FALSE(store::IsPicturesFolder("Image"));
  EXPECT_FALSE(store::IsPicturesFolder("Images2"));
  EXPECT_FALSE(store::IsPicturesFolder(""));
  // Full-width letters are not ASCII letters and never match.
  EXPECT_FALSE(store::IsPicturesFolder("Ｉｍａｇｅｓ"));
}

TEST(ScrapStore, HomeFolderIsBelowTheSaveFolder) {
  EXPECT_EQ(store::HomeFolderFor("/data/docs"), fs::path("/data/docs/クリップレン"));
  EXPECT_TRUE(store::HomeFolderFor("").empty());
}

// --- Scrap.ini ---

struct SortIniCase {
  const char* contents;  // nullptr: no Scrap.ini at all
  int sortType;
  int customSortId;
};

class ReadSortSettingsTest : public ::testing::TestWithParam<SortIniCase> {};

TEST_P(ReadSortSettingsTest, ValuesAndDefaults) {
  TempDir dir;
  const SortIniCase c = GetParam();
  if (c.contents) WriteFile(dir / "Scrap.ini", c.contents);
  const store::SortSettings s = store::ReadSortSettings(dir.path());
  EXPECT_EQ(s.sortType, c.sortType) << (c.contents ? c.contents : "(none)");
  EXPECT_EQ(s.customSortId, c.customSortId) << (c.contents ? c.contents : "(none)");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSortSettingsTest,
    ::testing::Values(
        SortIniCase{nullptr, 1, 0},
        SortIniCase{"", 1, 0},
        SortIniCase{"[SortType]\nSortType=2\n[CustomSortID]\nCustomSortID=5\n", 2, 5},
        SortIniCase{"[SortType]\nSortType=7\n", 7, 0},         // kept; the tree orders it like 1
        SortIniCase{"[SortType]\nSortType=2abc\n", 2, 0},      // number ends at the first non-digit
        SortIniCase{"[SortType]\nSortType=\n", 1, 0},          // empty value: the default
        SortIniCase{"[SortType]\nSortType=abc\n", 0, 0},       // no number reads as 0
        SortIniCase{"[SortType]\nSortType=  -3\n", -3, 0},     // blanks and sign accepted
        SortIniCase{"[sorttype]\nSORTTYPE=0\n", 0, 0},         // names in any case
        SortIniCase{"[CustomSortID]\nCustomSortID=1234567890\n", 1, 123456789},  // 9 characters
        SortIniCase{"[SortType]\nCustomSortID=4\n[CustomSortID]\nSortType=9\n", 1, 0},  // wrong sections
        SortIniCase{"[SortType]\nSortType=3\nSortType=0\n", 3, 0}));  // first match wins

TEST(ScrapStore, EmptyPathReadsDefaultsAndWritesNothing) {
  const store::SortSettings s = store::ReadSortSettings("");
  EXPECT_EQ(s.sortType, 1);
  EXPECT_EQ(s.customSortId, 0);
  store::WriteSortSettings("", {2, 3});  // must not write into the working directory
  EXPECT_FALSE(fs::exists("Scrap.ini"));
}

TEST(ScrapStore, WriteSortSettingsRoundTripAndKeepsOtherLines) {
  TempDir dir;
  WriteFile(dir / "Scrap.ini", "; kept comment\n[Other]\nKey=v\n");
  store::WriteSortSettings(dir.path(), {3, 12});
  const store::SortSettings s = store::ReadSortSettings(dir.path());
  EXPECT_EQ(s.sortType, 3);
  EXPECT_EQ(s.customSortId, 12);
  const std::string text = ReadFile(dir / "Scrap.ini");
  EXPECT_NE(text.find("; kept comment"), std::string::npos);
  EXPECT_NE(text.find("[Other]"), std::string::npos);
  EXPECT_NE(text.find("SortType=3"), std::string::npos);
  EXPECT_NE(text.find("CustomSortID=12"), std::string::npos);
  store::WriteSortSettings(dir.path(), {-1, 0});
  EXPECT_EQ(store::ReadSortSettings(dir.path()).sortType, -1);
}

TEST(ScrapStore, WritingIntoAVanishedDirectoryFailsSilently) {
  TempDir dir;
  store::WriteSortSettings(dir / "gone", {2, 1});
  EXPECT_FALSE(fs::exists(dir / "gone"));
}

// --- Creation time ---

TEST(ScrapStore, CreationTimeOfANewDirectoryIsNow) {
  TempDir dir;
  MakeDir(dir / "new");
  const auto now = static_cast<std::int64_t>(time(nullptr));
  const std::int64_t t = store::CreationTime(dir / "new");
  EXPECT_LE(std::llabs(now - t), 5);
  EXPECT_EQ(store::CreationTime(dir / "missing"), 0);
}

// --- Unique names ---

struct UniqueCase {
  std::vector<std::string> dirs;
  std::vector<std::string> files;
  const char* base;
  const char* expected;
};

class UniqueNameTest : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(UniqueNameTest, NextFreeName) {
  TempDir dir;
  const UniqueCase& c = GetParam();
  for (const auto& d : c.dirs) MakeDir(dir / d);
  for (const auto& f : c.files) WriteFile(dir / f, "x");
  EXPECT_EQ(store::CreateUniqueFolderPath(dir.path(), c.base), dir / c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Siblings, UniqueNameTest,
    ::testing::Values(
        UniqueCase{{}, {}, "新しいフォルダ", "新しいフォルダ"},
        UniqueCase{{"新しいフォルダ"}, {}, "新しいフォルダ", "新しいフォルダ_1"},
        UniqueCase{{"新しいフォルダ", "新しいフォルダ_3"}, {}, "新しいフォルダ", "新しいフォルダ_4"},
        UniqueCase{{"新しいフォルダX"}, {}, "新しいフォルダ", "新しいフォルダ_1"},
        UniqueCase{{"N_5"}, {}, "N", "N_6"},  // whether or not N exists
        UniqueCase{{"N", "N_2", "N_10"}, {}, "N", "N_11"},
        UniqueCase{{"news"}, {}, "New", "New_1"},  // letters compared without case
        UniqueCase{{"NEW_4"}, {}, "new", "new_5"},
        UniqueCase{{"N_-7"}, {}, "N", "N"},     // negative numbers never win over -1
        UniqueCase{{"NX9"}, {}, "N", "N_10"},   // any one byte after the base is skipped
        UniqueCase{{"other"}, {"N", "N_3"}, "N", "N"},  // files are not looked at
        UniqueCase{{"N_2147483647"}, {}, "N", "N_2147483648"}));  // no 32-bit overflow

TEST(ScrapStore, UniqueNameInAMissingParentIsTheBaseName) {
  TempDir dir;
  EXPECT_EQ(store::CreateUniqueFolderPath(dir / "missing", "a"), dir / "missing" / "a");
}

// --- Name cleaning ---

class CleanNameTest : public ::testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(CleanNameTest, Cleans) {
  EXPECT_EQ(store::CleanName(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Names, CleanNameTest,
    ::testing::Values(
        std::pair<std::string, std::string>{"a/b: c?", "a_b_c"},
        std::pair<std::string, std::string>{"x  ~_", "x"},
        std::pair<std::string, std::string>{"C:\\dir\\name", "Cdirname"},
        std::pair<std::string, std::string>{"*!?<>|\"end", "~~~~~~~end"},
        std::pair<std::string, std::string>{"日本語 の ページ", "日本語_の_ページ"},
        std::pair<std::string, std::string>{"全角　空白", "全角　空白"},  // only ASCII blanks change
        std::pair<std::string, std::string>{"", "noname"},
        std::pair<std::string, std::string>{"\\::", "noname"},
        std::pair<std::string, std::string>{"  ", "noname"},
        std::pair<std::string, std::string>{"..", "noname"},
        std::pair<std::string, std::string>{".", "noname"},
        std::pair<std::string, std::string>{"a..b", "a..b"}));

TEST(ScrapStore, CleanNameCutsTo128Bytes) {
  EXPECT_EQ(store::CleanName(std::string(200, 'a')), std::string(128, 'a'));
  // 43 three-byte characters are 129 bytes: the last one does not fit whole and goes.
  std::string japanese;
  for (int i = 0; i < 43; ++i) japanese += "あ";
  const std::string cleaned = store::CleanName(japanese);
  EXPECT_EQ(cleaned.size(), 126u);
  EXPECT_EQ(cleaned, japanese.substr(0, 126));
  // One ASCII letter first shifts the boundary onto a character edge.
  EXPECT_EQ(store::CleanName("a" + japanese).size(), 127u);
}

TEST(ScrapStore, CleanedNamesNeverLeaveTheParent) {
  for (const char* typed : {"../../etc", "a/../b", "/abs/path", "..\\..", "~/x"}) {
    const std::string cleaned = store::CleanName(typed);
    EXPECT_EQ(cleaned.find('/'), std::string::npos) << typed;
    EXPECT_NE(cleaned, "..") << typed;
    EXPECT_FALSE(cleaned.empty()) << typed;
  }
}

}  // namespace
