// Sharing the active picture tab: the picture export, a new mail with the picture attached,
// and handing the picture (and the text) to the note program, with that program's settings.
#include <filesystem>
#include <optional>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "app/document/MailRequest.h"
#include "app/document/PictureExport.h"
#include "app/document/ShareNames.h"
#include "app/document/ShareTempFile.h"
#include "app/document/ui/CClipwrenDoc.h"
#include "app/document/ui/CEvernoteFileNameDlg.h"
#include "app/document/ui/CEvernoteSetting.h"
#include "app/document/ui/ExportDialog.h"
#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ui/MessageBoxes.h"
#include "platform/ProgramLaunch.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// The export's save dialog title "画像書き出し".
constexpr int kStrExportPictureTitle = 131;

wxWindow* MainWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }

constexpr const char* kNoMailTool =
    "メールを作成できませんでした。\n"
    "メールプログラムの起動には xdg-email（xdg-utils パッケージ）が必要です。";
constexpr const char* kNoMailProgram =
    "メールを作成できませんでした。\n"
    "メールプログラムが見つかりません。デスクトップの既定のメールプログラムを設定してから"
    "再度お試し下さい。";
constexpr const char* kNoNoteProgram =
    "Evernoteのプログラムが見つかりませんでした。\n"
    "Evernoteが既にインストールされている場合、ファイルメニューの\n"
    "「Evernote登録設定」→「Evernoteのexeの場所を指定」で\n"
    "プログラムを手動で指定してください。\n"
    "インストールされていない場合はインストールしてから再度お試し下さい。";

shell::AppSettings UserSettings() {
  return shell::AppSettings(platform::Registry(platform::Hive::CurrentUser));
}

}  // namespace

std::unique_ptr<wxFileDialog> NewExportDialog(wxWindow* parent, const std::string& proposed,
                                              uint32_t type) {
  const std::filesystem::path name(proposed);
  const std::string_view title = res::LoadString(kStrExportPictureTitle);
  auto dialog = std::make_unique<wxFileDialog>(
      parent, wxString::FromUTF8(title.data(), title.size()),
      wxString::FromUTF8(name.parent_path().string()), wxString(),
      wxString::FromUTF8(share::ExportWildcard()), wxFD_SAVE);
  const int index = share::ExportFilterIndex(type);
  dialog->SetFilterIndex(index);
  // The toolkit gives a bare name the first filter's extension; the name shown must be the
  // one the chosen type saves.
  dialog->SetFilename(wxString::FromUTF8(
      share::CompleteExportPath(name.filename().string(), index)));
  return dialog;
}

namespace {

// The save dialog of the picture export; the chosen file completed with the filter's
// extension when the picture cannot be saved under the typed one. An existing file is only
// replaced when the user says so.
std::optional<std::string> PromptPictureFile(
    wxWindow* parent, const std::string& proposed, uint32_t type,
    const std::function<std::optional<std::pair<std::string, int>>(wxFileDialog&)>& run) {
  const std::unique_ptr<wxFileDialog> owned = NewExportDialog(parent, proposed, type);
  wxFileDialog& dialog = *owned;
  for (;;) {
    const std::optional<std::pair<std::string, int>> chosen = run(dialog);
    if (!chosen || chosen->first.empty()) return std::nullopt;
    const std::string path = share::CompleteExportPath(chosen->first, chosen->second);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return path;
    const wxString question = wxString::Format(
        U("%s は既に存在します。\n上書きしますか？"),
        wxString::FromUTF8(std::filesystem::path(path).filename().string()));
    if (res::ui::MessageBox(question, dialog.GetMessage(), wxYES_NO | wxICON_EXCLAMATION,
                            &dialog) == wxYES)
      return path;
  }
}

}  // namespace

void CClipwrenDoc::BindShareCommands() {
  Bind(wxEVT_MENU, &CClipwrenDoc::OnExportPicture, this, res::kIdExportPicture);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnSendMail, this, res::kIdSendMail);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnEvernoteSettings, this, res::kIdEvernoteSettings);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnEvernoteRegister, this, res::kIdEvernoteRegister);
  for (int id : {res::kIdExportPicture, res::kIdSendMail, res::kIdEvernoteSettings,
                 res::kIdEvernoteRegister})
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateShareCommand, this, id);
}

// The settings are always there; the rest share the picture of a picture tab.
void CClipwrenDoc::OnUpdateShareCommand(wxUpdateUIEvent& event) {
  if (event.GetId() == res::kIdEvernoteSettings) {
    event.Enable(true);
    return;
  }
  const CSBImage* image = CurrentImage();
  event.Enable((m_activeTab == kTabPage || m_activeTab == kTabCopy) && image &&
               image->IsLoaded());
}

std::string CClipwrenDoc::SaveFolder() const {
  if (saveFolder) return saveFolder();
  const auto documents = platform::GetSpecialFolder(platform::SpecialFolder::Documents, false);
  return UserSettings().ReadHomeDir(documents ? documents->string() : std::string());
}

void CClipwrenDoc::OnExportPicture(wxCommandEvent&) {
  CSBImage* image = CurrentImage();
  if (!image || !image->IsLoaded()) return;
  const std::optional<std::string> file =
      PromptPictureFile(MainWindow(), share::ProposedExportPath(SaveFolder(), m_title.utf8_string()),
                        share::kDefaultExportType, runSaveDialog);
  if (!file) return;
  wxBusyCursor wait;
  // The tab keeps its own file: only this one save goes elsewhere. The document's modified
  // flag stays as it is, since the scrap itself was not saved.
  const std::string own = image->Path();
  image->SetPath(*file);
  const CSBImage::SaveOutcome outcome = image->Save();
  image->SetPath(own);
  if (!outcome.written && !outcome.error.empty() && showMessage)
    showMessage(wxString::FromUTF8(outcome.error));
}

std::string CClipwrenDoc::MakeTempPictureFile() {
  CSBImage* image = CurrentImage();
  const auto temp = platform::GetSpecialFolder(platform::SpecialFolder::Temp, false);
  if (!image || !temp) return {};
  const share::TempFileChoice choice = share::ChooseTempFile(
      *temp, share::BaseNameForScrap(m_evernote.fileNameType, m_evernote.userDefinedName, m_infoPath),
      "jpg");
  if (choice.usable) {
    const std::string own = image->Path();
    image->SetPath(choice.path.string());
    const CSBImage::SaveOutcome outcome = image->Save();
    image->SetPath(own);
    if (!outcome.written && !outcome.error.empty() && showMessage)
      showMessage(wxString::FromUTF8(outcome.error));
  }
  return choice.path.string();
}

std::string CClipwrenDoc::MakeTempTextFile() {
  const auto temp = platform::GetSpecialFolder(platform::SpecialFolder::Temp, false);
  if (!temp) return {};
  const share::TempFileChoice choice = share::ChooseTempFile(
      *temp, share::BaseNameForScrap(m_evernote.fileNameType, m_evernote.userDefinedName, m_infoPath),
      "txt");
  if (choice.usable) {
    const std::string own = m_textPath;
    m_textPath = choice.path.string();
    (void)WriteTextFile();
    m_textPath = own;
  }
  return choice.path.string();
}

void CClipwrenDoc::OnSendMail(wxCommandEvent&) {
  const std::string file = MakeTempPictureFile();
  if (file.empty() || !MainWindow()) return;
  const platform::LaunchResult started = platform::StartProgram(
      std::string(share::kMailProgram), share::MailArguments(file, m_text));
  if (started.status == platform::LaunchStatus::kNotFound) {
    if (showMessage) showMessage(U(kNoMailTool));
    return;
  }
  if (started.status != platform::LaunchStatus::kStarted) return;
  // xdg-email may wait for the mail program; the window stays usable meanwhile. Only a
  // desktop without a mail program is worth telling: every other outcome was seen by the user
  // in the mail program, or is as silent as the mail program makes it.
  CClipwrenDoc* doc = this;
  platform::ReapWhenDone(started.pid, [doc](std::optional<int> code) {
    if (!code || share::MailOutcomeForExit(*code) != share::MailOutcome::kNoMailProgram) return;
    if (wxAppConsole* app = wxAppConsole::GetInstance()) {
      app->CallAfter([doc] {
        if (CClipwrenDoc::Current() == doc && doc->showMessage) doc->showMessage(U(kNoMailProgram));
      });
    }
  });
}

void CClipwrenDoc::OnEvernoteSettings(wxCommandEvent&) {
  CEvernoteSetting dialog(MainWindow(), m_evernote);
  if (dialog.ShowModal() != wxID_OK) return;
  m_evernote.exePath = dialog.Settings().exePath;
  m_evernote.sendText = dialog.Settings().sendText;
  (void)UserSettings().WriteEvernotePath(m_evernote);
}

void CClipwrenDoc::OnEvernoteRegister(wxCommandEvent&) {
  CEvernoteFileNameDlg dialog(MainWindow(), m_evernote.fileNameType, m_evernote.userDefinedName,
                              [this](int rule, const std::string& userName) {
                                return share::BaseNameForScrap(rule, userName, m_infoPath);
                              });
  if (dialog.ShowModal() != wxID_OK) return;
  m_evernote.fileNameType = dialog.Rule();
  m_evernote.userDefinedName = dialog.UserName();
  (void)UserSettings().WriteEvernoteFileName(m_evernote);

  std::vector<std::string> files{MakeTempPictureFile()};
  if (m_evernote.sendText) files.push_back(MakeTempTextFile());
  const platform::LaunchResult started = platform::StartProgram(m_evernote.exePath, files);
  if (started.status == platform::LaunchStatus::kNotFound) {
    if (showMessage) showMessage(U(kNoNoteProgram));
  } else if (started.status == platform::LaunchStatus::kStarted) {
    platform::ReapWhenDone(started.pid);
  }
}
