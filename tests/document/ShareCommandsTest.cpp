// Sharing a scrap through the document's commands, with the dialogs the user gets: the
// picture export's save dialog, a mail through a stub xdg-email on PATH, and the note program
// (a stub script named Evernote.exe) chosen in the settings dialog and started by the
// registration. The stubs record their arguments, so the test sees what the programs got.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <functional>

#include "app/document/ScrapText.h"
#include "app/document/ui/CClipwrenDoc.h"
#include "app/document/ui/CEvernoteFileNameDlg.h"
#include "app/document/ui/CEvernoteSetting.h"
#include "app/pageview/PenTable.h"
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

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// Answers every modal dialog with `answer`; wxID_NONE lets the dialog run, and whatever the
// answer did (posted for the dialog's own loop) then drives it.
class DialogScript : public wxModalDialogHook {
 public:
  std::function<int(wxDialog*)> answer = [](wxDialog*) { return wxID_CANCEL; };
  std::vector<wxString> titles;
  DialogScript() { Register(); }

 protected:
  int Enter(wxDialog* dialog) override {
    titles.push_back(dialog->GetTitle());
    return answer(dialog);
  }
  void Exit(wxDialog*) override {}
};

// Clicks a control of a shown dialog the way the toolkit reports the click.
void Click(wxWindow* dialog, int id) {
  wxWindow* w = dialog->FindWindow(id);
  ASSERT_TRUE(w) << id;
  wxEventType type = wxEVT_BUTTON;
  if (auto* radio = dynamic_cast<wxRadioButton*>(w)) {
    radio->SetValue(true);
    type = wxEVT_RADIOBUTTON;
  } else if (auto* check = dynamic_cast<wxCheckBox*>(w)) {
    check->SetValue(!check->GetValue());
    type = wxEVT_CHECKBOX;
  }
  wxCommandEvent event(type, id);
  event.SetEventObject(w);
  w->GetEventHandler()->ProcessEvent(event);
}

// The arguments a stub recorded, each ended by a NUL.
std::vector<std::string> RecordedArgs(const fs::path& record) {
  std::vector<std::string> args;
  const std::string bytes = ReadFile(record);
  size_t start = 0;
  for (size_t nul; (nul = bytes.find('\0', start)) != std::string::npos; start = nul + 1)
    args.push_back(bytes.substr(start, nul - start));
  return args;
}

class ShareCommandsTest : public doctest::DocWindowTest {
 protected:
  void SetUp() override {
    guitest::GuiTest::SetUp();
    if (IsSkipped()) return;
    m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    // The note program's settings as on a first start, whatever ran before in this process.
    shell::AppSettings settings(platform::Registry(platform::Hive::CurrentUser));
    (void)settings.WriteEvernotePath({shell::DefaultEvernotePath("/opt"), 0, 0, ""});
    (void)settings.WriteEvernoteFileName({"", 0, 0, ""});
    MakeDocument();
    m_doc->showMessage = [this](const wxString& t) { m_messages.push_back(t.utf8_string()); };
    m_doc->saveFolder = [this] { return (m_dir / "save").string(); };
    m_doc->askSave = [](const wxString&) { return false; };
    ShowWindow("share");
    fs::create_directories(m_dir / "save");
    fs::create_directories(m_dir / "bin");
    // The stubs find sh's own commands; nothing else of the machine's is on PATH.
    setenv("PATH", ((m_dir / "bin").string() + ":/usr/bin:/bin").c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", m_oldPath.c_str(), 1);
    doctest::DocWindowTest::TearDown();
  }
  // A scrap with a black stroke across (10..100, 10) and its info.txt.
  fs::path OpenMarkedScrap(const std::string& name, const std::string& text) {
    const fs::path folder = m_dir / name;
    pvtest::MakeScrap(folder, 300, 200, text);
    WriteFile(folder / "info.txt", "http://www.example.co.jp/news/a b.html\r\nニュース: 今日\r\n");
    m_pane->OpenScrap(folder.string());
    DrawStroke();
    return folder;
  }
  // A script in the test's bin folder that records its arguments and exits with `code`.
  fs::path MakeStub(const fs::path& script, const fs::path& record, int code = 0) {
    WriteFile(script, "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + record.string() + ".part'\nmv '" +
                          record.string() + ".part' '" + record.string() + "'\nexit " +
                          std::to_string(code) + "\n");
    fs::permissions(script, fs::perms::owner_all);
    return script;
  }
  static int Gray(const fs::path& file, uint32_t format, int x, int y) {
    CxImage img;
    EXPECT_TRUE(img.Load(file.string(), format)) << file;
    if (!img.IsValid()) return -1;
    const RGBQUAD c = img.GetPixelColor(x, img.GetHeight() - 1 - y);
    return (c.rgbRed + c.rgbGreen + c.rgbBlue) / 3;
  }
  static std::string Temp() { return std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp"; }

  std::vector<std::string> m_messages;
  std::string m_oldPath;
};

TEST_F(ShareCommandsTest, SharingNeedsALoadedPictureTabTheSettingsDoNot) {
  for (int id : {res::kIdExportPicture, res::kIdSendMail, res::kIdEvernoteRegister})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(res::kIdEvernoteSettings));
  OpenMarkedScrap("s", "t");
  for (int id : {res::kIdExportPicture, res::kIdSendMail, res::kIdEvernoteRegister})
    EXPECT_TRUE(Enabled(id)) << id;
  m_doc->SetActiveTab(kTabText);
  for (int id : {res::kIdExportPicture, res::kIdSendMail, res::kIdEvernoteRegister})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(res::kIdEvernoteSettings));
}

TEST_F(ShareCommandsTest, ExportOffersBmpAndJpegAndWritesTheMarkedPictureElsewhere) {
  // A title of 200 bytes is proposed cut to 128.
  const std::string title(200, 't');
  const fs::path scrap = OpenMarkedScrap(title, "t");
  const std::string mainBefore = ReadFile(scrap / "Main.jpg");
  const std::string ownPath = m_doc->PageImage()->Path();

  // The save dialog the command sets up is inspected, and answered for the user.
  using Choice = std::optional<std::pair<std::string, int>>;
  wxString dialogTitle, wildcard, file, directory;
  int filterIndex = -1, fileDialogs = 0;
  m_doc->runSaveDialog = [&](wxFileDialog& dialog) -> Choice {
    ++fileDialogs;
    dialogTitle = dialog.GetMessage();
    wildcard = dialog.GetWildcard();
    filterIndex = dialog.GetFilterIndex();
    file = dialog.GetFilename();
    directory = dialog.GetDirectory();
    EXPECT_TRUE(dialog.HasFlag(wxFD_SAVE));
    // No extension typed: the chosen type's is added.
    return std::pair{(m_dir / "save" / "out").string(), filterIndex};
  };
  Command(res::kIdExportPicture);
  EXPECT_EQ(fileDialogs, 1);
  EXPECT_EQ(dialogTitle, U("画像書き出し"));
  EXPECT_EQ(wildcard, U("24 ﾋﾞｯﾄ ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|JPEG (*.JPG)|*.jpg;*.jpeg"));
  EXPECT_EQ(filterIndex, 1) << "JPEG preselected";
  EXPECT_EQ(file.utf8_string(), std::string(128, 't') + ".jpg");
  EXPECT_EQ(fs::path(directory.utf8_string()), m_dir / "save");

  const fs::path out = m_dir / "save" / "out.jpg";
  ASSERT_TRUE(fs::exists(out));
  EXPECT_LT(Gray(out, CXIMAGE_FORMAT_JPG, 50, 10), 80) << "the mark is drawn in";
  EXPECT_GT(Gray(out, CXIMAGE_FORMAT_JPG, 50, 100), 200);
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_EQ(m_doc->PageImage()->Path(), ownPath);
  EXPECT_EQ(ReadFile(scrap / "Main.jpg"), mainBefore);
  EXPECT_TRUE(m_messages.empty());

  // BMP chosen, over an existing file: asked first, and "no" returns to the save dialog.
  WriteFile(m_dir / "save" / "old.bmp", "keep");
  fileDialogs = 0;
  m_doc->runSaveDialog = [&](wxFileDialog&) -> Choice {
    ++fileDialogs;
    return std::pair{(m_dir / "save" / "old").string(), 0};
  };
  DialogScript script;
  std::vector<wxString> questions;
  script.answer = [&](wxDialog* dialog) {
    auto* box = dynamic_cast<wxMessageDialog*>(dialog);
    if (!box) return int(wxID_CANCEL);
    questions.push_back(box->GetMessage());
    return int(questions.size() == 1 ? wxID_NO : wxID_YES);
  };
  Command(res::kIdExportPicture);
  EXPECT_EQ(fileDialogs, 2);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0], U("old.bmp は既に存在します。\n上書きしますか？"));
  EXPECT_LT(Gray(m_dir / "save" / "old.bmp", CXIMAGE_FORMAT_BMP, 50, 10), 80);
  EXPECT_TRUE(m_doc->IsModified());

  // Cancelled: nothing is written.
  m_doc->runSaveDialog = [&](wxFileDialog&) -> Choice { return std::nullopt; };
  Command(res::kIdExportPicture);
  EXPECT_FALSE(fs::exists(m_dir / "save" / ".jpg"));
}

TEST_F(ShareCommandsTest, MailHandsTheMarkedPictureAndTheTextAsLastReadToXdgEmail) {
  const fs::path record = m_dir / "mail-args";
  MakeStub(m_dir / "bin" / "xdg-email", record);
  OpenMarkedScrap("記事", "本文\r\n二行目");
  m_textPane.text = "an edit that was never saved";
  Command(res::kIdSendMail);
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(record); }));
  std::vector<std::string> args = RecordedArgs(record);
  const std::string attachment = Temp() + "/scrap_ニュース_今日.jpg";
  ASSERT_EQ(args, (std::vector<std::string>{"--utf8", "--attach", attachment, "--body",
                                            "本文\n二行目"}));
  EXPECT_LT(Gray(attachment, CXIMAGE_FORMAT_JPG, 50, 10), 80) << "the attachment has the mark";
  EXPECT_GT(Gray(attachment, CXIMAGE_FORMAT_JPG, 50, 100), 200);

  // A second mail of the same scrap reuses the name.
  fs::remove(record);
  Command(res::kIdSendMail);
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(record); }));
  EXPECT_EQ(RecordedArgs(record)[2], attachment);
  EXPECT_FALSE(fs::exists(Temp() + "/scrap_ニュース_今日1.jpg"));
  guitest::Pump(100);
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(ShareCommandsTest, AnUnreadableTextSendsNoBody) {
  const fs::path record = m_dir / "mail-args";
  MakeStub(m_dir / "bin" / "xdg-email", record);
  const fs::path scrap = OpenMarkedScrap("s", "");
  fs::create_directory(scrap / "Content.txt");  // cannot be read as a file
  m_pane->OpenScrap(scrap.string());
  EXPECT_FALSE(m_doc->HasText());
  m_textPane.text = "typed into the text tab";
  Command(res::kIdSendMail);
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(record); }));
  const std::vector<std::string> args = RecordedArgs(record);
  ASSERT_EQ(args.size(), 3u);
  EXPECT_EQ(args[1], "--attach");
}

TEST_F(ShareCommandsTest, AMissingMailToolOrMailProgramIsToldOnce) {
  OpenMarkedScrap("s", "t");
  setenv("PATH", (m_dir / "bin").string().c_str(), 1);
  Command(res::kIdSendMail);  // no xdg-email on PATH
  setenv("PATH", ((m_dir / "bin").string() + ":/usr/bin:/bin").c_str(), 1);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_NE(m_messages[0].find("xdg-email"), std::string::npos);

  // xdg-email finds no program for mailto addresses: it ends with 3.
  MakeStub(m_dir / "bin" / "xdg-email", m_dir / "args", 3);
  m_messages.clear();
  Command(res::kIdSendMail);
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_messages.empty(); }));
  guitest::Pump(100);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_NE(m_messages[0].find("メールプログラムが見つかりません"), std::string::npos);

  // Any other failure is the mail program's to show.
  MakeStub(m_dir / "bin" / "xdg-email", m_dir / "args4", 4);
  m_messages.clear();
  Command(res::kIdSendMail);
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(m_dir / "args4"); }));
  guitest::Pump(200);
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(ShareCommandsTest, TheNoteProgramChosenInTheSettingsGetsThePictureAndTheText) {
  const fs::path record = m_dir / "note-args";
  const fs::path program = MakeStub(m_dir / "bin" / "Evernote.exe", record);
  const fs::path scrap = OpenMarkedScrap("s", "本文");
  m_textPane.text = "本文と追記";

  // Settings: "..." picks the stub, "テキストも送る" ticked, OK.
  DialogScript script;
  script.answer = [&](wxDialog* dialog) {
    auto* settings = dynamic_cast<CEvernoteSetting*>(dialog);
    if (!settings) return int(wxID_CANCEL);
    settings->chooseFile = [&](const std::string&) -> std::optional<std::string> {
      return program.string();
    };
    wxTheApp->CallAfter([settings] {
      Click(settings, CEvernoteSetting::kIdSendText);
      Click(settings, CEvernoteSetting::kIdBrowse);
      Click(settings, wxID_OK);
    });
    return int(wxID_NONE);
  };
  Command(res::kIdEvernoteSettings);
  EXPECT_EQ(m_doc->Evernote().exePath, program.string());
  EXPECT_EQ(m_doc->Evernote().sendText, 1);

  // Registration: the user's own name.
  script.answer = [&](wxDialog* dialog) {
    auto* names = dynamic_cast<CEvernoteFileNameDlg*>(dialog);
    if (!names) return int(wxID_CANCEL);
    wxTheApp->CallAfter([names] {
      Click(names, CEvernoteFileNameDlg::kIdUserDefined);
      dynamic_cast<wxTextCtrl*>(names->FindWindow(CEvernoteFileNameDlg::kIdNameBox))
          ->SetValue("my note");
      Click(names, wxID_OK);
    });
    return int(wxID_NONE);
  };
  Command(res::kIdEvernoteRegister);
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(record); }));
  const std::string picture = Temp() + "/scrap_my_note.jpg";
  const std::string text = Temp() + "/scrap_my_note.txt";
  EXPECT_EQ(RecordedArgs(record), (std::vector<std::string>{picture, text}));
  EXPECT_LT(Gray(picture, CXIMAGE_FORMAT_JPG, 50, 10), 80);
  EXPECT_EQ(scrapfiles::ReadContentText(text), "本文と追記");
  EXPECT_EQ(ReadFile(text).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(scrapfiles::ReadContentText(scrap / "Content.txt"), "本文") << "the scrap is untouched";
  EXPECT_TRUE(m_messages.empty());

  const shell::AppSettings stored(platform::Registry(platform::Hive::CurrentUser));
  const shell::EvernoteSettings read = stored.ReadEvernote("/opt");
  EXPECT_EQ(read.exePath, program.string());
  EXPECT_EQ(read.sendText, 1);
  EXPECT_EQ(read.fileNameType, 3);
  EXPECT_EQ(read.userDefinedName, "my note");
}

TEST_F(ShareCommandsTest, AMissingNoteProgramIsToldWithTheLongMessage) {
  OpenMarkedScrap("s", "t");
  DialogScript script;
  script.answer = [&](wxDialog* dialog) {
    if (auto* names = dynamic_cast<CEvernoteFileNameDlg*>(dialog)) {
      wxTheApp->CallAfter([names] { Click(names, wxID_OK); });
      return int(wxID_NONE);
    }
    return int(wxID_CANCEL);
  };
  // The default place below /opt holds nothing on this machine's test sandbox.
  ASSERT_FALSE(fs::exists(m_doc->Evernote().exePath));
  Command(res::kIdEvernoteRegister);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0],
            "Evernoteのプログラムが見つかりませんでした。\n"
            "Evernoteが既にインストールされている場合、ファイルメニューの\n"
            "「Evernote登録設定」→「Evernoteのexeの場所を指定」で\n"
            "プログラムを手動で指定してください。\n"
            "インストールされていない場合はインストールしてから再度お試し下さい。");
  // The picture was written all the same, under the title's name.
  EXPECT_TRUE(fs::exists(Temp() + "/scrap_ニュース_今日.jpg"));
}

}  // namespace
