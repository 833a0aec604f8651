#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/fdrepdlg.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CAllView.h"
#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ui/ResArt.h"
#include "app/shell/AppSettings.h"
#include "app/shell/ui/CAboutDlg.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/Screenshot.h"
#include "app/shell/ui/CMenuEx.h"
#include "app/shell/ui/CPrintToolBar.h"
#include "app/shell/ui/CScrapStatusBar.h"
#include "app/store/ui/CDimEditCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace {

wxString Utf8(std::string_view s) { return wxString::FromUTF8(s.data(), s.size()); }

// What the X server shows in a screen rectangle, read from the root window.
int CountBluish(const wxImage& image) {
  int n = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      n += image.GetBlue(x, y) > 150 && image.GetRed(x, y) < 130;
  return n;
}

class CMainFrameTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_settings =
        std::make_unique<shell::AppSettings>(platform::Registry(platform::Hive::CurrentUser));
    m_doc = std::make_unique<CClipwrenDoc>();
    m_frame = new CMainFrame(*m_settings);
    m_frame->SetDocument(m_doc.get());
    ASSERT_TRUE(m_frame->CreateClient());
    ASSERT_TRUE(m_frame->IsComplete());
    wxWindow* area = m_frame->TabArea();
    m_page = new CAllView(area, res::kIdPageView, m_doc.get());
    m_text = new wxPanel(area, res::kIdTextView);
    m_pictures = new wxPanel(area, res::kIdPicturesView);
    for (wxWindow* w : {static_cast<wxWindow*>(m_page), m_text, m_pictures})
      area->GetSizer()->Add(w, 1, wxEXPAND);
    m_text->Hide();
    m_pictures->Hide();
    m_frame->askSaveOnClose = [this](const wxString& text) {
      m_questions.push_back(text.utf8_string());
      return m_answer;
    };
    m_frame->openBrowser = [this](const wxString& url) {
      m_opened.push_back(url.utf8_string());
      return m_browserWorks;
    };
    m_frame->showMessage = [this](const wxString& text) {
      m_messages.push_back(text.utf8_string());
    };
    m_frame->SetSize(1000, 700);
    m_frame->Show();
    area->Layout();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame->IsShownOnScreen(); }));
  }

  void TearDown() override {
    if (m_frame && m_doc) m_doc->SetFrameHooks(nullptr);
    GuiTest::TearDown();
    m_doc.reset();
  }

  // A scrap with a plain 300×200 page picture, opened in the document.
  void OpenScrap() {
    const std::string folder = (m_dir / "Sample").string();
    std::filesystem::create_directories(folder);
    wxImage picture(300, 200);
    picture.SetRGB(wxRect(0, 0, 300, 200), 90, 140, 200);
    ASSERT_TRUE(picture.SaveFile(wxString::FromUTF8(folder + "/Main.jpg"), wxBITMAP_TYPE_JPEG));
    ASSERT_TRUE(m_doc->OpenScrap(folder));
    ASSERT_TRUE(m_doc->CurrentImage() && m_doc->CurrentImage()->IsLoaded());
  }

  void SetTab(int tab) {
    m_doc->SetActiveTab(tab);
    m_frame->OnActiveTabChanged(tab, tab == 2);
    guitest::Pump(0);
  }

  bool MenuEnabled(int id) {
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxMenuItem* item = m_frame->GetMenuBar()->FindItem(id);
    return item && item->IsEnabled();
  }

  testsupport::TempDir m_dir;
  std::unique_ptr<shell::AppSettings> m_settings;
  std::unique_ptr<CClipwrenDoc> m_doc;
  CMainFrame* m_frame = nullptr;
  CAllView* m_page = nullptr;
  wxWindow* m_text = nullptr;
  wxWindow* m_pictures = nullptr;
  int m_answer = wxNO;
  bool m_browserWorks = true;
  std::vector<std::string> m_questions, m_opened, m_messages;
};

TEST_F(CMainFrameTest, CaptionAndSmallestSize) {
  EXPECT_EQ(m_frame->GetTitle().utf8_string(), "クリップレン帳");
  m_frame->SetScrapTitle(wxString::FromUTF8("ニュース"));
  EXPECT_EQ(m_frame->GetTitle().utf8_string(), "クリップレン帳 - ニュース");
  EXPECT_EQ(m_frame->GetMinSize(), wxSize(600, 400));
  m_frame->SetSize(300, 200);
  guitest::Pump(0);
  EXPECT_GE(m_frame->GetSize().x, 600);
  EXPECT_GE(m_frame->GetSize().y, 400);
}

TEST_F(CMainFrameTest, MenuBarAndSearchBarFollowTheTab) {
  struct Case {
    int tab, menu, menus;
    bool search;
  };
  for (const Case& c : {Case{0, 128, 5, false}, Case{2, 136, 4, true}, Case{3, 138, 4, false},
                        Case{1, 128, 5, false}}) {
    SetTab(c.tab);
    EXPECT_EQ(m_frame->CurrentMenuId(), c.menu) << "tab " << c.tab;
    EXPECT_EQ(static_cast<int>(m_frame->GetMenuBar()->GetMenuCount()), c.menus);
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    for (int i = 0; i < c.menus; ++i) EXPECT_TRUE(m_frame->GetMenuBar()->IsEnabledTop(i)) << i;
    EXPECT_EQ(m_frame->SearchToolBar()->IsShown(), c.search) << "tab " << c.tab;
  }
  SetTab(2);
  wxMenuItem* exit = m_frame->GetMenuBar()->FindItem(res::kIdAppExit);
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(exit->GetItemLabel().utf8_string(), "アプリケーションの終了(&X)");
  EXPECT_EQ(exit->GetHelp().utf8_string(), "アプリケーションを終了し、ファイルの保存を指示");
  // The search box sits at the right end of the row.
  const wxRect bar = m_frame->SearchToolBar()->GetScreenRect();
  const wxRect client(m_frame->ClientToScreen(wxPoint(0, 0)), m_frame->GetClientSize());
  EXPECT_LE(client.GetRight() - bar.GetRight(), 2);
  EXPECT_EQ(m_frame->SearchBox()->GetPrompt(), "検索");
  EXPECT_EQ(m_frame->SearchToolBar()->GetLabel().utf8_string(), "検索");
}

TEST_F(CMainFrameTest, ToolBarHoldsTheTableWithTipsAndPrompts) {
  CPrintToolBar* bar = m_frame->MainToolBar();
  ASSERT_EQ(bar->GetToolsCount(), 29u);
  const wxToolBarToolBase* zoom = bar->GetToolByPos(15);
  ASSERT_TRUE(zoom && zoom->IsControl());
  EXPECT_EQ(zoom->GetControl(), bar->ZoomBox());
  for (int id : {57603, 32810, 57607, 57609, 32802, 32797, 32773, 32776, 32784, 32785,
                 32791, 32790, 32814, 32778, 32779, 32781, 32783, 32840, 32866, 32864}) {
    const wxToolBarToolBase* tool = bar->FindById(id);
    ASSERT_NE(tool, nullptr) << id;
    EXPECT_EQ(tool->GetShortHelp(), Utf8(res::CommandTip(id))) << id;
    EXPECT_EQ(tool->GetLongHelp(), Utf8(res::CommandPrompt(id))) << id;
    EXPECT_TRUE(tool->GetNormalBitmap().IsOk()) << id;
  }
  EXPECT_EQ(bar->FindById(res::kIdPen)->GetKind(), wxITEM_DROPDOWN);
  m_frame->OnPenChanged(3);
  EXPECT_EQ(bar->PenPicture(), 26);
}

bool SamePixels(const wxBitmap& a, const wxBitmap& b) {
  const wxImage x = a.ConvertToImage(), y = b.ConvertToImage();
  return x.GetSize() == y.GetSize() &&
         std::equal(x.GetData(), x.GetData() + x.GetWidth() * x.GetHeight() * 3, y.GetData());
}

TEST_F(CMainFrameTest, ButtonUnderTheMouseShowsTheHotPicture) {
  CPrintToolBar* bar = m_frame->MainToolBar();
  const wxSize size = bar->FindById(res::kIdFileSave)->GetNormalBitmap().GetSize();
  const auto enter = [&](int id) {
    wxCommandEvent e(wxEVT_TOOL_ENTER, bar->GetId());
    e.SetEventObject(bar);
    e.SetInt(id);
    bar->GetEventHandler()->ProcessEvent(e);
  };
  enter(res::kIdFileSave);
  EXPECT_TRUE(SamePixels(bar->FindById(res::kIdFileSave)->GetNormalBitmap(),
                         res::ui::ToolPicture(0, true).GetBitmap(size)));
  enter(res::kIdSendMail);
  EXPECT_TRUE(SamePixels(bar->FindById(res::kIdFileSave)->GetNormalBitmap(),
                         res::ui::ToolPicture(0, false).GetBitmap(size)));
  EXPECT_TRUE(SamePixels(bar->FindById(res::kIdSendMail)->GetNormalBitmap(),
                         res::ui::ToolPicture(32, true).GetBitmap(size)));
  enter(wxID_ANY);
  EXPECT_TRUE(SamePixels(bar->FindById(res::kIdSendMail)->GetNormalBitmap(),
                         res::ui::ToolPicture(32, false).GetBitmap(size)));
}

TEST_F(CMainFrameTest, CommandsGoToViewThenDocumentThenFrameThenApplication) {
  std::vector<std::string> log;
  const int both = 40001, docOnly = 40002, frameOnly = 40003, appOnly = 40004;
  m_page->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("view"); }, both);
  m_doc->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("doc"); }, both);
  m_doc->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("doc"); }, docOnly);
  m_frame->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("frame"); }, docOnly);
  m_frame->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("frame"); }, frameOnly);
  wxTheApp->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("app"); }, frameOnly);
  wxTheApp->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("app"); }, appOnly);
  SetTab(0);
  const auto send = [&](int id) {
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(m_frame);
    m_frame->ProcessWindowEvent(command);
  };
  for (int id : {both, docOnly, frameOnly, appOnly}) send(id);
  EXPECT_EQ(log, (std::vector<std::string>{"view", "doc", "frame", "app"}));

  // On the text tab the text view is the active view; the page view is out of the route.
  log.clear();
  m_text->Bind(
      wxEVT_MENU, [&](wxCommandEvent&) { log.push_back("text"); }, both);
  SetTab(2);
  send(both);
  EXPECT_EQ(log, std::vector<std::string>{"text"});
}

TEST_F(CMainFrameTest, CommandsNobodyHandlesAreDisabled) {
  SetTab(0);
  // Moving the scrapbook belongs to the program's own application object, which this test
  // does not have: undeclared, nothing handles it. The view enables "open the address".
  m_page->Bind(
      wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, res::kIdOpenPageAddress);
  EXPECT_FALSE(MenuEnabled(res::kIdChangeSaveFolder));
  EXPECT_TRUE(MenuEnabled(res::kIdAppAbout)) << "declared: the application shows it";
  m_frame->DeclareCommand(res::kIdChangeSaveFolder);
  EXPECT_TRUE(MenuEnabled(res::kIdChangeSaveFolder));
  EXPECT_TRUE(MenuEnabled(res::kIdViewStatusBar)) << "the frame handles it";
  EXPECT_FALSE(MenuEnabled(res::kIdFileSave)) << "the document: nothing loaded";
  // The tool bar follows the same route.
  m_frame->MainToolBar()->UpdateWindowUI();
  EXPECT_FALSE(m_frame->MainToolBar()->GetToolEnabled(res::kIdSendMail));
  EXPECT_FALSE(m_frame->MainToolBar()->GetToolEnabled(res::kIdPictureDisplay));
  OpenScrap();
  EXPECT_TRUE(MenuEnabled(res::kIdFileSave));
  m_frame->MainToolBar()->UpdateWindowUI();
  EXPECT_TRUE(m_frame->MainToolBar()->GetToolEnabled(res::kIdFileSave));
  // The document handles the range tool and crop mode once a picture is open.
  for (int id : {res::kIdRangeSelect, res::kIdCrop})
    EXPECT_TRUE(m_frame->MainToolBar()->GetToolEnabled(id)) << id;
  EXPECT_FALSE(m_frame->MainToolBar()->GetToolEnabled(res::kIdPictureDisplay))
      << "the pictures display button is for the pictures tab";
}

TEST_F(CMainFrameTest, TheCurrentToolShowsPressedAndCheckedAndChoosingItAgainClearsIt) {
  OpenScrap();
  SetTab(0);
  CPrintToolBar* bar = m_frame->MainToolBar();
  const auto send = [this](int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(m_frame);
    m_frame->ProcessWindowEvent(event);
    m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    m_frame->MainToolBar()->UpdateWindowUI();
  };
  const auto shown = [&](int id) {
    const wxMenuItem* item = m_frame->GetMenuBar()->FindItem(id);
    const bool checked = item && item->IsCheckable() && item->IsChecked();
    EXPECT_EQ(bar->GetToolState(id), checked) << "tool bar and menu agree for " << id;
    return bar->GetToolState(id);
  };
  send(res::kIdRangeSelect);
  EXPECT_TRUE(shown(res::kIdRangeSelect));
  EXPECT_FALSE(shown(res::kIdCrop));
  // Crop mode leaves the range tool.
  send(res::kIdCrop);
  EXPECT_TRUE(shown(res::kIdCrop));
  EXPECT_FALSE(shown(res::kIdRangeSelect));
  send(res::kIdCrop);
  EXPECT_FALSE(shown(res::kIdCrop));
  for (int id : {res::kIdShapeSelect, res::kIdArrow, res::kIdTextBox}) {
    send(id);
    EXPECT_TRUE(bar->GetToolState(id)) << id;
    send(id);
    EXPECT_FALSE(bar->GetToolState(id)) << id;
  }
}

TEST_F(CMainFrameTest, PictureDisplaySettingsBelongToThePicturesTab) {
  m_doc->SetPicturesCount(3);
  CPrintToolBar* bar = m_frame->MainToolBar();
  for (int tab : {0, 1, 2, 3}) {
    SetTab(tab);
    bar->UpdateWindowUI();
    EXPECT_EQ(bar->GetToolEnabled(res::kIdPictureDisplay), tab == 3) << "tab " << tab;
  }
  // "GIFを表示しない" inverts the document's flag; its check mark shows the negation.
  const bool before = m_doc->PictureSettings().showGif;
  wxCommandEvent hide(wxEVT_MENU, res::kIdHideGif);
  hide.SetEventObject(m_frame);
  m_frame->ProcessWindowEvent(hide);
  EXPECT_EQ(m_doc->PictureSettings().showGif, !before);
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_EQ(m_frame->GetMenuBar()->FindItem(res::kIdHideGif)->IsChecked(), before);
  wxCommandEvent photo(wxEVT_MENU, res::kIdPhotoView);
  photo.SetEventObject(m_frame);
  m_frame->ProcessWindowEvent(photo);
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(m_frame->GetMenuBar()->FindItem(res::kIdPhotoView)->IsChecked());
  EXPECT_FALSE(m_frame->GetMenuBar()->FindItem(res::kIdThumbnailView)->IsChecked());
}

TEST_F(CMainFrameTest, ZoomBoxTakesTheNumberOnEnterOnly) {
  std::vector<int> zooms;
  m_frame->applyZoom = [&](int z) { zooms.push_back(z); };
  OpenScrap();
  SetTab(0);
  wxTextCtrl* box = m_frame->MainToolBar()->ZoomBox();
  const auto enter = [&](const char* text, bool pressEnter) {
    box->ChangeValue(wxString::FromUTF8(text));
    if (pressEnter) {
      wxCommandEvent e(wxEVT_TEXT_ENTER, box->GetId());
      e.SetEventObject(box);
      box->GetEventHandler()->ProcessEvent(e);
    }
    box->UpdateWindowUI();
  };
  enter("150", false);
  EXPECT_TRUE(zooms.empty()) << "no Enter, nothing happens";
  enter("150", true);
  enter("150 %", true);
  enter("  75", true);
  enter("abc", true);
  EXPECT_EQ(zooms, (std::vector<int>{150, 150, 75, 0}));
  EXPECT_TRUE(box->IsEnabled());
  // Without the hook the number goes to the page view, which limits it and rewrites the box.
  m_frame->applyZoom = nullptr;
  enter("150", true);
  EXPECT_EQ(m_doc->CurrentImage()->Zoom(), 150);
  EXPECT_EQ(box->GetValue(), "150%");
  SetTab(2);
  box->UpdateWindowUI();
  EXPECT_FALSE(box->IsEnabled()) << "only on the picture tabs";
}

TEST_F(CMainFrameTest, StatusPanes) {
  CScrapStatusBar* bar = m_frame->ScrapStatusBar();
  ASSERT_EQ(bar->GetFieldsCount(), 4);
  EXPECT_EQ(bar->GetStatusText(0).utf8_string(), "レディ");
  for (int id : {59143, 59144, 59145}) EXPECT_EQ(bar->PaneText(id), "");
  bar->SetCursorPosition(12, -3);
  bar->SetSelectionSize(640, 480);
  bar->SetPictureSize(1024, 40000);
  EXPECT_EQ(bar->PaneText(59143), "12, -3");
  EXPECT_EQ(bar->PaneText(59144), "640 X 480");
  EXPECT_EQ(bar->PaneText(59145), "1024 X 40000");
  bar->ClearPane(59144);
  EXPECT_EQ(bar->PaneText(59144), "");
  EXPECT_EQ(CScrapStatusBar::MessagePaneWidth(1000, 620), 1000 - 351 - 50);
  EXPECT_EQ(CScrapStatusBar::MessagePaneWidth(501, 620), 100 == 501 - 401 ? 620 : 620);
  EXPECT_EQ(CScrapStatusBar::MessagePaneWidth(502, 620), 101);
  // The message pane takes what the three value panes and 50 pixels leave.
  m_frame->SetSize(900, 600);
  EXPECT_TRUE(guitest::WaitFor([&] {
    return bar->MessagePaneWidthNow() == bar->ToDIP(bar->GetClientSize().x) - 351 - 50;
  })) << bar->MessagePaneWidthNow();
  // The text and pictures tabs clear the picture panes at idle time.
  SetTab(3);
  EXPECT_TRUE(guitest::WaitFor([&] { return bar->PaneText(59143).empty(); }));
  EXPECT_TRUE(guitest::WaitFor([&] { return bar->PaneText(59145).empty(); }));
}

TEST_F(CMainFrameTest, CancelInTheCloseQuestionKeepsTheProgramAndTheChanges) {
  OpenScrap();
  m_doc->SetModifiedFlag(true);
  m_answer = wxCANCEL;
  EXPECT_FALSE(m_frame->Close());
  ASSERT_EQ(m_questions.size(), 1u);
  EXPECT_EQ(m_questions[0],
            "スクラップ 'Sample' の内容は変更されています。\r\n\r\n変更を保存しますか？");
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_TRUE(m_frame->IsShown());
}

TEST_F(CMainFrameTest, YesInTheCloseQuestionSavesEverything) {
  OpenScrap();
  m_doc->SetModifiedFlag(true);
  bool saved = false;
  m_doc->Bind(
      wxEVT_MENU,
      [&](wxCommandEvent& e) {
        saved = m_doc->IsSaveAll();
        e.Skip();
      },
      res::kIdFileSave);
  m_answer = wxYES;
  EXPECT_TRUE(m_frame->Close());
  EXPECT_TRUE(saved) << "save-all set, then Save sent";
  EXPECT_FALSE(m_doc->IsModified());
  m_frame = nullptr;
}

TEST_F(CMainFrameTest, YesInTheCloseQuestionKeepsTheWindowWhenTheSaveFails) {
  OpenScrap();
  m_doc->SetModifiedFlag(true);
  std::vector<std::string> reported;
  m_doc->showMessage = [&](const wxString& text) { reported.push_back(text.utf8_string()); };
  // A folder has taken the picture's name, so it cannot be replaced.
  const std::filesystem::path picture = m_dir / "Sample" / "Main.jpg";
  std::filesystem::remove(picture);
  std::filesystem::create_directories(picture / "in the way");
  m_answer = wxYES;
  EXPECT_FALSE(m_frame->Close());
  EXPECT_EQ(reported.size(), 1u);
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_TRUE(m_frame->IsShown());
}

TEST_F(CMainFrameTest, PlacementIsNotWrittenWhenMinimised) {
  const std::string key = shell::AppSettings::KeyFor(shell::kSectionWindow);
  (void)platform::Registry(platform::Hive::CurrentUser).DeleteKey(key);  // earlier closes
  m_frame->queryShowCmd = [] { return 2; };
  EXPECT_TRUE(m_frame->Close());
  m_frame = nullptr;
  EXPECT_FALSE(m_settings->registry().GetDword(key, "cx").has_value());
  EXPECT_FALSE(m_settings->registry().GetDword(key, "LeftPanWidth").has_value());
}

TEST_F(CMainFrameTest, PlacementIsWrittenOtherwise) {
  const std::string key = shell::AppSettings::KeyFor(shell::kSectionWindow);
  m_frame->queryShowCmd = [] { return 1; };
  const wxRect rect = m_frame->GetScreenRect();
  EXPECT_TRUE(m_frame->Close());
  m_frame = nullptr;
  EXPECT_EQ(m_settings->registry().GetDword(key, "cx"), static_cast<std::uint32_t>(rect.width));
  EXPECT_EQ(m_settings->registry().GetDword(key, "nShowCmd"), 1u);
  EXPECT_TRUE(m_settings->registry().GetDword(key, "LeftPanWidth").has_value());
  for (int state : {0, 2, 6, 7}) EXPECT_TRUE(CMainFrame::IsHiddenOrMinimised(state));
  for (int state : {1, 3, 4, 5, 8, 9}) EXPECT_FALSE(CMainFrame::IsHiddenOrMinimised(state));
}

TEST_F(CMainFrameTest, HighlightedMenuItemShowsItsPromptThenReady) {
  SetTab(0);
  wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, res::kIdExportPdf, m_frame->GetMenuBar()->GetMenu(0));
  highlight.SetEventObject(m_frame->GetMenuBar()->GetMenu(0));
  m_frame->GetEventHandler()->ProcessEvent(highlight);
  EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(0).utf8_string(), "PDFとして保存する");
  wxMenuEvent closed(wxEVT_MENU_CLOSE, 0, m_frame->GetMenuBar()->GetMenu(0));
  closed.SetEventObject(m_frame->GetMenuBar()->GetMenu(0));
  m_frame->GetEventHandler()->ProcessEvent(closed);
  EXPECT_EQ(m_frame->GetStatusBar()->GetStatusText(0).utf8_string(), "レディ");
}

TEST_F(CMainFrameTest, HandOverSelectsTheNewScrapInTheTree) {
  std::filesystem::create_directories(m_dir / "Travel" / "Kyoto");
  testsupport::WriteFile(m_dir / "Travel" / "Kyoto" / "Main.jpg", "x");
  m_frame->StartLeftPane(m_dir.path().string(), nullptr, "");
  m_frame->TakeHandOver((m_dir / "Travel" / "Kyoto").string());
  EXPECT_EQ(std::filesystem::path(m_frame->LeftView()->Tree()->CaretPath()),
            m_dir / "Travel" / "Kyoto");
}

TEST_F(CMainFrameTest, OneFindDialogAtATimeAndTypedTextEnablesFind) {
  const auto find = [&] {
    wxCommandEvent e(wxEVT_MENU, res::kIdFindInScrapbook);
    e.SetEventObject(m_frame);
    m_frame->ProcessWindowEvent(e);
  };
  EXPECT_TRUE(MenuEnabled(res::kIdFindInScrapbook));
  find();
  wxFindReplaceDialog* dialog = m_frame->FindDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->GetTitle().utf8_string(), "テキストの全文検索");
  EXPECT_EQ(dialog->GetData()->GetFlags() & wxFR_DOWN, wxFR_DOWN);
  find();  // a second command while it is open does nothing
  EXPECT_EQ(m_frame->FindDialog(), dialog);

  // Typed text enables Find: the tree's search takes the request.
  wxTextCtrl* text = nullptr;
  for (wxWindow* child : dialog->GetChildren())
    if (!text) text = dynamic_cast<wxTextCtrl*>(child);
  wxWindow* findButton = dialog->FindWindow(wxID_FIND);
  ASSERT_TRUE(text && findButton);
  text->SetValue(wxString::FromUTF8("東京"));
  dialog->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(findButton->IsEnabled());

  wxFindDialogEvent close(wxEVT_FIND_CLOSE, dialog->GetId());
  close.SetEventObject(dialog);
  m_frame->GetEventHandler()->ProcessEvent(close);
  EXPECT_EQ(m_frame->FindDialog(), nullptr);
  find();
  EXPECT_NE(m_frame->FindDialog(), nullptr) << "after closing, the command opens a new one";
}

// The about box's text is shorter than its title; the window manager cut the title to
// "クリップレン… ジョン情報" to fit beside its buttons.
TEST_F(CMainFrameTest, AboutBoxIsWideEnoughForItsTitle) {
  CAboutDlg about(m_frame);
  const wxFont bold = about.GetFont().Bold();
  int title = 0;
  about.GetTextExtent(about.GetTitle(), &title, nullptr, nullptr, nullptr, &bold);
  EXPECT_GE(about.GetClientSize().x, title + about.FromDIP(100));
  EXPECT_EQ(about.FindWindow(wxID_OK), about.GetDefaultItem());
}

// The bars and the splitter carry the numbers the menus and the rest of the program know
// them by; "ツール　バー" and "ステータス　バー" find their bar by that number.
TEST_F(CMainFrameTest, ChildWindowsCarryTheirFixedIds) {
  EXPECT_EQ(m_frame->MainToolBar()->GetId(), 59392);
  EXPECT_EQ(m_frame->ScrapStatusBar()->GetId(), 59393);
  EXPECT_EQ(m_frame->SearchToolBar()->GetId(), 32839);
  EXPECT_EQ(m_frame->SearchBox()->GetId(), 32833);
  EXPECT_EQ(m_frame->Splitter()->GetId(), 59648);
  EXPECT_EQ(m_frame->FindWindow(59392), m_frame->MainToolBar());
  EXPECT_EQ(m_frame->FindWindow(59393), m_frame->ScrapStatusBar());
  m_frame->ProcessCommand(res::kIdViewStatusBar);
  EXPECT_FALSE(m_frame->ScrapStatusBar()->IsShown());
  m_frame->ProcessCommand(res::kIdViewStatusBar);
  EXPECT_TRUE(m_frame->ScrapStatusBar()->IsShown());
  // The bars' own update requests carry those numbers too; they must not disable the bars.
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(m_frame->MainToolBar()->IsEnabled());
  EXPECT_TRUE(m_frame->ScrapStatusBar()->IsEnabled());
}

// The menu bar is a window too and asks about itself at idle time; nobody answers that, and
// it must stay enabled (a disabled bar greys every title and opens nothing).
TEST_F(CMainFrameTest, MenuBarStaysEnabledThroughIdleUpdates) {
  SetTab(0);
  m_frame->UpdateWindowUI(wxUPDATE_UI_RECURSE | wxUPDATE_UI_FROMIDLE);
  m_frame->GetMenuBar()->UpdateWindowUI();
  EXPECT_TRUE(m_frame->GetMenuBar()->IsEnabled());
  EXPECT_TRUE(MenuEnabled(res::kIdHelpFinder)) << "the frame shows the help";
  EXPECT_TRUE(MenuEnabled(res::kIdAppExit));
}

TEST_F(CMainFrameTest, HelpAndHomePage) {
  m_frame->ProcessCommand(res::kIdHomePage);
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_EQ(m_opened[0], kMakerHomePage);
  m_browserWorks = false;
  m_frame->ProcessCommand(res::kIdHelpFinder);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0], "「クリップレン帳」のヘルプが見つかりません。");
}

// Pictures of what a user sees, written to the test build folder's screenshots/: the page
// tab, the text tab with the search bar, and the pen drop-down.
TEST_F(CMainFrameTest, Screenshots) {
  OpenScrap();
  std::filesystem::create_directories(m_dir / "Travel" / "Kyoto");
  m_frame->StartLeftPane(m_dir.path().string(), nullptr, (m_dir / "Sample").string());
  m_frame->SetScrapTitle(m_doc->GetTitle());
  SetTab(0);
  m_frame->Update();
  const wxRect frame = m_frame->GetScreenRect();
  const wxImage page = GrabScreen(frame);
  ASSERT_TRUE(page.IsOk());
  EXPECT_TRUE(page.SaveFile(guitest::ScreenshotPath("main-page-tab.png"), wxBITMAP_TYPE_PNG));
  // The save button's picture is on the screen: its blue body.
  const wxRect save = m_frame->MainToolBar()->ToolScreenRect(res::kIdFileSave);
  if (wxDisplayDepth() >= 24) {
    // On a busy machine the X server may show the bar a while later.
    int bluish = 0;
    EXPECT_TRUE(guitest::WaitFor([&] { return (bluish = CountBluish(GrabScreen(save))) > 10; },
                                 30000))
        << bluish;
  }

  SetTab(2);
  m_text->Show();
  m_page->Hide();
  m_frame->TabArea()->Layout();
  ASSERT_TRUE(guitest::WaitFor([&] { return m_frame->SearchBox()->IsShownOnScreen(); }));
  EXPECT_TRUE(m_frame->SearchToolBar()->IsShown());
  // The whole search box is inside the frame, at the right end of the tool bar row.
  const wxRect box = m_frame->SearchBox()->GetScreenRect();
  EXPECT_GE(box.width, 120);
  EXPECT_LE(box.GetRight(), frame.GetRight());
  EXPECT_GT(box.x, m_frame->MainToolBar()->GetScreenRect().GetRight());
  EXPECT_TRUE(
      GrabScreen(frame).SaveFile(guitest::ScreenshotPath("main-text-tab.png"), wxBITMAP_TYPE_PNG));

  SetTab(0);
  m_text->Hide();
  m_page->Show();
  m_frame->TabArea()->Layout();
  wxCommandEvent drop(wxEVT_TOOL_DROPDOWN, res::kIdPen);
  drop.SetEventObject(m_frame->MainToolBar());
  m_frame->MainToolBar()->GetEventHandler()->ProcessEvent(drop);
  ASSERT_NE(m_frame->PenMenu(), nullptr);
  EXPECT_TRUE(guitest::WaitFor([&] { return m_frame->PenMenu()->IsShownOnScreen(); }));
  const wxRect pen = m_frame->MainToolBar()->ToolScreenRect(res::kIdPen);
  const wxRect menu = m_frame->PenMenu()->GetScreenRect();
  EXPECT_EQ(menu.GetLeft(), pen.GetLeft());
  EXPECT_EQ(menu.GetTop(), pen.GetBottom() + 2);
  EXPECT_TRUE(m_frame->PenMenu()->Items()[m_doc->PenIndex()].checked);
  {
    // Opening it again replaces the first one.
    wxWeakRef<CMenuEx> first = m_frame->PenMenu();
    m_frame->MainToolBar()->GetEventHandler()->ProcessEvent(drop);
    EXPECT_TRUE(guitest::WaitFor([&] { return !first; }));
    ASSERT_NE(m_frame->PenMenu(), nullptr);
  }
  if (wxDisplayDepth() >= 24) {
    // The chosen pen's ticked box reaches the screen in the menu's frame colour.
    int framed = 0;
    const auto countFramed = [&] {
      const wxImage shown = GrabScreen(menu);
      framed = 0;
      for (int y = 0; y < shown.GetHeight(); ++y)
        for (int x = 0; x < 20 && x < shown.GetWidth(); ++x)
          framed += wxColour(shown.GetRed(x, y), shown.GetGreen(x, y), shown.GetBlue(x, y)) ==
                    CMenuEx::kHighlightFrame;
      return framed > 20;
    };
    EXPECT_TRUE(guitest::WaitFor(countFramed, 30000)) << framed;
  }
  EXPECT_TRUE(
      GrabScreen(frame).SaveFile(guitest::ScreenshotPath("pen-drop-down.png"), wxBITMAP_TYPE_PNG));
}

}  // namespace
