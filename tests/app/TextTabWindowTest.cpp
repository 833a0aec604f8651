// The text tab and the scrapbook-wide text search in the real application object, started
// in-process on a sandboxed scrapbook: the search box's Enter, the F3 family, the find dialog
// with its style bit, editing with undo and the modified flag, and "テキストの全文検索" through
// the frame's own find dialog.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/fdrepdlg.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/CxImage.h"
#include "app/pageview/ui/CSBTabCtrl.h"
#include "app/res/Resource.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/Screenshot.h"
#include "app/store/ui/CDimEditCtrl.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "app/tabs/ui/CTextView.h"
#include "platform/TextConv.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

wxIMPLEMENT_APP_NO_MAIN(CClipwrenApp);

namespace {

namespace fs = std::filesystem;

fs::path Home() { return fs::path(std::getenv("HOME")) / "Documents" / "クリップレン"; }

void MakeScrap(const fs::path& dir, const std::string& text, bool bom = true) {
  fs::create_directories(dir);
  CxImage page;
  ASSERT_TRUE(page.Create(120, 160, 24, CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(page.Save((dir / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  testsupport::WriteFile(dir / "Content.txt", (bom ? std::string("\xFF\xFE") : std::string()) +
                                                  platform::text::Utf8ToUtf16le(text));
}

const std::string kJapanesePage =
    "★★★★http://example.jp/news★★★★\r\n今日のニュース\r\n"
    "東京の天気は晴れ。abc と ABC と abc が並びます。\r\n全角のＡＢＣは別の文字です。";

class TextTabWindowTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    // Walk order below home (names): 1-ニュース/ (a-記事, b-写し), 2-メモ, 3-予定.
    for (const char* dir : {"", "1-ニュース"}) {
      testsupport::WriteFile(Home() / dir / "Scrap.ini", "[SortType]\nSortType=2\n");
    }
    MakeScrap(Home() / "1-ニュース" / "a-記事", kJapanesePage);
    MakeScrap(Home() / "1-ニュース" / "b-写し", "写しの本文 needle の一つ目と needle の二つ目",
              false);
    MakeScrap(Home() / "2-メモ", "メモの本文 only-here です");
    MakeScrap(Home() / "3-予定", "予定 needle 最後");
    ASSERT_TRUE(wxGetApp().OnInit());
    m_frame = wxGetApp().MainFrame();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame && m_frame->IsShown(); }));
    m_doc = wxGetApp().Document();
    m_text = dynamic_cast<CTextView*>(wxGetApp().TextView());
    ASSERT_NE(m_text, nullptr) << "the text tab is the text view";
    m_tabs = wxDynamicCast(m_text->GetParent(), CSBTabCtrl);
    ASSERT_NE(m_tabs, nullptr);
    m_tree = m_frame->LeftView()->Tree();
    m_tree->showMessage = [this](const wxString& text) {
      m_messages.push_back(text.utf8_string());
    };
  }

  void TearDown() override {
    if (m_frame) {
      if (m_doc) m_doc->SetModifiedFlag(false);
      m_frame->Close(true);
      guitest::Pump();
    }
    GuiTest::TearDown();
  }

  void Open(const fs::path& scrap, bool textTab = true) {
    ASSERT_TRUE(m_tree->SelectByPath(scrap.string()).IsOk()) << scrap;
    const wxString title = wxString::FromUTF8(scrap.filename().string());
    ASSERT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == title; }));
    if (textTab) {
      m_tabs->SelectTab(2);
      ASSERT_TRUE(guitest::WaitFor([&] { return m_frame->CurrentMenuId() == 136; }));
    }
  }

  // A command as the menu or an accelerator sends it: to the frame, which offers it to the
  // active view and the document first.
  bool Command(int id) {
    wxUpdateUIEvent update(id);
    update.SetEventObject(m_frame);
    m_frame->GetEventHandler()->ProcessEvent(update);
    if (update.GetSetEnabled() && !update.GetEnabled()) return false;
    wxCommandEvent run(wxEVT_MENU, id);
    run.SetEventObject(m_frame);
    m_frame->GetEventHandler()->ProcessEvent(run);
    guitest::Pump(0);
    return true;
  }

  std::pair<long, long> Selection() const {
    long from = 0, to = 0;
    m_text->GetSelection(&from, &to);
    return {from, to};
  }

  // The position of `utf8` in the text view's own characters.
  long PositionOf(const std::string& utf8, std::size_t nth = 0) const {
    const wxString value = m_text->GetValue();
    const wxString needle = wxString::FromUTF8(utf8);
    size_t at = value.find(needle);
    while (nth-- && at != wxString::npos) at = value.find(needle, at + 1);
    return at == wxString::npos ? -1 : static_cast<long>(at);
  }

  CMainFrame* m_frame = nullptr;
  CClipwrenDoc* m_doc = nullptr;
  CTextView* m_text = nullptr;
  CSBTabCtrl* m_tabs = nullptr;
  CFolderTreeCtrl* m_tree = nullptr;
  std::vector<std::string> m_messages;
};

TEST_F(TextTabWindowTest, SearchBoxEnterWithRealKeysMovesTheSelection) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Open(Home() / "1-ニュース" / "a-記事");
  ASSERT_TRUE(input.Activate("クリップレン帳 - a-記事"));
  CDimEditCtrl* box = m_frame->SearchBox();
  ASSERT_TRUE(guitest::WaitFor([&] { return box->IsShownOnScreen(); }));
  const wxRect at = box->GetScreenRect();
  ASSERT_TRUE(guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return box->HasFocus(); }));
  ASSERT_TRUE(guitest::RealInput::Key("a b c"));
  ASSERT_TRUE(guitest::WaitFor([&] { return box->GetValue() == "abc"; }));
  ASSERT_TRUE(guitest::RealInput::Key("Return"));
  const long first = PositionOf("abc");
  EXPECT_TRUE(guitest::WaitFor([&] { return Selection() == std::make_pair(first, first + 3); }))
      << "Enter in the search box searches the text tab from its caret";
  EXPECT_TRUE(box->HasFocus());

  // F3 inside the text view runs the main window's find next through its accelerator.
  const wxRect view = m_text->GetScreenRect();
  ASSERT_TRUE(guitest::RealInput::Click(view.x + view.width / 2, view.y + view.height - 20));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->HasFocus(); }));
  m_text->SetSelection(first, first + 3);
  ASSERT_TRUE(guitest::RealInput::Key("F3"));
  const long third = PositionOf("abc", 1);
  EXPECT_TRUE(guitest::WaitFor([&] { return Selection() == std::make_pair(third, third + 3); }))
      << "match case is on at first, so ABC is skipped";
  ASSERT_TRUE(guitest::RealInput::Key("shift+F3"));
  EXPECT_TRUE(guitest::WaitFor([&] { return Selection() == std::make_pair(first, first + 3); }));
  EXPECT_TRUE(SaveWindowScreenshot(m_frame, guitest::ScreenshotPath("text-tab-search-box.png")));
}

TEST_F(TextTabWindowTest, FindCommandsAndTheFindDialogOfTheTextTab) {
  Open(Home() / "1-ニュース" / "a-記事");
  CDimEditCtrl* box = m_frame->SearchBox();
  // An empty search box does nothing.
  m_text->SetSelection(0, 0);
  ASSERT_TRUE(Command(res::kIdFindNext));
  EXPECT_EQ(Selection(), std::make_pair(0L, 0L));

  // Ctrl+F3 takes the selected text into the box and finds its next occurrence.
  const long first = PositionOf("abc"), third = PositionOf("abc", 1);
  m_text->SetSelection(first, first + 3);
  ASSERT_TRUE(Command(res::kIdFindNextSelected));
  EXPECT_EQ(box->GetValue(), "abc");
  EXPECT_EQ(Selection(), std::make_pair(third, third + 3));

  // Ctrl+F opens the dialog with the box's text and the view's flags; the style bit is set
  // while it is open, a second Ctrl+F changes nothing, closing restores the bit.
  ASSERT_TRUE(Command(res::kIdFind));
  wxFindReplaceDialog* dialog = m_text->FindDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetData()->GetFindString(), "abc");
  EXPECT_EQ(dialog->GetData()->GetFlags() & (wxFR_DOWN | wxFR_MATCHCASE),
            wxFR_DOWN | wxFR_MATCHCASE);
  int checkBoxes = 0;
  for (wxWindow* child : dialog->GetChildren()) {
    checkBoxes += wxDynamicCast(child, wxCheckBox) != nullptr && child->IsShown();
  }
  EXPECT_EQ(checkBoxes, 1) << "match case only: the whole-word option is hidden";
  EXPECT_EQ(m_text->EditStyle() & kStyleKeepSelection, kStyleKeepSelection);
  ASSERT_TRUE(Command(res::kIdFind));
  EXPECT_EQ(m_text->FindDialog(), dialog);

  // Find next from the dialog, match case off and upwards: the flags become the view's and
  // the text goes into the search box.
  m_text->SetSelection(third, third);
  wxFindDialogEvent next(wxEVT_FIND_NEXT, dialog->GetId());
  next.SetEventObject(dialog);
  next.SetFindString("ABC");
  next.SetFlags(0);
  dialog->GetEventHandler()->ProcessEvent(next);
  const long upper = PositionOf("ABC");
  EXPECT_EQ(Selection(), std::make_pair(upper, upper + 3));
  EXPECT_FALSE(m_text->MatchCase());
  EXPECT_FALSE(m_text->SearchDown());
  EXPECT_EQ(box->GetValue(), "ABC");
  // Full-width letters never fold: ＡＢＣ is not found by "abc" with match case off, and the
  // search from the end wraps round to the last ASCII occurrence instead.
  m_text->SetSelection(m_text->GetLastPosition(), m_text->GetLastPosition());
  EXPECT_EQ(m_text->Find("ａｂｃ", false, true, true), -1);

  dialog->Close();
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->FindDialog() == nullptr; }));
  EXPECT_EQ(m_text->EditStyle() & kStyleKeepSelection, 0);
}

TEST_F(TextTabWindowTest, EditingMarksTheDocumentAndUndoTakesItBack) {
  Open(Home() / "2-メモ");
  const wxString original = m_text->GetValue();
  EXPECT_FALSE(m_doc->IsModified());
  EXPECT_FALSE(Command(res::kIdEditUndo)) << "nothing to undo after loading";
  m_text->SetFocus();
  m_text->SetInsertionPoint(2);
  m_text->WriteText("X");
  EXPECT_TRUE(m_doc->IsModified());
  m_text->Remove(2, 3);
  EXPECT_EQ(m_text->GetValue(), original);
  EXPECT_TRUE(m_doc->IsModified()) << "equality with the document's copy never clears the flag";

  m_doc->SetModifiedFlag(false);
  m_text->SetSelection(0, 2);
  ASSERT_TRUE(Command(res::kIdEditClear));
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_EQ(m_text->GetValue(), original.Mid(2));
  ASSERT_TRUE(Command(res::kIdEditUndo));
  EXPECT_EQ(m_text->GetValue(), original);
  ASSERT_TRUE(Command(res::kIdEditRedo));
  EXPECT_EQ(m_text->GetValue(), original.Mid(2));

  // Copy and the context menu's copy are enabled by a selection only; select all selects to
  // the end.
  m_text->SetSelection(0, 0);
  EXPECT_FALSE(Command(kIdTextContextCopy));
  EXPECT_FALSE(Command(res::kIdEditCopy));
  ASSERT_TRUE(Command(res::kIdEditSelectAll));
  EXPECT_EQ(Selection(), std::make_pair(0L, m_text->GetLastPosition()));
  EXPECT_TRUE(Command(kIdTextContextCopy));
}

TEST_F(TextTabWindowTest, ScrapbookFindThroughTheRealDialog) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Open(Home() / "2-メモ", false);
  m_tree->Model().SelectOnly(m_tree->Model().Home());
  guitest::Pump();
  ASSERT_TRUE(Command(res::kIdFindInScrapbook));
  wxFindReplaceDialog* dialog = m_frame->FindDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTitle(), wxString::FromUTF8("テキストの全文検索"));
  // Again while it is open: the same dialog, not a second one.
  ASSERT_TRUE(Command(res::kIdFindInScrapbook));
  EXPECT_EQ(m_frame->FindDialog(), dialog);

  // The text typed into the dialog's field and its Find button pressed, as a user does.
  ASSERT_TRUE(input.Activate("テキストの全文検索"));
  auto* button = wxDynamicCast(dialog->FindWindow(wxID_FIND), wxButton);
  ASSERT_NE(button, nullptr);
  wxTextCtrl* field = nullptr;
  for (wxWindow* child : dialog->GetChildren()) {
    if (auto* t = wxDynamicCast(child, wxTextCtrl)) field = t;
  }
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(guitest::WaitFor([&] { return field->HasFocus(); }));
  ASSERT_TRUE(guitest::RealInput::Key("N E E D L E"));
  ASSERT_TRUE(guitest::WaitFor([&] { return field->GetValue() == "NEEDLE"; }));
  const wxRect at = button->GetScreenRect();
  ASSERT_TRUE(guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2));

  // Match case is off by default: the first scrap in walk order with "needle" opens on its
  // text tab with the first occurrence selected.
  const fs::path copy = Home() / "1-ニュース" / "b-写し";
  ASSERT_TRUE(guitest::WaitFor([&] { return m_tree->CaretPath() == copy.string(); }));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_tabs->Current() == 2; }));
  const long first = PositionOf("needle"), second = PositionOf("needle", 1);
  EXPECT_EQ(Selection(), std::make_pair(first, first + 6));
  EXPECT_TRUE(m_text->HasFocus()) << "the text view has the keyboard focus";
  EXPECT_TRUE(SaveWindowScreenshot(m_frame, guitest::ScreenshotPath("scrapbook-find.png")));

  // The next presses step through the open scrap, then on to the next scrap.
  ASSERT_TRUE(guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return Selection().first == second; }));
  ASSERT_TRUE(guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2));
  const fs::path plans = Home() / "3-予定";
  ASSERT_TRUE(guitest::WaitFor([&] { return m_tree->CaretPath() == plans.string(); }));
  EXPECT_EQ(m_text->GetStringSelection(), "needle");
  EXPECT_TRUE(m_messages.empty());
  ASSERT_TRUE(guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_messages.empty(); }));
  EXPECT_EQ(m_messages.back(), "'NEEDLE' が見つかりません。");
  EXPECT_EQ(m_tree->CaretPath(), plans.string()) << "nothing further: the caret item stays";
  EXPECT_EQ(m_frame->FindDialog(), dialog) << "the dialog stays open";
  dialog->Close();
  EXPECT_TRUE(guitest::WaitFor([&] { return m_frame->FindDialog() == nullptr; }));
}

TEST_F(TextTabWindowTest, ScrapbookSearchEdgeCases) {
  // Text only the open scrap holds: the first find next selects the occurrence after the
  // selection; the next finds nothing else and says so.
  Open(Home() / "2-メモ");
  m_text->SetSelection(0, 0);
  EXPECT_TRUE(m_tree->SearchText("only-here", true, true));
  const long at = PositionOf("only-here");
  EXPECT_EQ(Selection(), std::make_pair(at, at + 9));
  EXPECT_FALSE(m_tree->SearchText("only-here", true, true));
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0], "'only-here' が見つかりません。");

  // Searching up into a scrap that was not open selects its last occurrence.
  EXPECT_TRUE(m_tree->SearchText("needle", true, false));
  EXPECT_EQ(m_tree->CaretPath(), (Home() / "1-ニュース" / "b-写し").string());
  const long last = PositionOf("needle", 1);
  EXPECT_EQ(Selection(), std::make_pair(last, last + 6));
  EXPECT_EQ(m_tabs->Current(), 2);

  // With match case off "ABC" finds "abc" in the Japanese page (without a BOM the page next
  // to it is read the same); the first occurrence below the top is selected.
  m_tree->Model().SelectOnly(m_tree->Model().Home());
  guitest::Pump();
  EXPECT_TRUE(m_tree->SearchText("ABC", false, true));
  EXPECT_EQ(m_tree->CaretPath(), (Home() / "1-ニュース" / "a-記事").string());
  const long abc = PositionOf("abc");
  EXPECT_EQ(Selection(), std::make_pair(abc, abc + 3));
  // Full-width letters are compared as they are: nothing has "ａｂｃ".
  EXPECT_FALSE(m_tree->SearchText("ａｂｃ", false, true));

  // After an unsaved edit the text tab's own text is what the open scrap is searched in.
  Open(Home() / "2-メモ");
  m_text->SetSelection(0, 0);
  m_text->Replace(PositionOf("only-here"), PositionOf("only-here") + 9, "gone");
  m_messages.clear();
  EXPECT_FALSE(m_tree->SearchText("only-here", true, true));
  EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(TextTabWindowTest, ContextMenuHasOneCopyItemEnabledBySelection) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Open(Home() / "2-メモ");
  ASSERT_TRUE(input.Activate("クリップレン帳 - 2-メモ"));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->IsShownOnScreen(); }));
  struct Seen {
    int items = -1;
    wxString label;
    bool enabled = false;
  };
  std::vector<Seen> seen;
  // The pop-up runs its own loop: a timer inside it closes it again.
  wxTimer closer;
  closer.Bind(wxEVT_TIMER, [](wxTimerEvent&) { guitest::RealInput::Key("Escape"); });
  m_text->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    if (wxMenu* menu = e.GetMenu(); menu && menu->GetMenuItemCount() > 0) {
      wxMenuItem* item = menu->FindItemByPosition(0);
      seen.push_back({static_cast<int>(menu->GetMenuItemCount()), item->GetItemLabelText(),
                      item->IsEnabled()});
    }
    closer.StartOnce(300);
    e.Skip();
  });
  const wxRect at = m_text->GetScreenRect();
  const auto rightClick = [&] {
    return guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2, 3);
  };
  m_text->SetSelection(0, 0);
  ASSERT_TRUE(rightClick());
  ASSERT_TRUE(guitest::WaitFor([&] { return seen.size() == 1; }));
  EXPECT_EQ(seen[0].items, 1);
  EXPECT_EQ(seen[0].label, wxString::FromUTF8("クリップボードにコピー"));
  EXPECT_FALSE(seen[0].enabled) << "nothing selected: the item is grey";
  EXPECT_TRUE(m_text->HasFocus()) << "the view takes the focus";
  guitest::Pump(300);
  m_text->SetSelection(0, 3);
  ASSERT_TRUE(rightClick());
  ASSERT_TRUE(guitest::WaitFor([&] { return seen.size() == 2; }));
  EXPECT_TRUE(seen[1].enabled);
  guitest::Pump(300);
}

TEST_F(TextTabWindowTest, PageOfSeveralMegabytesLoadsEditsAndSearches) {
  // About 3 MB of UTF-16: Japanese lines with an ASCII word at the very end.
  std::string page;
  while (page.size() < 4'000'000)
    page += "東京の天気は晴れ、明日は曇りのち雨の予報です。Tokyo weather.\r\n";
  page += "終わりの印 ZarboEnd";
  MakeScrap(Home() / "4-長い記事", page);
  m_tree->RefreshTree("");
  const auto start = std::chrono::steady_clock::now();
  Open(Home() / "4-長い記事");
  m_text->SetSelection(0, 0);
  const long at = m_text->Find("zarboend", false, true, false);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(at, m_text->GetLastPosition() - 8);
  EXPECT_LT(seconds, 5.0) << "open and search a large page";
  m_text->SetInsertionPoint(0);
  m_text->WriteText("X");
  EXPECT_TRUE(m_doc->IsModified());
  // Straight to the view: a command would also let the toolkit lay out the whole page while
  // it waits, which takes it seconds in the background.
  ASSERT_TRUE(m_text->CanUndoEdit());
  m_text->UndoEdit();
  EXPECT_EQ(m_text->GetValue().Left(3), wxString::FromUTF8("東京の"));
  // The toolkit lays out a page this long in the background for seconds; the window would
  // wait for that before it closes.
  m_doc->SetModifiedFlag(false);
  m_text->SetText("");
}

TEST_F(TextTabWindowTest, RealKeysTypeUndoSaveAndFindInsideTheView) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  const fs::path memo = Home() / "2-メモ";
  Open(memo);
  ASSERT_TRUE(input.Activate("クリップレン帳 - 2-メモ"));
  const wxRect view = m_text->GetScreenRect();
  ASSERT_TRUE(guitest::RealInput::Click(view.x + view.width / 2, view.y + view.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->HasFocus(); }));
  m_text->SetInsertionPoint(0);
  const wxString original = m_text->GetValue();

  // Typed keys are one undo step; Ctrl+Z takes them back, and the document stays modified.
  ASSERT_TRUE(guitest::RealInput::Key("x y"));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->GetValue() == "xy" + original; }));
  EXPECT_TRUE(m_doc->IsModified());
  ASSERT_TRUE(guitest::RealInput::Key("ctrl+z"));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->GetValue() == original; }));
  EXPECT_TRUE(m_doc->IsModified());
  ASSERT_TRUE(guitest::RealInput::Key("ctrl+y"));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->GetValue() == "xy" + original; }));

  // Ctrl+S inside the text view saves the text tab: Content.txt holds the edit.
  ASSERT_TRUE(guitest::RealInput::Key("ctrl+s"));
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_doc->IsModified(); }));
  const std::string saved = testsupport::ReadFile(memo / "Content.txt");
  EXPECT_EQ(saved, "\xFF\xFE" + platform::text::Utf8ToUtf16le(("xy" + original).utf8_string()));

  // Ctrl+F opens the view's find dialog; while it is open the field keeps its selection colours.
  ASSERT_TRUE(guitest::RealInput::Key("ctrl+f"));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_text->FindDialog() != nullptr; }));
  EXPECT_EQ(m_text->EditStyle() & kStyleKeepSelection, kStyleKeepSelection);
  m_text->SetSelection(0, 4);
  ASSERT_TRUE(input.Activate("検索"));
  guitest::Pump(200);
  EXPECT_TRUE(SaveWindowScreenshot(m_frame, guitest::ScreenshotPath("text-find-dialog.png")));
  m_text->FindDialog()->Close();
  EXPECT_TRUE(guitest::WaitFor([&] { return m_text->FindDialog() == nullptr; }));
}

}  // namespace
