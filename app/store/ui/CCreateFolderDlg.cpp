#include "app/store/ui/CCreateFolderDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/store/ui/CComboTree.h"
#include "app/store/ui/CTreeComboBox.h"

CCreateFolderDlg::CCreateFolderDlg(wxWindow* owner, const CTreeComboBox& ownerPicker)
    : wxDialog(owner, wxID_ANY, wxString::FromUTF8("フォルダの作成")) {
  auto* grid = new wxFlexGridSizer(2, FromDIP(wxSize(8, 10)));
  grid->AddGrowableCol(1);
  grid->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8("フォルダ名(&N):")), 0,
            wxALIGN_CENTER_VERTICAL);
  m_name = new wxTextCtrl(this, kIdName, wxString(), wxDefaultPosition, FromDIP(wxSize(240, -1)));
  grid->Add(m_name, 1, wxEXPAND);
  grid->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8("作成先(&R):")), 0,
            wxALIGN_CENTER_VERTICAL);
  m_picker = new CTreeComboBox(this, kIdPicker, wxDefaultPosition, FromDIP(wxSize(240, 24)));
  grid->Add(m_picker, 1, wxEXPAND);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  m_create = new wxButton(this, wxID_OK, wxString::FromUTF8("作成(&A)"));
  m_create->SetDefault();
  buttons->AddStretchSpacer();
  buttons->Add(m_create, 0, wxRIGHT, FromDIP(8));
  buttons->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("キャンセル(&C)")));

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, FromDIP(14));
  top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(14));
  SetSizerAndFit(top);

  m_picker->Tree()->SetImageList(ownerPicker.Tree()->GetImageList());
  m_picker->SetHomeAndFill(ownerPicker.Tree()->HomePath());
  m_picker->Tree()->SelectByPath(ownerPicker.Tree()->SelectedPath());
  m_picker->TakeSelection();

  m_name->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { UpdateCreateButton(); });
  Bind(wxEVT_BUTTON, &CCreateFolderDlg::OnCreate, this, wxID_OK);
  UpdateCreateButton();
  m_name->SetFocus();
  CentreOnParent();
}

CCreateFolderDlg::~CCreateFolderDlg() {
  CTreeComboBox::CloseDropDown();
  m_picker->UnhookDialog();
  m_picker->Tree()->SetImageList(nullptr);  // the owner's list
}

void CCreateFolderDlg::UpdateCreateButton() { m_create->Enable(!m_name->GetValue().empty()); }

void CCreateFolderDlg::OnCreate(wxCommandEvent&) {
  if (m_name->GetValue().empty()) return;  // Enter in the box while the button is disabled
  m_folderName = m_name->GetValue().utf8_string();
  m_destination = m_picker->Tree()->SelectedPath();
  EndModal(wxID_OK);
}
