// The pictures tab in the real main window: the tab appears for a scrap with pictures, the
// display button and the view-mode commands reach the view, and the screenshots of the three
// modes and of the context menu.
#include <gtest/gtest.h>

#include <wx/menu.h>
#include <wx/timer.h>

#include <filesystem>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/CxImage.h"
#include "app/pageview/ui/CSBTabCtrl.h"
#include "app/res/Resource.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/Screenshot.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "app/tabs/ui/CDetailList.h"
#include "app/tabs/ui/CImageArea.h"
#include "app/tabs/ui/CImagesView.h"
#include "app/tabs/ui/CThumbnailCtrl.h"
#include "platform/TextConv.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

wxIMPLEMENT_APP_NO_MAIN(CClipwrenApp);

namespace {

namespace fs = std::filesystem;

fs::path Home() { return fs::path(std::getenv("HOME")) / "Documents" / "クリップレン"; }

// A picture a web page might hold: a soft two-colour gradient with a band across it.
void WritePicture(const fs::path& file, uint32_t w, uint32_t h, int hue) {
  CxImage img;
  ASSERT_TRUE(img.Create(w, h, 24, CXIMAGE_FORMAT_JPG));
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = img.GetBits(h - 1 - y);
    for (uint32_t x = 0; x < w; ++x) {
      const bool band = y > h * 2 / 5 && y < h * 3 / 5;
      row[3 * x] = uint8_t(band ? 250 : (hue * 53 + 255 * x / w) % 256);
      row[3 * x + 1] = uint8_t(band ? 250 : (hue * 91 + 200 * y / h) % 256);
      row[3 * x + 2] = uint8_t(band ? 250 : (hue * 37 + 120) % 256);
    }
  }
  ASSERT_TRUE(img.Save(file.string(), CXIMAGE_FORMAT_JPG));
}

void MakeScrap(const fs::path& dir) {
  fs::create_directories(dir / "Images");
  CxImage page;
  ASSERT_TRUE(page.Create(400, 600, 24, CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(page.Save((dir / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  testsupport::WriteFile(dir / "Content.txt",
                         "\xFF\xFE" + platform::text::Utf8ToUtf16le("写真の記事"));
  const std::pair<uint32_t, uint32_t> sizes[] = {{800, 600}, {600, 800}, {1200, 400}, {400, 400},
                                                 {640, 480}, {300, 900}, {1024, 768}, {500, 300}};
  int hue = 0;
  for (const auto& [w, h] : sizes) {
    char name[32];
    std::snprintf(name, sizeof name, "photo%02d.jpg", hue + 1);
    WritePicture(dir / "Images" / name, w, h, hue++);
  }
  testsupport::WriteFile(dir / "Images" / "spacer.gif", "GIF89a");
}

class PicturesTabWindowTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    MakeScrap(Home() / "写真");
    ASSERT_TRUE(wxGetApp().OnInit());
    m_frame = wxGetApp().MainFrame();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame && m_frame->IsShown(); }));
    m_doc = wxGetApp().Document();
    m_tabs = wxDynamicCast(wxGetApp().PageView()->GetParent(), CSBTabCtrl);
    ASSERT_NE(m_tabs, nullptr);
    m_view = CImagesView::Current();
    ASSERT_NE(m_view, nullptr);
    m_frame->SetSize(1200, 800);
  }

  void Select(const fs::path& path) {
    ASSERT_TRUE(m_frame->LeftView()->Tree()->SelectByPath(path.string()).IsOk()) << path;
    const wxString title = wxString::FromUTF8(path.filename().string());
    ASSERT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == title; })) << path;
  }
  // The command as a menu or the tool bar gives it: through the frame's routing.
  bool Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(m_frame);
    return m_frame->GetEventHandler()->ProcessEvent(event);
  }
  bool Enabled(int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(m_frame);
    m_frame->GetEventHandler()->ProcessEvent(event);
    return event.GetEnabled();
  }
  void WaitFilled() {
    ASSERT_TRUE(guitest::WaitFor([&] { return !m_view->ActiveList()->IsRunning(); }));
    guitest::Pump(100);
  }
  bool Shot(const char* name) {
    m_frame->Raise();
    m_frame->Update();
    guitest::Pump(1000);
    return SaveWindowScreenshot(m_frame, guitest::ScreenshotPath(name));
  }

  CMainFrame* m_frame = nullptr;
  CClipwrenDoc* m_doc = nullptr;
  CSBTabCtrl* m_tabs = nullptr;
  CImagesView* m_view = nullptr;
};

TEST_F(PicturesTabWindowTest, TabModesGifCommandAndScreenshots) {
  Select(Home() / "写真");
  EXPECT_EQ(m_doc->PicturesCount(), 1);
  ASSERT_TRUE(m_tabs->IsAvailable(3));
  ASSERT_TRUE(m_tabs->Button(3)->IsShown());
  m_tabs->SelectTab(3);
  WaitFilled();
  EXPECT_EQ(m_doc->ActiveTab(), 3);
  EXPECT_EQ(m_view->Thumbnails()->GetItemCount(), 9);
  EXPECT_EQ(m_view->Thumbnails()->ThumbnailsDone(), 8);  // the GIF holds no picture
  EXPECT_TRUE(Enabled(res::kIdPictureDisplay));
  EXPECT_TRUE(Enabled(res::kIdCopyToClipboard));
  EXPECT_TRUE(Shot("pictures-thumbnails.png"));
  // Mode 0 lays the items out one below the other, the photo view's strip side by side.
  wxPoint first, second;
  m_view->Thumbnails()->GetItemPosition(0, first);
  m_view->Thumbnails()->GetItemPosition(1, second);
  EXPECT_EQ(first.x, second.x);

  EXPECT_TRUE(Command(res::kIdPhotoView));
  WaitFilled();
  EXPECT_EQ(m_doc->PictureSettings().viewMode, 1);
  EXPECT_TRUE(m_view->PhotoPane()->IsShown());
  EXPECT_NE(m_view->CurrentPicture(), nullptr);
  m_view->Thumbnails()->GetItemPosition(0, first);
  m_view->Thumbnails()->GetItemPosition(1, second);
  EXPECT_EQ(first.y, second.y);
  EXPECT_GT(second.x, first.x);
  EXPECT_TRUE(Shot("pictures-photo.png"));

  EXPECT_TRUE(Command(res::kIdHideGif));
  WaitFilled();
  EXPECT_FALSE(m_doc->PictureSettings().showGif);
  EXPECT_EQ(m_view->Thumbnails()->GetItemCount(), 8);

  EXPECT_TRUE(Command(res::kIdViewDetails));
  WaitFilled();
  EXPECT_EQ(m_view->Details()->GetItemCount(), 8);
  EXPECT_TRUE(Shot("pictures-details.png"));

  EXPECT_TRUE(Command(res::kIdThumbnailView));
  WaitFilled();
  EXPECT_TRUE(Shot("pictures-thumbnails-again.png"));

  // Saving on the pictures tab writes the settings the scrap opens with next time.
  ASSERT_TRUE(m_doc->Save());
  const std::string ini = testsupport::ReadFile(Home() / "写真" / "ImageView.ini");
  EXPECT_NE(ini.find("ViewMode=0"), std::string::npos);
  EXPECT_NE(ini.find("IsShowGif=0"), std::string::npos);
}

// F6 from the tree reaches the list of the mode that shows, so the arrow keys move between
// the pictures without a mouse (the tab's own window took the focus, where no key did anything).
TEST_F(PicturesTabWindowTest, F6ReachesTheShownListAndArrowKeysMoveInIt) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  Select(Home() / "写真");
  m_tabs->SelectTab(3);
  WaitFilled();
  ASSERT_TRUE(input.Activate("クリップレン帳 - 写真"));
  for (int mode : {0, 2}) {
    ASSERT_TRUE(Command(mode == 0 ? res::kIdThumbnailView : res::kIdViewDetails));
    WaitFilled();
    CImageListCtrl* list = m_view->ActiveList();
    list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    wxWindow* tree = m_frame->LeftView()->Tree();
    tree->SetFocus();
    ASSERT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == tree; }));
    ASSERT_TRUE(guitest::RealInput::Key("F6"));
    EXPECT_TRUE(guitest::WaitFor([&] { return wxWindow::FindFocus() == list; })) << mode;
    ASSERT_TRUE(guitest::RealInput::Key("Down"));
    EXPECT_TRUE(guitest::WaitFor([&] {
      return list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED) == 1;
    })) << "Down selects the second picture in mode " << mode;
  }
}

TEST_F(PicturesTabWindowTest, ContextMenuOffersCopyAndSend) {
  Select(Home() / "写真");
  m_tabs->SelectTab(3);
  WaitFilled();
  CThumbnailCtrl* list = m_view->Thumbnails();
  // The pop-up runs its own event loop: a timer inside it reads the menu, saves the screen
  // and closes it.
  std::vector<int> ids;
  bool saved = false;
  wxTimer timer;
  int ticks = 0;
  list->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    if (e.GetMenu() && ids.empty())
      for (wxMenuItem* item : e.GetMenu()->GetMenuItems()) ids.push_back(item->GetId());
    e.Skip();
  });
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (++ticks == 8) {
      saved = SaveWindowScreenshot(m_frame, guitest::ScreenshotPath("pictures-context-menu.png"));
    }
    if (ticks >= 8) guitest::RealInput::Key("Escape");
  });
  timer.Start(60);
  list->ShowContextMenu(wxPoint(60, 60));
  timer.Stop();
  EXPECT_EQ(ids, (std::vector<int>{res::kIdCopyToClipboard, res::kIdSendToDesktop}));
  EXPECT_TRUE(saved);

  // Shift+F10 and the menu key open the same menu at the selected item.
  for (const int modifiers : {int(wxMOD_SHIFT), int(wxMOD_NONE)}) {
    ids.clear();
    ticks = 0;
    timer.Start(60);
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = modifiers == wxMOD_SHIFT ? WXK_F10 : WXK_MENU;
    key.m_shiftDown = modifiers == wxMOD_SHIFT;
    key.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(key);
    timer.Stop();
    EXPECT_EQ(ids, (std::vector<int>{res::kIdCopyToClipboard, res::kIdSendToDesktop}))
        << (modifiers == wxMOD_SHIFT ? "Shift+F10" : "menu key");
  }
}

}  // namespace
