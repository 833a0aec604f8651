#include "app/shell/ui/CAboutDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

int CAboutDlg::MinWidthForTitle() const {
  const wxFont bold = GetFont().Bold();  // title bars use a bold face
  int width = 0;
  GetTextExtent(GetTitle(), &width, nullptr, nullptr, nullptr, &bold);
  return width + FromDIP(kTitleBarButtonsWidth);
}

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(kAboutTitle)) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  wxIcon icon;
  if (auto* top = wxDynamicCast(parent, wxTopLevelWindow)) icon = top->GetIcon();
  if (icon.IsOk()) {
    row->Add(new wxStaticBitmap(this, wxID_ANY, icon), 0, wxALL, FromDIP(10));
  } else {
    row->Add(new wxStaticBitmap(this, wxID_ANY,
                                wxArtProvider::GetBitmapBundle(wxART_INFORMATION, wxART_MESSAGE_BOX)),
             0, wxALL, FromDIP(10));
  }
  row->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kAboutText)), 1,
           wxALIGN_CENTER_VERTICAL | wxALL, FromDIP(10));
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(row, 1, wxEXPAND);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  column->Add(ok, 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
  // The text is short; without this the window manager cut the title to fit beside its buttons.
  column->SetMinSize(wxSize(MinWidthForTitle(), -1));
  SetSizerAndFit(column);
  CentreOnParent();
}
