// The real application object, started in-process on a sandboxed scrapbook: selecting scraps
// in the tree opens them in the right pane, tabs switch menus and the search bar, the caption
// follows the scrap, and closing asks, writes the placement and keeps the save folder.
#include <gtest/gtest.h>

#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/CxImage.h"
#include "app/res/Resource.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/shell/ui/CPrintToolBar.h"
#include "app/store/ui/CDimEditCtrl.h"
#include "app/pageview/ui/CSBTabCtrl.h"
#include "app/shell/AppSettings.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/CScrapStatusBar.h"
#include "app/shell/ui/Screenshot.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "platform/Registry.h"
#include "platform/TextConv.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

wxIMPLEMENT_APP_NO_MAIN(CClipwrenApp);

namespace {

namespace fs = std::filesystem;

fs::path Home() { return fs::path(std::getenv("HOME")) / "Documents" / "クリップレン"; }

void MakeScrap(const fs::path& dir, const std::string& text, bool copyTab = false) {
  fs::create_directories(dir);
  CxImage page;
  ASSERT_TRUE(page.Create(200, 300, 24, CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(page.Save((dir / "Main.jpg").string(), CXIMAGE_FORMAT_JPG)) << page.GetLastError();
  if (copyTab) ASSERT_TRUE(page.Save((dir / "Main_copy.jpg").string(), CXIMAGE_FORMAT_JPG));
  testsupport::WriteFile(dir / "Content.txt", "\xFF\xFE" + platform::text::Utf8ToUtf16le(text));
}

bool MenuBarHas(wxFrame* frame, const char* title) {
  wxMenuBar* bar = frame->GetMenuBar();
  return bar && bar->FindMenu(wxString::FromUTF8(title)) != wxNOT_FOUND;
}

class MainWindowTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    MakeScrap(Home() / "ニュース" / "記事", "本文です。\r\n★★★★http://example.jp/★★★★");
    MakeScrap(Home() / "メモ", "メモの本文");
    MakeScrap(Home() / "ニュース" / "写し", "写しの本文\r\n★★★★http://example.jp/★★★★", true);
    // Its pictures give it the pictures tab.
    CxImage picture;
    ASSERT_TRUE(picture.Create(40, 30, 24, CXIMAGE_FORMAT_JPG));
    fs::create_directories(Home() / "ニュース" / "写し" / "Images");
    for (const char* name : {"a.jpg", "b.jpg"})
      ASSERT_TRUE(picture.Save((Home() / "ニュース" / "写し" / "Images" / name).string(),
                               CXIMAGE_FORMAT_JPG));
    ASSERT_TRUE(wxGetApp().OnInit());
    m_frame = wxGetApp().MainFrame();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame && m_frame->IsShown(); }));
    ASSERT_NE(m_frame, nullptr);
    m_doc = wxGetApp().Document();
    m_tabs = wxDynamicCast(wxGetApp().PageView()->GetParent(), CSBTabCtrl);
    ASSERT_NE(m_tabs, nullptr);
  }

  // The window reaches the screen a moment after it is shown: waits until the screen shows its
  // menu bar (light, never black) before taking the picture.
  bool SaveShownScreenshot(const char* name) {
    const bool shown = guitest::WaitFor([this] {
      if (!m_frame->IsShownOnScreen()) return false;
      const wxImage screen = GrabScreen(m_frame->GetScreenRect());
      return screen.IsOk() && screen.GetRed(8, 8) > 100 && screen.GetGreen(8, 8) > 100;
    });
    return shown && SaveWindowScreenshot(m_frame, guitest::ScreenshotPath(name));
  }

  void Select(const fs::path& path) {
    ASSERT_TRUE(m_frame->LeftView()->Tree()->SelectByPath(path.string()).IsOk()) << path;
    const wxString title = wxString::FromUTF8(path.filename().string());
    ASSERT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == title; })) << path;
  }

  void ShowTab(int tab) {
    ASSERT_TRUE(m_tabs->IsAvailable(tab)) << tab;
    m_tabs->SelectTab(tab);
    const int menu = tab == 2 ? 136 : tab == 3 ? 138 : 128;
    ASSERT_TRUE(guitest::WaitFor([&] { return m_frame->CurrentMenuId() == menu; })) << tab;
  }

  CMainFrame* m_frame = nullptr;
  CClipwrenDoc* m_doc = nullptr;
  CSBTabCtrl* m_tabs = nullptr;
};

TEST_F(MainWindowTest, SelectingScrapsSwitchingTabsAndClosing) {
  // A scrap selected in the tree opens on the page tab, with its text loaded.
  Select(Home() / "ニュース" / "記事");
  EXPECT_EQ(m_doc->GetTitle(), wxString::FromUTF8("記事"));
  EXPECT_EQ(m_frame->GetTitle(), wxString::FromUTF8("クリップレン帳 - 記事"));
  EXPECT_EQ(m_frame->ScrapStatusBar()->PaneText(59145), "200 X 300");
  EXPECT_TRUE(m_tabs->IsAvailable(0));
  EXPECT_TRUE(m_tabs->IsAvailable(2));
  EXPECT_FALSE(m_tabs->IsAvailable(1)) << "no Main_copy.jpg, no copy tab";
  auto* text = wxDynamicCast(wxGetApp().TextView(), wxTextCtrl);
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->GetValue().Contains(wxString::FromUTF8("本文です。")));
  EXPECT_EQ(m_frame->CurrentMenuId(), 128);
  EXPECT_TRUE(MenuBarHas(m_frame, "ツール(&T)"));
  EXPECT_FALSE(m_frame->SearchToolBar()->IsShown());
  EXPECT_TRUE(SaveShownScreenshot("app-page-tab.png"));

  // The text tab brings its own menu bar and the search bar; the page tab takes them back.
  ShowTab(2);
  EXPECT_EQ(m_frame->CurrentMenuId(), 136);
  EXPECT_FALSE(MenuBarHas(m_frame, "ツール(&T)"));
  EXPECT_TRUE(m_frame->SearchToolBar()->IsShown());
  EXPECT_TRUE(SaveShownScreenshot("app-text-tab.png"));
  ShowTab(0);
  EXPECT_EQ(m_frame->CurrentMenuId(), 128);
  EXPECT_FALSE(m_frame->SearchToolBar()->IsShown());

  // A folder opens like a scrap but has nothing to show.
  Select(Home() / "ニュース");
  EXPECT_EQ(m_frame->GetTitle(), wxString::FromUTF8("クリップレン帳 - ニュース"));
  EXPECT_FALSE(m_tabs->IsAvailable(0));

  // A second instance's hand-over selects its scrap.
  m_frame->TakeHandOver((Home() / "メモ").string());
  ASSERT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == wxString::FromUTF8("メモ"); }));
  EXPECT_EQ(wxGetApp().PendingImportPath(), (Home() / "メモ").string());
  EXPECT_EQ(m_frame->LeftView()->Tree()->CaretPath(), (Home() / "メモ").string());
  EXPECT_EQ(m_doc->GetTitle(), wxString::FromUTF8("メモ"));

  // Cancel in the close question keeps the program open and the scrap modified.
  m_doc->SetModifiedFlag(true);
  int asked = 0;
  m_frame->askSaveOnClose = [&](const wxString& question) {
    ++asked;
    EXPECT_TRUE(question.Contains(wxString::FromUTF8("スクラップ 'メモ' の内容は変更されています。")));
    return asked == 1 ? wxCANCEL : wxNO;
  };
  EXPECT_FALSE(m_frame->Close());
  EXPECT_TRUE(m_frame->IsShown());
  EXPECT_TRUE(m_doc->IsModified());

  // No: the program closes without saving and records where the window was.
  EXPECT_TRUE(m_frame->Close());
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(m_doc->IsModified());
  wxGetApp().OnExit();
  platform::Registry hive(platform::Hive::CurrentUser);
  const std::string root = "Software\\タルンウィック\\クリップレン帳";
  EXPECT_TRUE(hive.GetDword(root + "\\SETTING", "cx").has_value());
  EXPECT_TRUE(hive.GetDword(root + "\\SETTING", "LeftPanWidth").has_value());
  EXPECT_EQ(hive.GetString(root + "\\Settings", "home_dir"),
            (fs::path(std::getenv("HOME")) / "Documents").string());
}


// Answers every modal dialog a command opens (the about box, questions) with Cancel, so a walk
// over all commands runs on without a user.
class CancelModalDialogs : public wxModalDialogHook {
 public:
  CancelModalDialogs() { Register(); }
  int shown = 0;

 protected:
  int Enter(wxDialog*) override {
    ++shown;
    return wxID_CANCEL;
  }
};

struct Command {
  int id;
  bool enabled;
};

// The command items of a menu, depth first, with their enable state as the update pass left
// it. A sub-menu that holds an enabled command must open.
void CollectCommands(wxMenu* menu, const std::string& where, std::vector<Command>& out,
                     std::vector<std::string>& faults) {
  for (wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSeparator()) continue;
    if (wxMenu* sub = item->GetSubMenu()) {
      const size_t first = out.size();
      CollectCommands(sub, where, out, faults);
      const bool anyEnabled =
          std::any_of(out.begin() + first, out.end(), [](const Command& c) { return c.enabled; });
      if (anyEnabled && !item->IsEnabled())
        faults.push_back(where + ": sub-menu " + item->GetItemLabelText().utf8_string() +
                         " is disabled although it holds enabled commands");
      continue;
    }
    out.push_back({item->GetId(), item->IsEnabled()});
  }
}

std::vector<Command> ToolCommands(wxToolBar* bar) {
  std::vector<Command> out;
  for (size_t i = 0; i < bar->GetToolsCount(); ++i) {
    const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
    if (tool->IsSeparator() || tool->IsControl()) continue;
    out.push_back({tool->GetId(), tool->IsEnabled()});
  }
  return out;
}

// Every menu item and tool button of every menu bar and pop-up, on a loaded scrap in the real
// main window: an enabled command must be carried out by something in the program's own
// wiring, and a command that something carries out must not be disabled for want of an answer
// to its enable state. Each command is sent the way the toolkit sends it (from its menu, with
// the menu's window; from its tool bar), so what answers is what a user's click reaches.
TEST_F(MainWindowTest, EveryEnabledCommandIsHandledAndEveryHandledCommandCanBeEnabled) {
  Select(Home() / "ニュース" / "写し");
  ASSERT_TRUE(m_tabs->IsAvailable(1));
  ASSERT_TRUE(m_tabs->IsAvailable(3));
  CancelModalDialogs dialogs;
  // Mail goes to a stub xdg-email, so the walk never reaches the desktop's mail program.
  const testsupport::TempDir stubs;
  testsupport::WriteFile(stubs / "xdg-email", "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(stubs / "xdg-email", std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (stubs.path().string() + ":" + path).c_str(), 1);
  struct RestorePath {
    std::string path;
    ~RestorePath() { setenv("PATH", path.c_str(), 1); }
  } restorePath{path};
  std::vector<std::string> opened;
  m_frame->openBrowser = [&](const wxString& url) {
    opened.push_back(url.utf8_string());
    return true;
  };
  m_doc->openAddress = [&](const std::string& url) { opened.push_back(url); };
  CFolderTreeCtrl* tree = m_frame->LeftView()->Tree();

  std::vector<std::string> faults;
  std::set<int> handledSomewhere;
  const auto judge = [&](const std::string& where, const Command& c, bool handled,
                         const std::set<int>& unanswered) {
    if (handled) handledSomewhere.insert(c.id);
    if (c.enabled && !handled)
      faults.push_back(where + ": " + std::to_string(c.id) + " is enabled but nothing handles it");
    if (handled && unanswered.count(c.id))
      faults.push_back(where + ": " + std::to_string(c.id) +
                       " is handled but nobody answers its enable state, so it is never enabled");
  };
  // A command that pops up a menu (the picture display button) waits in the menu's own event
  // loop: a timer running inside that loop closes it again.
  int popupsShown = 0;
  wxMenu* openPopup = nullptr;
  m_frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    if (e.GetMenu() && !e.GetMenu()->GetMenuBar() && !e.GetMenu()->GetParent())
      openPopup = e.GetMenu();
    e.Skip();
  });
  wxTimer closer;
  closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (!openPopup) return;
    gtk_menu_popdown(GTK_MENU(openPopup->m_menu));
    openPopup = nullptr;
    ++popupsShown;
  });
  closer.Start(50);
  // Exit would end the walk: the close question is answered with Cancel.
  m_frame->askSaveOnClose = [](const wxString&) { return wxCANCEL; };
  const auto beforeSend = [&](int id) {
    if (id == res::kIdAppExit) m_doc->SetModifiedFlag(true);
  };
  const auto afterSend = [&] {
    m_doc->SetModifiedFlag(false);
    guitest::Pump(0);
  };

  // Deleting the copy tab on the way takes tab 1 away; it comes back with the command that
  // creates it.
  const auto reach = [&](int tab) {
    if (tab == 1 && !m_tabs->IsAvailable(1)) {
      ShowTab(0);
      m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
      m_frame->ProcessCommand(res::kIdCreateCopyTab);
      ASSERT_TRUE(guitest::WaitFor([&] { return m_tabs->IsAvailable(1); }));
    }
    ShowTab(tab);
  };
  for (int tab : {1, 0, 2, 3}) {
    reach(tab);
    const std::string where = "menu " + std::to_string(m_frame->CurrentMenuId()) + " on tab " +
                              std::to_string(tab);
    m_frame->ClearUnansweredCommands();
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    const std::set<int> unanswered = m_frame->UnansweredCommands();
    std::vector<Command> menuCommands;
    wxMenuBar* bar = m_frame->GetMenuBar();
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
      CollectCommands(bar->GetMenu(i), where, menuCommands, faults);
    // The main tool bar, and on the text tab the search bar's find button.
    std::vector<std::pair<wxToolBar*, Command>> tools;
    std::vector<wxToolBar*> bars{m_frame->MainToolBar()};
    if (tab == 2) {
      for (wxWindow* child : m_frame->SearchToolBar()->GetChildren())
        if (auto* bar = wxDynamicCast(child, wxToolBar)) bars.push_back(bar);
      EXPECT_EQ(bars.size(), 2u) << "the search bar holds the find button";
    }
    for (wxToolBar* bar : bars)
      for (const Command& c : ToolCommands(bar)) tools.emplace_back(bar, c);
    EXPECT_GE(menuCommands.size(), 20u) << where;

    for (const Command& c : menuCommands) {
      // Commands may switch tabs and with them the menu bar: find the item afresh each time.
      reach(tab);
      wxMenu* owner = nullptr;
      wxMenuItem* item = m_frame->GetMenuBar()->FindItem(c.id, &owner);
      ASSERT_TRUE(item && owner) << c.id;
      beforeSend(c.id);
      const bool handled =
          owner->SendEvent(c.id, item->IsCheckable() ? !item->IsChecked() : -1);
      afterSend();
      judge(where, c, handled, unanswered);
    }
    for (const auto& [toolBar, c] : tools) {
      reach(tab);
      wxCommandEvent click(wxEVT_TOOL, c.id);
      click.SetEventObject(toolBar);
      beforeSend(c.id);
      const bool handled = toolBar->HandleWindowEvent(click);
      afterSend();
      judge("tool bar " + std::to_string(toolBar->GetId()) + " on tab " + std::to_string(tab), c,
            handled, unanswered);
    }
  }

  // The pop-ups: the picture display button's (shown by the frame) and the folder tree's.
  struct Popup {
    int id;
    wxWindow* window;
  };
  Select(Home() / "ニュース" / "写し");
  // The picture tab's pop-up sends its command to the page view that opened it.
  for (const Popup& p : {Popup{res::kPopupPictureDisplay, m_frame}, Popup{res::kPopupTree, tree},
                         Popup{res::kPopupPicture, wxGetApp().PageView()}}) {
    ShowTab(p.id == res::kPopupPictureDisplay ? 3 : 0);
    const std::string where = "pop-up " + std::to_string(p.id);
    std::unique_ptr<wxMenu> popup(res::ui::BuildPopup(p.id));
    ASSERT_NE(popup, nullptr);
    if (p.id == res::kPopupTree) {
      // The tree shows its sort entries as check items (the caret item's order is ticked).
      for (int id : {res::kIdSortDateAscending, res::kIdSortDateDescending, res::kIdSortName}) {
        wxMenu* owner = nullptr;
        wxMenuItem* item = popup->FindItem(id, &owner);
        ASSERT_TRUE(item && owner) << id;
        size_t pos = 0;
        owner->FindChildItem(id, &pos);
        const wxString text = item->GetItemLabel();
        owner->Destroy(item);
        owner->Insert(pos, id, text, wxEmptyString, wxITEM_CHECK);
      }
    }
    popup->SetInvokingWindow(p.window);
    m_frame->ClearUnansweredCommands();
    popup->UpdateUI();
    const std::set<int> unanswered = m_frame->UnansweredCommands();
    std::vector<Command> commands;
    CollectCommands(popup.get(), where, commands, faults);
    for (const Command& c : commands) {
      if (c.id == res::kIdDeleteItem || c.id == res::kIdRenameItem || c.id == res::kIdNewFolder) {
        // Their handling is the tree's (questions and label editing, covered by the tree's own
        // tests); only the enable state is walked here.
        judge(where, c, true, unanswered);
        continue;
      }
      wxMenu* owner = nullptr;
      wxMenuItem* item = popup->FindItem(c.id, &owner);
      const bool handled = owner->SendEvent(c.id, item->IsCheckable() ? !item->IsChecked() : -1);
      afterSend();
      judge(where, c, handled, unanswered);
    }
    popup->SetInvokingWindow(nullptr);
  }

  for (const std::string& fault : faults) ADD_FAILURE() << fault;
  // The range tool, crop mode, erasing and copying a range are carried out on the picture tabs.
  for (int id : {res::kIdRangeSelect, res::kIdCrop, res::kIdEraseRange, res::kIdCopyRange})
    EXPECT_EQ(handledSomewhere.count(id), 1u) << id;
  // And what the tree's context menu offers is reachable.
  for (int id : {res::kIdExpandFolders, res::kIdCollapseFolders, res::kIdRefresh,
                 res::kIdFindInScrapbook, res::kIdSortName, res::kIdAppAbout, res::kIdHelpFinder})
    EXPECT_EQ(handledSomewhere.count(id), 1u) << id;
  EXPECT_GE(dialogs.shown, 1) << "the about box was asked for";
  EXPECT_GE(popupsShown, 1) << "the picture display button shows its menu";
  // Enter in the search box searches the text tab.
  EXPECT_EQ(m_frame->SearchBox()->GetNotifyWindow(), wxGetApp().TextView());
}

// Where a menu item of an open GTK menu is on the screen.
wxRect ItemScreenRect(wxMenuItem* item) {
  GtkWidget* widget = item->GetMenuItem();
  if (!widget) return {};
  GtkWidget* top = gtk_widget_get_toplevel(widget);
  int x = 0, y = 0, ox = 0, oy = 0;
  if (!top || !gtk_widget_get_window(top) ||
      !gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y))
    return {};
  gdk_window_get_origin(gtk_widget_get_window(top), &ox, &oy);
  GtkAllocation a;
  gtk_widget_get_allocation(widget, &a);
  return {ox + x, oy + y, a.width, a.height};
}

// The menu bar opens with a click on its first title, with F10 and with Alt and the title's
// letter, each time sent as real input to the raised window.
TEST_F(MainWindowTest, MenuBarOpensByClickF10AndAltLetter) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Select(Home() / "ニュース" / "記事");
  ASSERT_TRUE(input.Activate("クリップレン帳 - 記事"));
  int opened = 0, closed = 0;
  m_frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    ++opened;
    e.Skip();
  });
  m_frame->Bind(wxEVT_MENU_CLOSE, [&](wxMenuEvent& e) {
    ++closed;
    e.Skip();
  });
  wxMenuBar* bar = m_frame->GetMenuBar();
  ASSERT_TRUE(guitest::WaitFor([&] { return bar->IsShownOnScreen(); }));
  EXPECT_TRUE(bar->IsEnabled()) << "the menu bar itself is never disabled";
  const wxRect titles = bar->GetScreenRect();

  ASSERT_TRUE(guitest::RealInput::Click(titles.x + 25, titles.y + titles.height / 2));
  EXPECT_TRUE(guitest::WaitFor([&] { return opened >= 1; })) << "click on ファイル(&F)";
  guitest::RealInput::Key("Escape");
  ASSERT_TRUE(guitest::WaitFor([&] { return closed >= opened; }));
  guitest::RealInput::MoveTo(titles.x + titles.width / 2, titles.y + 300);

  ASSERT_TRUE(guitest::RealInput::Key("F10"));
  EXPECT_TRUE(guitest::WaitFor([&] { return opened >= 2; })) << "F10";
  guitest::RealInput::Key("Escape");
  ASSERT_TRUE(guitest::WaitFor([&] { return closed >= opened; }));

  ASSERT_TRUE(guitest::RealInput::Key("alt+e"));
  EXPECT_TRUE(guitest::WaitFor([&] { return opened >= 3; })) << "Alt+E opens 編集(&E)";
  guitest::RealInput::Key("Escape");
  EXPECT_TRUE(guitest::WaitFor([&] { return closed >= opened; }));
}

// Without a mouse: the tree has the keys from the start, the arrow keys open scraps, and F6
// and Shift+F6 take the focus into the page and back into the tree (not to the panes holding
// them, which have nothing to type into).
TEST_F(MainWindowTest, KeyboardReachesTheTreeAtStartAndF6SwitchesPanes) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  CFolderTreeCtrl* tree = m_frame->LeftView()->Tree();
  ASSERT_TRUE(input.Activate("クリップレン帳"));
  EXPECT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == tree; }))
      << "the tree has the focus at start";

  tree->SetFocus();
  ASSERT_TRUE(tree->SelectByPath((Home() / "ニュース").string()).IsOk());
  tree->Expand(tree->SelectByPath((Home() / "ニュース").string()));
  ASSERT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == tree; }));
  ASSERT_TRUE(guitest::RealInput::Key("Down"));
  EXPECT_TRUE(guitest::WaitFor([&] {
    return fs::path(tree->CaretPath()).parent_path() == Home() / "ニュース" &&
           m_doc->GetTitle() != wxString::FromUTF8("ニュース");
  })) << "Down opens the first scrap of the folder";

  wxWindow* page = wxGetApp().PageView();
  ASSERT_TRUE(guitest::RealInput::Key("F6"));
  EXPECT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == page; })) << "F6 to the page";
  ASSERT_TRUE(guitest::RealInput::Key("F6"));
  EXPECT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == tree; })) << "F6 back";
  ASSERT_TRUE(guitest::RealInput::Key("shift+F6"));
  EXPECT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == page; })) << "Shift+F6";
  ASSERT_TRUE(guitest::RealInput::Key("shift+F6"));
  EXPECT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == tree; }));
  ASSERT_TRUE(guitest::RealInput::Key("Up"));
  EXPECT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == wxString::FromUTF8("ニュース"); }))
      << "the tree still takes the arrow keys after coming back";
}

// Ctrl+Page Down and Ctrl+Page Up walk the tabs the open scrap offers, wrapping around, and the
// keys then go to the tab that shows.
TEST_F(MainWindowTest, CtrlPageDownAndUpWalkTheTabsTheScrapOffers) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Select(Home() / "ニュース" / "写し");
  ASSERT_TRUE(input.Activate("クリップレン帳 - 写し"));
  m_tabs->View(0)->SetFocus();
  const auto focusIn = [](wxWindow* view) {
    for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
      if (w == view) return true;
    return false;
  };
  const auto press = [&](const char* keys, int tab) {
    EXPECT_TRUE(guitest::RealInput::Key(keys));
    EXPECT_TRUE(guitest::WaitFor([&] { return m_tabs->Current() == tab; }))
        << keys << " to tab " << tab << ", at " << m_tabs->Current();
    EXPECT_TRUE(guitest::WaitFor([&] { return focusIn(m_tabs->View(tab)); })) << tab;
  };
  for (int tab : {1, 2, 3, 0}) press("ctrl+Next", tab);
  press("ctrl+Prior", 3);
  press("ctrl+Prior", 2);

  // A scrap with neither copy nor pictures has two tabs to go between.
  Select(Home() / "ニュース" / "記事");
  m_tabs->SelectTab(0);
  m_tabs->View(0)->SetFocus();
  press("ctrl+Next", 2);
  press("ctrl+Next", 0);
  press("ctrl+Prior", 2);
}

// Renaming the open scrap in the tree while it has unsaved edits: the document follows the
// folder, so the caption shows the new name and saving writes into the renamed folder (it
// wrote to the old folder, which no longer existed, and the edits could not be saved at all).
TEST_F(MainWindowTest, RenamingTheOpenScrapKeepsItsEditsSavable) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Select(Home() / "メモ");
  ASSERT_TRUE(input.Activate("クリップレン帳 - メモ"));
  auto* text = wxDynamicCast(wxGetApp().TextView(), wxTextCtrl);
  ASSERT_NE(text, nullptr);
  text->ChangeValue(wxString::FromUTF8("書き換えた本文"));
  m_doc->SetModifiedFlag(true);
  CFolderTreeCtrl* tree = m_frame->LeftView()->Tree();
  tree->SetFocus();
  ASSERT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == tree; }));
  ASSERT_TRUE(guitest::RealInput::Key("F2"));
  guitest::Pump(300);
  ASSERT_TRUE(guitest::RealInput::Key("ctrl+a M e m o 2 Return"));
  ASSERT_TRUE(guitest::WaitFor([] { return fs::is_directory(Home() / "Memo2"); }));
  EXPECT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == "Memo2"; }));
  EXPECT_EQ(m_frame->GetTitle(), wxString::FromUTF8("クリップレン帳 - Memo2"));
  EXPECT_TRUE(m_doc->IsModified()) << "the edits stay";

  m_doc->SetSaveAll(true);
  m_doc->showMessage = [](const wxString& text) { ADD_FAILURE() << text.utf8_string(); };
  EXPECT_TRUE(m_doc->Save());
  const std::string saved = testsupport::ReadFile(Home() / "Memo2" / "Content.txt");
  EXPECT_EQ(saved, "\xFF\xFE" + platform::text::Utf8ToUtf16le("書き換えた本文"));
  EXPECT_FALSE(fs::exists(Home() / "メモ")) << "nothing is written at the old place";
}

// A right click on a tree item opens the tree's context menu; its tree commands and the sort
// sub-menu are enabled, and a real click on "フォルダを全て展開" expands every folder.
TEST_F(MainWindowTest, TreeContextMenuReachesTheTreeCommandsWithRealClicks) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Select(Home() / "メモ");
  ASSERT_TRUE(input.Activate("クリップレン帳 - メモ"));
  CFolderTreeCtrl* tree = m_frame->LeftView()->Tree();
  tree->CollapseAllFolders();
  const wxTreeItemId news = tree->SelectByPath((Home() / "ニュース").string());
  ASSERT_TRUE(news.IsOk());
  tree->Collapse(news);
  ASSERT_TRUE(guitest::WaitFor([&] { return !tree->IsExpanded(news); }));

  // The pop-up runs its own event loop while it is open: a timer inside it reads the menu
  // and clicks, and gives up with Escape so a broken menu cannot hang the test.
  wxMenu* shown = nullptr;
  std::map<int, bool> enabled;
  bool sortSensitive = false, clicked = false;
  tree->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    if (!shown && e.GetMenu() && !e.GetMenu()->GetParent()) shown = e.GetMenu();
    e.Skip();
  });
  int ticks = 0;
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (!shown) return;
    ++ticks;
    if (!clicked) {
      for (wxMenuItem* item : shown->GetMenuItems()) {
        if (item->IsSeparator()) continue;
        if (item->IsSubMenu()) {
          sortSensitive = item->GetMenuItem() && gtk_widget_is_sensitive(item->GetMenuItem());
          continue;
        }
        enabled[item->GetId()] = item->IsEnabled();
      }
      wxMenuItem* expand = shown->FindChildItem(res::kIdExpandFolders);
      const wxRect at = expand ? ItemScreenRect(expand) : wxRect();
      if (at.IsEmpty()) return;
      clicked = true;
      guitest::RealInput::Click(at.x + at.width / 2, at.y + at.height / 2);
    } else if (ticks > 40) {
      guitest::RealInput::Key("Escape");
    }
  });
  timer.Start(50);
  wxRect row;
  ASSERT_TRUE(tree->GetBoundingRect(news, row, true));
  const wxPoint on = tree->ClientToScreen(row.GetPosition() + wxPoint(row.width / 2, row.height / 2));
  ASSERT_TRUE(guitest::RealInput::Click(on.x, on.y, 3));
  EXPECT_TRUE(guitest::WaitFor([&] { return clicked && tree->IsExpanded(news); }, 20000))
      << "フォルダを全て展開 expands the folders";
  timer.Stop();
  EXPECT_TRUE(sortSensitive) << "並び替え opens";
  for (int id : {res::kIdExpandFolders, res::kIdCollapseFolders, res::kIdFindInScrapbook,
                 res::kIdRefresh, res::kIdNewFolder})
    EXPECT_TRUE(enabled[id]) << id;
}

}  // namespace
