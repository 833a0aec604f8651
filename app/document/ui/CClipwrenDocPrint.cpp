// Printing commands of the document: the print settings of the open scrap, printing and the
// preview of the active picture tab, and the printer setup.
#include <memory>

#include <wx/app.h>
#include <wx/window.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/print/ui/PrintRun.h"
#include "app/res/Resource.h"

namespace {

wxWindow* MainWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }

}  // namespace

void CClipwrenDoc::BindPrintCommands() {
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrintSettings, this, res::kIdPrintOptions);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrint, this, res::kIdFilePrint);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrintPreview, this, res::kIdPrintPreview);
  Bind(wxEVT_MENU, &CClipwrenDoc::OnPrinterSetup, this, res::kIdPrintSetup);
  for (int id : {res::kIdPrintOptions, res::kIdFilePrint, res::kIdPrintPreview, res::kIdPrintSetup})
    Bind(wxEVT_UPDATE_UI, &CClipwrenDoc::OnUpdatePrintCommand, this, id);
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
