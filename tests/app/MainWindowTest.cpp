// The real application object, started in-process on a sandboxed scrapbook: selecting scraps
// in the tree opens them in the right pane, tabs switch menus and the search bar, the caption
// follows the scrap, and closing asks, writes the placement and keeps the save folder.
#include <gtest/gtest.h>

#include <wx/menu.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <string>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/CxImage.h"
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

void MakeScrap(const fs::path& dir, const std::string& text) {
  fs::create_directories(dir);
  CxImage page;
  ASSERT_TRUE(page.Create(200, 300, 24, CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(page.Save((dir / "Main.jpg").string(), CXIMAGE_FORMAT_JPG)) << page.GetLastError();
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
    ASSERT_TRUE(wxGetApp().OnInit());
    guitest::Pump(200);
    m_frame = wxGetApp().MainFrame();
    ASSERT_NE(m_frame, nullptr);
    m_doc = wxGetApp().Document();
    m_tabs = wxDynamicCast(wxGetApp().PageView()->GetParent(), CSBTabCtrl);
    ASSERT_NE(m_tabs, nullptr);
  }

  void Select(const fs::path& path) {
    ASSERT_TRUE(m_frame->LeftView()->Tree()->SelectByPath(path.string()).IsOk()) << path;
    guitest::Pump(100);
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
  guitest::Pump(300);
  EXPECT_TRUE(SaveWindowScreenshot(m_frame, guitest::ScreenshotPath("app-page-tab.png")));

  // The text tab brings its own menu bar and the search bar; the page tab takes them back.
  m_tabs->SelectTab(2);
  guitest::Pump(100);
  EXPECT_EQ(m_frame->CurrentMenuId(), 136);
  EXPECT_FALSE(MenuBarHas(m_frame, "ツール(&T)"));
  EXPECT_TRUE(m_frame->SearchToolBar()->IsShown());
  guitest::Pump(300);
  EXPECT_TRUE(SaveWindowScreenshot(m_frame, guitest::ScreenshotPath("app-text-tab.png")));
  m_tabs->SelectTab(0);
  guitest::Pump(100);
  EXPECT_EQ(m_frame->CurrentMenuId(), 128);
  EXPECT_FALSE(m_frame->SearchToolBar()->IsShown());

  // A folder opens like a scrap but has nothing to show.
  Select(Home() / "ニュース");
  EXPECT_EQ(m_frame->GetTitle(), wxString::FromUTF8("クリップレン帳 - ニュース"));
  EXPECT_FALSE(m_tabs->IsAvailable(0));

  // A second instance's hand-over selects its scrap.
  m_frame->TakeHandOver((Home() / "メモ").string());
  guitest::Pump(100);
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
  guitest::Pump(50);
  EXPECT_TRUE(m_frame->IsShown());
  EXPECT_TRUE(m_doc->IsModified());

  // No: the program closes without saving and records where the window was.
  EXPECT_TRUE(m_frame->Close());
  guitest::Pump(100);
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

}  // namespace
