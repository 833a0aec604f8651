#include "app/shell/ui/CSaveFolderBrowser.h"

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <filesystem>
#include <system_error>

CSaveFolderBrowser::CSaveFolderBrowser(wxWindow* parent, const std::string& start)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kSaveFolderBrowserTitle), wxDefaultPosition,
               wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
  const wxString first = start.empty() ? wxGetCwd() : wxString::FromUTF8(start);
  m_tree = new wxGenericDirCtrl(this, wxID_ANY, first, wxDefaultPosition, FromDIP(wxSize(420, 360)),
                                wxDIRCTRL_DIR_ONLY | wxDIRCTRL_3D_INTERNAL);
  m_status = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                              wxST_ELLIPSIZE_MIDDLE);
  auto* buttons = CreateStdDialogButtonSizer(wxOK | wxCANCEL);
  if (auto* ok = FindWindow(wxID_OK)) ok->SetLabel("OK");
  if (auto* cancel = FindWindow(wxID_CANCEL)) cancel->SetLabel(wxString::FromUTF8("キャンセル"));
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(m_tree, 1, wxEXPAND | wxALL, FromDIP(10));
  top->Add(m_status, 0, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));
  top->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));
  SetSizerAndFit(top);
  m_tree->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, [this](wxTreeEvent& e) {
    ShowStatus();
    e.Skip();
  });
  ShowStatus();
  CentreOnParent();
}

std::string CSaveFolderBrowser::Path() const {
  const std::string path = m_tree->GetPath().utf8_string();
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec) ? path : std::string();
}

void CSaveFolderBrowser::SetPath(const std::string& path) {
  m_tree->SetPath(wxString::FromUTF8(path));
  ShowStatus();
}

wxString CSaveFolderBrowser::StatusText() const { return m_status->GetLabel(); }

void CSaveFolderBrowser::ShowStatus() {
  // Only a folder of the file system has a path to show.
  const std::string path = Path();
  if (!path.empty()) m_status->SetLabel(wxString::FromUTF8(path));
}
