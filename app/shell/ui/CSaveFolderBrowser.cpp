#include "app/shell/ui/CSaveFolderBrowser.h"

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include <filesystem>
#include <system_error>

CSaveFolderBrowser::CSaveFolderBrowser(wxWindow* parent, const std::string& start)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kSaveFolderBrowserTitle), wxDefaultPosition,
               wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
  const wxString first = start.empty() ? wxGetCwd() : wxString::FromUTF8(start);
  m_tree = new wxGenericDirCtrl(this, wxID_ANY, first, wxDefaultPosition, FromDIP(wxSize(420, 360)),
                                wxDIRCTRL_DIR_ONLY | wxDIRCTRL_3D_INTERNAL);
  NameSections();
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

// The toolkit names the home and desktop sections in English; the rest of the dialog speaks
// Japanese.
void CSaveFolderBrowser::NameSections() {
  wxTreeCtrl* tree = m_tree->GetTreeCtrl();
  const wxString home = wxFileName::DirName(wxGetHomeDir()).GetFullPath();
  // The section the toolkit adds for the desktop is always the home folder's "Desktop".
  const wxString desktop = wxFileName::DirName(wxGetHomeDir() + "/Desktop").GetFullPath();
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree->GetFirstChild(m_tree->GetRootId(), cookie); item.IsOk();
       item = tree->GetNextChild(m_tree->GetRootId(), cookie)) {
    const wxString path = wxFileName::DirName(m_tree->GetPath(item)).GetFullPath();
    if (path == home) tree->SetItemText(item, wxString::FromUTF8("ホーム"));
    else if (path == desktop) tree->SetItemText(item, wxString::FromUTF8("デスクトップ"));
  }
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
