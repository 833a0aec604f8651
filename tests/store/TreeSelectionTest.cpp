#include "app/store/TreeSelection.h"

#include <gtest/gtest.h>

#include "app/store/ScrapStore.h"
#include "tests/store/TreeFixture.h"

using store::TreeItem;
using treetest::Item;
using treetest::Listed;

namespace {

class TreeSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* dir : {"f/a", "f/b", "f/c", "f/b/b1", "g/x"}) book.Folder(dir);
    book.Ini("", store::kSortName);
    book.Ini("f", store::kSortName);
    model.SetHomeFolder(book.Home());
    model.Refresh("");
    model.ExpandAll();
  }
  TreeItem* I(const char* texts) { return Item(model, texts); }
  treetest::Scrapbook book;
  store::FolderTreeModel model;
  store::TreeSelection sel{model};
};

TEST_F(TreeSelectionTest, PressMakesTheItemCaretAnchorAndOnlyListedItem) {
  sel.LeftPress(I("f/a"), false, false);
  EXPECT_EQ(model.Caret(), I("f/a"));
  EXPECT_EQ(model.Anchor(), I("f/a"));
  EXPECT_EQ(Listed(model), "a");
  EXPECT_TRUE(I("f/a")->marked);
  sel.LeftPress(I("f/c"), false, false);
  EXPECT_EQ(Listed(model), "c");
  EXPECT_FALSE(I("f/a")->marked);
}

TEST_F(TreeSelectionTest, CtrlTogglesSiblingsOnly) {
  sel.LeftPress(I("f/a"), false, false);
  sel.LeftPress(I("f/c"), true, false);
  EXPECT_EQ(Listed(model), "a,c");
  sel.LeftPress(I("g/x"), true, false);  // another folder's item
  EXPECT_EQ(Listed(model), "a,c");
  EXPECT_FALSE(I("g/x")->marked);
  sel.LeftPress(I("f/a"), true, false);
  EXPECT_EQ(Listed(model), "c");
  EXPECT_EQ(model.Caret(), I("f/a")) << "Ctrl does not move the caret item";
}

TEST_F(TreeSelectionTest, PressOnOneOfSeveralDecidesAtRelease) {
  sel.LeftPress(I("f/a"), false, false);
  sel.LeftPress(I("f/b"), true, false);
  sel.LeftPress(I("f/b"), false, false);  // may start a drag of both
  EXPECT_EQ(Listed(model), "a,b");
  EXPECT_EQ(model.Anchor(), I("f/b"));
  sel.LeftRelease();
  EXPECT_EQ(Listed(model), "b");
  EXPECT_EQ(model.Caret(), I("f/b"));
}

TEST_F(TreeSelectionTest, ShiftRangeTakesEveryVisibleItemBetween) {
  sel.LeftPress(I("f/a"), false, false);
  sel.LeftPress(I("f/c"), false, true);
  EXPECT_EQ(Listed(model), "a,b,b1,c") << "the range crosses into an expanded child";
  EXPECT_EQ(model.Caret(), I("f/a"));
  sel.LeftPress(I("g"), false, true);  // not a sibling of the listed items
  EXPECT_EQ(Listed(model), "a,b,b1,c");
}

TEST_F(TreeSelectionTest, RightClickOnEmptySpaceLeavesNoCaretItem) {
  sel.LeftPress(I("f/a"), false, false);
  sel.RightClick(nullptr);
  EXPECT_EQ(model.Caret(), nullptr);
  EXPECT_TRUE(model.Selection().empty());
  sel.RightClick(I("g"));
  EXPECT_EQ(model.Caret(), I("g"));
  EXPECT_EQ(Listed(model), "g");
}

TEST_F(TreeSelectionTest, DownClearsTheListAndShiftDownExtendsFromTheCaretItem) {
  sel.LeftPress(I("f/a"), false, false);
  sel.LeftPress(I("f/c"), true, false);
  sel.CaretKey();
  EXPECT_TRUE(model.Selection().empty());
  EXPECT_FALSE(I("f/c")->marked);
  model.SetCaret(I("f/b"));  // the control moved the caret item
  sel.CaretMovedByKeyboard(I("f/b"));
  EXPECT_EQ(Listed(model), "b");
  sel.ShiftArrow(true);  // to b1, a child of b: not a sibling, refused
  EXPECT_EQ(Listed(model), "b");
  sel.ShiftArrow(false);
  EXPECT_EQ(Listed(model), "a,b");
  EXPECT_EQ(model.Anchor(), I("f/a"));
  EXPECT_EQ(model.Caret(), I("f/b")) << "the caret item does not move";
}


TEST_F(TreeSelectionTest, DeletedItemsLeaveListAnchorAndUndo) {
  sel.LeftPress(I("f/a"), false, false);
  sel.LeftPress(I("f/b"), true, false);
  model.SetUndo(I("f/b/b1"), 0);
  model.DeleteItem(I("f/b"), true);
  EXPECT_EQ(Listed(model), "a");
  EXPECT_EQ(model.Undo().item, nullptr);
}

}  // namespace
