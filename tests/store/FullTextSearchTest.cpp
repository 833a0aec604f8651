#include "app/store/FullTextSearch.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/TextConv.h"
#include "tests/store/TreeFixture.h"
#include "tests/support/TempDir.h"

using store::FullTextOutcome;
using store::FullTextRequest;
using store::TreeItem;
using treetest::Item;

namespace {

// Stands in for the text tab: answers each scrap with a position (or -1) and records what it
// was asked, and whether the tree was drawing at that moment.
class FakeFinder : public store::ScrapTextFinder {
 public:
  struct Call {
    std::string scrap;
    bool down;
    bool allowWrap;
    bool redrawSuspended;
  };
  explicit FakeFinder(store::FolderTreeModel& model) : m_model(model) {}
  long FindInOpenScrap(const std::string&, bool, bool down, bool allowWrap) override {
    const std::string name = m_model.Caret() ? m_model.Caret()->text : "";
    calls.push_back({name, down, allowWrap, m_model.RedrawSuspended()});
    const auto it = answers.find(name);
    return it == answers.end() ? 0 : it->second;
  }
  std::map<std::string, long> answers;
  std::vector<Call> calls;

 private:
  store::FolderTreeModel& m_model;
};

class FullTextSearchTest : public ::testing::Test {
 protected:
  // home: a/ (a1, a2/ (a21)), b, c/ (empty), d (no Content.txt); names in order.
  void SetUp() override {
    book.Ini("", 2);
    book.Scrap("a/a1");
    book.Scrap("a/a2/a21");
    book.Scrap("b");
    book.Folder("c");
    book.Scrap("d");
    book.Ini("a", 2);
    book.Ini("a/a2", 2);
    Page("a/a1", "alpha page", true);
    Page("a/a2/a21", "日本語のページ needle one", true);
    Page("b", "needle two", false);
    model.SetHomeFolder(book.Home());
    model.Refresh("");
    model.CollapseAll();
  }
  void Page(const std::string& scrap, const std::string& text, bool bom) {
    testsupport::WriteFile(
        book.Path(scrap) + "/Content.txt",
        (bom ? std::string("\xFF\xFE") : std::string()) + platform::text::Utf8ToUtf16le(text));
  }
  std::vector<std::string> Walk(TreeItem* from, bool down) {
    std::vector<std::string> names;
    for (TreeItem* x = from; x; x = store::NextInWalk(model, x, down)) names.push_back(x->text);
    return names;
  }
  FullTextOutcome Search(const std::string& text, bool matchCase, bool down) {
    return store::SearchScrapbook(model, FullTextRequest{text, matchCase, down}, finder);
  }
  std::string Caret() const { return model.Caret() ? model.Caret()->text : ""; }

  treetest::Scrapbook book;
  treetest::RecordingObserver observer;
  store::FolderTreeModel model{&observer};
  FakeFinder finder{model};
};

TEST_F(FullTextSearchTest, WalkIsPreOrderBothWaysExpandingFoldersOnTheWay) {
  const std::vector<std::string> down = Walk(model.Home(), true);
  EXPECT_EQ(down,
            (std::vector<std::string>{"クリップレン", "a", "a1", "a2", "a21", "b", "c", "d"}));
  EXPECT_TRUE(Item(model, "a")->expanded);
  EXPECT_TRUE(Item(model, "a/a2")->expanded);

  model.CollapseAll();
  const std::vector<std::string> up = Walk(Item(model, "d"), false);
  EXPECT_EQ(up, (std::vector<std::string>{"d", "c", "b", "a21", "a2", "a1", "a", "クリップレン"}));
  EXPECT_TRUE(Item(model, "a/a2")->expanded) << "walking up opens the folders it enters";
}

TEST_F(FullTextSearchTest, FindsTheFirstScrapInWalkOrderAndOpensIt) {
  EXPECT_EQ(Search("NEEDLE", false, true), FullTextOutcome::kFound);
  EXPECT_EQ(Caret(), "a21");
  ASSERT_EQ(finder.calls.size(), 1u);
  EXPECT_FALSE(finder.calls[0].allowWrap) << "downwards never wraps inside the scrap";
  EXPECT_TRUE(finder.calls[0].redrawSuspended) << "the tree does not redraw during the walk";
  EXPECT_EQ(observer.depth, 0) << "redrawing is on again afterwards";
  EXPECT_EQ(model.Selection(), (std::vector<TreeItem*>{Item(model, "a/a2/a21")}));
}

TEST_F(FullTextSearchTest, RepeatedRequestsFinishTheOpenScrapFirstThenMoveOn) {
  ASSERT_EQ(Search("needle", true, true), FullTextOutcome::kFound);
  // The open scrap's file is examined first; once the text view finds nothing more after its
  // selection, the walk goes on to the next scrap.
  finder.answers["a21"] = -1;
  ASSERT_EQ(Search("needle", true, true), FullTextOutcome::kFound);
  EXPECT_EQ(Caret(), "b");
  ASSERT_EQ(finder.calls.size(), 3u);
  EXPECT_EQ(finder.calls[1].scrap, "a21");
  EXPECT_EQ(finder.calls[2].scrap, "b");
  // Past b nothing else contains it: not found, b stays the caret item.
  finder.answers["b"] = -1;
  EXPECT_EQ(Search("needle", true, true), FullTextOutcome::kNotFound);
  EXPECT_EQ(Caret(), "b");
  EXPECT_EQ(observer.depth, 0);
}

TEST_F(FullTextSearchTest, UpwardsIntoAnotherScrapAllowsWrapButNotInTheOpenOne) {
  ASSERT_NE(model.SelectByPath(book.Path("d")), nullptr);
  ASSERT_EQ(Search("needle", false, false), FullTextOutcome::kFound);
  EXPECT_EQ(Caret(), "b");
  ASSERT_EQ(finder.calls.size(), 1u);
  EXPECT_TRUE(finder.calls[0].allowWrap) << "a scrap entered from below shows its last occurrence";
  EXPECT_FALSE(finder.calls[0].down);
  finder.answers["b"] = -1;
  ASSERT_EQ(Search("needle", false, false), FullTextOutcome::kFound);
  EXPECT_FALSE(finder.calls[1].allowWrap) << "the open scrap itself is not searched round";
  EXPECT_EQ(Caret(), "a21");
  EXPECT_TRUE(finder.calls[2].allowWrap);
}

TEST_F(FullTextSearchTest, FoldersHomeAndScrapsWithoutTextNeverMatch) {
  // Every item is walked, but only scraps whose file holds the text reach the text view; when
  // the text view passes over each of them the walk ends on the last one it opened.
  finder.answers = {{"a1", -1}, {"a21", -1}, {"b", -1}};
  EXPECT_EQ(Search("e", true, true), FullTextOutcome::kNotFound);
  std::vector<std::string> asked;
  for (const auto& call : finder.calls) asked.push_back(call.scrap);
  EXPECT_EQ(asked, (std::vector<std::string>{"a1", "a21", "b"}));
  EXPECT_EQ(Caret(), "b");
  EXPECT_EQ(observer.depth, 0);
}

TEST_F(FullTextSearchTest, EmptyTextDoesNothingAndMissingTextReportsNotFound) {
  const std::string before = Caret();
  const std::size_t caretChanges = observer.carets.size();
  EXPECT_EQ(Search("", false, true), FullTextOutcome::kEmptyText);
  EXPECT_EQ(Search("nowhere", false, true), FullTextOutcome::kNotFound);
  EXPECT_TRUE(finder.calls.empty());
  EXPECT_EQ(Caret(), before);
  EXPECT_EQ(observer.carets.size(), caretChanges);
  EXPECT_EQ(observer.depth, 0);
}

TEST_F(FullTextSearchTest, PrefetcherGivesTheSameAnswersQueuedOrNot) {
  store::ContentPrefetcher reader(store::ContentNeedle("NEEDLE", false));
  const std::string a21 = book.Path("a/a2/a21"), b = book.Path("b"), d = book.Path("d");
  reader.Queue(a21);
  reader.Queue(d);
  reader.Queue(a21);
  EXPECT_TRUE(reader.IsQueued(a21));
  EXPECT_FALSE(reader.IsQueued(b));
  EXPECT_EQ(reader.Take(b), store::ContentReader::Result::Match);
  EXPECT_EQ(reader.Take(d), store::ContentReader::Result::Unreadable);
  EXPECT_EQ(reader.Take(a21), store::ContentReader::Result::Match);
  EXPECT_EQ(reader.Take(a21), store::ContentReader::Result::Match);
}

}  // namespace
