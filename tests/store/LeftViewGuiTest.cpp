#include "app/store/ui/CLeftView.h"

#include <gtest/gtest.h>
#include <wx/uiaction.h>
#include <wx/frame.h>

#include <filesystem>
#include <memory>

#include "app/res/Resource.h"
#include "app/store/ScrapStore.h"
#include "tests/store/TreeFixture.h"
#include "tests/support/GuiTest.h"

using store::TreeItem;
using treetest::Children;
using treetest::Item;
using treetest::Listed;

namespace {

struct Update {
  CDocView* sender;
  DocUpdate update;
};

class LeftViewGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!guitest::EnsureWx()) GTEST_SKIP() << "no display (run under xvfb-run)";
    for (const char* s : {"旅行の記録/京都の寺", "旅行の記録/大阪城", "レシピ/カレー", "news"}) {
      book.Scrap(s);
    }
    book.Folder("レシピ/和食/煮物");
    book.Ini("", store::kSortName);
    book.Ini("旅行の記録", store::kSortName);
    frame = new wxFrame(nullptr, wxID_ANY, "tree", wxPoint(0, 0), wxSize(320, 480));
    view = new CLeftView(frame);
    CLeftView::Hooks hooks;
    hooks.updateAllViews = [this](CDocView* s, const DocUpdate& u) { updates.push_back({s, u}); };
    hooks.clearModified = [this] { ++cleared; };
    hooks.readExpandAll = [] { return 1; };
    hooks.writeExpandAll = [this](int v) { written = v; };
    view->SetHooks(hooks);
    images = CFolderTreeCtrl::CreateImageList();
    view->Tree()->SetShellUi(&ui);
    frame->Show();
    view->Start(book.Home(), images.get(), "");
    ASSERT_TRUE(guitest::WaitFor([this] { return view->IsShownOnScreen(); }));
  }
  void TearDown() override {
    if (!frame) return;  // skipped: no display
    frame->Destroy();
    guitest::WaitFor([this] { return !wxTopLevelWindows.Find(frame); });
  }
  CFolderTreeCtrl* tree() { return view->Tree(); }
  TreeItem* I(const std::string& texts) { return Item(tree()->Model(), texts); }
  bool Enabled(int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(tree());
    tree()->ProcessWindowEvent(event);
    return !event.GetSetEnabled() || event.GetEnabled();
  }
  void Key(int code, int modifiers = 0) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = code;
    event.SetControlDown(modifiers & wxMOD_CONTROL);
    event.SetShiftDown(modifiers & wxMOD_SHIFT);
    event.SetAltDown(modifiers & wxMOD_ALT);
    event.SetEventObject(tree());
    tree()->ProcessWindowEvent(event);
  }

  treetest::Scrapbook book;
  treetest::ScriptedShellUi ui;
  wxFrame* frame = nullptr;
  CLeftView* view = nullptr;
  std::unique_ptr<wxImageList> images;
  std::vector<Update> updates;
  int cleared = 0;
  int written = -1;
};

// First, while the screen is fresh: under Xvfb, windows of later tests are not always
// painted before a capture of the screen.
TEST_F(LeftViewGuiTest, ScreenshotOfAPopulatedTree) {
  tree()->SelectByPath(book.Path("旅行の記録/京都の寺"));
  guitest::Pump(0);
  const std::string file = std::string(CLIPWREN_TEST_OUTPUT_DIR) + "/folder-tree.png";
  ASSERT_TRUE(guitest::SaveScreenshot(frame, wxString::FromUTF8(file)));
  wxImage image(wxString::FromUTF8(file));
  ASSERT_TRUE(image.IsOk());
  // The gray band above the tree and the white tree area below it.
  const wxPoint band = view->FromDIP(wxPoint(250, 20));
  EXPECT_EQ(image.GetRed(band.x, band.y), 128);
  int dark = 0;
  const wxRect rect = tree()->GetRect();
  for (int y = rect.y; y < rect.GetBottom(); ++y) {
    for (int x = rect.x; x < rect.GetRight(); ++x) {
      if (image.GetRed(x, y) < 100) ++dark;
    }
  }
  EXPECT_GT(dark, 200) << "text and pictures are drawn in the tree";
}

TEST_F(LeftViewGuiTest, StartFillsAndExpandsTheTreeAndMirrorsTheModel) {
  const wxTreeItemId root = tree()->GetRootItem();
  ASSERT_TRUE(root.IsOk());
  EXPECT_EQ(tree()->GetItemText(root).utf8_string(), "クリップレン");
  EXPECT_EQ(tree()->GetItemImage(root), store::kImageHome);
  std::size_t items = 0;
  tree()->Model().ForEach([&](TreeItem*) { ++items; });
  EXPECT_EQ(tree()->GetCount(), items);
  EXPECT_EQ(items, 9u);
  // Display order in the control is the model's order.
  wxTreeItemIdValue cookie;
  wxTreeItemId child = tree()->GetFirstChild(root, cookie);
  std::string shown;
  while (child.IsOk()) {
    shown += tree()->GetItemText(child).utf8_string() + ",";
    child = tree()->GetNextChild(root, cookie);
  }
  EXPECT_EQ(shown, Children(tree()->Model().Home()) + ",");
  EXPECT_TRUE(tree()->IsExpanded(tree()->IdOf(I("レシピ/和食"))));
  EXPECT_EQ(tree()->GetItemImage(tree()->IdOf(I("news"))), store::kImageScrap);
}

TEST_F(LeftViewGuiTest, SelectingAnItemTellsTheDocumentTheCaretMoved) {
  updates.clear();
  const wxTreeItemId id = tree()->SelectByPath(book.Path("旅行の記録/大阪城"));
  ASSERT_TRUE(id.IsOk());
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].sender, static_cast<CDocView*>(view));
  EXPECT_EQ(updates[0].update.hint, DocHint::kCaretMoved);
  // The receiver reads the caret item's path through the sender it is given.
  ASSERT_EQ(updates[0].update.caret, static_cast<ICaretPathSource*>(tree()));
  EXPECT_EQ(updates[0].update.caret->CaretPath(), book.Path("旅行の記録/大阪城"));
  EXPECT_TRUE(tree()->IsSelected(id));
  EXPECT_TRUE(view->Button(res::kIdDeleteItem)->IsEnabled());
  tree()->Model().SetCaret(nullptr);
  EXPECT_EQ(updates.size(), 1u) << "no caret item notifies nothing";
}

TEST_F(LeftViewGuiTest, HomeItemDisablesDeleteAndRenameAndCannotCloseWithLeft) {
  tree()->Model().SetCaret(tree()->Model().Home());
  EXPECT_FALSE(view->Button(res::kIdDeleteItem)->IsEnabled());
  EXPECT_FALSE(view->Button(res::kIdRenameItem)->IsEnabled());
  EXPECT_FALSE(Enabled(res::kIdDeleteItem));
  EXPECT_FALSE(Enabled(res::kIdRenameItem));
  Key(WXK_LEFT);
  guitest::Pump(0);
  EXPECT_TRUE(tree()->IsExpanded(tree()->GetRootItem()));
}

TEST_F(LeftViewGuiTest, MenuEnablingFollowsTheCaretItem) {
  tree()->SelectByPath(book.Path("旅行の記録/京都の寺"));
  EXPECT_TRUE(Enabled(res::kIdDeleteItem));
  EXPECT_FALSE(Enabled(res::kIdMoveUp));
  EXPECT_TRUE(Enabled(res::kIdMoveDown));
  EXPECT_FALSE(Enabled(res::kIdRestoreOrder));
  wxUpdateUIEvent check(res::kIdSortDateDescending);
  tree()->ProcessWindowEvent(check);
  EXPECT_TRUE(check.GetSetChecked());
  EXPECT_TRUE(check.GetChecked()) << "a scrap without Scrap.ini sorts newest first";
  Key('V', wxMOD_ALT);  // not a tree key
  Key(WXK_DOWN, wxMOD_ALT);
  EXPECT_EQ(Children(I("旅行の記録")), "大阪城,京都の寺");
  EXPECT_TRUE(Enabled(res::kIdMoveUp));
}

TEST_F(LeftViewGuiTest, DeleteKeyGoesToTheTrashAndF5RebuildsKeepingTheCaret) {
  tree()->SelectByPath(book.Path("news"));
  tree()->Model().SetOnlySelected(I("news"));
  Key(WXK_DELETE);
  EXPECT_EQ(cleared, 1);
  EXPECT_FALSE(book.Exists("news"));
  EXPECT_EQ(I("news"), nullptr);
  tree()->SelectByPath(book.Path("レシピ/カレー"));
  book.Scrap("レシピ/新しい");
  Key(WXK_F5);
  EXPECT_EQ(tree()->CaretPath(), book.Path("レシピ/カレー"));
  EXPECT_NE(I("レシピ/新しい"), nullptr);
}

TEST_F(LeftViewGuiTest, CancelledDragChangesNothingAndADropReorders) {
  tree()->SelectByPath(book.Path("旅行の記録/大阪城"));
  tree()->Model().SetOnlySelected(I("旅行の記録/大阪城"));
  wxRect row;
  ASSERT_TRUE(tree()->GetBoundingRect(tree()->IdOf(I("旅行の記録/大阪城")), row, true));
  ASSERT_TRUE(tree()->BeginTreeDrag(row.GetPosition() + wxPoint(4, 4)));
  EXPECT_TRUE(tree()->IsDragging());
  wxRect target;
  ASSERT_TRUE(tree()->GetBoundingRect(tree()->IdOf(I("旅行の記録")), target, true));
  tree()->DragMoveTo(target.GetPosition() + wxPoint(4, 4));
  tree()->EndTreeDrag(true, wxDefaultPosition);
  EXPECT_FALSE(tree()->IsDragging());
  EXPECT_EQ(Children(I("旅行の記録")), "京都の寺,大阪城");
  EXPECT_EQ(I("旅行の記録")->record->sortType, store::kSortName);

  ASSERT_TRUE(tree()->BeginTreeDrag(row.GetPosition() + wxPoint(4, 4)));
  tree()->DragMoveTo(target.GetPosition() + wxPoint(4, 4));
  tree()->EndTreeDrag(false, target.GetPosition());
  EXPECT_EQ(Children(I("旅行の記録")), "大阪城,京都の寺");
  EXPECT_EQ(I("旅行の記録")->record->sortType, store::kSortCustom);
  EXPECT_EQ(Listed(tree()->Model()), "大阪城");
}

TEST_F(LeftViewGuiTest, RestingOnAClosedFolderOpensItOnTheFourthTick) {
  tree()->Model().Collapse(I("レシピ"));
  guitest::Pump(0);
  tree()->SelectByPath(book.Path("news"));
  tree()->Model().SetOnlySelected(I("news"));
  wxRect from;
  wxRect over;
  ASSERT_TRUE(tree()->GetBoundingRect(tree()->IdOf(I("news")), from, true));
  ASSERT_TRUE(tree()->GetBoundingRect(tree()->IdOf(I("レシピ")), over, true));
  const wxPoint onFolder = over.GetPosition() + wxPoint(4, over.height / 2);
  // The timer reads the real pointer, which must rest on the folder, away from the edges
  // that scroll.
  wxUIActionSimulator().MouseMove(tree()->ClientToScreen(onFolder));
  guitest::WaitFor([&] { return tree()->ScreenToClient(wxGetMousePosition()) == onFolder; }, 5000);
  if (tree()->ScreenToClient(wxGetMousePosition()) != onFolder) {
    GTEST_SKIP() << "the pointer cannot be moved on this display";
  }
  ASSERT_TRUE(tree()->BeginTreeDrag(from.GetPosition() + wxPoint(4, 4)));
  tree()->DragMoveTo(onFolder);
  for (int tick = 1; tick <= 3; ++tick) {
    tree()->DragTimerTick();
    EXPECT_FALSE(I("レシピ")->expanded) << "tick " << tick;
  }
  tree()->DragTimerTick();
  EXPECT_TRUE(I("レシピ")->expanded);
  tree()->EndTreeDrag(true, wxDefaultPosition);
  EXPECT_FALSE(tree()->IsDragging());
  EXPECT_EQ(Children(I("レシピ")), "カレー,和食") << "a cancelled drag moved nothing";
  // Other GUI tests share the display: leave the pointer in a corner where it hovers nothing.
  const wxSize display = wxGetDisplaySize();
  wxUIActionSimulator().MouseMove(display.x - 1, display.y - 1);
}

TEST_F(LeftViewGuiTest, DestroyingThePaneWritesTheExpandAllState) {
  tree()->CollapseAllFolders();
  wxWindow* const old = frame;
  frame->Destroy();
  ASSERT_TRUE(guitest::WaitFor([&] { return !wxTopLevelWindows.Find(old); }));
  frame = new wxFrame(nullptr, wxID_ANY, "again");
  EXPECT_EQ(written, 0);
  EXPECT_NE(book.IniText("レシピ/和食"), "") << "every loaded directory got its Scrap.ini";
}

}  // namespace
