// Printing commands of the document: the print settings of the open scrap, printing and the
// preview of the active picture tab, the printer setup, and PDF export through the virtual
// PDF printer with that printer's preferences.
#include <memory>

#include <wx/app.h>
#include <wx/window.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/print/ui/PdfExport.h"
#include "app/print/ui/PrintRun.h"
#include "app/res/Resource.h"
#include "app/res/ui/MessageBoxes.h"

namespace {

wxWindow* MainWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }

// Messages of the printing commands stand alone, without an owner window.
void ShowPrintMessage(const char* text, long icon) {
  res::ui::MessageBox(wxString::FromUTF8(text), wxString::FromUTF8("クリップレン帳"),
                      wxOK | icon, nullptr);
}

}  // namespace

void CClipwrenDoc::BindPrintCommands() {
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrintSettings, this, res::kIdPrintOptions);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrint, this, res::kIdFilePrint);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrintPreview, this, res::kIdPrintPreview);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrinterSetup, this, res::kIdPrintSetup);
  for (int id : {res::kIdPrintOptions, res::kIdFilePrint, res::kIdPrintPreview, res::kIdPrintSetup})
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdatePrintCommand, this, id);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnExportPdf, this, res::kIdExportPdf);
  Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdateExportPdf, this, res::kIdExportPdf);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPdfSettings, this, res::kIdPdfSettings);
  Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, res::kIdPdfSettings);
}

// The printer setup is always there; the others need a picture tab with its picture.
void CClipwrenDoc::OnUpdatePrintCommand(wxUpdateUIEvent& event) {
  if (event.GetId() == res::kIdPrintSetup) {
    event.Enable(true);
    return;
  }
  const CSBImage* image = CurrentImage();
  event.Enable(image && image->IsLoaded());
}

void CClipwrenDoc::OnPrintSettings(wxCommandEvent&) {
  (void)printing::EditPrintSettings(MainWindow(), m_printSettings);
}

PrintPicture CClipwrenDoc::MakePrintPicture() const {
  CSBImage* image = CurrentImage();
  if (!image || !image->IsLoaded()) return nullptr;
  std::optional<CxImage> flat = image->Flatten();
  if (!flat) return nullptr;
  return std::make_shared<CxImage>(std::move(*flat));
}

// The print picture for a command; nullptr (after telling the user when the tab has a picture
// that could not be made) otherwise.
PrintPicture CClipwrenDoc::PrintPictureForCommand() {
  const CSBImage* image = CurrentImage();
  if (!image || !image->IsLoaded()) return nullptr;
  PrintPicture picture = MakePrintPicture();
  if (!picture && showMessage)
    showMessage(wxString::FromUTF8("画像が大き過ぎるため作成に失敗しました。"));
  return picture;
}

void CClipwrenDoc::OnPrint(wxCommandEvent&) {
  // A PDF export started this print: the virtual printer takes the place of the dialog.
  if (m_pdfExportPending) {
    m_pdfExportPending = false;
    ExportPdf();
    return;
  }
  if (const PrintPicture picture = PrintPictureForCommand())
    (void)printing::PrintPages(MainWindow(), picture, m_printSettings);
}

void CClipwrenDoc::OnPrintPreview(wxCommandEvent&) {
  const PrintPicture picture = PrintPictureForCommand();
  if (!picture) return;
  // "印刷" in the preview prints the same tab once the preview has closed.
  (void)printing::ShowPreview(
      MainWindow(), picture, m_printSettings,
      [this] {
        wxCommandEvent print(wxEVT_MENU, res::kIdFilePrint);
        ProcessEvent(print);
      },
      [] {});
}

void CClipwrenDoc::OnPrinterSetup(wxCommandEvent&) {
  printing::PrinterSetup(MainWindow(), m_printSettings);
}

// Like picture export: a picture tab whose picture has been loaded.
void CClipwrenDoc::OnUpdateExportPdf(wxUpdateUIEvent& event) {
  const CSBImage* image = CurrentImage();
  event.Enable((m_activeTab == kTabPage || m_activeTab == kTabCopy) && image && image->IsLoaded());
}

// The export is an ordinary print of the tab: the print command goes through the main
// window's route to the document, which then prints on the virtual printer.
void CClipwrenDoc::OnExportPdf(wxCommandEvent&) {
  m_pdfExportPending = true;
  wxWindow* window = MainWindow();
  wxEvtHandler* target = window ? window->GetEventHandler() : this;
  target->QueueEvent(new wxCommandEvent(wxEVT_MENU, res::kIdFilePrint));
}

// Never falls back to another printer: when the virtual printer is missing, cannot be opened
// any more or refuses the job, the user is told and nothing is printed. The printer chosen
// for ordinary printing is not touched either way.
void CClipwrenDoc::ExportPdf() {
  const std::string printer = choosePdfPrinter ? choosePdfPrinter() : std::string();
  if (printer.empty()) {
    ShowPrintMessage(printing::kCannotSavePdfText, 0);
    return;
  }
  const PrintPicture picture = PrintPictureForCommand();
  if (!picture) return;
  std::string error;
  if (!printing::PrintOnPrinter(printer, picture, m_printSettings, m_title, error))
    ShowPrintMessage(printing::kCannotSavePdfText, 0);
}

void CClipwrenDoc::OnPdfSettings(wxCommandEvent&) {
  if (printing::OpenPdfPrinterPreferences() == printing::PreferencesLaunch::kMissing)
    ShowPrintMessage(printing::kCannotShowPdfSettingsText, wxICON_ERROR);
}
