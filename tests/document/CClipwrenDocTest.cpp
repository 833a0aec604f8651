#include "app/document/ui/CClipwrenDoc.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/radiobut.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <map>

#include "app/document/ScrapText.h"
#include "app/pageview/PenTable.h"
#include "app/print/ui/CClipwrenPrintout.h"
#include "app/print/ui/CLangPreview.h"
#include "app/print/ui/CPrintSettingDlg.h"
#include "app/print/ui/PdfRender.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/CClipwrenView.h"
#include "app/res/Resource.h"
#include "app/shell/AppSettings.h"
#include "platform/Registry.h"
#include "tests/document/DocWindowTest.h"
#include "tests/pageview/TestScrap.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

// What the document and the views tell the frame.
struct FrameRecorder : IFrameHooks {
  void SetZoomText(const wxString& text) override { zoom = text; }
  void SetPaneText(int id, const wxString& text) override { panes[id] = text; }
  void OnActiveTabChanged(int, bool) override {}
  wxString zoom;
  std::map<int, wxString> panes;
};

// The right pane with both page views, as the main window holds them.
class DocumentTest : public doctest::DocWindowTest {
 protected:
  void SetUp() override {
    guitest::GuiTest::SetUp();
    if (IsSkipped()) return;
    MakeDocument();
    m_doc->askSave = [this](const wxString& q) {
      m_questions.push_back(q);
      return m_answerYes;
    };
    m_doc->showMessage = [this](const wxString& t) { m_messages.push_back(t); };
    m_doc->openAddress = [this](const std::string& a) { m_opened.push_back(a); };
    m_doc->SetFrameHooks(&m_recorder);
    ShowWindow("doc");
  }
  int Gray(const std::filesystem::path& jpg, int x, int y) {
    CxImage img;
    EXPECT_TRUE(img.Load(jpg.string(), CXIMAGE_FORMAT_JPG));
    const RGBQUAD c = img.GetPixelColor(x, img.GetHeight() - 1 - y);
    return (c.rgbRed + c.rgbGreen + c.rgbBlue) / 3;
  }

  FrameRecorder m_recorder;
  bool m_answerYes = false;
  std::vector<wxString> m_questions, m_messages;
  std::vector<std::string> m_opened;
};

TEST_F(DocumentTest, OpenSetsTitlePathsAndPresenceFlags) {
  pvtest::MakeScrap(m_dir / "ニュース", 300, 200, "本文");
  m_pane->OpenScrap((m_dir / "ニュース").string() + "/");
  EXPECT_EQ(m_doc->GetTitle(), wxString::FromUTF8("ニュース"));
  EXPECT_FALSE(m_doc->HasCopy());
  EXPECT_TRUE(m_doc->HasText());
  EXPECT_EQ(m_doc->Text(), "本文");
  EXPECT_TRUE(m_doc->PageImage()->IsLoaded());
  EXPECT_FALSE(m_doc->CopyImage()->IsLoaded());
  // Only the whole and the text tab are offered.
  CSBTabCtrl* tabs = m_pane->TabCtrl();
  EXPECT_TRUE(tabs->Button(0)->IsShown());
  EXPECT_FALSE(tabs->Button(1)->IsShown());
  EXPECT_TRUE(tabs->Button(2)->IsShown());
  EXPECT_FALSE(tabs->Button(3)->IsShown());
}

// Captures from case-insensitive systems name the fixed files in any letter case; the scrap
// opens them all the same, as the tree already shows the folder as a scrap.
TEST_F(DocumentTest, FixedFilesOpenInAnyLetterCase) {
  pvtest::MakeScrap(m_dir / "s", 300, 200, "本文");
  std::filesystem::rename(m_dir / "s" / "Main.jpg", m_dir / "s" / "main.JPG");
  std::filesystem::rename(m_dir / "s" / "Content.txt", m_dir / "s" / "CONTENT.TXT");
  m_pane->OpenScrap((m_dir / "s").string());
  EXPECT_TRUE(m_doc->PageImage()->IsLoaded());
  EXPECT_TRUE(m_doc->HasText());
  EXPECT_EQ(m_doc->Text(), "本文");
}

TEST_F(DocumentTest, TextTabSaveWritesOnlyContentTextAndClearsModified) {
  pvtest::MakeScrap(m_dir / "s", 300, 200, "old");
  m_pane->OpenScrap((m_dir / "s").string());
  DrawStroke();
  m_textPane.text = "new text";
  m_doc->SetActiveTab(kTabText);
  Command(res::kIdFileSave);
  EXPECT_FALSE(m_doc->IsModified());
  const std::string bytes = ReadFile(m_dir / "s" / "Content.txt");
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(bytes.size() % 2, 0u);
  EXPECT_EQ(scrapfiles::ReadContentText(m_dir / "s" / "Content.txt"), "new text");
  EXPECT_GT(Gray(m_dir / "s" / "Main.jpg", 50, 10), 200);  // the stroke was not saved
}

TEST_F(DocumentTest, YesToTheSaveQuestionSavesEveryPart) {
  pvtest::MakeScrap(m_dir / "a", 300, 200, "text a");
  pvtest::MakeScrap(m_dir / "b", 300, 200, "text b");
  m_pane->OpenScrap((m_dir / "a").string());
  DrawStroke();
  m_doc->PictureSettings().viewMode = 1;
  m_answerYes = true;
  m_pane->OpenScrap((m_dir / "b").string());
  ASSERT_EQ(m_questions.size(), 1u);
  EXPECT_EQ(
      m_questions[0],
      wxString::FromUTF8("スクラップ 'a' の内容は変更されています。\r\n\r\n変更を保存しますか？"));
  EXPECT_LT(Gray(m_dir / "a" / "Main.jpg", 50, 10), 80);
  EXPECT_NE(ReadFile(m_dir / "a" / "ImageView.ini").find("ViewMode=1"), std::string::npos);
  EXPECT_EQ(scrapfiles::ReadContentText(m_dir / "a" / "Content.txt"), "text a");
  EXPECT_FALSE(m_doc->IsModified());
  EXPECT_FALSE(m_doc->IsSaveAll());
}

TEST_F(DocumentTest, NoToTheSaveQuestionKeepsFilesAndClearsModified) {
  pvtest::MakeScrap(m_dir / "a", 300, 200);
  pvtest::MakeScrap(m_dir / "b", 300, 200);
  m_pane->OpenScrap((m_dir / "a").string());
  DrawStroke();
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_questions.size(), 1u);
  EXPECT_GT(Gray(m_dir / "a" / "Main.jpg", 50, 10), 200);
  EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(DocumentTest, ViewSettingsCarryOverToAScrapWithoutTheFile) {
  pvtest::MakeScrap(m_dir / "photo", 100, 100);
  WriteFile(m_dir / "photo" / "ImageView.ini", "[ViewMode]\nViewMode=1\n");
  pvtest::MakeScrap(m_dir / "plain", 100, 100);
  m_pane->OpenScrap((m_dir / "photo").string());
  m_pane->OpenScrap((m_dir / "plain").string());
  EXPECT_EQ(m_doc->PictureSettings().viewMode, 1);
  EXPECT_TRUE(m_doc->PictureSettings().showGif);
}

TEST_F(DocumentTest, OpenPageAddressTrimsBlanksOrTellsThereIsNone) {
  pvtest::MakeScrap(m_dir / "s", 100, 100, "題\r\n★★★★ \u3000http://example.jp/a \r\n★★★★\r\n本文");
  m_pane->OpenScrap((m_dir / "s").string());
  EXPECT_TRUE(Enabled(res::kIdOpenPageAddress));
  Command(res::kIdOpenPageAddress);
  ASSERT_EQ(m_opened.size(), 1u);
  EXPECT_EQ(m_opened[0], "http://example.jp/a");
  pvtest::MakeScrap(m_dir / "one", 100, 100, "★★★★http://example.jp/");
  m_pane->OpenScrap((m_dir / "one").string());
  Command(res::kIdOpenPageAddress);
  EXPECT_EQ(m_opened.size(), 1u);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0], wxString::FromUTF8("URL情報がありません。"));
  pvtest::MakeScrap(m_dir / "notext", 100, 100);
  m_pane->OpenScrap((m_dir / "notext").string());
  EXPECT_FALSE(Enabled(res::kIdOpenPageAddress));
}

TEST_F(DocumentTest, ZoomAndToolCommandEnabling) {
  pvtest::MakeScrap(m_dir / "s", 300, 200);
  m_pane->OpenScrap((m_dir / "s").string());
  EXPECT_TRUE(Enabled(res::kIdZoomIn));
  m_doc->PageViewOf(kTabPage)->State().SetZoom(0, 995);
  m_doc->PageImage()->SetZoom(995);
  Command(res::kIdZoomIn);
  EXPECT_EQ(m_doc->PageImage()->Zoom(), 1000);
  EXPECT_FALSE(Enabled(res::kIdZoomIn));
  EXPECT_FALSE(Enabled(res::kIdShapeUndo));
  EXPECT_FALSE(Enabled(res::kIdShapeDelete));
  Command(res::kIdArrow);
  Command(res::kIdMarkerYellow);  // a highlighter while the arrow tool is on: the pen tool
  EXPECT_EQ(m_doc->PageImage()->Tool(), kToolPen);
  EXPECT_EQ(m_doc->PenIndex(), 3);
  Command(res::kIdMarkerGreen);  // choosing a pen keeps the pen tool on
  EXPECT_EQ(m_doc->PageImage()->Tool(), kToolPen);
  Command(res::kIdPen);  // the pen button switches it off
  EXPECT_EQ(m_doc->PageImage()->Tool(), kToolNone);
  DrawStroke();
  EXPECT_TRUE(Enabled(res::kIdShapeUndo));
  m_doc->SetActiveTab(kTabText);
  EXPECT_FALSE(Enabled(res::kIdShapeUndo));
  EXPECT_FALSE(Enabled(res::kIdZoomOut));
}

TEST_F(DocumentTest, CopyTabCreateAndDelete) {
  pvtest::MakeScrap(m_dir / "s", 300, 200);
  m_pane->OpenScrap((m_dir / "s").string());
  DrawStroke();  // unsaved marks do not reach the copy
  EXPECT_TRUE(Enabled(res::kIdCreateCopyTab));
  EXPECT_FALSE(Enabled(res::kIdDeleteCopyTab));
  Command(res::kIdCreateCopyTab);
  CSBTabCtrl* tabs = m_pane->TabCtrl();
  EXPECT_TRUE(std::filesystem::exists(m_dir / "s" / "Main_copy.jpg"));
  EXPECT_TRUE(tabs->Button(1)->IsShown());
  EXPECT_EQ(tabs->Current(), kTabCopy);
  EXPECT_EQ(m_doc->CurrentImage(), m_doc->CopyImage());
  EXPECT_TRUE(m_doc->CopyImage()->Shapes().empty());
  EXPECT_GT(Gray(m_dir / "s" / "Main_copy.jpg", 50, 10), 200);
  guitest::Pump(0);
  m_frame->Raise();
  guitest::Pump(0);
  auto* copyView = dynamic_cast<CAllView*>(tabs->View(1));
  ASSERT_NE(copyView, nullptr);
  CStroke* mark = m_doc->CopyImage()->NewStroke(PenAt(2));
  mark->AddPoint({20, 100});
  mark->AddPoint({250, 100});
  mark->Finish();
  m_doc->CopyImage()->AddShape(mark);
  const wxImage shot = tabs->Snapshot().ConvertToImage();
  EXPECT_TRUE(shot.SaveFile(pvtest::ScreenshotPath("copy_tab.png"), wxBITMAP_TYPE_PNG));

  EXPECT_TRUE(Enabled(res::kIdDeleteCopyTab));
  Command(res::kIdDeleteCopyTab);
  EXPECT_FALSE(std::filesystem::exists(m_dir / "s" / "Main_copy.jpg"));
  EXPECT_FALSE(tabs->Button(1)->IsShown());
  EXPECT_EQ(tabs->Current(), kTabPage);
  m_doc->SetCurrentPictureTab(kTabPage);
  EXPECT_TRUE(Enabled(res::kIdCreateCopyTab));
}

TEST_F(DocumentTest, TextTabFallsBackWhenTheNextScrapHasNoText) {
  pvtest::MakeScrap(m_dir / "t", 100, 100, "text");
  pvtest::MakeScrap(m_dir / "n", 100, 100);
  m_pane->OpenScrap((m_dir / "t").string());
  m_pane->TabCtrl()->SelectTab(kTabText);
  EXPECT_EQ(m_doc->ActiveTab(), kTabText);
  m_pane->OpenScrap((m_dir / "n").string());
  EXPECT_EQ(m_doc->ActiveTab(), kTabPage);
}

TEST_F(DocumentTest, PrintSettingsGoBackToTheirDefaultsForEveryScrap) {
  pvtest::MakeScrap(m_dir / "a", 300, 200);
  pvtest::MakeScrap(m_dir / "b", 300, 200);
  m_pane->OpenScrap((m_dir / "a").string());
  const print::PrintSettings chosen{
      print::kMonochrome, print::kLandscape, print::kPageCount, 150, 12, 1, 1};
  m_doc->PrintSettings() = chosen;
  m_doc->SetPdfExportPending(true);
  // Tab changes and saves keep them.
  m_doc->SetActiveTab(kTabText);
  Command(res::kIdFileSave);
  EXPECT_EQ(m_doc->PrintSettings(), chosen);
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_doc->PrintSettings(), print::PrintSettings{});
  EXPECT_TRUE(m_doc->PrintSettings().IsPortrait());
  // The export request belongs to the print path, which clears it itself.
  EXPECT_TRUE(m_doc->IsPdfExportPending());

  // Opening the same scrap again resets them too, and so does a new document.
  m_doc->PrintSettings().scale = 300;
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_doc->PrintSettings().scale, 100);
  m_doc->PrintSettings().orientation = print::kLandscape;
  m_doc->NewDocument();
  EXPECT_EQ(m_doc->PrintSettings(), print::PrintSettings{});
  EXPECT_TRUE(m_doc->GetTitle().empty());
}

TEST_F(DocumentTest, PrintSettingsResetWithoutPageViewsToo) {
  CClipwrenDoc bare;
  bare.PrintSettings().scalingMode = print::kScale;
  pvtest::MakeScrap(m_dir / "c", 50, 50);
  EXPECT_TRUE(bare.OpenScrap((m_dir / "c").string()));
  EXPECT_EQ(bare.PrintSettings(), print::PrintSettings{});
  EXPECT_FALSE(bare.PageImage()->IsLoaded());  // nothing is loaded without a view
}

TEST_F(DocumentTest, EvernoteSettingsAreReadWhenTheDocumentIsMade) {
  shell::AppSettings settings{platform::Registry(platform::Hive::CurrentUser)};
  ASSERT_TRUE(settings.WriteString(shell::kSectionSettings, shell::kEverNoteExePath,
                                   "/opt/ev/Evernote.exe"));
  ASSERT_TRUE(settings.WriteInt(shell::kSectionSettings, shell::kSendText2EverNote, 1));
  ASSERT_TRUE(settings.WriteInt(shell::kSectionSettings, shell::kFileNameType, 2));
  ASSERT_TRUE(settings.WriteString(shell::kSectionSettings, shell::kUserDefinedName, "切り抜き"));
  CClipwrenDoc doc;
  EXPECT_EQ(doc.Evernote().exePath, "/opt/ev/Evernote.exe");
  EXPECT_EQ(doc.Evernote().sendText, 1);
  EXPECT_EQ(doc.Evernote().fileNameType, 2);
  EXPECT_EQ(doc.Evernote().userDefinedName, "切り抜き");
  // Read once: later changes in the registry reach the next document only.
  ASSERT_TRUE(settings.WriteInt(shell::kSectionSettings, shell::kFileNameType, 3));
  EXPECT_EQ(doc.Evernote().fileNameType, 2);
  pvtest::MakeScrap(m_dir / "d", 50, 50);
  EXPECT_TRUE(doc.OpenScrap((m_dir / "d").string()));
  EXPECT_EQ(doc.Evernote().fileNameType, 2);
}

TEST_F(DocumentTest, ShapeUndoRedoDeleteFollowTheToolAndTheHistory) {
  pvtest::MakeScrap(m_dir / "s", 300, 200);
  m_pane->OpenScrap((m_dir / "s").string());
  EXPECT_FALSE(Enabled(res::kIdShapeUndo));
  EXPECT_FALSE(Enabled(res::kIdShapeRedo));
  DrawStroke();
  DrawStroke();
  CSBImage* image = m_doc->PageImage();
  EXPECT_TRUE(Enabled(res::kIdShapeUndo));
  EXPECT_FALSE(Enabled(res::kIdShapeRedo));
  EXPECT_FALSE(Enabled(res::kIdShapeDelete));  // only with shape selection
  Command(res::kIdShapeSelect);
  EXPECT_TRUE(Enabled(res::kIdShapeDelete));
  m_doc->SetModifiedFlag(false);
  Command(res::kIdShapeDelete);  // nothing selected: nothing happens
  EXPECT_FALSE(m_doc->IsModified());
  EXPECT_EQ(image->History().Size(), 2);
  image->Strokes()[0]->SetSelected(true);
  image->Strokes()[1]->SetSelected(true);
  Command(res::kIdShapeDelete);
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_EQ(image->History().Size(), 4);
  EXPECT_FALSE(image->Strokes()[0]->IsVisible());
  EXPECT_FALSE(image->Strokes()[1]->IsVisible());
  // One undo brings back only the one deleted last in list order.
  m_doc->SetModifiedFlag(false);
  Command(res::kIdShapeUndo);
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_FALSE(image->Strokes()[0]->IsVisible());
  EXPECT_TRUE(image->Strokes()[1]->IsVisible());
  EXPECT_TRUE(Enabled(res::kIdShapeRedo));
  Command(res::kIdShapeRedo);
  EXPECT_FALSE(image->Strokes()[1]->IsVisible());
  EXPECT_FALSE(Enabled(res::kIdShapeRedo));
  // Shape commands need a picture tab.
  m_doc->SetActiveTab(kTabPictures);
  EXPECT_FALSE(Enabled(res::kIdShapeDelete));
  EXPECT_FALSE(Enabled(res::kIdShapeUndo));
}

TEST_F(DocumentTest, ADeletedCopyTabIsNotWrittenBackBySavingEverything) {
  pvtest::MakeScrap(m_dir / "a", 300, 200);
  pvtest::MakeScrap(m_dir / "b", 300, 200);
  m_pane->OpenScrap((m_dir / "a").string());
  Command(res::kIdCreateCopyTab);
  ASSERT_TRUE(std::filesystem::exists(m_dir / "a" / "Main_copy.jpg"));
  Command(res::kIdDeleteCopyTab);
  EXPECT_FALSE(m_doc->CopyImage()->HasPicture());
  EXPECT_EQ(m_doc->CurrentImage(), m_doc->PageImage());
  DrawStroke();
  m_answerYes = true;
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_questions.size(), 1u);
  EXPECT_LT(Gray(m_dir / "a" / "Main.jpg", 50, 10), 80);
  EXPECT_FALSE(std::filesystem::exists(m_dir / "a" / "Main_copy.jpg"));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentTest, AScrapWithoutTextShowsAnEmptyTextViewAndGetsNoTextFile) {
  pvtest::MakeScrap(m_dir / "a", 300, 200, "前のスクラップの本文");
  pvtest::MakeScrap(m_dir / "b", 300, 200);
  pvtest::MakeScrap(m_dir / "c", 300, 200);
  m_pane->OpenScrap((m_dir / "a").string());
  EXPECT_EQ(m_textPane.text, "前のスクラップの本文");
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_textPane.text, "");
  EXPECT_FALSE(m_doc->HasText());
  // Saving everything writes the pictures and the settings, never a text the scrap lacked.
  DrawStroke();
  m_answerYes = true;
  m_pane->OpenScrap((m_dir / "c").string());
  EXPECT_LT(Gray(m_dir / "b" / "Main.jpg", 50, 10), 80);
  EXPECT_FALSE(std::filesystem::exists(m_dir / "b" / "Content.txt"));
  EXPECT_EQ(scrapfiles::ReadContentText(m_dir / "a" / "Content.txt"), "前のスクラップの本文");
}

// A file that cannot be replaced: a folder has taken its name.
void Block(const std::filesystem::path& file) {
  std::filesystem::remove(file);
  std::filesystem::create_directories(file / "in the way");
}

TEST_F(DocumentTest, AFailedTextSaveIsReportedAndKeepsTheEdits) {
  pvtest::MakeScrap(m_dir / "a", 300, 200, "old");
  pvtest::MakeScrap(m_dir / "b", 300, 200, "b");
  m_pane->OpenScrap((m_dir / "a").string());
  m_pane->TabCtrl()->SelectTab(kTabText);
  m_textPane.text = "edited";
  m_doc->SetModifiedFlag();
  Block(m_dir / "a" / "Content.txt");
  Command(res::kIdFileSave);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_NE(m_messages[0].utf8_string().find("Content.txt"), std::string::npos);
  EXPECT_TRUE(m_doc->IsModified());
  // Yes to the question when another scrap is chosen: the save fails again, so the scrap
  // with the edits stays open and modified.
  m_answerYes = true;
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_questions.size(), 1u);
  EXPECT_EQ(m_messages.size(), 2u);
  EXPECT_EQ(m_doc->GetTitle(), "a");
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_EQ(m_textPane.text, "edited");
  // Once the file can be written the switch goes ahead with the edits saved.
  std::filesystem::remove_all(m_dir / "a" / "Content.txt");
  m_pane->OpenScrap((m_dir / "b").string());
  EXPECT_EQ(m_doc->GetTitle(), "b");
  EXPECT_EQ(scrapfiles::ReadContentText(m_dir / "a" / "Content.txt"), "edited");
}

TEST_F(DocumentTest, AFailedPictureSaveShowsTheLibrarysTextAndKeepsTheMarks) {
  pvtest::MakeScrap(m_dir / "a", 300, 200);
  m_pane->OpenScrap((m_dir / "a").string());
  DrawStroke();
  Block(m_dir / "a" / "Main.jpg");
  Command(res::kIdFileSave);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_FALSE(m_messages[0].empty());
  EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(DocumentTest, APictureThatCannotBeDecodedShowsNoSize) {
  pvtest::MakeScrap(m_dir / "good", 300, 200);
  pvtest::MakeScrap(m_dir / "empty", 300, 200);
  pvtest::MakeScrap(m_dir / "cut", 300, 200);
  WriteFile(m_dir / "empty" / "Main.jpg", "");
  const std::string jpeg = ReadFile(m_dir / "cut" / "Main.jpg");
  WriteFile(m_dir / "cut" / "Main.jpg", jpeg.substr(0, 20));
  for (const char* broken : {"empty", "cut"}) {
    m_pane->OpenScrap((m_dir / "good").string());
    EXPECT_EQ(m_recorder.panes[res::kIdPaneSize], "300 X 200");
    m_pane->OpenScrap((m_dir / broken).string());
    EXPECT_FALSE(m_doc->PageImage()->IsLoaded()) << broken;
    EXPECT_EQ(m_recorder.panes[res::kIdPaneSize], "") << broken;
  }
}

TEST_F(DocumentTest, TabButtonsAreSkinnedButtonsThatChooseOnRelease) {
  pvtest::MakeScrap(m_dir / "s", 300, 200, "本文");
  m_pane->OpenScrap((m_dir / "s").string());
  CSBTabCtrl* tabs = m_pane->TabCtrl();
  CxSkinButton* page = tabs->Button(kTabPage);
  CxSkinButton* text = tabs->Button(kTabText);
  ASSERT_TRUE(text->IsShown());
  EXPECT_EQ(text->GetSize(), wxSize(96, 26));
  EXPECT_TRUE(page->IsShownPushed());
  EXPECT_TRUE(page->IsHighlighted());
  EXPECT_FALSE(text->IsHighlighted());
  m_frame->Raise();
  ASSERT_TRUE(pvtest::WaitFor([&] { return text->IsShownOnScreen(); }));
  std::vector<int> clicks;
  tabs->Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) {
    clicks.push_back(e.GetId());
    e.Skip();
  });

  // Real presses: the press alone shows the button pushed; the release chooses the tab.
  wxUIActionSimulator input;
  const wxPoint centre = text->ClientToScreen(wxPoint(48, 13));
  ASSERT_TRUE(pvtest::PointerTo(centre));
  input.MouseDown();
  ASSERT_TRUE(pvtest::WaitFor([&] { return text->IsPressed(); }));
  EXPECT_TRUE(text->IsShownPushed());
  EXPECT_EQ(m_doc->ActiveTab(), kTabPage);
  input.MouseUp();
  ASSERT_TRUE(pvtest::WaitFor([&] { return m_doc->ActiveTab() == kTabText; }));
  EXPECT_EQ(tabs->Current(), kTabText);
  EXPECT_TRUE(text->IsShownPushed());
  EXPECT_TRUE(text->IsHighlighted());
  EXPECT_FALSE(page->IsShownPushed());
  EXPECT_FALSE(page->IsHighlighted());

  // The tab mask rounds the top corners: a click there is beside the button, so of the
  // next two clicks only the one in the middle reaches the strip.
  clicks.clear();
  ASSERT_TRUE(pvtest::PointerTo(page->ClientToScreen(wxPoint(0, 0))));
  input.MouseClick();
  ASSERT_TRUE(pvtest::PointerTo(page->ClientToScreen(wxPoint(48, 13))));
  input.MouseClick();
  EXPECT_TRUE(pvtest::WaitFor([&] { return m_doc->ActiveTab() == kTabPage; }));
  EXPECT_EQ(clicks, std::vector<int>{res::kIdTabPage});
}

// The folder tree as the right pane sees it: its caret item's folder.
struct FakeTree : ICaretPathSource {
  std::string CaretPath() const override { return caret; }
  void ReturnCaretTo(const std::string& folder) override { returnedTo.push_back(folder); }
  std::string caret;
  std::vector<std::string> returnedTo;
};

TEST_F(DocumentTest, ASwitchWhoseSaveFailsPutsTheTreeBackOnTheOpenScrap) {
  pvtest::MakeScrap(m_dir / "a", 300, 200);
  pvtest::MakeScrap(m_dir / "b", 300, 200);
  FakeTree tree;
  auto choose = [&](const char* name) {
    tree.caret = (m_dir / name).string();
    m_doc->UpdateAllViews(nullptr, DocUpdate::CaretMoved(tree));
  };
  choose("a");
  DrawStroke();
  Block(m_dir / "a" / "Main.jpg");
  m_answerYes = true;
  choose("b");
  EXPECT_EQ(m_doc->GetTitle(), "a");
  ASSERT_TRUE(pvtest::WaitFor([&] { return !tree.returnedTo.empty(); }));
  EXPECT_EQ(tree.returnedTo, std::vector<std::string>{(m_dir / "a").string()});
  // The tree announces its caret back on "a": nothing is asked or reopened.
  choose("a");
  EXPECT_EQ(m_questions.size(), 1u);
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_TRUE(m_doc->PageImage()->Shapes().size() == 1u) << "the marks are still there";
  // A later choice asks again.
  choose("b");
  EXPECT_EQ(m_questions.size(), 2u);
  EXPECT_TRUE(pvtest::WaitFor([&] { return tree.returnedTo.size() == 2; }));
}

// Printing from the document: the commands follow the picture, the preview opens on the marked
// page, and every scaling mode prints the marks where the page layout puts them.
CLangPreviewFrame* OpenPreview() {
  for (wxWindow* w : wxTopLevelWindows)
    if (auto* frame = dynamic_cast<CLangPreviewFrame*>(w)) return frame;
  return nullptr;
}

TEST_F(DocumentTest, PrintCommandsFollowThePictureAndThePreviewOpensOnIt) {
  EXPECT_FALSE(Enabled(res::kIdFilePrint));
  EXPECT_FALSE(Enabled(res::kIdPrintPreview));
  EXPECT_FALSE(Enabled(res::kIdPrintOptions));
  EXPECT_TRUE(Enabled(res::kIdPrintSetup));
  pvtest::MakeScrap(m_dir / "s", 600, 3000);
  m_pane->OpenScrap((m_dir / "s").string());
  for (int id : {res::kIdFilePrint, res::kIdPrintPreview, res::kIdPrintOptions})
    EXPECT_TRUE(Enabled(id)) << id;
  DrawStroke();
  m_doc->PrintSettings().scalingMode = print::kFitWidth;
  Command(res::kIdPrintPreview);
  CLangPreviewFrame* preview = OpenPreview();
  ASSERT_TRUE(preview);
  auto* pages = preview->GetControlBar()->GetPrintPreview();
  ASSERT_TRUE(guitest::WaitFor([&] { return pages->GetMaxPage() == 4; }));
  preview->Close();
  EXPECT_TRUE(guitest::WaitFor([] { return OpenPreview() == nullptr; }));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentTest, EveryModePrintsTheMarksWhereTheLayoutPutsThem) {
  pvtest::MakeScrap(m_dir / "s", 1280, 20000);
  m_pane->OpenScrap((m_dir / "s").string());
  // A thick black stroke across the top of the page (view units are picture pixels at 100 %).
  DrawStroke({100, 40}, {1100, 40});
  const PrintPicture picture = m_doc->MakePrintPicture();
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->GetHeight(), 20000u);
  const RGBQUAD ink = picture->GetPixelColor(600, 20000 - 1 - 40);
  ASSERT_LT(ink.rgbGreen, 160) << "the stroke is in the print picture";
  for (const int mode : {print::kFitWhole, print::kFitWidth, print::kPageCount, print::kScale}) {
    print::PrintSettings settings;
    settings.scalingMode = mode;
    settings.pageCount = 2;
    CClipwrenPrintout printout(picture, settings, {1920, 1080, 508, 286});
    const std::string pdf = (m_dir / ("mode" + std::to_string(mode) + ".pdf")).string();
    std::string error;
    ASSERT_TRUE(RenderPrintoutToPdf(printout, pdf, PdfPage{}, error)) << error;
    // Where page 1 puts picture point (600, 40), read back from the PDF at the printing
    // resolution.
    const auto pieces = printout.Layout().PagePieces(1);
    ASSERT_FALSE(pieces.empty()) << mode;
    const print::PagePiece& p = pieces[0];
    const double sx = double(p.dest.Width()) / double(p.source.Width());
    const double sy = double(p.dest.Height()) / double(p.source.Height());
    const int x = int(double(p.dest.left) + (600 - p.source.left) * sx);
    const int y = int(double(p.dest.top) + (40 - p.source.top) * sy);
    const std::string png = pdf + "-1";
    ASSERT_EQ(std::system(("pdftoppm -png -r 300 -f 1 -l 1 -singlefile '" + pdf + "' '" + png +
                           "'").c_str()),
              0);
    wxImage page;
    ASSERT_TRUE(page.LoadFile(wxString::FromUTF8(png + ".png"), wxBITMAP_TYPE_PNG));
    EXPECT_LT(page.GetGreen(x, y), 160) << "mode " << mode << " at " << x << "," << y;
    // Below the ten-pixel stroke the page is white again.
    EXPECT_GT(page.GetGreen(x, y + int(10 * sy) + 6), 200) << "mode " << mode;
  }
}

TEST_F(DocumentTest, PrintSettingsDialogWritesBackOnlyOnOk) {
  pvtest::MakeScrap(m_dir / "s", 300, 200);
  m_pane->OpenScrap((m_dir / "s").string());
  const auto answer = [](bool ok) {
    wxTheApp->CallAfter([ok] {
      for (wxWindow* w : wxTopLevelWindows)
        if (auto* dlg = dynamic_cast<CPrintSettingDlg*>(w)) {
          dynamic_cast<wxRadioButton*>(dlg->FindWindow(CPrintSettingDlg::kIdLandscape))
              ->SetValue(true);
          wxCommandEvent press(wxEVT_BUTTON, ok ? wxID_OK : wxID_CANCEL);
          if (ok)
            dlg->GetEventHandler()->ProcessEvent(press);
          else
            dlg->EndModal(wxID_CANCEL);
        }
    });
  };
  answer(false);
  Command(res::kIdPrintOptions);
  EXPECT_EQ(m_doc->PrintSettings().orientation, print::kPortrait);
  answer(true);
  Command(res::kIdPrintOptions);
  EXPECT_EQ(m_doc->PrintSettings().orientation, print::kLandscape);
  // Opening a scrap puts the settings back to their defaults.
  m_pane->OpenScrap((m_dir / "s").string());
  EXPECT_EQ(m_doc->PrintSettings().orientation, print::kPortrait);
}

}  // namespace
