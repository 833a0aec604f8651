// "保存フォルダの変更" in the real application object: the folder browser and the move
// question are answered through a modal-dialog hook as they open; the scrapbook is moved,
// copied or left, the tree rebuilt, and the faults the command could cause are refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/treectrl.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/res/Resource.h"
#include "app/shell/ui/CChangeFolder.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/CSaveFolderBrowser.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

wxIMPLEMENT_APP_NO_MAIN(CClipwrenApp);

namespace {

namespace fs = std::filesystem;

fs::path Documents() { return fs::path(std::getenv("HOME")) / "Documents"; }

// The cancel button's caption of the progress window, read while the window is up.
class ProgressCaption : public wxEventFilter {
 public:
  ProgressCaption() { wxEvtHandler::AddFilter(this); }
  ~ProgressCaption() override { wxEvtHandler::RemoveFilter(this); }
  int FilterEvent(wxEvent& event) override {
    for (auto* w = dynamic_cast<wxWindow*>(event.GetEventObject()); w; w = w->GetParent()) {
      if (auto* progress = dynamic_cast<wxProgressDialog*>(w)) {
        if (wxWindow* cancel = progress->FindWindow(wxID_CANCEL))
          caption = cancel->GetLabel().utf8_string();
        break;
      }
    }
    return Event_Skip;
  }
  std::string caption;
};

// Answers the command's dialogs instead of showing them: the browser picks `target`, the
// question gets `choice`, message boxes are recorded.
class Answers : public wxModalDialogHook {
 public:
  Answers() { Register(); }
  std::string target;
  int choice = CChangeFolder::kLeave;
  int browsers = 0, questions = 0;
  std::string browserStart, browserStatus;
  std::vector<std::string> browserSections;
  std::vector<std::string> boxes;

 protected:
  int Enter(wxDialog* dialog) override {
    if (auto* browser = dynamic_cast<CSaveFolderBrowser*>(dialog)) {
      ++browsers;
      browserStart = browser->Path();
      // The tree's top sections are named in the dialog's language.
      browserSections.clear();
      for (wxWindow* child : browser->GetChildren())
        if (auto* dirs = dynamic_cast<wxGenericDirCtrl*>(child)) {
          wxTreeCtrl* tree = dirs->GetTreeCtrl();
          wxTreeItemIdValue cookie;
          for (wxTreeItemId item = tree->GetFirstChild(dirs->GetRootId(), cookie); item.IsOk();
               item = tree->GetNextChild(dirs->GetRootId(), cookie))
            browserSections.push_back(tree->GetItemText(item).utf8_string());
        }
      EXPECT_EQ(browser->GetTitle(), wxString::FromUTF8("目的フォルダを選択してください。"));
      if (target.empty()) return wxID_CANCEL;
      browser->SetPath(target);
      browserStatus = browser->StatusText().utf8_string();
      return wxID_OK;
    }
    if (dynamic_cast<CChangeFolder*>(dialog)) {
      ++questions;
      return choice;
    }
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
      boxes.push_back(box->GetMessage().utf8_string());
      return wxID_NO;
    }
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

class ChangeSaveFolderTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_oldHome = Documents() / "クリップレン";
    testsupport::WriteFile(m_oldHome / "ニュース/記事/Main.jpg", "not a picture");
    testsupport::WriteFile(m_oldHome / "ニュース/記事/Images/a.png", "png");
    ASSERT_TRUE(wxGetApp().OnInit());
    m_frame = wxGetApp().MainFrame();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame && m_frame->IsShown(); }));
    m_tree = m_frame->LeftView()->Tree();
    m_frame->showMessage = [this](const wxString& text) {
      m_messages.push_back(text.utf8_string());
    };
    m_frame->askSaveOnClose = [this](const wxString&) {
      ++m_saveQuestions;
      return wxNO;
    };
    fs::create_directories(m_target.path());
  }
  void TearDown() override {
    if (m_frame) m_frame->Destroy();
    GuiTest::TearDown();
  }
  void Run() {
    m_frame->ProcessCommand(res::kIdChangeSaveFolder);
    guitest::Pump(0);
  }
  // The tree after a change: its caret on the home item, every folder expanded.
  void ExpectTreeShows(const fs::path& home) {
    EXPECT_EQ(m_tree->CaretPath(), home.string());
    const wxTreeItemId root = m_tree->GetRootItem();
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(m_tree->GetItemText(root), wxString::FromUTF8("クリップレン"));
    const std::function<void(wxTreeItemId)> expanded = [&](wxTreeItemId item) {
      if (!m_tree->ItemHasChildren(item)) return;
      EXPECT_TRUE(m_tree->IsExpanded(item)) << m_tree->GetItemText(item);
      wxTreeItemIdValue cookie;
      for (auto c = m_tree->GetFirstChild(item, cookie); c.IsOk();
           c = m_tree->GetNextChild(item, cookie))
        expanded(c);
    };
    expanded(root);
  }

  testsupport::TempDir m_target;
  fs::path m_oldHome;
  CMainFrame* m_frame = nullptr;
  CFolderTreeCtrl* m_tree = nullptr;
  std::vector<std::string> m_messages;
  int m_saveQuestions = 0;
};

TEST_F(ChangeSaveFolderTest, LeaveSwitchesToAnEmptyScrapbookAndTheSameFolderAsksNothing) {
  m_tree->CollapseAllFolders();
  Answers answers;
  answers.target = m_target.path().string();
  answers.choice = CChangeFolder::kLeave;
  Run();
  EXPECT_EQ(answers.browserStart, Documents().string()) << "the browser starts at the save folder";
  EXPECT_EQ(answers.browserStatus, m_target.path().string()) << "and shows the chosen path";
  EXPECT_EQ(answers.browserSections, (std::vector<std::string>{"ホーム", "デスクトップ", "/"}));
  EXPECT_EQ(answers.questions, 1);
  EXPECT_EQ(wxGetApp().SaveFolder(), m_target.path().string());
  EXPECT_EQ(wxGetApp().HomeFolder(), (m_target / "クリップレン").string());
  EXPECT_TRUE(fs::is_directory(m_target / "クリップレン"));
  EXPECT_TRUE(fs::is_empty(m_target / "クリップレン"));
  EXPECT_TRUE(fs::exists(m_oldHome / "ニュース/記事/Main.jpg")) << "the old scrapbook stays";
  ExpectTreeShows(m_target / "クリップレン");

  // The same folder again: no question, nothing changes.
  Run();
  EXPECT_EQ(answers.browsers, 2);
  EXPECT_EQ(answers.questions, 1);
  // Cancelling the browser does nothing either.
  answers.target.clear();
  Run();
  EXPECT_EQ(answers.questions, 1);
  EXPECT_EQ(wxGetApp().SaveFolder(), m_target.path().string());
}

TEST_F(ChangeSaveFolderTest, CopyKeepsTheOldScrapbookAndMoveTakesItAlong) {
  m_tree->CollapseAllFolders();
  Answers answers;
  answers.target = m_target.path().string();
  answers.choice = CChangeFolder::kCopy;
  ProgressCaption progress;
  Run();
  EXPECT_TRUE(m_messages.empty()) << m_messages.front();
  EXPECT_EQ(progress.caption, "キャンセル");
  EXPECT_EQ(testsupport::ReadFile(m_target / "クリップレン/ニュース/記事/Images/a.png"), "png");
  EXPECT_TRUE(fs::exists(m_oldHome / "ニュース/記事/Main.jpg"));
  EXPECT_EQ(wxGetApp().HomeFolder(), (m_target / "クリップレン").string());
  ExpectTreeShows(m_target / "クリップレン");
  EXPECT_TRUE(m_tree->SelectByPath((m_target / "クリップレン/ニュース/記事").string()).IsOk());

  // Move on to another folder, with unsaved edits: the save question comes first.
  testsupport::TempDir third;
  wxGetApp().Document()->SetModifiedFlag(true);
  answers.target = third.path().string();
  answers.choice = CChangeFolder::kMove;
  Run();
  EXPECT_EQ(m_saveQuestions, 1);
  EXPECT_FALSE(fs::exists(m_target / "クリップレン"));
  EXPECT_EQ(testsupport::ReadFile(third / "クリップレン/ニュース/記事/Images/a.png"), "png");
  EXPECT_EQ(wxGetApp().SaveFolder(), third.path().string());
  ExpectTreeShows(third / "クリップレン");
}

TEST_F(ChangeSaveFolderTest, ATargetInsideTheHomeFolderIsRefusedBeforeTheQuestion) {
  Answers answers;
  answers.choice = CChangeFolder::kMove;
  for (const fs::path& inside : {m_oldHome, m_oldHome / "ニュース"}) {
    answers.target = inside.string();
    Run();
  }
  EXPECT_EQ(answers.questions, 0);
  ASSERT_EQ(m_messages.size(), 2u);
  EXPECT_NE(m_messages[0].find("それ自身の中"), std::string::npos) << m_messages[0];
  EXPECT_EQ(wxGetApp().SaveFolder(), Documents().string());
  EXPECT_TRUE(fs::exists(m_oldHome / "ニュース/記事/Main.jpg"));
}

TEST_F(ChangeSaveFolderTest, AFailedTransferKeepsTheOldHome) {
  // A named pipe cannot be copied to another place; the shell operation stops on it.
  ASSERT_EQ(mkfifo((m_oldHome / "ニュース/pipe").c_str(), 0600), 0);
  Answers answers;
  answers.target = m_target.path().string();
  answers.choice = CChangeFolder::kCopy;
  Run();
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_NE(m_messages[0].find(m_oldHome.string()), std::string::npos) << m_messages[0];
  EXPECT_EQ(wxGetApp().SaveFolder(), Documents().string());
  EXPECT_EQ(wxGetApp().HomeFolder(), m_oldHome.string());
  EXPECT_TRUE(fs::exists(m_oldHome / "ニュース/記事/Main.jpg"));
}

// The question itself: its buttons give 0, 1 and 2, and Esc (the cancel id) counts as 2.
TEST_F(ChangeSaveFolderTest, TheQuestionsButtonsAndEscape) {
  const auto answer = [this](int id) {
    CChangeFolder question(m_frame);
    wxTheApp->CallAfter([&question, id] {
      wxCommandEvent click(wxEVT_BUTTON, id);
      click.SetEventObject(question.FindWindow(id) ? question.FindWindow(id) : &question);
      (question.FindWindow(id) ? question.FindWindow(id) : &question)
          ->GetEventHandler()
          ->ProcessEvent(click);
    });
    return question.ShowModal();
  };
  EXPECT_EQ(answer(CChangeFolder::kIdMove), 0);
  EXPECT_EQ(answer(CChangeFolder::kIdCopy), 1);
  EXPECT_EQ(answer(CChangeFolder::kIdLeave), 2);
  EXPECT_EQ(answer(wxID_CANCEL), 2);

  auto* shown = new CChangeFolder(m_frame);
  EXPECT_EQ(shown->GetTitle(), wxString::FromUTF8("クリップレン"));
  EXPECT_EQ(shown->FindWindow(CChangeFolder::kIdMove)->GetLabel(), wxString::FromUTF8("移動"));
  shown->Show();
  ASSERT_TRUE(guitest::WaitFor([&] { return shown->IsShownOnScreen(); }));
  guitest::Pump(300);
  EXPECT_TRUE(guitest::SaveScreenshot(shown, guitest::ScreenshotPath("move-question.png")));
  shown->Destroy();
}

}  // namespace
