#include "app/print/ui/PrintRun.h"

#include <memory>

#include <wx/cmndata.h>
#include <wx/printdlg.h>

#include "app/print/ui/CLangPreview.h"
#include "app/print/ui/CPrintSettingDlg.h"
#include "app/res/ui/MessageBoxes.h"

namespace printing {

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

wxPrintData& PrinterData() {
  static wxPrintData data;
  return data;
}

void ApplyOrientation(const print::PrintSettings& settings) {
  PrinterData().SetOrientation(settings.IsPortrait() ? wxPORTRAIT : wxLANDSCAPE);
}

bool EditPrintSettings(wxWindow* parent, print::PrintSettings& settings) {
  CPrintSettingDlg dlg(parent, settings);
  if (dlg.ShowModal() != wxID_OK) return false;
  settings = dlg.Settings();
  return true;
}

bool PrintPages(wxWindow* parent, const PrintPicture& picture,
                const print::PrintSettings& settings) {
  ApplyOrientation(settings);
  wxPrintDialogData dialogData(PrinterData());
  dialogData.EnableSelection(false);
  dialogData.EnablePageNumbers(true);
  wxPrinter printer(&dialogData);
  CClipwrenPrintout printout(picture, settings, CurrentScreenSize());
  const bool printed = printer.Print(parent, &printout, true);
  // The printer and options chosen in the dialog stay for the next job.
  if (printed) PrinterData() = printer.GetPrintDialogData().GetPrintData();
  return printed;
}

bool ShowPreview(wxWindow* parent, const PrintPicture& picture,
                 const print::PrintSettings& settings, std::function<void()> onPrint,
                 std::function<void()> onClosed) {
  ApplyOrientation(settings);
  wxPrintDialogData dialogData(PrinterData());
  const print::ScreenSize screen = CurrentScreenSize();
  auto* preview = new CLangPreview(new CClipwrenPrintout(picture, settings, screen),
                                   new CClipwrenPrintout(picture, settings, screen), &dialogData);
  if (!preview->IsOk()) {
    delete preview;
    res::ui::MessageBox(U("コマンドの実行に失敗しました。"), U("クリップレン帳"),
                        wxOK | wxICON_EXCLAMATION, parent);
    return false;
  }
  auto* frame = new CLangPreviewFrame(preview, parent, U("印刷プレビュー"));
  frame->onPrint = std::move(onPrint);
  frame->onClosed = std::move(onClosed);
  frame->Initialize();
  frame->Show();
  return true;
}

void PrinterSetup(wxWindow* parent, const print::PrintSettings& settings) {
  ApplyOrientation(settings);
  wxPageSetupDialogData data(PrinterData());
  wxPageSetupDialog dialog(parent, &data);
  if (dialog.ShowModal() == wxID_OK) PrinterData() = dialog.GetPageSetupDialogData().GetPrintData();
}

}  // namespace printing
