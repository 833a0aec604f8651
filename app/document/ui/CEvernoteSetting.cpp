#include "app/document/ui/CEvernoteSetting.h"

#include <filesystem>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include "app/res/ui/MessageBoxes.h"
#include "platform/TextConv.h"

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

CEvernoteSetting::CEvernoteSetting(wxWindow* parent, const shell::EvernoteSettings& settings)
    : wxDialog(parent, wxID_ANY, U("Evernote登録設定")), m_settings(settings) {
  chooseFile = [this](const std::string& folder) -> std::optional<std::string> {
    wxFileDialog dialog(this, U("Evernote場所指定"), wxString::FromUTF8(folder), "Evernote",
                        U("実行ファイル（EXE）|*.exe"), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetPath().utf8_string();
  };
  showError = [this](const wxString& text) {
    res::ui::MessageBox(text, wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(),
                        wxOK | wxICON_ERROR, this);
  };

  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* group = new wxStaticBoxSizer(wxVERTICAL, this, U("Evernoteのexeの場所を指定"));
  wxWindow* box = group->GetStaticBox();
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  m_path = new wxTextCtrl(box, kIdPathBox, wxString::FromUTF8(m_settings.exePath),
                          wxDefaultPosition, wxSize(FromDIP(340), -1));
  row->Add(m_path, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
  row->Add(new wxButton(box, kIdBrowse, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT),
           0, wxALIGN_CENTER_VERTICAL);
  group->Add(row, 0, wxEXPAND | wxALL, FromDIP(8));
  top->Add(group, 0, wxEXPAND | wxALL, FromDIP(10));

  m_sendText = new wxCheckBox(this, kIdSendText, U("テキストも送る"));
  m_sendText->SetValue(m_settings.sendText != 0);
  top->Add(m_sendText, 0, wxLEFT | wxRIGHT, FromDIP(14));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, FromDIP(8));
  buttons->Add(new wxButton(this, wxID_CANCEL, U("ｷｬﾝｾﾙ")));
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
  SetSizerAndFit(top);
  CentreOnParent();

  Bind(wxEVT_BUTTON, &CEvernoteSetting::OnBrowse, this, kIdBrowse);
  Bind(wxEVT_BUTTON, &CEvernoteSetting::OnOk, this, wxID_OK);
}

bool CEvernoteSetting::IsProgramName(const std::string& path) {
  return platform::text::AsciiLower(std::filesystem::path(path).filename().string()) ==
         "evernote.exe";
}

void CEvernoteSetting::OnBrowse(wxCommandEvent&) {
  // Start where the path in the box points, as far as that folder exists.
  std::filesystem::path folder =
      std::filesystem::path(m_path->GetValue().utf8_string()).parent_path();
  std::error_code ec;
  while (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
    if (folder == folder.parent_path()) break;
    folder = folder.parent_path();
  }
  const std::optional<std::string> chosen = chooseFile(folder.string());
  if (!chosen) return;
  if (!IsProgramName(*chosen)) {
    showError(U("指定したファイルは正しくてありません。\nEvernote.exe」ファイルを再度ご選択ください。"));
    return;
  }
  // Only the path changes: what the user ticked meanwhile stays ticked.
  m_path->ChangeValue(wxString::FromUTF8(*chosen));
}

void CEvernoteSetting::OnOk(wxCommandEvent& event) {
  m_settings.exePath = m_path->GetValue().utf8_string();
  m_settings.sendText = m_sendText->GetValue() ? 1 : 0;
  event.Skip();  // the dialog closes with OK
}
