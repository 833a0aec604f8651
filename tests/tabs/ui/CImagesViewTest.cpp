#include "app/tabs/ui/CImagesView.h"

#include <gtest/gtest.h>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/frame.h>
#include <wx/imaglist.h>

#include <chrono>
#include <memory>
#include <regex>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/CxImage.h"
#include "app/res/Resource.h"
#include "app/tabs/ui/CDetailList.h"
#include "app/tabs/ui/CImageArea.h"
#include "app/tabs/ui/CThumbnailCtrl.h"
#include "platform/SpecialFolders.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;
using testsupport::WriteFile;
using Names = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// A one-colour picture file: JPEG by default, BMP for exact colours.
void WritePicture(const fs::path& file, uint32_t w, uint32_t h, uint8_t r, uint8_t g, uint8_t b,
                  uint32_t type = CXIMAGE_FORMAT_JPG) {
  CxImage img;
  ASSERT_TRUE(img.Create(w, h, 24));
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = img.GetBits(y);
    for (uint32_t x = 0; x < w; ++x) row[3 * x] = b, row[3 * x + 1] = g, row[3 * x + 2] = r;
  }
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(img.Save(file.string(), type));
}

wxColour PixelOf(const wxBitmap& bitmap, int x, int y) {
  const wxImage image = bitmap.ConvertToImage();
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// The shell's questions answered No; errors kept.
struct ScriptedShell : platform::ShellUi {
  Answer ConfirmDelete(const std::vector<fs::path>&, bool) override { return Answer::No; }
  Answer ConfirmReplace(const fs::path&, const fs::path&) override {
    ++replaceQuestions;
    return Answer::No;
  }
  void ReportError(const std::string& message) override { errors.push_back(message); }
  bool Progress(const fs::path&, std::size_t, std::size_t) override { return true; }
  int replaceQuestions = 0;
  std::vector<std::string> errors;
};

// A pictures view in a frame of its own, on a document of its own, with the questions and
// the desktop's "open" answered by the test.
class PicturesTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    guitest::GuiTest::SetUp();
    if (IsSkipped()) return;
    // The desktop's "open" is a stand-in xdg-open that notes each file it is given and exits
    // with the code the test puts in its file.
    const fs::path bin = m_tools.path() / "bin";
    fs::create_directories(bin);
    WriteFile(bin / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" +
                                    (m_tools.path() / "opened").string() + "'\nexit $(cat '" +
                                    (m_tools.path() / "code").string() +
                                    "' 2>/dev/null || echo 0)\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    m_path = std::getenv("PATH");
    setenv("PATH", (bin.string() + ":" + m_path).c_str(), 1);
    m_doc = std::make_unique<CClipwrenDoc>();
    m_frame = new wxFrame(nullptr, wxID_ANY, "pictures", wxDefaultPosition, wxSize(820, 560));
    m_view = new CImagesView(m_frame, m_doc.get());
    m_frame->Show();
    for (CImageListCtrl* list : Lists()) {
      list->askYesNo = [this](const wxString& text, long) {
        m_questions.push_back(text.utf8_string());
        return m_answer;
      };
      list->showMessage = [this](const wxString& text) {
        m_messages.push_back(text.utf8_string());
      };
      list->SetShellUi(&m_shell);
    }
    guitest::Pump();
  }
  void TearDown() override {
    if (m_frame) m_frame->Destroy();
    guitest::Pump();
    m_doc.reset();
    if (!m_path.empty()) setenv("PATH", m_path.c_str(), 1);
    guitest::GuiTest::TearDown();
  }

  // The files the stand-in xdg-open was given, one a line.
  std::string Opened() const { return testsupport::ReadFile(m_tools.path() / "opened"); }
  void SetOpenExitCode(int code) { WriteFile(m_tools.path() / "code", std::to_string(code)); }

  std::vector<CImageListCtrl*> Lists() const { return {m_view->Thumbnails(), m_view->Details()}; }
  fs::path Scrap() const { return m_scrap.path(); }
  fs::path Images() const { return m_scrap.path() / "Images"; }
  // Opens the scrap's pictures in `mode` and waits for the list's worker to finish.
  bool Open(int mode) {
    m_doc->PictureSettings().viewMode = mode;
    m_view->LoadFolder(Scrap().string());
    const bool found = m_view->ApplyViewMode();
    WaitIdle();
    return found;
  }
  void WaitIdle() {
    guitest::WaitFor([this] { return !m_view->ActiveList()->IsRunning(); });
    guitest::Pump();
  }
  static void Key(CImageListCtrl* list, int code, int modifiers = wxMOD_NONE) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = code;
    key.m_shiftDown = modifiers & wxMOD_SHIFT;
    key.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(key);
  }
  void SizeView(int w, int h) {
    m_frame->SetClientSize(w, h);
    guitest::WaitFor([&] { return m_view->GetSize() == wxSize(w, h); });
  }
  bool Enabled(int id) {
    wxUpdateUIEvent update(id);
    update.SetEventObject(m_view);
    m_view->GetEventHandler()->ProcessEvent(update);
    return update.GetEnabled();
  }

  TempDir m_scrap;
  std::unique_ptr<CClipwrenDoc> m_doc;
  wxFrame* m_frame = nullptr;
  CImagesView* m_view = nullptr;
  std::vector<std::string> m_questions;
  std::vector<std::string> m_messages;
  TempDir m_tools;
  std::string m_path;
  bool m_answer = true;
  ScriptedShell m_shell;
};

TEST_F(PicturesTest, ListsPicturesInByteOrderAndHidesGifsOnRequest) {
  WritePicture(Images() / "a.JPG", 40, 30, 255, 0, 0);
  WriteFile(Images() / "B.gif", "GIF89a");
  WriteFile(Images() / "c.txt", "text");
  fs::create_directories(Images() / "d.png");
  EXPECT_EQ(m_view->LoadFolder(Scrap().string()), 1);
  EXPECT_TRUE(Open(0));
  CThumbnailCtrl* thumbs = m_view->Thumbnails();
  EXPECT_EQ(thumbs->Names(), (Names{"B.gif", "a.JPG"}));
  EXPECT_EQ(thumbs->GetItemCount(), 2);
  EXPECT_EQ(thumbs->GetItemText(1).utf8_string(), "a.JPG");
  EXPECT_EQ(thumbs->Selected(), 0);

  m_view->GifSettingChanged(false);
  WaitIdle();
  EXPECT_FALSE(m_doc->PictureSettings().showGif);
  EXPECT_EQ(thumbs->Names(), (Names{"a.JPG"}));
  // One picture: nothing is current, so copy and send are disabled and the pane is empty.
  EXPECT_EQ(thumbs->Selected(), -1);
  EXPECT_EQ(m_view->CurrentPicture(), nullptr);
  EXPECT_FALSE(Enabled(res::kIdCopyToClipboard));
  EXPECT_FALSE(Enabled(res::kIdSendToDesktop));
}

TEST_F(PicturesTest, EmptyMissingAndGifOnlyFoldersShowNothing) {
  EXPECT_EQ(m_view->LoadFolder(Scrap().string()), 0);  // no Images folder
  EXPECT_FALSE(Open(0));
  fs::create_directories(Images());
  EXPECT_EQ(m_view->LoadFolder(Scrap().string()), 0);
  EXPECT_FALSE(Open(2));
  EXPECT_EQ(m_view->Details()->GetItemCount(), 0);
  EXPECT_FALSE(Enabled(res::kIdCopyToClipboard));
  EXPECT_FALSE(Enabled(res::kIdSendToDesktop));

  WriteFile(Images() / "only.gif", "GIF89a");
  m_doc->PictureSettings().showGif = false;
  EXPECT_EQ(m_view->LoadFolder(Scrap().string()), 1);
  EXPECT_FALSE(Open(0));
  EXPECT_EQ(m_view->Thumbnails()->GetItemCount(), 0);
}

TEST_F(PicturesTest, LaysOutEachModeAndShowsNothingForAnUnknownOne) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  SizeView(800, 500);
  Open(1);
  const wxRect strip = m_view->Thumbnails()->GetRect();
  EXPECT_EQ(strip, wxRect(0, 500 - 145, 800, 142));
  EXPECT_EQ(m_view->PhotoPane()->GetRect(), wxRect(0, 0, 800, 350));
  EXPECT_TRUE(m_view->PhotoPane()->IsShown());
  EXPECT_FALSE(m_view->Details()->IsShown());
  EXPECT_TRUE(m_view->Thumbnails()->HasFlag(wxLC_ALIGN_LEFT));

  Open(0);
  EXPECT_EQ(m_view->Thumbnails()->GetRect(), wxRect(0, 0, 800, 500));
  EXPECT_FALSE(m_view->PhotoPane()->IsShown());
  EXPECT_FALSE(m_view->Thumbnails()->HasFlag(wxLC_ALIGN_LEFT));

  Open(2);
  EXPECT_EQ(m_view->Details()->GetRect(), wxRect(0, 0, 800, 500));
  EXPECT_FALSE(m_view->Thumbnails()->IsShown());

  m_doc->PictureSettings().viewMode = 5;
  EXPECT_FALSE(m_view->ApplyViewMode());
  EXPECT_FALSE(m_view->Thumbnails()->IsShown());
  EXPECT_FALSE(m_view->Details()->IsShown());
  EXPECT_FALSE(m_view->PhotoPane()->IsShown());
}

TEST_F(PicturesTest, ModeCommandsRefreshTheListThatBecomesVisible) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(0);
  wxCommandEvent details(wxEVT_MENU, res::kIdViewDetails);
  m_view->GetEventHandler()->ProcessEvent(details);
  WaitIdle();
  EXPECT_EQ(m_doc->PictureSettings().viewMode, 2);
  EXPECT_EQ(m_view->Details()->GetItemCount(), 2);
  wxUpdateUIEvent check(res::kIdViewDetails);
  m_view->GetEventHandler()->ProcessEvent(check);
  EXPECT_TRUE(check.GetChecked());

  WritePicture(Images() / "c.jpg", 40, 30, 0, 255, 0);
  wxCommandEvent thumbs(wxEVT_MENU, res::kIdThumbnailView);
  m_view->GetEventHandler()->ProcessEvent(thumbs);
  WaitIdle();
  EXPECT_EQ(m_view->Thumbnails()->GetItemCount(), 3);
}

TEST_F(PicturesTest, DetailColumnsShowKilobytesAndLocalTime) {
  WriteFile(Images() / "empty.png", "");
  WriteFile(Images() / "half.png", std::string(1536, 'x'));
  WriteFile(Images() / "two.png", std::string(2048, 'x'));
  Open(2);
  CDetailList* list = m_view->Details();
  ASSERT_EQ(list->GetItemCount(), 3);
  wxListItem column;
  column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH | wxLIST_MASK_FORMAT);
  const char* headers[] = {"名前", "サイズ", "更新日時"};
  for (int i = 0; i < 3; ++i) {
    list->GetColumn(i, column);
    EXPECT_EQ(column.GetText().utf8_string(), headers[i]);
  }
  EXPECT_EQ(list->GetItemText(0, 1).utf8_string(), "1 KB");
  EXPECT_EQ(list->GetItemText(1, 1).utf8_string(), "1 KB");
  EXPECT_EQ(list->GetItemText(2, 1).utf8_string(), "2 KB");
  EXPECT_TRUE(std::regex_match(list->GetItemText(2, 2).utf8_string(),
                               std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d)")));
}

TEST_F(PicturesTest, ThumbnailCellsArePlacedInTheirItems) {
  WritePicture(Images() / "1wide.bmp", 200, 100, 255, 0, 0, CXIMAGE_FORMAT_BMP);
  WritePicture(Images() / "2tall.bmp", 90, 100, 0, 0, 255, CXIMAGE_FORMAT_BMP);
  WritePicture(Images() / "3broken.jpg", 1, 1, 0, 0, 0);
  WriteFile(Images() / "3broken.jpg", "\xFF\xD8\xFF broken");
  Open(0);
  wxImageList* images = m_view->Thumbnails()->GetImageList(wxIMAGE_LIST_NORMAL);
  ASSERT_EQ(images->GetImageCount(), 3);
  const wxBitmap wide = images->GetBitmap(0), tall = images->GetBitmap(1);
  EXPECT_EQ(wide.GetSize(), wxSize(100, 90));
  EXPECT_EQ(PixelOf(wide, 0, 0), wxColour(192, 192, 192));
  EXPECT_EQ(PixelOf(wide, 50, 19), *wxWHITE);
  EXPECT_EQ(PixelOf(wide, 50, 20), *wxRED);
  EXPECT_EQ(PixelOf(wide, 50, 69), *wxRED);
  EXPECT_EQ(PixelOf(wide, 50, 70), *wxWHITE);
  EXPECT_EQ(PixelOf(tall, 9, 45), *wxWHITE);
  EXPECT_EQ(PixelOf(tall, 10, 45), *wxBLUE);
  EXPECT_EQ(PixelOf(tall, 89, 45), *wxBLUE);
  EXPECT_EQ(PixelOf(tall, 90, 45), *wxWHITE);
  // A file that does not decode keeps the blank cell.
  EXPECT_EQ(PixelOf(images->GetBitmap(2), 50, 45), *wxWHITE);
}

TEST_F(PicturesTest, PhotoPaneFitsAWidePictureAndCentresIt) {
  WritePicture(Images() / "a.bmp", 4000, 1000, 255, 0, 0, CXIMAGE_FORMAT_BMP);
  WritePicture(Images() / "b.bmp", 10, 10, 0, 0, 255, CXIMAGE_FORMAT_BMP);
  SizeView(804, 404 + 150);
  Open(1);
  ASSERT_EQ(m_view->PhotoPane()->GetClientSize(), wxSize(804, 404));
  ASSERT_NE(m_view->CurrentPicture(), nullptr);
  const wxBitmap pane = m_view->PhotoPane()->Render();
  ASSERT_EQ(pane.GetSize(), wxSize(800, 400));
  const wxColour ground(238, 242, 251);
  EXPECT_EQ(PixelOf(pane, 0, 99), ground);
  EXPECT_EQ(PixelOf(pane, 0, 100), *wxRED);
  EXPECT_EQ(PixelOf(pane, 799, 299), *wxRED);
  EXPECT_EQ(PixelOf(pane, 799, 300), ground);
}

TEST_F(PicturesTest, KeysOnAnEmptyListDoNothing) {
  fs::create_directories(Images());
  Open(0);
  for (CImageListCtrl* list : Lists()) {
    for (int key : {WXK_DELETE, WXK_RETURN, WXK_F2}) Key(list, key);
    list->CopyToClipboard();
    list->SendToDesktop();
  }
  EXPECT_TRUE(m_questions.empty());
  EXPECT_TRUE(m_messages.empty());
  guitest::Pump(200);
  EXPECT_EQ(Opened(), "");
}

TEST_F(PicturesTest, EnterOpensAndDeleteAsksThenDeletes) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(0);
  CThumbnailCtrl* list = m_view->Thumbnails();
  Key(list, WXK_RETURN);
  EXPECT_TRUE(guitest::WaitFor([&] { return !Opened().empty(); }));
  EXPECT_EQ(Opened(), (Images() / "a.jpg").string() + "\n");
  guitest::Pump(200);
  EXPECT_TRUE(m_messages.empty());

  m_answer = false;
  Key(list, WXK_DELETE);
  EXPECT_EQ(m_questions, (Names{"'a.jpg'を削除しますか？"}));
  EXPECT_TRUE(fs::exists(Images() / "a.jpg"));
  m_answer = true;
  Key(list, WXK_DELETE);
  EXPECT_FALSE(fs::exists(Images() / "a.jpg"));
  EXPECT_EQ(list->Names(), (Names{"b.jpg"}));
  EXPECT_EQ(list->GetItemCount(), 1);
}

TEST_F(PicturesTest, RenameOntoAnExistingNameKeepsTheOldLabel) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(2);
  CDetailList* list = m_view->Details();
  EXPECT_FALSE(list->RenameItem(0, "b.jpg"));
  EXPECT_EQ(list->GetItemText(0).utf8_string(), "a.jpg");
  EXPECT_TRUE(fs::exists(Images() / "a.jpg"));
  EXPECT_TRUE(list->RenameItem(0, "写真.jpg"));
  EXPECT_EQ(list->GetItemText(0).utf8_string(), "写真.jpg");
  EXPECT_EQ(list->Names()[0], "写真.jpg");
  EXPECT_TRUE(fs::exists(Images() / "写真.jpg"));
}

TEST_F(PicturesTest, EndOfLabelEditRenamesAndF5ListsAgain) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(0);
  CThumbnailCtrl* list = m_view->Thumbnails();
  const auto endEdit = [&](const char* text, bool cancelled) {
    wxListEvent edit(wxEVT_LIST_END_LABEL_EDIT, list->GetId());
    edit.SetEventObject(list);
    edit.m_itemIndex = 1;
    edit.m_item.m_itemId = 1;
    edit.m_item.m_text = wxString::FromUTF8(text);
    edit.SetEditCanceled(cancelled);
    list->GetEventHandler()->ProcessEvent(edit);
    guitest::Pump();
    return edit.IsAllowed();
  };
  // The control never takes the typed label itself; a rename that worked sets it.
  EXPECT_FALSE(endEdit("c.jpg", true));
  EXPECT_TRUE(fs::exists(Images() / "b.jpg"));
  EXPECT_FALSE(endEdit("c.jpg", false));
  EXPECT_TRUE(guitest::WaitFor([&] { return list->GetItemText(1) == "c.jpg"; }));
  EXPECT_TRUE(fs::exists(Images() / "c.jpg"));
  EXPECT_EQ(list->Names(), (Names{"a.jpg", "c.jpg"}));

  WritePicture(Images() / "d.jpg", 40, 30, 0, 255, 0);
  Key(list, WXK_F5);
  WaitIdle();
  EXPECT_EQ(list->Names(), (Names{"a.jpg", "c.jpg", "d.jpg"}));
  EXPECT_EQ(list->GetItemCount(), 3);
}

// The rename waits until the edit box has gone. If the list changed in between, it renames the
// picture that was edited, and nothing when the list shows another scrap by then.
TEST_F(PicturesTest, ARenameAfterTheListChangedTakesTheEditedPictureOrNothing) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(0);
  CThumbnailCtrl* list = m_view->Thumbnails();
  const auto endEditOfSecond = [&](const char* text) {
    wxListEvent edit(wxEVT_LIST_END_LABEL_EDIT, list->GetId());
    edit.SetEventObject(list);
    edit.m_itemIndex = 1;
    edit.m_item.m_itemId = 1;
    edit.m_item.m_text = wxString::FromUTF8(text);
    list->GetEventHandler()->ProcessEvent(edit);
  };
  endEditOfSecond("z.jpg");  // b.jpg
  WritePicture(Images() / "a0.jpg", 40, 30, 0, 255, 0);
  list->RefreshList();  // b.jpg is third now
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(Images() / "z.jpg"); }));
  WaitIdle();
  EXPECT_TRUE(fs::exists(Images() / "a0.jpg"));
  EXPECT_FALSE(fs::exists(Images() / "b.jpg"));
  EXPECT_EQ(list->Names(), (Names{"a.jpg", "a0.jpg", "z.jpg"}));

  TempDir other;
  WritePicture(other / "Images" / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(other / "Images" / "b.jpg", 40, 30, 0, 0, 255);
  endEditOfSecond("y.jpg");  // a0.jpg of the first scrap
  m_view->LoadFolder(other.path().string());
  m_view->ApplyViewMode();
  WaitIdle();
  guitest::Pump(100);
  EXPECT_TRUE(fs::exists(other / "Images" / "b.jpg"));
  EXPECT_FALSE(fs::exists(other / "Images" / "y.jpg"));
  EXPECT_TRUE(fs::exists(Images() / "a0.jpg"));
}

TEST_F(PicturesTest, SendingTwiceAsksBeforeOverwriting) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(0);
  const auto desktop = platform::GetSpecialFolder(platform::SpecialFolder::Desktop);
  ASSERT_TRUE(desktop);
  fs::remove_all(*desktop);
  ASSERT_TRUE(Enabled(res::kIdSendToDesktop));
  wxCommandEvent send(wxEVT_MENU, res::kIdSendToDesktop);
  m_view->GetEventHandler()->ProcessEvent(send);
  EXPECT_TRUE(fs::exists(*desktop / "a.jpg"));  // the desktop folder was created
  EXPECT_TRUE(m_questions.empty());
  WriteFile(*desktop / "a.jpg", "older");
  m_answer = false;
  m_view->GetEventHandler()->ProcessEvent(send);
  EXPECT_EQ(m_questions, (Names{"'a.jpg' は既に存在します。\n上書きしますか？"}));
  EXPECT_EQ(testsupport::ReadFile(*desktop / "a.jpg"), "older");
  m_answer = true;
  m_view->GetEventHandler()->ProcessEvent(send);
  EXPECT_EQ(fs::file_size(*desktop / "a.jpg"), fs::file_size(Images() / "a.jpg"));
}

// What cannot be done is told, and the list keeps showing what is really there: a picture no
// program opens, one that cannot be deleted, and a send that cannot be written.
TEST_F(PicturesTest, OpenDeleteAndSendThatFailAreReported) {
  WritePicture(Images() / "a.jpg", 40, 30, 255, 0, 0);
  WritePicture(Images() / "b.jpg", 40, 30, 0, 0, 255);
  Open(0);
  CThumbnailCtrl* list = m_view->Thumbnails();
  SetOpenExitCode(3);
  Key(list, WXK_RETURN);
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_messages.empty(); }));
  EXPECT_EQ(m_messages, (Names{"'a.jpg' を開くプログラムが見つかりませんでした。"}));
  m_messages.clear();

  // Behind the list's back a.jpg became a folder that is not empty.
  fs::remove(Images() / "a.jpg");
  fs::create_directories(Images() / "a.jpg" / "inside");
  Key(list, WXK_DELETE);
  EXPECT_EQ(m_messages, (Names{"'a.jpg' を削除できませんでした。"}));
  EXPECT_EQ(list->Names(), (Names{"a.jpg", "b.jpg"}));
  EXPECT_EQ(list->GetItemCount(), 2);
  m_messages.clear();
  m_questions.clear();

  // A source that is gone is no reason to ask about overwriting.
  const auto desktop = platform::GetSpecialFolder(platform::SpecialFolder::Desktop, true);
  ASSERT_TRUE(desktop);
  fs::remove_all(*desktop / "a.jpg");
  fs::remove_all(*desktop / "b.jpg");
  list->SendToDesktop();
  EXPECT_TRUE(m_questions.empty());
  EXPECT_EQ(m_messages, (Names{"'a.jpg' をデスクトップに送れませんでした。"}));
  m_messages.clear();
  // A folder of the same name on the desktop: asked, and the overwrite that fails is told.
  list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  guitest::Pump();
  ASSERT_EQ(list->Selected(), 1);
  fs::create_directories(*desktop / "b.jpg" / "inside");
  list->SendToDesktop();
  EXPECT_EQ(m_questions, (Names{"'b.jpg' は既に存在します。\n上書きしますか？"}));
  EXPECT_EQ(m_messages, (Names{"'b.jpg' をデスクトップに送れませんでした。"}));
}

TEST_F(PicturesTest, ClipboardTakesTheSelectedPictureOrNothing) {
  WritePicture(Images() / "a.bmp", 30, 20, 255, 0, 0, CXIMAGE_FORMAT_BMP);
  WriteFile(Images() / "b.jpg", "\xFF\xD8\xFF broken");
  Open(0);
  const auto clipboardBitmap = [] {
    wxBitmap bitmap;
    if (!wxTheClipboard->Open()) return bitmap;
    wxBitmapDataObject data;
    if (wxTheClipboard->IsSupported(wxDF_BITMAP) && wxTheClipboard->GetData(data))
      bitmap = data.GetBitmap();
    wxTheClipboard->Close();
    return bitmap;
  };
  wxCommandEvent copy(wxEVT_MENU, res::kIdCopyToClipboard);
  m_view->GetEventHandler()->ProcessEvent(copy);
  const wxBitmap copied = clipboardBitmap();
  ASSERT_TRUE(copied.IsOk());
  EXPECT_EQ(copied.GetSize(), wxSize(30, 20));
  EXPECT_EQ(PixelOf(copied, 15, 10), *wxRED);
  // A picture that does not decode empties the clipboard.
  m_view->Thumbnails()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  ASSERT_EQ(m_view->Thumbnails()->Selected(), 1);
  m_view->GetEventHandler()->ProcessEvent(copy);
  EXPECT_FALSE(clipboardBitmap().IsOk());
}

TEST_F(PicturesTest, TwoQuickRefreshesLeaveOnlyTheSecondFill) {
  for (int i = 0; i < 30; ++i)
    WritePicture(Images() / ("p" + std::to_string(100 + i) + ".jpg"), 300, 200, 255, 0, 0);
  Open(0);
  CThumbnailCtrl* list = m_view->Thumbnails();
  EXPECT_TRUE(list->RefreshList());
  EXPECT_TRUE(list->RefreshList());
  WaitIdle();
  EXPECT_EQ(list->GetItemCount(), 30);
  EXPECT_EQ(list->ThumbnailsDone(), 30);
}

// A stop in the middle of a big folder ends at the next picture, and nothing the old worker
// made reaches the list of the next folder.
TEST_F(PicturesTest, StoppedWorkerEndsWithinOnePictureAndLeavesNothingBehind) {
  TempDir other;
  const fs::path red = Images() / "p000.jpg";
  WritePicture(red, 800, 600, 255, 0, 0);
  for (int i = 1; i < 500; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%03d.jpg", i);
    fs::copy_file(red, Images() / name);
  }
  for (const char* name : {"x.bmp", "y.bmp", "z.bmp"})
    WritePicture(other.path() / "Images" / name, 80, 60, 0, 0, 255, CXIMAGE_FORMAT_BMP);

  m_doc->PictureSettings().viewMode = 0;
  m_view->LoadFolder(Scrap().string());
  const auto start = Clock::now();
  ASSERT_TRUE(m_view->ApplyViewMode());
  CThumbnailCtrl* list = m_view->Thumbnails();
  ASSERT_TRUE(guitest::WaitFor([&] { return list->ThumbnailsDone() >= 20; }));
  const double perPicture =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
      list->ThumbnailsDone();
  ASSERT_TRUE(list->IsRunning());

  const auto stopStart = Clock::now();
  EXPECT_TRUE(list->StopWorker());
  const double stopMs = std::chrono::duration<double, std::milli>(Clock::now() - stopStart).count();
  // The worker finishes the picture it is on; pumping made the per-picture figure generous.
  EXPECT_LE(stopMs, 2 * perPicture + 20) << "one picture takes " << perPicture << " ms";

  m_view->LoadFolder(other.path().string());
  ASSERT_TRUE(m_view->ApplyViewMode());
  WaitIdle();
  guitest::Pump(200);
  EXPECT_EQ(list->Names(), (Names{"x.bmp", "y.bmp", "z.bmp"}));
  ASSERT_EQ(list->GetItemCount(), 3);
  EXPECT_EQ(list->ThumbnailsDone(), 3);
  wxImageList* images = list->GetImageList(wxIMAGE_LIST_NORMAL);
  ASSERT_EQ(images->GetImageCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(PixelOf(images->GetBitmap(i), 50, 45), *wxBLUE);
}

}  // namespace
