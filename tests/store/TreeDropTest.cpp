#include "app/store/TreeDrop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/store/ScrapStore.h"
#include "app/store/TreeSelection.h"
#include "tests/store/TreeFixture.h"

namespace fs = std::filesystem;
using store::TreeDrop;
using store::TreeItem;
using treetest::Children;
using treetest::Item;
using treetest::Listed;

namespace {

class TreeDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // f: scraps s1..s3 (name order); g: scrap t1 and folder sub with a child; h: empty folder.
    for (const char* s : {"f/s1", "f/s2", "f/s3", "g/t1"}) book.Scrap(s);
    book.Folder("g/sub/leaf");
    book.Folder("h");
    for (const char* dir : {"", "f", "g", "h"}) book.Ini(dir, store::kSortName);
    model.SetHomeFolder(book.Home());
    model.Refresh(book.Path("f/s1"));
    model.ExpandAll();
  }
  TreeItem* I(const std::string& texts) { return Item(model, texts); }
  void List(std::initializer_list<const char*> items) {
    sel.LeftPress(I(*items.begin()), false, false);
    for (auto it = items.begin() + 1; it != items.end(); ++it) sel.LeftPress(I(*it), true, false);
  }
  treetest::Scrapbook book;
  treetest::ScriptedShellUi ui;
  store::FolderTreeModel model;
  store::TreeSelection sel{model};
  TreeDrop drop{model, ui};
};

TEST_F(TreeDropTest, TwoSiblingScrapsOnTheirOwnFolderGoToTheTopInListOrder) {
  List({"f/s3", "f/s2"});
  EXPECT_EQ(drop.Decide(I("f")), TreeDrop::Action::ReorderTop);
  EXPECT_EQ(drop.CursorFor(I("f"), false), TreeDrop::Cursor::Move);
  const TreeDrop::Feedback fb = drop.FeedbackFor(I("f"));
  EXPECT_EQ(fb.kind, TreeDrop::FeedbackKind::InsertBefore);
  EXPECT_EQ(fb.item, I("f/s1"));
  drop.Drop(I("f"), false, false);
  EXPECT_EQ(Children(I("f")), "s3,s2,s1");
  EXPECT_EQ(I("f")->record->sortType, store::kSortCustom);
  EXPECT_EQ(I("f/s1")->record->customSortId, 3);
  EXPECT_EQ(Listed(model), "s3,s2");
  EXPECT_TRUE(I("f/s3")->marked);
  EXPECT_EQ(model.Caret(), I("f/s3")) << "the caret item is selected again by its path";
  EXPECT_TRUE(book.Exists("f/s3")) << "nothing moved on disk";
}

TEST_F(TreeDropTest, ScrapOnASiblingScrapGoesRightAfterIt) {
  List({"f/s1"});
  EXPECT_EQ(drop.FeedbackFor(I("f/s3")).kind, TreeDrop::FeedbackKind::InsertAfter);
  drop.Drop(I("f/s3"), false, false);
  EXPECT_EQ(Children(I("f")), "s2,s3,s1");
  EXPECT_EQ(I("f")->record->sortType, store::kSortCustom);
}

TEST_F(TreeDropTest, ScrapOnAScrapOfAnotherFolderIsRefused) {
  List({"f/s1"});
  EXPECT_EQ(drop.CursorFor(I("g/t1"), false), TreeDrop::Cursor::NoDrop);
  EXPECT_EQ(drop.FeedbackFor(I("g/t1")).kind, TreeDrop::FeedbackKind::None);
  drop.Drop(I("g/t1"), false, false);
  EXPECT_EQ(Children(I("f")), "s1,s2,s3");
  EXPECT_EQ(Children(I("g")), "sub,t1");
  EXPECT_EQ(I("f")->record->sortType, store::kSortName);
}

TEST_F(TreeDropTest, FolderMovedIntoAnotherFolderKeepsItsSubfolders) {
  List({"g/sub"});
  EXPECT_EQ(drop.CursorFor(I("h"), false), TreeDrop::Cursor::Move);
  EXPECT_EQ(drop.CursorFor(I("h"), true), TreeDrop::Cursor::Copy);
  EXPECT_EQ(drop.FeedbackFor(I("h")).kind, TreeDrop::FeedbackKind::Highlight);
  TreeItem* sub = I("g/sub");
  drop.Drop(I("h"), false, false);
  EXPECT_FALSE(book.Exists("g/sub"));
  EXPECT_TRUE(book.Exists("h/sub/leaf"));
  EXPECT_EQ(Children(I("g")), "t1");
  ASSERT_EQ(I("h/sub"), sub) << "the same item, now under h";
  EXPECT_EQ(sub->Path(), book.Path("h/sub"));
  EXPECT_EQ(I("h/sub/leaf")->Path(), book.Path("h/sub/leaf"));
  EXPECT_EQ(I("h")->record->sortType, store::kSortCustom);
  EXPECT_EQ(sub->record->parent, I("h")->record);
  EXPECT_EQ(Listed(model), "sub");
}

TEST_F(TreeDropTest, CtrlDropCopiesAndBothItemsOpenTheirOwnDirectory) {
  List({"g/sub"});
  drop.Drop(I("h"), true, false);
  EXPECT_TRUE(book.Exists("g/sub/leaf"));
  EXPECT_TRUE(book.Exists("h/sub/leaf"));
  EXPECT_EQ(I("g/sub")->Path(), book.Path("g/sub"));
  EXPECT_EQ(I("h/sub")->Path(), book.Path("h/sub"));
  EXPECT_NE(I("h/sub")->record, I("g/sub")->record);
  EXPECT_EQ(Children(I("h/sub")), "leaf");
  EXPECT_EQ(Listed(model), "sub");
  EXPECT_EQ(model.Selection().front(), I("h/sub")) << "the copy takes the source's place";
}

TEST_F(TreeDropTest, MovingTheOpenScrapSelectsItAtItsNewPlace) {
  List({"f/s1"});
  model.SetHot(I("f/s1"));  // the pointer pressed on it to drag it
  drop.Drop(I("h"), false, false);
  ASSERT_NE(model.Caret(), nullptr);
  EXPECT_EQ(model.Caret()->Path(), book.Path("h/s1"));
  EXPECT_TRUE(store::IsScrapFolder(book.Path("h/s1")));
  // The pointer is over the target now: the moved item is no longer drawn hot, and the next
  // item the pointer reaches is the only one.
  EXPECT_FALSE(I("h/s1")->bold);
  model.SetHot(I("f/s2"));
  EXPECT_FALSE(I("h/s1")->bold);
  EXPECT_TRUE(I("f/s2")->bold);
}

// The open scrap is told where a move took it before the caret returns to it (which opens it
// and saves its edits there); a copy moves nothing.
TEST_F(TreeDropTest, EachMoveIsReportedBeforeTheCaretReturnsButNoCopy) {
  std::vector<std::pair<std::string, std::string>> moved;
  bool caretWhileReported = false;
  drop.SetMovedHook([&](const std::string& from, const std::string& to) {
    moved.emplace_back(from, to);
    caretWhileReported = caretWhileReported || model.Caret() != nullptr;
  });
  List({"g/t1"});
  drop.Drop(I("h"), true, false);
  EXPECT_TRUE(book.Exists("h/t1"));
  EXPECT_TRUE(moved.empty()) << "a copy moves nothing";

  List({"f/s1", "f/s2"});
  drop.Drop(I("h"), false, false);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {book.Path("f/s1"), book.Path("h/s1")}, {book.Path("f/s2"), book.Path("h/s2")}};
  EXPECT_EQ(moved, expected);
  EXPECT_FALSE(caretWhileReported);
  EXPECT_NE(model.Caret(), nullptr);
}

TEST_F(TreeDropTest, FolderIntoItselfOrItsDescendantIsRefused) {
  List({"g"});
  for (const char* target : {"g", "g/sub", "g/sub/leaf"}) {
    EXPECT_EQ(drop.CursorFor(I(target), false), TreeDrop::Cursor::NoDrop) << target;
    EXPECT_EQ(drop.Decide(I(target)), TreeDrop::Action::None) << target;
  }
  drop.Drop(I("g/sub"), false, false);
  EXPECT_TRUE(book.Exists("g/sub/leaf"));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(TreeDropTest, DropOnTheHomeItemMovesToTheTop) {
  List({"g/t1"});
  drop.Drop(model.Home(), false, false);
  EXPECT_TRUE(book.Exists("t1"));
  EXPECT_EQ(Children(model.Home()), "f,g,h,t1");
  EXPECT_EQ(model.Home()->record->sortType, store::kSortCustom);
  EXPECT_EQ(I("t1")->record->customSortId, 4);
}

TEST_F(TreeDropTest, ConflictAnsweredNoIsShownByName) {
  book.Scrap("h/s1");
  model.Refresh("");
  model.ExpandAll();
  List({"f/s1"});
  ui.replaceAnswer = platform::ShellUi::Answer::No;
  drop.Drop(I("h"), false, false);
  EXPECT_EQ(ui.questions.back(), "replace s1");
  EXPECT_TRUE(book.Exists("f/s1")) << "skipped, not overwritten";
  EXPECT_NE(I("f/s1"), nullptr);
  EXPECT_EQ(Listed(model), "s1");
  EXPECT_EQ(model.Selection().front(), I("h/s1"));
}

// A folder dropped on its grandparent, which holds a folder of the same name in other letters:
// the two are different folders, and nothing freed along the way is touched again (ASan).
TEST_F(TreeDropTest, FolderNamedLikeItsParentInOtherLettersDropsOntoTheHomeItem) {
  book.Folder("Photos/photos/inner");
  model.Refresh(book.Path("Photos/photos"));
  model.ExpandAll();
  List({"Photos/photos"});
  ASSERT_EQ(drop.Decide(model.Home()), TreeDrop::Action::Into);
  drop.Drop(model.Home(), false, false);
  EXPECT_TRUE(book.Exists("photos/inner"));
  EXPECT_FALSE(book.Exists("Photos/photos"));
  ASSERT_NE(I("photos"), nullptr);
  ASSERT_NE(I("Photos"), nullptr);
  EXPECT_NE(I("photos"), I("Photos"));
  EXPECT_EQ(I("photos")->Path(), book.Path("photos"));
  EXPECT_EQ(Children(I("Photos")), "");
  EXPECT_EQ(Children(I("photos")), "inner");
  EXPECT_EQ(Listed(model), "photos");
  ASSERT_NE(model.Caret(), nullptr);
  EXPECT_EQ(model.Caret()->Path(), book.Path("photos"));
}

// A Shift range that crosses an expanded sibling lists that sibling's children too; they go
// with their folder and are not read again once its reload has freed them (ASan).
TEST_F(TreeDropTest, ShiftRangeAcrossAnExpandedFolderReordersOnlyTheTopLevelItems) {
  List({"g/sub"});
  ASSERT_TRUE(I("g/sub")->expanded);
  ASSERT_TRUE(sel.ExtendTo(I("g/t1")));
  ASSERT_EQ(Listed(model), "sub,leaf,t1");
  drop.Drop(I("g"), false, false);
  EXPECT_EQ(Children(I("g")), "sub,t1");
  EXPECT_EQ(Children(I("g/sub")), "leaf");
  EXPECT_EQ(I("g")->record->sortType, store::kSortCustom);
  EXPECT_EQ(I("g/t1")->record->customSortId, 2);
  EXPECT_EQ(Listed(model), "sub,t1");
  EXPECT_TRUE(book.Exists("g/sub/leaf"));
}

// The same range dropped into another folder moves the two top-level items only.
TEST_F(TreeDropTest, ShiftRangeAcrossAnExpandedFolderMovesOnlyTheTopLevelItems) {
  List({"g/sub"});
  ASSERT_TRUE(sel.ExtendTo(I("g/t1")));
  drop.Drop(I("h"), false, false);
  EXPECT_TRUE(book.Exists("h/sub/leaf"));
  EXPECT_TRUE(book.Exists("h/t1"));
  EXPECT_EQ(Children(I("g")), "");
  EXPECT_EQ(Children(I("h")), "sub,t1");
  EXPECT_EQ(Listed(model), "sub,t1");
}

// The drop hides the progress window, not the errors.
TEST_F(TreeDropTest, ADropThatFailsIsReported) {
  List({"g/sub"});
  fs::remove_all(book.Path("g/sub"));  // gone behind the tree's back
  drop.Drop(I("h"), false, false);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0], "「sub」が見つかりません。");
  EXPECT_EQ(I("g/sub"), nullptr) << "what went away leaves the tree";
  EXPECT_EQ(Children(I("h")), "");
}

TEST_F(TreeDropTest, NoTargetOrEmptyListChangesNothing) {
  EXPECT_EQ(drop.CursorFor(nullptr, false), TreeDrop::Cursor::Unchanged);
  model.ClearSelection();
  EXPECT_EQ(drop.Decide(I("h")), TreeDrop::Action::None);
  drop.Drop(I("h"), false, false);
  EXPECT_EQ(Children(I("h")), "");
}

}  // namespace
