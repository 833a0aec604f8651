// The capture import through the add dialog, as start-up runs it: the proposed name, the
// cleaned and numbered scrap folder, a new folder from "新しいフォルダ(&E)", cancel.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <functional>

#include "app/shell/CaptureImport.h"
#include "app/shell/ui/CAddFolderDlg.h"
#include "app/shell/ui/Screenshot.h"
#include "app/store/ui/CComboTree.h"
#include "app/store/ui/CCreateFolderDlg.h"
#include "app/store/ui/CTreeComboBox.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

template <typename T>
T* ShownDialog() {
  for (wxWindow* w : wxTopLevelWindows)
    if (auto* d = dynamic_cast<T*>(w); d && d->IsModal()) return d;
  return nullptr;
}

void Click(wxWindow* button) {
  wxCommandEvent event(wxEVT_BUTTON, button->GetId());
  event.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(event);
}

// Runs `answer` on the add dialog once its modal loop runs.
void WhenShown(std::function<void(CAddFolderDlg&)> answer) {
  wxTheApp->CallAfter([answer] {
    CAddFolderDlg* dialog = nullptr;
    guitest::WaitFor([&] { return (dialog = ShownDialog<CAddFolderDlg>()) != nullptr; });
    if (dialog) answer(*dialog);
  });
}

class CAddFolderDlgTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_home = m_dir / "save/クリップレン";
    fs::create_directories(m_home / "x");
  }
  fs::path MakeCapture(const std::string& title) {
    const fs::path capture = m_dir / "captures/クリップレン" / title;
    testsupport::WriteFile(capture / "Main.jpg", "jpeg");
    testsupport::WriteFile(capture / "images/p.png", "png");
    return capture;
  }
  shell::ImportResult Import(const fs::path& capture) {
    const std::string home = m_home.string();
    return shell::RunCaptureImport(capture.string(), [&home](const std::string& proposed) {
      return AskScrapFolder(home, proposed);
    });
  }

  testsupport::TempDir m_dir;
  fs::path m_home;
};

TEST_F(CAddFolderDlgTest, TheTitleIsProposedCleanedAndNumbered) {
  std::string shownName;
  bool addEnabled = false;
  WhenShown([&](CAddFolderDlg& d) {
    shownName = d.NameBox()->GetValue().utf8_string();
    addEnabled = d.AddButton()->IsEnabled();
    Click(d.AddButton());
  });
  shell::ImportResult result = Import(MakeCapture("Daily news! today?"));
  EXPECT_EQ(shownName, "Daily news! today?");
  EXPECT_TRUE(addEnabled);
  ASSERT_EQ(result.outcome, shell::ImportOutcome::Accepted);
  EXPECT_EQ(result.pendingImportPath, (m_home / "Daily_news~_today").string());
  EXPECT_EQ(testsupport::ReadFile(m_home / "Daily_news~_today/Main.jpg"), "jpeg");
  EXPECT_EQ(testsupport::ReadFile(m_home / "Daily_news~_today/Images/p.png"), "png");
  EXPECT_FALSE(fs::exists(m_dir / "captures/クリップレン/Daily news! today?"));

  // The same title again, filed under x after choosing it in the picker, then at home.
  WhenShown([&](CAddFolderDlg& d) { Click(d.AddButton()); });
  result = Import(MakeCapture("Daily news! today?"));
  EXPECT_EQ(result.pendingImportPath, (m_home / "Daily_news~_today_1").string());
  WhenShown([&](CAddFolderDlg& d) {
    d.Picker()->Tree()->SelectByPath((m_home / "x").string());
    d.Picker()->TakeSelection();
    Click(d.AddButton());
  });
  result = Import(MakeCapture("Daily news! today?"));
  EXPECT_EQ(result.pendingImportPath, (m_home / "x/Daily_news~_today").string());
}

TEST_F(CAddFolderDlgTest, AddIsEnabledExactlyWhileTheNameIsNotEmpty) {
  std::vector<bool> states;
  WhenShown([&](CAddFolderDlg& d) {
    states.push_back(d.AddButton()->IsEnabled());
    d.NameBox()->SetValue("x");
    states.push_back(d.AddButton()->IsEnabled());
    d.NameBox()->Clear();
    states.push_back(d.AddButton()->IsEnabled());
    d.EndModal(wxID_CANCEL);
  });
  // A path that ends with the short name proposes an empty name.
  const fs::path capture = m_dir / "c/クリップレン";
  testsupport::WriteFile(capture / "Main.jpg", "jpeg");
  EXPECT_EQ(Import(capture).outcome, shell::ImportOutcome::Cancelled);
  EXPECT_EQ(states, (std::vector<bool>{false, true, false}));
}

TEST_F(CAddFolderDlgTest, NewFolderCreatesTheCleanedNameUnderTheChosenFolder) {
  std::vector<std::string> shown;
  bool createWasEnabled = true;
  const auto makeFolder = [&](CAddFolderDlg& d) {
    // The create dialog starts at the add dialog's choice; its name is cleaned afterwards.
    wxTheApp->CallAfter([&] {
      CCreateFolderDlg* c = nullptr;
      guitest::WaitFor([&] { return (c = ShownDialog<CCreateFolderDlg>()) != nullptr; });
      if (!c) return;
      createWasEnabled = c->FindWindow(wxID_OK)->IsEnabled();
      shown.push_back(c->Picker()->ShownText().utf8_string());
      c->NameBox()->SetValue("a/b");
      Click(c->FindWindow(wxID_OK));
    });
    Click(d.FindWindow(CAddFolderDlg::kIdNewFolder));
    shown.push_back(d.Picker()->ShownText().utf8_string());
  };
  WhenShown([&](CAddFolderDlg& d) {
    d.Picker()->Tree()->SelectByPath((m_home / "x").string());
    d.Picker()->TakeSelection();
    makeFolder(d);
    d.Picker()->Tree()->SelectByPath((m_home / "x").string());
    d.Picker()->TakeSelection();
    makeFolder(d);
    EXPECT_TRUE(d.Picker()->HasShownIcon());
    Click(d.AddButton());
  });
  const shell::ImportResult result = Import(MakeCapture("page"));
  EXPECT_FALSE(createWasEnabled) << "作成(&A) starts disabled while the name is empty";
  EXPECT_TRUE(fs::is_directory(m_home / "x/a_b"));
  EXPECT_TRUE(fs::is_directory(m_home / "x/a_b_1"));
  EXPECT_EQ(shown, (std::vector<std::string>{"x", "a_b", "x", "a_b_1"}));
  EXPECT_EQ(result.pendingImportPath, (m_home / "x/a_b_1/page").string());
}

TEST_F(CAddFolderDlgTest, CancelDiscardsTheCaptureAndCreatesNothing) {
  WhenShown([&](CAddFolderDlg& d) { Click(d.FindWindow(wxID_CANCEL)); });
  const fs::path capture = MakeCapture("gone");
  EXPECT_EQ(Import(capture).outcome, shell::ImportOutcome::Cancelled);
  EXPECT_FALSE(fs::exists(capture));
  EXPECT_FALSE(fs::exists(m_home / "gone"));
}

// The dialog with its drop-down open, and the create-folder dialog, for the README's readers.
// Shown without a modal loop of their own, so the test's waits run on the one event loop.
TEST_F(CAddFolderDlgTest, Screenshots) {
  fs::create_directories(m_home / "ニュース/経済");
  fs::create_directories(m_home / "レシピ");
  auto* add = new CAddFolderDlg(nullptr, m_home.string(), "今日のニュース");
  EXPECT_EQ(add->GetTitle(), wxString::FromUTF8("スクラップブックへの追加"));
  EXPECT_EQ(add->FindWindow(wxID_OK)->GetLabel(), wxString::FromUTF8("追加(&A)"));
  EXPECT_EQ(add->FindWindow(wxID_CANCEL)->GetLabel(), wxString::FromUTF8("キャンセル(&C)"));
  EXPECT_EQ(add->FindWindow(CAddFolderDlg::kIdNewFolder)->GetLabel(),
            wxString::FromUTF8("新しいフォルダ(&E)"));
  EXPECT_EQ(add->Picker()->GetId(), CAddFolderDlg::kIdPicker);
  add->Show();
  ASSERT_TRUE(guitest::WaitFor([&] { return add->Picker()->IsShownOnScreen(); }));
  EXPECT_TRUE(guitest::SaveScreenshot(add, guitest::ScreenshotPath("add-dialog.png")));
  add->Picker()->ToggleDropDown();
  wxWindow* popup = add->Picker()->Tree()->GetParent();
  ASSERT_TRUE(guitest::WaitFor([&] { return popup->IsShownOnScreen(); }));
  guitest::Pump(300);
  // The dialog and the drop-down that hangs below it, on white where neither is.
  const wxRect dialogRect = add->GetScreenRect(), popupRect = popup->GetScreenRect();
  const wxRect both = dialogRect.Union(popupRect);
  wxImage shot(both.width, both.height);
  shot.SetRGB(wxRect(wxPoint(), both.GetSize()), 255, 255, 255);
  for (const wxRect& part : {dialogRect, popupRect}) {
    const wxImage grabbed = GrabScreen(part);
    ASSERT_TRUE(grabbed.IsOk());
    shot.Paste(grabbed, part.x - both.x, part.y - both.y);
  }
  EXPECT_TRUE(shot.SaveFile(guitest::ScreenshotPath("add-dialog-dropdown.png"), wxBITMAP_TYPE_PNG));
  CTreeComboBox::CloseDropDown();

  auto* create = new CCreateFolderDlg(add, *add->Picker());
  create->NameBox()->SetValue(wxString::FromUTF8("旅行"));
  create->Show();
  ASSERT_TRUE(guitest::WaitFor([&] { return create->IsShownOnScreen(); }));
  guitest::Pump(300);
  EXPECT_TRUE(guitest::SaveScreenshot(create, guitest::ScreenshotPath("create-folder.png")));
  delete create;
  delete add;
}

}  // namespace
