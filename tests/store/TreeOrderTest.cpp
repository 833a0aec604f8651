#include "app/store/TreeOrder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

#include "app/store/FolderTreeModel.h"
#include "app/store/ScrapStore.h"
#include "tests/store/TreeFixture.h"
#include "tests/support/TempDir.h"

using treetest::Children;
using treetest::Item;
using treetest::Scrapbook;

namespace {

TEST(TreeOrder, CreationTimesCompareAsSigned32BitDifferences) {
  EXPECT_LT(store::CompareCreationTimes(100, 200), 0);
  EXPECT_GT(store::CompareCreationTimes(200, 100), 0);
  EXPECT_EQ(store::CompareCreationTimes(5, 5), 0);
  EXPECT_LT(store::CompareCreationTimes(0, 1700000000), 0) << "unknown time 0 is oldest";
  // Past 2038 the 32-bit difference wraps, as on the host.
  EXPECT_GT(store::CompareCreationTimes(0, 0x80000001LL), 0);
}

TEST(TreeOrder, NamesCompareWithSingleByteLettersFolded) {
  EXPECT_EQ(store::CompareNoCase("ABC", "abc"), 0);
  EXPECT_LT(store::CompareNoCase("a/Apple", "a/banana"), 0);
  EXPECT_LT(store::CompareNoCase("a/x", "a/x_1"), 0);
  EXPECT_LT(store::CompareNoCase("a/z", "a/あ"), 0) << "multibyte bytes sort after ASCII";
  EXPECT_NE(store::CompareNoCase("Ａ", "ａ"), 0) << "full-width letters are not folded";
}

TEST(TreeOrder, NeverNumberedSortsBeforeNumbered) {
  store::FolderRecord zero, one, two;
  zero.customSortId = 0;
  one.customSortId = 1;
  two.customSortId = 2;
  EXPECT_TRUE(store::SortsBefore(store::kSortCustom, zero, one));
  EXPECT_TRUE(store::SortsBefore(store::kSortCustom, one, two));
  EXPECT_FALSE(store::SortsBefore(store::kSortCustom, two, one));
}

// A scrapbook whose folders were made a second apart, in an order that is neither the name
// order nor its reverse: deep/x/{m, z, a} created in that order. Built once (it takes two
// seconds), read by fresh trees for every case.
class SortOnDisk : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
 public:
  static void SetUpTestSuite() {
    s_book = std::make_unique<Scrapbook>();
    for (const char* name : {"m", "z", "a"}) {
      s_book->Folder(std::string("deep/x/") + name);
      if (std::string(name) != "a") usleep(1'050'000);
    }
    s_book->Ini("deep/x/m", store::kSortCustom, 3);
    s_book->Ini("deep/x/z", store::kSortCustom, 0);
    s_book->Ini("deep/x/a", store::kSortCustom, 1);
  }
  static void TearDownTestSuite() { s_book.reset(); }
  static std::unique_ptr<Scrapbook> s_book;
};
std::unique_ptr<Scrapbook> SortOnDisk::s_book;

TEST_P(SortOnDisk, ChildrenOfADeepFolderFollowItsScrapIni) {
  const auto [value, expected] = GetParam();
  testsupport::WriteFile(s_book->Path("deep/x/Scrap.ini"),
                         std::string("[SortType]\nSortType=") + value + "\n");
  std::string shown;
  {
    store::FolderTreeModel model;
    model.SetHomeFolder(s_book->Home());
    model.Refresh("");
    model.ExpandAll();
    shown = Children(Item(model, "deep/x"));
    // Every time the children are loaded again they come in the same order.
    model.Refresh("");
    model.ExpandAll();
    EXPECT_EQ(Children(Item(model, "deep/x")), shown);
  }
  EXPECT_EQ(shown, expected) << "SortType=" << value;
}

INSTANTIATE_TEST_SUITE_P(Values, SortOnDisk,
                         ::testing::Values(std::pair{"0", "m,z,a"},     // oldest first
                                           std::pair{"1", "a,z,m"},     // newest first
                                           std::pair{"2", "a,m,z"},     // by name
                                           std::pair{"3", "z,a,m"},     // custom: 0, 1, 3
                                           std::pair{"7", "a,z,m"},     // unknown: newest first
                                           std::pair{"2abc", "a,m,z"},  // number prefix
                                           std::pair{"", "a,z,m"},      // empty: default
                                           std::pair{" -0", "m,z,a"}));

}  // namespace
