#include "app/store/FolderRecord.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "app/store/ScrapStore.h"
#include "tests/store/TreeFixture.h"

namespace fs = std::filesystem;
using store::FolderRecord;

namespace {

std::string Chain(const FolderRecord* parent) {
  std::string names;
  for (const FolderRecord* r = parent->firstChild; r; r = r->nextSibling) {
    names += fs::path(r->path).filename().string() + " ";
  }
  return names;
}

TEST(FolderRecord, ChainMoveAndReleaseOfOneRecordWithItsDescendants) {
  treetest::Scrapbook book;
  for (const char* dir : {"a", "b", "c", "b/inner"}) book.Folder(dir);
  FolderRecord* home = store::MakeFolderRecord(book.Home(), nullptr);
  FolderRecord* a = store::MakeFolderRecord(book.Path("a"), home);
  FolderRecord* b = store::MakeFolderRecord(book.Path("b"), home);
  FolderRecord* c = store::MakeFolderRecord(book.Path("c"), home);
  FolderRecord* inner = store::MakeFolderRecord(book.Path("b/inner"), b);
  EXPECT_EQ(Chain(home), "a b c ");
  EXPECT_EQ(inner->parent, b);
  EXPECT_GT(a->creationTime, 0);

  store::MoveRecord(a, c);  // unlinked from the middle of nowhere: the head of the chain
  EXPECT_EQ(Chain(home), "b c ");
  EXPECT_EQ(Chain(c), "a ");
  EXPECT_EQ(a->parent, c);

  b->sortType = 0;
  inner->customSortId = 9;
  store::ReleaseRecord(b);
  EXPECT_EQ(Chain(home), "c ");
  EXPECT_EQ(store::ReadSortSettings(book.Path("b")).sortType, 0);
  EXPECT_EQ(store::ReadSortSettings(book.Path("b/inner")).customSortId, 9);
  EXPECT_EQ(book.IniText("a"), "") << "not released yet";

  store::ReleaseRecordChain(home);
  EXPECT_NE(book.IniText("a"), "");
  EXPECT_NE(book.IniText(""), "");
}

TEST(FolderRecord, ReleasingIntoAVanishedDirectoryCreatesNothing) {
  treetest::Scrapbook book;
  book.Folder("gone");
  FolderRecord* home = store::MakeFolderRecord(book.Home(), nullptr);
  store::MakeFolderRecord(book.Path("gone"), home);
  store::MakeFolderRecord("", home);  // an empty path writes nothing anywhere
  fs::remove_all(book.Path("gone"));
  store::ReleaseRecordChain(home);
  EXPECT_FALSE(book.Exists("gone"));
  EXPECT_FALSE(fs::exists("Scrap.ini"));
}

TEST(FolderRecord, DefaultsWhenThereIsNoIni) {
  treetest::Scrapbook book;
  book.Folder("x");
  FolderRecord* rec = store::MakeFolderRecord(book.Path("x"), nullptr);
  EXPECT_EQ(rec->sortType, 1);
  EXPECT_EQ(rec->customSortId, 0);
  EXPECT_FALSE(rec->childrenLoaded);
  store::ReleaseRecordChain(rec);
}

}  // namespace

namespace {

TEST(FolderRecord, AnUnchangedScrapIniIsNotWrittenAgainButAChangedOneIs) {
  treetest::Scrapbook book;
  book.Folder("same");
  book.Folder("changed");
  book.Ini("same", 2, 5);
  book.Ini("changed", 2, 5);
  const auto inode = [&](const char* dir) {
    struct stat st {};
    stat((book.Path(dir) + "/Scrap.ini").c_str(), &st);
    return st.st_ino;
  };
  const auto sameBefore = inode("same");
  FolderRecord* home = store::MakeFolderRecord(book.Home(), nullptr);
  store::MakeFolderRecord(book.Path("same"), home);
  FolderRecord* changed = store::MakeFolderRecord(book.Path("changed"), home);
  EXPECT_TRUE(changed->iniCurrent);
  changed->customSortId = 6;
  store::ReleaseRecordChain(home);
  EXPECT_EQ(inode("same"), sameBefore) << "files are replaced whole when written";
  EXPECT_EQ(store::ReadSortSettings(book.Path("changed")).customSortId, 6);
  EXPECT_EQ(store::ReadSortSettings(book.Path("same")).customSortId, 5);
}

}  // namespace
