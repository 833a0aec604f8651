#include "app/store/FolderOperations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/store/ScrapStore.h"
#include "app/store/TreeSelection.h"
#include "tests/store/TreeFixture.h"

namespace fs = std::filesystem;
using store::TreeItem;
using treetest::Children;
using treetest::Item;

namespace {

std::size_t TrashCount() {
  const fs::path files = fs::path(std::getenv("XDG_DATA_HOME")) / "Trash/files";
  std::error_code ec;
  std::size_t n = 0;
  for (fs::directory_iterator it(files, ec), end; !ec && it != end; it.increment(ec)) ++n;
  return n;
}

class FolderOperationsTest : public ::testing::Test {
 protected:
  void Build(const std::string& select = "") {
    model.SetHomeFolder(book.Home());
    model.Refresh(select);
    model.ExpandAll();
  }
  TreeItem* I(const std::string& texts) { return Item(model, texts); }
  treetest::Scrapbook book;
  treetest::ScriptedShellUi ui;
  store::FolderTreeModel model;
  store::FolderOperations ops{model, ui};
  store::TreeSelection sel{model};
};

TEST_F(FolderOperationsTest, NewFolderWithAScrapSelectedGoesIntoHome) {
  book.Scrap("f/scrap");
  book.Folder("新しいフォルダ");
  Build(book.Path("f/scrap"));
  TreeItem* item = ops.NewFolder();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text, "新しいフォルダ_1");
  EXPECT_EQ(item->parent, model.Home());
  EXPECT_EQ(item->index, model.Home()->children.size() - 1) << "last, not re-sorted";
  EXPECT_TRUE(fs::is_directory(book.Path("新しいフォルダ_1")));
  EXPECT_EQ(model.Caret(), item);
  EXPECT_EQ(treetest::Listed(model), "新しいフォルダ_1") << "the new item is the listed one";
}

// The user clicks ニュース, makes a folder, names it and presses Delete: the question is about the
// new folder, and ニュース stays.
TEST_F(FolderOperationsTest, DeleteRightAfterANewFolderDeletesTheNewFolder) {
  book.Scrap("ニュース/記事");
  Build();
  sel.LeftPress(I("ニュース"), false, false);
  sel.LeftRelease();
  ASSERT_EQ(treetest::Listed(model), "ニュース");
  TreeItem* item = ops.NewFolder();
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(ops.Rename(item, "経済"));
  EXPECT_EQ(model.Caret(), item);
  EXPECT_EQ(treetest::Listed(model), "経済");
  EXPECT_EQ(model.Anchor(), item);
  ASSERT_TRUE(ops.DeleteSelection(true));
  EXPECT_FALSE(book.Exists("ニュース/経済"));
  EXPECT_TRUE(book.Exists("ニュース/記事"));
  // The item that took the caret is listed in turn, so the next Delete names what is shown.
  EXPECT_EQ(model.Caret(), I("ニュース/記事"));
  EXPECT_EQ(treetest::Listed(model), "記事");
}

TEST_F(FolderOperationsTest, NewFolderInACollapsedFolderOpensIt) {
  book.Folder("f/x");
  Build(book.Path("f"));
  model.CollapseAll();
  TreeItem* item = ops.NewFolder();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Path(), book.Path("f/新しいフォルダ"));
  EXPECT_TRUE(I("f")->expanded);
}

TEST_F(FolderOperationsTest, NewFolderThatCannotBeCreatedChangesNothing) {
  book.Folder("f");
  Build(book.Path("f"));
  fs::remove_all(book.Path("f"));
  testsupport::WriteFile(book.Path("f"), "now a file");
  const std::size_t before = I("f")->children.size();
  EXPECT_EQ(ops.NewFolder(), nullptr);
  EXPECT_EQ(I("f")->children.size(), before);
  EXPECT_EQ(model.Caret(), I("f"));
  model.SetCaret(nullptr);
  EXPECT_EQ(ops.NewFolder(), nullptr) << "needs a caret item";
}

TEST_F(FolderOperationsTest, RenameUpdatesTheItemAndItsLoadedDescendants) {
  book.Folder("old/sub/deep");
  Build();
  TreeItem* old = I("old");
  ASSERT_TRUE(ops.Rename(old, "新しい名前"));
  EXPECT_EQ(old->text, "新しい名前");
  EXPECT_EQ(old->Path(), book.Path("新しい名前"));
  EXPECT_EQ(I("新しい名前/sub/deep")->Path(), book.Path("新しい名前/sub/deep"));
  EXPECT_TRUE(fs::is_directory(book.Path("新しい名前/sub/deep")));
  EXPECT_FALSE(book.Exists("old"));
}

TEST_F(FolderOperationsTest, RenameTheShellRefusesKeepsTheOldName) {
  book.Folder("a");
  book.Folder("b");
  Build();
  EXPECT_FALSE(ops.Rename(I("a"), "b"));
  EXPECT_NE(I("a"), nullptr);
  EXPECT_EQ(I("a")->Path(), book.Path("a"));
  EXPECT_FALSE(ops.Rename(I("a"), "x/y")) << "a name holding a separator";
  EXPECT_FALSE(ops.Rename(I("a"), ""));
  EXPECT_TRUE(book.Exists("a"));
}

// A typed name is one folder name: anything that would land elsewhere or give an item whose text
// no longer names its folder is refused, and the message quotes what was typed.
class RenameRefused : public FolderOperationsTest,
                      public ::testing::WithParamInterface<const char*> {};

TEST_P(RenameRefused, KeepsTheOldNameAndTellsWhy) {
  book.Folder("a");
  book.Folder("sib");
  Build();
  const std::string typed = GetParam();
  EXPECT_FALSE(ops.Rename(I("a"), typed));
  ASSERT_NE(I("a"), nullptr);
  EXPECT_EQ(I("a")->text, "a");
  EXPECT_EQ(I("a")->Path(), book.Path("a"));
  EXPECT_TRUE(book.Exists("a"));
  EXPECT_FALSE(book.Exists("foo"));
  EXPECT_FALSE(book.Exists("sib/foo"));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], "「" + typed + "」は名前として使えません。");
}

INSTANTIATE_TEST_SUITE_P(Names, RenameRefused,
                         ::testing::Values("./foo", "sib/../foo", ".", "..", "foo/", "sib/foo",
                                           "/foo"));

TEST_F(FolderOperationsTest, ShellErrorsNameTheItemNotItsPath) {
  book.Folder("a");
  book.Folder("b");
  Build();
  EXPECT_FALSE(ops.Rename(I("a"), "b"));
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], "「b」と同じ名前の項目が既に存在します。");
}

TEST_F(FolderOperationsTest, HomeCanNeverBeRenamedOrDeleted) {
  book.Folder("a");
  Build();
  EXPECT_FALSE(ops.CanRename(model.Home()));
  EXPECT_FALSE(ops.Rename(model.Home(), "x"));
  sel.RightClick(model.Home());
  EXPECT_FALSE(ops.DeleteSelection(true));
  EXPECT_TRUE(fs::is_directory(book.Home()));
  EXPECT_TRUE(model.Selection().empty());
  EXPECT_TRUE(ui.questions.empty()) << "the shell was not even asked";
}

TEST_F(FolderOperationsTest, DeleteGoesToTheTrashAndShiftDeletesForGood) {
  book.Scrap("s1");
  book.Scrap("s2");
  book.Ini("", store::kSortName);
  Build(book.Path("s1"));
  const std::size_t trash = TrashCount();
  bool cleared = false;
  sel.LeftPress(I("s1"), false, false);
  ASSERT_TRUE(ops.DeleteSelection(false, [&] { cleared = true; }));
  EXPECT_TRUE(cleared);
  EXPECT_FALSE(book.Exists("s1"));
  EXPECT_EQ(TrashCount(), trash + 1);
  EXPECT_EQ(I("s1"), nullptr);
  EXPECT_EQ(model.Caret(), I("s2")) << "the next item becomes the caret item";
  EXPECT_EQ(ui.questions.back(), "trash 1");

  sel.LeftPress(I("s2"), false, false);
  ASSERT_TRUE(ops.DeleteSelection(true));
  EXPECT_FALSE(book.Exists("s2"));
  EXPECT_EQ(TrashCount(), trash + 1);
  EXPECT_EQ(ui.questions.back(), "delete 1");
}

TEST_F(FolderOperationsTest, CancelledDeleteLeavesTreeAndDiskButEmptiesTheList) {
  book.Scrap("s1");
  Build();
  ui.deleteAnswer = platform::ShellUi::Answer::Cancel;
  sel.LeftPress(I("s1"), false, false);
  EXPECT_FALSE(ops.DeleteSelection(false));
  EXPECT_TRUE(book.Exists("s1"));
  EXPECT_NE(I("s1"), nullptr);
  EXPECT_TRUE(model.Selection().empty());
}

TEST_F(FolderOperationsTest, ItemsUnderAListedAncestorGoWithIt) {
  book.Folder("p/child");
  book.Folder("q");
  Build();
  model.SetAnchor(nullptr);
  model.SetCaret(I("p"));
  model.AddToSelection(I("p"));
  model.AddToSelection(I("p/child"));
  ASSERT_TRUE(ops.DeleteSelection(true));
  EXPECT_EQ(ui.questions.back(), "delete 1");
  EXPECT_FALSE(book.Exists("p"));
  EXPECT_EQ(Children(model.Home()), "q");
}

TEST_F(FolderOperationsTest, NameOrderThenUndoRestoresTheDateOrder) {
  book.Folder("f/b");
  book.Folder("f/a");
  book.Folder("f/c");
  book.Ini("f", store::kSortCustom);
  book.Ini("f/b", 1, 1);
  book.Ini("f/c", 1, 2);
  book.Ini("f/a", 1, 3);
  Build(book.Path("f"));
  ASSERT_EQ(Children(I("f")), "b,c,a");
  EXPECT_FALSE(ops.CanUndoSort());
  ops.SetSortType(store::kSortName);
  EXPECT_EQ(Children(I("f")), "a,b,c");
  EXPECT_TRUE(ops.CanUndoSort());
  ops.UndoSort();
  EXPECT_FALSE(ops.CanUndoSort());
  EXPECT_EQ(I("f")->record->sortType, store::kSortName) << "a custom order is not re-applied";

  ops.SetSortType(store::kSortDateAscending);
  ops.SetSortType(store::kSortName);
  model.SetCaret(model.Home());
  ops.UndoSort();
  EXPECT_EQ(model.Caret(), I("f")) << "undo selects the item it belongs to";
  EXPECT_EQ(I("f")->record->sortType, store::kSortDateAscending);
}

TEST_F(FolderOperationsTest, SameSortTypeMakesNoUndoRecord) {
  book.Folder("f");
  Build(book.Path("f"));
  ops.SetSortType(store::kSortDateDescending);
  EXPECT_FALSE(ops.CanUndoSort());
}

TEST_F(FolderOperationsTest, MoveUpOnTheFirstChildDoesNothing) {
  book.Folder("f/a");
  book.Folder("f/b");
  book.Ini("f", store::kSortName);
  Build(book.Path("f/a"));
  EXPECT_FALSE(ops.CanMoveUp());
  ops.MoveUp();
  EXPECT_EQ(Children(I("f")), "a,b");
  EXPECT_EQ(I("f")->record->sortType, store::kSortName);
}

TEST_F(FolderOperationsTest, MoveUpAndDownMakeTheOrderCustomAndNumberIt) {
  for (const char* dir : {"f/a", "f/b/inner", "f/c"}) book.Folder(dir);
  book.Ini("f", store::kSortName);
  Build(book.Path("f/c"));
  TreeItem* c = I("f/c");
  ASSERT_TRUE(ops.CanMoveUp());
  ops.MoveUp();
  EXPECT_EQ(Children(I("f")), "a,c,b");
  EXPECT_EQ(model.Caret(), c);
  EXPECT_EQ(I("f")->record->sortType, store::kSortCustom);
  EXPECT_EQ(Children(I("f/b")), "inner") << "the moved neighbour's children are reloaded";
  EXPECT_FALSE(I("f/b")->expanded);
  ops.MoveUp();
  EXPECT_EQ(Children(I("f")), "c,a,b");
  EXPECT_FALSE(ops.CanMoveUp());
  ops.MoveDown();
  EXPECT_EQ(Children(I("f")), "a,c,b");
  for (const auto& child : I("f")->children) {
    EXPECT_EQ(child->record->customSortId, static_cast<int>(child->index) + 1);
  }
  // The custom order comes back from Scrap.ini in a new tree.
  model.Clear();
  store::FolderTreeModel again;
  again.SetHomeFolder(book.Home());
  again.Refresh("");
  again.ExpandAll();
  EXPECT_EQ(Children(Item(again, "f")), "a,c,b");
}

}  // namespace
