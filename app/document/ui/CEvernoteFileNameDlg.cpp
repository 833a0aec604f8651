#include "app/document/ui/CEvernoteFileNameDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/res/ui/MessageBoxes.h"

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

CEvernoteFileNameDlg::CEvernoteFileNameDlg(
    wxWindow* parent, int rule, const std::string& userName,
    std::function<std::string(int rule, const std::string& userName)> baseName)
    : wxDialog(parent, wxID_ANY, U("ファイル名設定")),
      m_rule(rule),
      m_userName(userName),
      m_baseName(std::move(baseName)) {
  showWarning = [this](const wxString& text) {
    res::ui::MessageBox(text, wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(),
                        wxOK | wxICON_WARNING, this);
  };

  auto* top = new wxBoxSizer(wxVERTICAL);
  const int gap = FromDIP(8);
  m_rules[0] = new wxRadioButton(this, kIdTitle, U("ページタイトル"), wxDefaultPosition,
                                 wxDefaultSize, wxRB_GROUP);
  m_rules[1] = new wxRadioButton(this, kIdDomain, U("ドメイン名"));
  m_rules[2] = new wxRadioButton(this, kIdFullAddress, U("フルURL"));
  m_rules[3] = new wxRadioButton(this, kIdUserDefined, U("ユーザー設定"));
  m_name = new wxTextCtrl(this, kIdNameBox, wxString::FromUTF8(m_userName), wxDefaultPosition,
                          wxSize(FromDIP(240), -1));
  for (int i = 0; i < 3; ++i) top->Add(m_rules[i], 0, wxLEFT | wxRIGHT | wxTOP, gap + FromDIP(4));
  auto* user = new wxBoxSizer(wxHORIZONTAL);
  user->Add(m_rules[3], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
  user->Add(m_name, 1, wxALIGN_CENTER_VERTICAL);
  top->Add(user, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap + FromDIP(4));

  auto* group = new wxStaticBoxSizer(wxVERTICAL, this, U("ファイル名プレブュー"));
  m_preview = new wxStaticText(group->GetStaticBox(), kIdPreview, wxString(), wxDefaultPosition,
                               wxSize(FromDIP(340), -1), wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  group->Add(m_preview, 0, wxEXPAND | wxALL, gap);
  top->Add(group, 0, wxEXPAND | wxALL, FromDIP(10));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, gap);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("ｷｬﾝｾﾙ")));
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
  SetSizerAndFit(top);
  CentreOnParent();

  // A stored rule that names none of the four shows the first.
  m_rules[m_rule >= 0 && m_rule <= 3 ? m_rule : 0]->SetValue(true);
  for (int id = kIdTitle; id <= kIdUserDefined; ++id)
    Bind(wxEVT_RADIOBUTTON, &CEvernoteFileNameDlg::OnChoice, this, id);
  m_name->Bind(wxEVT_TEXT, &CEvernoteFileNameDlg::OnNameChanged, this);
  Bind(wxEVT_BUTTON, &CEvernoteFileNameDlg::OnOk, this, wxID_OK);
  ApplyChoice();
}

void CEvernoteFileNameDlg::ReadControls() {
  for (int i = 0; i < 4; ++i)
    if (m_rules[i]->GetValue()) m_rule = i;
  m_userName = m_name->GetValue().utf8_string();
}

void CEvernoteFileNameDlg::ShowPreview(const std::string& userName) {
  m_preview->SetLabelText(wxString::FromUTF8(m_baseName ? m_baseName(m_rule, userName) : ""));
}

void CEvernoteFileNameDlg::ApplyChoice() {
  ReadControls();
  m_name->Enable(m_rule == 3);
  ShowPreview(m_userName);
}

void CEvernoteFileNameDlg::OnChoice(wxCommandEvent&) { ApplyChoice(); }

void CEvernoteFileNameDlg::OnNameChanged(wxCommandEvent&) {
  ShowPreview(m_name->GetValue().utf8_string());
}

void CEvernoteFileNameDlg::OnOk(wxCommandEvent& event) {
  ReadControls();
  if (m_rule == 3 && m_userName.empty()) {
    showWarning(U("ファイル名を入力してください。"));
    m_name->SetFocus();
    return;
  }
  event.Skip();
}
