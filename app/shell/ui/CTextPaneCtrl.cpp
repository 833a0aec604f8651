#include "app/shell/ui/CTextPaneCtrl.h"

CTextPaneCtrl::CTextPaneCtrl(wxWindow* parent)
    : wxTextCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                 wxTE_MULTILINE | wxTE_RICH2 | wxTE_NOHIDESEL | wxTE_WORDWRAP | wxBORDER_SUNKEN |
                     wxVSCROLL) {}

void CTextPaneCtrl::SetText(const std::string& utf8) {
  ChangeValue(wxString::FromUTF8(utf8));
  SetInsertionPoint(0);
}

std::string CTextPaneCtrl::GetText() const { return GetValue().utf8_string(); }
