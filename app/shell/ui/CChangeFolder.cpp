#include "app/shell/ui/CChangeFolder.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

CChangeFolder::CChangeFolder(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("クリップレン")) {
  auto* text = new wxStaticText(this, wxID_ANY,
                                wxString::FromUTF8("既存のファイルを移動またはコピーしますか？"));
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  const struct {
    int id;
    const char* label;
    int choice;
  } kButtons[] = {
      {kIdMove, "移動", kMove}, {kIdCopy, "コピー", kCopy}, {kIdLeave, "しない", kLeave}};
  for (const auto& b : kButtons) {
    auto* button = new wxButton(this, b.id, wxString::FromUTF8(b.label));
    buttons->Add(button, 0, wxLEFT, FromDIP(8));
    const int choice = b.choice;
    button->Bind(wxEVT_BUTTON, [this, choice](wxCommandEvent&) {
      m_choice = choice;
      EndModal(choice);
    });
    if (b.id == kIdMove) {
      button->SetDefault();
      button->SetFocus();
    }
  }
  // Esc and the close box end the dialog with the cancel result, which means "しない".
  SetEscapeId(wxID_CANCEL);
  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        m_choice = kLeave;
        EndModal(kLeave);
      },
      wxID_CANCEL);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
    m_choice = kLeave;
    EndModal(kLeave);
  });

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(text, 0, wxALL, FromDIP(16));
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(16));
  SetSizerAndFit(top);
  CentreOnParent();
}
