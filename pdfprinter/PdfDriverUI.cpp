// ZarboPDFUI.dll: the PDF printer driver's user-interface part, the printing preferences
// (orientation and paper size). Loaded into a program that already runs the toolkit.

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <exception>

#include "pdfprinter/PaperSizes.h"
#include "platform/PrintComponents.h"

namespace {

class PreferencesDialog : public wxDialog {
 public:
  PreferencesDialog(const wxString& printer, const ZpDevMode& mode)
      : wxDialog(nullptr, wxID_ANY, printer + wxString::FromUTF8(" 印刷設定")) {
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* paperRow = new wxBoxSizer(wxHORIZONTAL);
    paperRow->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8("用紙サイズ(&S):")), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_paper = new wxChoice(this, wxID_ANY);
    int selected = 0;
    for (const auto& p : pdfprinter::kPapers) {
      if (p.number == mode.paperSize) selected = static_cast<int>(m_paper->GetCount());
      m_paper->Append(wxString::FromUTF8(p.name));
    }
    m_paper->SetSelection(selected);
    paperRow->Add(m_paper, 1);
    top->Add(paperRow, 0, wxEXPAND | wxALL, 12);

    const wxString choices[] = {wxString::FromUTF8("縦(&P)"), wxString::FromUTF8("横(&L)")};
    m_orientation = new wxRadioBox(this, wxID_ANY, wxString::FromUTF8("印刷の向き"),
                                   wxDefaultPosition, wxDefaultSize, 2, choices, 1,
                                   wxRA_SPECIFY_ROWS);
    m_orientation->SetSelection(mode.orientation == 2 ? 1 : 0);
    top->Add(m_orientation, 0, wxEXPAND | wxLEFT | wxRIGHT, 12);

    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();  // Enter accepts, as in the host's property sheets
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("キャンセル")));
    buttons->Realize();
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 12);
    SetSizerAndFit(top);
    CentreOnScreen();
  }

  ZpDevMode Result() const {
    ZpDevMode mode{};
    mode.orientation = m_orientation->GetSelection() == 1 ? 2 : 1;
    const int i = m_paper->GetSelection();
    mode.paperSize = i >= 0 ? pdfprinter::kPapers[i].number : pdfprinter::kDefaultPaper;
    return mode;
  }

 private:
  wxChoice* m_paper = nullptr;
  wxRadioBox* m_orientation = nullptr;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int ZpDocumentProperties(const char* printerName,
                                                                ZpDevMode* mode) {
  if (!wxTheApp || !printerName || !mode) return -1;
  try {
    PreferencesDialog dialog(wxString::FromUTF8(printerName), *mode);
    if (dialog.ShowModal() != wxID_OK) return 0;
    *mode = dialog.Result();
    return 1;
  } catch (const std::exception&) {
    return -1;
  }
}

}  // extern "C"
