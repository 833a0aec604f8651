// The note program's two dialogs on their own: the file-name rules with their live preview
// and the name check, and the settings with the program's name check. Screenshots of both
// and of the picture export's save dialog go to the build folder.
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filedlg.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <gtk/gtk.h>

#include "app/document/ui/ExportDialog.h"
#include "app/document/ui/CEvernoteFileNameDlg.h"
#include "app/document/ui/CEvernoteSetting.h"
#include "tests/support/GuiTest.h"

namespace {

using D = CEvernoteFileNameDlg;
using S = CEvernoteSetting;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

void Choose(wxWindow& dlg, int id) {
  auto* radio = dynamic_cast<wxRadioButton*>(dlg.FindWindow(id));
  ASSERT_TRUE(radio) << id;
  radio->SetValue(true);
  wxCommandEvent event(wxEVT_RADIOBUTTON, id);
  event.SetEventObject(radio);
  radio->GetEventHandler()->ProcessEvent(event);
}

void Press(wxWindow& dlg, int id) {
  wxWindow* w = dlg.FindWindow(id);
  ASSERT_TRUE(w) << id;
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(w);
  w->GetEventHandler()->ProcessEvent(event);
}

wxTextCtrl* NameBox(wxWindow& dlg) { return dynamic_cast<wxTextCtrl*>(dlg.FindWindow(D::kIdNameBox)); }
wxString Preview(wxWindow& dlg) {
  return dynamic_cast<wxStaticText*>(dlg.FindWindow(D::kIdPreview))->GetLabelText();
}

// A preview function that shows which rule and name it was asked for.
std::string FakeBaseName(int rule, const std::string& name) {
  return "scrap_" + std::to_string(rule) + "_" + name;
}

class ShareDialogsTest : public guitest::GuiTest {};

TEST_F(ShareDialogsTest, FileNameDialogEnablesTheNameOnlyForTheUsersRuleAndPreviewsLive) {
  D dlg(nullptr, 1, "mine", FakeBaseName);
  dlg.Show();
  EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dlg.FindWindow(D::kIdDomain))->GetValue());
  EXPECT_FALSE(NameBox(dlg)->IsEnabled());
  EXPECT_EQ(Preview(dlg), "scrap_1_mine");
  Choose(dlg, D::kIdUserDefined);
  EXPECT_TRUE(NameBox(dlg)->IsEnabled());
  EXPECT_EQ(Preview(dlg), "scrap_3_mine");
  NameBox(dlg)->SetValue(U("新しい名前"));  // every change shows at once
  EXPECT_EQ(Preview(dlg), U("scrap_3_新しい名前"));
  Choose(dlg, D::kIdFullAddress);
  EXPECT_FALSE(NameBox(dlg)->IsEnabled());
  EXPECT_EQ(Preview(dlg), U("scrap_2_新しい名前"));
  for (auto [id, label] : {std::pair{D::kIdTitle, "ページタイトル"}, {D::kIdDomain, "ドメイン名"},
                           {D::kIdFullAddress, "フルURL"}, {D::kIdUserDefined, "ユーザー設定"}})
    EXPECT_EQ(dlg.FindWindow(id)->GetLabel(), U(label));
  EXPECT_EQ(dlg.GetTitle(), U("ファイル名設定"));
  Choose(dlg, D::kIdUserDefined);
  ASSERT_TRUE(guitest::WaitFor([&] { return dlg.IsShownOnScreen(); }));
  guitest::Pump(300);
  EXPECT_TRUE(guitest::SaveScreenshot(&dlg, guitest::ScreenshotPath("evernote-file-name.png")));
}

TEST_F(ShareDialogsTest, AnEmptyUserNameCannotBeConfirmed) {
  D dlg(nullptr, 3, "", FakeBaseName);
  std::vector<wxString> warnings;
  dlg.showWarning = [&](const wxString& text) { warnings.push_back(text); };
  int result = -1;
  wxTheApp->CallAfter([&] {
    Press(dlg, wxID_OK);
    EXPECT_TRUE(dlg.IsModal()) << "the dialog stays open";
    EXPECT_EQ(wxWindow::FindFocus(), NameBox(dlg));
    NameBox(dlg)->SetValue("x");
    Press(dlg, wxID_OK);
  });
  result = dlg.ShowModal();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], U("ファイル名を入力してください。"));
  EXPECT_EQ(result, wxID_OK);
  EXPECT_EQ(dlg.Rule(), 3);
  EXPECT_EQ(dlg.UserName(), "x");
}

TEST_F(ShareDialogsTest, AStoredRuleOutOfRangeShowsTheFirst) {
  D dlg(nullptr, 9, "", FakeBaseName);
  EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dlg.FindWindow(D::kIdTitle))->GetValue());
  EXPECT_EQ(dlg.Rule(), 0);
}

TEST_F(ShareDialogsTest, SettingsTakeOnlyAProgramNamedEvernoteExeInAnyCase) {
  shell::EvernoteSettings initial{"/opt/Evernote/Evernote/Evernote.exe", 0, 0, ""};
  S dlg(nullptr, initial);
  std::vector<wxString> errors;
  std::string startedIn;
  std::optional<std::string> pick;
  dlg.showError = [&](const wxString& text) { errors.push_back(text); };
  dlg.chooseFile = [&](const std::string& folder) {
    startedIn = folder;
    return pick;
  };
  dlg.Show();
  auto* path = dynamic_cast<wxTextCtrl*>(dlg.FindWindow(S::kIdPathBox));
  auto* send = dynamic_cast<wxCheckBox*>(dlg.FindWindow(S::kIdSendText));
  EXPECT_EQ(path->GetValue(), "/opt/Evernote/Evernote/Evernote.exe");
  EXPECT_FALSE(send->GetValue());
  EXPECT_EQ(send->GetLabel(), U("テキストも送る"));
  EXPECT_EQ(dlg.GetTitle(), U("Evernote登録設定"));

  pick = "/usr/local/bin/notes";
  Press(dlg, S::kIdBrowse);
  EXPECT_EQ(startedIn, "/opt") << "the deepest folder of the path that exists";
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0],
            U("指定したファイルは正しくてありません。\nEvernote.exe」ファイルを再度ご選択ください。"));
  EXPECT_EQ(path->GetValue(), "/opt/Evernote/Evernote/Evernote.exe");

  // A ticked box survives choosing the program.
  send->SetValue(true);
  pick = "/home/u/bin/EVERNOTE.EXE";
  Press(dlg, S::kIdBrowse);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(path->GetValue(), "/home/u/bin/EVERNOTE.EXE");
  EXPECT_TRUE(send->GetValue());
  pick.reset();  // cancelled: nothing changes
  Press(dlg, S::kIdBrowse);
  EXPECT_EQ(path->GetValue(), "/home/u/bin/EVERNOTE.EXE");

  ASSERT_TRUE(guitest::WaitFor([&] { return dlg.IsShownOnScreen(); }));
  guitest::Pump(300);
  EXPECT_TRUE(guitest::SaveScreenshot(&dlg, guitest::ScreenshotPath("evernote-settings.png")));
  EXPECT_FALSE(S::IsProgramName("/x/evernote.exe.sh"));
  EXPECT_FALSE(S::IsProgramName("/x/Evernote.exe/"));
  EXPECT_TRUE(S::IsProgramName("/x/EverNote.Exe"));
}

// The export's save dialog as the desktop shows it (the command's own test answers it).
TEST_F(ShareDialogsTest, ExportSaveDialogScreenshot) {
  const std::unique_ptr<wxFileDialog> owned =
      NewExportDialog(nullptr, wxGetCwd().utf8_string() + "/ニュース", 3);
  wxFileDialog& dialog = *owned;
  EXPECT_EQ(dialog.GetFilename(), U("ニュース.jpg"));
  EXPECT_EQ(dialog.GetFilterIndex(), 1);
  bool saved = false;
  int ticks = 0;
  wxTimer timer;
  // The chooser is GTK's own window: it is read back by the window system's size of it, once
  // it has had a moment to fill its list.
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    GdkWindow* window = gtk_widget_get_window(dialog.m_widget);
    if (++ticks < 25 || !window || !gdk_window_is_viewable(window)) return;
    timer.Stop();
    GdkRectangle frame{};
    gdk_window_get_frame_extents(window, &frame);
    wxBitmap picture(frame.width, frame.height);
    {
      wxScreenDC screen;
      wxMemoryDC memory(picture);
      memory.Blit(0, 0, frame.width, frame.height, &screen, frame.x, frame.y);
    }
    saved = picture.SaveFile(guitest::ScreenshotPath("export-picture.png"), wxBITMAP_TYPE_PNG);
    dialog.EndModal(wxID_CANCEL);
  });
  timer.Start(100);
  EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
  EXPECT_TRUE(saved);
}

}  // namespace
