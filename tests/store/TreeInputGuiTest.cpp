// The folder tree driven the way a user drives it: real key presses and clicks through the
// X server (the toolkit's input simulator), and the shell's real message boxes.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>

#include <functional>
#include <memory>
#include <string>

#include "app/res/Resource.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/store/ScrapStore.h"
#include "app/store/ui/CLeftView.h"
#include "app/store/ui/CShellDialogs.h"
#include "tests/store/TreeFixture.h"
#include "tests/support/GuiTest.h"

using store::TreeItem;
using treetest::Item;
using treetest::Listed;

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms = 15000) {
  return guitest::WaitFor(done, ms);
}

class TreeInputGuiTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    guitest::GuiTest::SetUp();
    if (IsSkipped()) return;
    for (const char* s : {"f/a", "f/b", "f/c", "ニュース/記事"}) book.Scrap(s);
    book.Ini("", store::kSortName);
    book.Ini("f", store::kSortName);
    frame = new wxFrame(nullptr, wxID_ANY, "tree input", wxPoint(40, 40), wxSize(320, 480));
    view = new CLeftView(frame);
    CLeftView::Hooks hooks;
    hooks.updateAllViews = [](CDocView*, const DocUpdate&) {};
    hooks.clearModified = [] {};
    hooks.readExpandAll = [] { return 1; };
    hooks.writeExpandAll = [](int) {};
    view->SetHooks(hooks);
    images = CFolderTreeCtrl::CreateImageList();
    view->Tree()->SetShellUi(&ui);
    frame->Show();
    view->Start(book.Home(), images.get(), "");
    frame->Raise();
    ASSERT_TRUE(WaitUntil([this] { return frame->IsShownOnScreen() && I("f/c") != nullptr; }));
  }
  void TearDown() override {
    // Other GUI tests share the display: no key stays down, the pointer rests in a corner.
    if (frame) {
      sim.KeyUp(WXK_SHIFT);
      sim.KeyUp(WXK_CONTROL);
      const wxSize display = wxGetDisplaySize();
      sim.MouseMove(display.x - 1, display.y - 1);
    }
    guitest::GuiTest::TearDown();
  }
  CFolderTreeCtrl* tree() { return view->Tree(); }
  TreeItem* I(const std::string& texts) { return Item(tree()->Model(), texts); }
  // The middle of item's label on the screen.
  wxPoint ScreenPointOf(const std::string& texts) {
    wxRect rect;
    EXPECT_TRUE(tree()->GetBoundingRect(tree()->IdOf(I(texts)), rect, true)) << texts;
    return tree()->ClientToScreen(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
  }
  void Click(const wxPoint& screen) {
    sim.MouseMove(screen);
    ASSERT_TRUE(WaitUntil([&] { return wxGetMousePosition() == screen; }))
        << "the pointer cannot be moved on this display";
    sim.MouseClick();
  }
  void ClickItem(const std::string& texts) { Click(ScreenPointOf(texts)); }
  // Gives the tree the keyboard focus through a real click on its caret item, as a user does.
  void FocusTree() {
    if (wxWindow::FindFocus() == tree()) return;
    tree()->SetFocus();
    ASSERT_TRUE(WaitUntil([this] { return wxWindow::FindFocus() == tree(); }));
  }

  treetest::Scrapbook book;
  treetest::ScriptedShellUi ui;
  wxFrame* frame = nullptr;
  CLeftView* view = nullptr;
  std::unique_ptr<wxImageList> images;
  wxUIActionSimulator sim;
};

// Shift, Ctrl and Alt pressed on their own are keys too; they must not empty the list that
// the click they are held for extends, or that Shift+Delete deletes.
TEST_F(TreeInputGuiTest, ModifierKeysKeepTheListForTheClickAndTheDelete) {
  ClickItem("f/a");
  ASSERT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "a"; }))
      << Listed(tree()->Model());

  // Shift+click extends from the caret item.
  sim.KeyDown(WXK_SHIFT);
  ClickItem("f/c");
  sim.KeyUp(WXK_SHIFT);
  EXPECT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "a,b,c"; }))
      << Listed(tree()->Model());

  // A plain click starts again; Ctrl+click adds to it.
  ClickItem("f/a");
  ASSERT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "a"; }));
  sim.KeyDown(WXK_CONTROL);
  ClickItem("f/c");
  sim.KeyUp(WXK_CONTROL);
  EXPECT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "a,c"; }))
      << Listed(tree()->Model());

  // Alt and Esc on their own leave the list as well, and Shift+Delete deletes the listed items
  // for good (an emptied list would delete nothing).
  FocusTree();
  sim.Char(WXK_ALT);
  sim.Char(WXK_ESCAPE);
  sim.Char(WXK_DELETE, wxMOD_SHIFT);
  ASSERT_TRUE(WaitUntil([this] { return !ui.questions.empty(); })) << "nothing was deleted";
  EXPECT_EQ(ui.questions.back(), "delete 2");
  EXPECT_FALSE(book.Exists("f/a"));
  EXPECT_FALSE(book.Exists("f/c"));
  EXPECT_TRUE(book.Exists("f/b"));
}

// A key that moves the caret item still empties the list; the list then follows the caret.
TEST_F(TreeInputGuiTest, DownMovesTheCaretAndTheListFollowsIt) {
  ClickItem("f/a");
  sim.KeyDown(WXK_CONTROL);
  ClickItem("f/c");
  sim.KeyUp(WXK_CONTROL);
  ASSERT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "a,c"; }));
  FocusTree();
  sim.Char(WXK_DOWN);
  EXPECT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "b"; }))
      << Listed(tree()->Model());
  EXPECT_EQ(tree()->Model().Caret(), I("f/b"));
}

// New folder under ニュース, its name typed, Enter, then Delete: the question is about the new
// folder, not about ニュース and all its scraps.
TEST_F(TreeInputGuiTest, DeleteRightAfterANewFolderDeletesTheNewFolder) {
  ClickItem("ニュース");
  ASSERT_TRUE(WaitUntil([this] { return Listed(tree()->Model()) == "ニュース"; }));
  wxWindow* button = view->Button(res::kIdNewFolder);
  ASSERT_NE(button, nullptr);
  Click(button->ClientToScreen(wxPoint(button->GetClientSize().x / 2,
                                       button->GetClientSize().y / 2)));
  ASSERT_TRUE(WaitUntil([this] { return tree()->GetEditControl() != nullptr; }))
      << "the new folder's name opens for editing";
  ASSERT_TRUE(WaitUntil([this] { return wxWindow::FindFocus() == tree()->GetEditControl(); }));
  sim.Text("keizai");
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(WaitUntil([this] { return book.Exists("ニュース/keizai"); }));
  ASSERT_TRUE(WaitUntil([this] { return tree()->GetEditControl() == nullptr; }));
  FocusTree();
  sim.Char(WXK_DELETE);
  ASSERT_TRUE(WaitUntil([this] { return !ui.questions.empty(); }));
  EXPECT_EQ(ui.questions.back(), "trash 1");
  EXPECT_FALSE(book.Exists("ニュース/keizai"));
  EXPECT_TRUE(book.Exists("ニュース/記事")) << "the old selection went to the Trash";
}

// F2, a name holding a separator, Enter: refused with the typed name, the item unchanged.
TEST_F(TreeInputGuiTest, RenameToANameWithASeparatorIsRefused) {
  ClickItem("f/b");
  ASSERT_TRUE(WaitUntil([this] { return tree()->Model().Caret() == I("f/b"); }));
  FocusTree();
  sim.Char(WXK_F2);
  ASSERT_TRUE(WaitUntil([this] { return tree()->GetEditControl() != nullptr; }));
  ASSERT_TRUE(WaitUntil([this] { return wxWindow::FindFocus() == tree()->GetEditControl(); }));
  sim.Char('a', wxMOD_CONTROL);
  sim.Text("./x");
  sim.Char(WXK_RETURN);
  ASSERT_TRUE(WaitUntil([this] { return !ui.errors.empty(); }));
  EXPECT_EQ(ui.errors.back(), "「./x」は名前として使えません。");
  EXPECT_TRUE(book.Exists("f/b"));
  EXPECT_FALSE(book.Exists("f/x"));
  ASSERT_NE(I("f/b"), nullptr);
  EXPECT_EQ(tree()->GetItemText(tree()->IdOf(I("f/b"))), "b");
}

// What one of the toolkit's message boxes showed before it was answered.
struct ShownBox {
  bool shown = false;
  std::string yes, no, cancel, ok;
  int width = 0;
};

std::string ButtonText(GtkDialog* dialog, int response) {
  GtkWidget* button = gtk_dialog_get_widget_for_response(dialog, response);
  if (!button || !GTK_IS_BUTTON(button)) return {};
  const char* label = gtk_button_get_label(GTK_BUTTON(button));
  return label ? label : "";
}

// Answers the first message box that is on the screen with `answer`, noting what it showed.
class BoxAnswerer {
 public:
  BoxAnswerer(ShownBox& box, int answer) : m_box(box), m_answer(answer) {
    m_source = g_timeout_add(50, &BoxAnswerer::Poll, this);
  }
  ~BoxAnswerer() {
    if (m_source) g_source_remove(m_source);
  }

 private:
  static gboolean Poll(gpointer self) {
    auto* me = static_cast<BoxAnswerer*>(self);
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* it = windows; it; it = it->next) {
      auto* widget = static_cast<GtkWidget*>(it->data);
      if (GTK_IS_MESSAGE_DIALOG(widget) && gtk_widget_get_mapped(widget)) found = widget;
    }
    g_list_free(windows);
    if (!found || gtk_widget_get_allocated_width(found) <= 1) return G_SOURCE_CONTINUE;
    GtkDialog* dialog = GTK_DIALOG(found);
    me->m_box.shown = true;
    me->m_box.yes = ButtonText(dialog, GTK_RESPONSE_YES);
    me->m_box.no = ButtonText(dialog, GTK_RESPONSE_NO);
    me->m_box.cancel = ButtonText(dialog, GTK_RESPONSE_CANCEL);
    me->m_box.ok = ButtonText(dialog, GTK_RESPONSE_OK);
    me->m_box.width = gtk_widget_get_allocated_width(found);
    gtk_dialog_response(dialog, me->m_answer);
    me->m_source = 0;
    return G_SOURCE_REMOVE;
  }

  ShownBox& m_box;
  int m_answer;
  guint m_source = 0;
};

// The shell's questions and errors speak Japanese on any machine, whatever locale it has, and a
// long name is wrapped inside the box instead of widening it past the screen.
TEST_F(TreeInputGuiTest, ShellMessageBoxesHaveJapaneseButtonsAndFitTheScreen) {
  CShellDialogs dialogs(frame);
  const std::string longName(220, 'n');
  {
    ShownBox box;
    BoxAnswerer answer(box, GTK_RESPONSE_NO);
    EXPECT_EQ(dialogs.ConfirmDelete({book.Path(longName)}, true), platform::ShellUi::Answer::No);
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.yes, "はい");
    EXPECT_EQ(box.no, "いいえ");
    EXPECT_LT(box.width, wxGetDisplaySize().x);
  }
  {
    ShownBox box;
    BoxAnswerer answer(box, GTK_RESPONSE_CANCEL);
    EXPECT_EQ(dialogs.ConfirmReplace(book.Path("a"), book.Path("b")),
              platform::ShellUi::Answer::Cancel);
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.yes, "はい");
    EXPECT_EQ(box.no, "いいえ");
    EXPECT_EQ(box.cancel, "キャンセル");
  }
  {
    ShownBox box;
    BoxAnswerer answer(box, GTK_RESPONSE_OK);
    dialogs.ReportError(platform::FileOpErrorMessage(platform::kFileOpNameTooLong, longName));
    ASSERT_TRUE(box.shown);
    EXPECT_LT(box.width, wxGetDisplaySize().x) << "the box is wider than the screen";
  }
}

// Break opportunities go into long stretches only, and the text reads the same without them.
TEST(MessageBoxText, LongRunsGetInvisibleBreaks) {
  const std::string zwsp = "\xE2\x80\x8B";
  EXPECT_EQ(res::ui::BreakLongRuns("short name", 24), "short name");
  EXPECT_EQ(res::ui::BreakLongRuns("abcdefgh", 3), "abc" + zwsp + "def" + zwsp + "gh");
  // Blanks and ideographs break lines by themselves.
  EXPECT_EQ(res::ui::BreakLongRuns("abc def", 3), "abc def");
  EXPECT_EQ(res::ui::BreakLongRuns("名前名前名前名前", 3), "名前名前名前名前");
  // Characters are never split.
  EXPECT_EQ(res::ui::BreakLongRuns("ééé", 2), "éé" + zwsp + "é");
  std::string text = res::ui::BreakLongRuns("「" + std::string(100, 'x') + "」", 24);
  std::string::size_type at;
  while ((at = text.find(zwsp)) != std::string::npos) text.erase(at, zwsp.size());
  EXPECT_EQ(text, "「" + std::string(100, 'x') + "」");
}

}  // namespace
