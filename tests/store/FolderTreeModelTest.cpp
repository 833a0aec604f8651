#include "app/store/FolderTreeModel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/store/ScrapStore.h"
#include "tests/store/TreeFixture.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using store::FolderTreeModel;
using store::TreeItem;
using treetest::Children;
using treetest::Item;
using treetest::Scrapbook;

namespace {

class FolderTreeModelTest : public ::testing::Test {
 protected:
  void Build(const std::string& select = "") {
    model.SetHomeFolder(book.Home());
    model.Refresh(select);
  }
  Scrapbook book;
  treetest::RecordingObserver observer;
  FolderTreeModel model{&observer};
};

TEST_F(FolderTreeModelTest, HomeIsTheOnlyTopItemWithTheStar) {
  book.Scrap("記事");
  book.Folder("旅行");
  testsupport::WriteFile(book.Path("notes.txt"), "files are never items");
  Build();
  ASSERT_NE(model.Home(), nullptr);
  EXPECT_EQ(model.Home()->text, "クリップレン");
  EXPECT_EQ(model.Home()->image, store::kImageHome);
  EXPECT_EQ(model.Home()->parent, nullptr);
  EXPECT_EQ(Children(model.Home()), "旅行,記事");  // same second: name order among equals
  EXPECT_EQ(Item(model, "記事")->image, store::kImageScrap);
  EXPECT_EQ(Item(model, "旅行")->image, store::kImageFolder);
  EXPECT_EQ(observer.depth, 0) << "every bulk change turns redrawing back on";
}

TEST_F(FolderTreeModelTest, PicturesFoldersAreNeverShownAtAnyDepth) {
  book.Scrap("s");
  book.Folder("s/Images/deeper");
  book.Folder("f/images");
  book.Folder("f/IMAGES2");
  book.Folder("f/sub/iMaGeS");
  Build();
  model.ExpandAll();
  EXPECT_EQ(Children(Item(model, "s")), "");
  EXPECT_EQ(Children(Item(model, "f")), "IMAGES2,sub");
  EXPECT_EQ(Children(Item(model, "f/sub")), "");
}

TEST_F(FolderTreeModelTest, ScrapWhoseMainJpgIsADirectoryInAnyCase) {
  book.Folder("odd/main.JPG");
  Build();
  EXPECT_TRUE(Item(model, "odd")->IsScrap());
}

TEST_F(FolderTreeModelTest, ChildrenAreLoadedOneLevelAheadOfWhatIsExpanded) {
  book.Folder("a/b/c/d");
  Build();
  TreeItem* a = Item(model, "a");
  ASSERT_NE(a, nullptr);
  EXPECT_FALSE(a->HasChildren()) << "home's grandchildren wait until home opens";
  model.Expand(model.Home());
  ASSERT_EQ(Children(a), "b");
  EXPECT_FALSE(a->children[0]->HasChildren());
  model.Expand(a);
  EXPECT_EQ(Children(Item(model, "a/b")), "c");
  EXPECT_EQ(Children(Item(model, "a/b/c")), "");
  EXPECT_TRUE(a->record->childrenLoaded);
}

TEST_F(FolderTreeModelTest, ExpandAllLoadsEverythingAndCollapseAllKeepsHomeOpen) {
  book.Folder("a/b/c/d");
  book.Folder("x/y");
  Build();
  model.ExpandAll();
  EXPECT_EQ(model.ExpandAllState(), 1);
  EXPECT_EQ(Children(Item(model, "a/b/c")), "d");
  EXPECT_TRUE(Item(model, "a/b/c")->expanded);
  EXPECT_EQ(model.VisibleItems().size(), 7u);

  model.CollapseAll();
  EXPECT_EQ(model.ExpandAllState(), 0);
  EXPECT_TRUE(model.Home()->expanded);
  EXPECT_FALSE(Item(model, "a")->expanded);
  EXPECT_FALSE(Item(model, "a/b")->expanded);
  // The caret item (home's first child after the build) stays in view.
  EXPECT_EQ(model.VisibleItems().size(), 3u);
}

TEST_F(FolderTreeModelTest, CollapseAllReopensTheWayToADeepCaretItem) {
  book.Folder("a/b/c");
  book.Folder("z");
  Build(book.Path("a/b/c"));
  model.CollapseAll();
  EXPECT_TRUE(Item(model, "a")->expanded);
  EXPECT_TRUE(Item(model, "a/b")->expanded);
  EXPECT_FALSE(Item(model, "z")->expanded);
}

TEST_F(FolderTreeModelTest, RootToggleAlternatesAndMakesHomeTheCaretItem) {
  book.Folder("a/b");
  book.Folder("c/d");
  Build();
  model.ExpandAll();
  model.RootToggle();
  EXPECT_FALSE(Item(model, "a")->expanded);
  EXPECT_FALSE(Item(model, "c")->expanded);
  EXPECT_EQ(model.Caret(), model.Home());
  EXPECT_TRUE(model.Selection().empty());
  EXPECT_EQ(model.Anchor(), model.Home());
  model.RootToggle();
  EXPECT_TRUE(Item(model, "a")->expanded);
  EXPECT_TRUE(Item(model, "c")->expanded);
}

// --- Select by path ---

TEST_F(FolderTreeModelTest, EmptyPathSelectsHomesFirstChildOrHome) {
  Build();
  EXPECT_EQ(model.Caret(), model.Home());
  book.Folder("only");
  model.Refresh("");
  EXPECT_EQ(model.Caret(), model.Home()) << "F5 keeps the home item selected";
  store::FolderTreeModel other;
  other.SetHomeFolder(book.Home());
  other.Refresh("");
  EXPECT_EQ(other.Caret(), Item(other, "only"));
}

TEST_F(FolderTreeModelTest, ScrapCreatedBehindTheTreesBackIsInsertedFirstAndSelected) {
  book.Folder("f/old1");
  book.Folder("f/old2");
  Build();
  model.ExpandAll();
  ASSERT_TRUE(Item(model, "f")->record->childrenLoaded);
  book.Scrap("f/new scrap");
  book.Folder("f/new scrap/inner");
  TreeItem* item = model.SelectByPath(book.Path("f/new scrap"));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(model.Caret(), item);
  EXPECT_TRUE(item->IsScrap());
  EXPECT_EQ(Children(Item(model, "f")), "new scrap,old1,old2");
  EXPECT_EQ(Children(item), "inner") << "brought to its siblings' one-level-ahead state";
  EXPECT_EQ(observer.carets.back(), item);
}

TEST_F(FolderTreeModelTest, SelectByPathRenumbersEveryFolderOnTheWay) {
  book.Folder("f/a");
  book.Folder("f/b");
  book.Folder("f/c/x");
  book.Ini("f", store::kSortName);
  Build();
  TreeItem* c = model.SelectByPath(book.Path("f/c/"));  // one trailing separator is fine
  ASSERT_NE(c, nullptr);
  const TreeItem* f = Item(model, "f");
  ASSERT_EQ(Children(f), "a,b,c");
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(f->children[i]->record->customSortId, static_cast<int>(i) + 1);
  }
  EXPECT_EQ(Item(model, "f/c/x")->record->customSortId, 1);
  EXPECT_EQ(Item(model, "f")->record->customSortId, 1) << "home's children are renumbered too";
}

TEST_F(FolderTreeModelTest, ComponentsMatchWithoutRegardToCase) {
  book.Folder("Folder/Sub");
  Build();
  TreeItem* item = model.SelectByPath(book.Path("folder/SUB"));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text, "Sub");
}

// "Photos" and "photos" are two folders: every lookup by name takes the exact one, whether it
// is shown already or still only on disk, and falls back to another letter case only when
// nothing carries the exact name.
TEST_F(FolderTreeModelTest, NamesThatDifferOnlyInCaseAreDifferentFolders) {
  book.Folder("g/Photos/x");
  book.Folder("g/photos/y");
  Build();
  // Select by path, both ways round.
  TreeItem* lower = model.SelectByPath(book.Path("g/photos/y"));
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->Path(), book.Path("g/photos/y"));
  TreeItem* upper = model.SelectByPath(book.Path("g/Photos"));
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(upper->Path(), book.Path("g/Photos"));
  EXPECT_EQ(Item(model, "g")->children.size(), 2u);
  // The reselect after F5.
  model.SelectByPath(book.Path("g/photos"));
  model.Refresh("");
  ASSERT_NE(model.Caret(), nullptr);
  EXPECT_EQ(model.Caret()->Path(), book.Path("g/photos"));
  // Only one of them shown yet: the other is still found on disk, not taken for the shown one.
  store::FolderTreeModel other;
  other.SetHomeFolder(book.Home());
  other.Refresh("");
  TreeItem* g = Item(other, "g");
  ASSERT_NE(other.FindOrInsertChild(g, "Photos"), nullptr);
  TreeItem* found = other.FindOrInsertChild(g, "photos");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Path(), book.Path("g/photos"));
  // The duplicate check when the rest of the children are loaded.
  other.LoadChildren(g);
  EXPECT_EQ(g->children.size(), 2u);
  EXPECT_NE(Item(other, "g/Photos"), Item(other, "g/photos"));
}

struct RefusedPath {
  const char* label;
  std::string (*make)(const Scrapbook&);
};

class SelectByPathRefused : public FolderTreeModelTest,
                            public ::testing::WithParamInterface<RefusedPath> {};

TEST_P(SelectByPathRefused, SelectsNothingAndReturnsNone) {
  book.Folder("a/b");
  Build(book.Path("a"));
  TreeItem* caret = model.Caret();
  EXPECT_EQ(model.SelectByPath(GetParam().make(book)), nullptr);
  EXPECT_EQ(model.Caret(), caret);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SelectByPathRefused,
    ::testing::Values(
        RefusedPath{"outside", [](const Scrapbook&) { return std::string("/nonexistent/x"); }},
        RefusedPath{"home itself", [](const Scrapbook& b) { return b.Home(); }},
        RefusedPath{"home with separator", [](const Scrapbook& b) { return b.Home() + "/"; }},
        RefusedPath{"home as a name prefix", [](const Scrapbook& b) { return b.Home() + "2/a"; }},
        RefusedPath{"missing component", [](const Scrapbook& b) { return b.Path("a/zz/b"); }},
        RefusedPath{"a file", [](const Scrapbook& b) {
                      testsupport::WriteFile(b.Path("a/file.txt"), "x");
                      return b.Path("a/file.txt");
                    }}),
    [](const auto& info) {
      std::string name = info.param.label;
      for (char& c : name) c = c == ' ' ? '_' : c;
      return name;
    });

TEST_F(FolderTreeModelTest, RefreshKeepsTheCaretPath) {
  book.Folder("a/b");
  book.Folder("c");
  Build(book.Path("a/b"));
  book.Folder("a/new");
  model.Refresh("");
  ASSERT_NE(model.Caret(), nullptr);
  EXPECT_EQ(model.Caret()->Path(), book.Path("a/b"));
  EXPECT_NE(Item(model, "a/new"), nullptr);
}

// --- Records and Scrap.ini ---

TEST_F(FolderTreeModelTest, QuittingWritesScrapIniIntoEveryLoadedDirectoryOnly) {
  book.Scrap("s");
  book.Folder("f/g/h");
  Build();
  model.Expand(model.Home());  // loads f/g, not f/g/h
  model.Clear();
  const std::string expected = "[SortType]\nSortType=1\n[CustomSortID]\nCustomSortID=0\n";
  EXPECT_EQ(book.IniText(""), expected);
  EXPECT_EQ(book.IniText("s"), expected) << "scrap folders too";
  EXPECT_EQ(book.IniText("f"), expected);
  EXPECT_EQ(book.IniText("f/g"), expected);
  EXPECT_EQ(book.IniText("f/g/h"), "") << "never loaded";
}

TEST_F(FolderTreeModelTest, IniValuesSurviveARoundTripThroughTheTree) {
  book.Folder("f/a");
  book.Ini("f", store::kSortCustom, 4);
  {
    FolderTreeModel other;
    other.SetHomeFolder(book.Home());
    other.Refresh("");
    EXPECT_EQ(Item(other, "f")->record->sortType, 3);
    EXPECT_EQ(Item(other, "f")->record->customSortId, 4);
  }
  const store::SortSettings s = store::ReadSortSettings(book.Path("f"));
  EXPECT_EQ(s.sortType, 3);
  EXPECT_EQ(s.customSortId, 4);
}

TEST_F(FolderTreeModelTest, DeletingTheCaretItemMovesItToNextPreviousThenParent) {
  book.Folder("p/a");
  book.Folder("p/b");
  book.Ini("p", store::kSortName);
  Build(book.Path("p/a"));
  model.DeleteItem(Item(model, "p/a"), true);
  EXPECT_EQ(model.Caret(), Item(model, "p/b"));
  model.DeleteItem(Item(model, "p/b"), true);
  EXPECT_EQ(model.Caret(), Item(model, "p"));
  EXPECT_FALSE(Item(model, "p")->HasChildren());
}

TEST_F(FolderTreeModelTest, VisibleOrderFollowsExpandedItemsOnly) {
  book.Folder("a/a1");
  book.Folder("b/b1");
  book.Ini("", store::kSortName);
  Build();
  model.Expand(model.Home());
  model.Expand(Item(model, "a"));
  std::string order;
  for (TreeItem* item : model.VisibleItems()) order += item->text + " ";
  EXPECT_EQ(order, "クリップレン a a1 b ");
  EXPECT_EQ(model.NextVisible(Item(model, "a/a1")), Item(model, "b"));
  EXPECT_EQ(model.PrevVisible(Item(model, "b")), Item(model, "a/a1"));
  EXPECT_EQ(model.NextVisible(Item(model, "b")), nullptr);
  EXPECT_EQ(model.PrevVisible(model.Home()), nullptr);
}

TEST(FolderTreeModelEmptyHome, EmptyHomePathGivesAnEmptyTree) {
  FolderTreeModel model;
  model.Refresh("");
  EXPECT_EQ(model.Home(), nullptr);
  EXPECT_EQ(model.SelectByPath("/x"), nullptr);
  model.ExpandAll();
  EXPECT_EQ(model.Caret(), nullptr);
}

TEST(FolderTreeModelLinks, LinkedDirectoriesAreNotFollowed) {
  Scrapbook book;
  book.Folder("a");
  fs::create_directory_symlink(book.Home(), book.Path("a/loop"));
  FolderTreeModel model;
  model.SetHomeFolder(book.Home());
  model.Refresh("");
  model.ExpandAll();  // would never end through the loop
  EXPECT_EQ(Children(Item(model, "a")), "");
}

}  // namespace
