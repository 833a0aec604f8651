#pragma once

#include <functional>

#include "app/print/PrintSettings.h"
#include "app/print/ui/CClipwrenPrintout.h"

class wxPrintData;
class wxWindow;

// The printing commands of a picture tab, from the settings dialog to the printed pages. The
// chosen printer and its page setup are kept for the run of the program.
namespace printing {

// The printer chosen for this run of the program, with its paper and options.
wxPrintData& PrinterData();
// Writes the print settings' orientation into the printer data, as every dialog and job that
// follows reads it.
void ApplyOrientation(const print::PrintSettings& settings);

// "印刷設定(&E)...": edits `settings` in the dialog; true when "設定" closed it.
bool EditPrintSettings(wxWindow* parent, print::PrintSettings& settings);

// "印刷(&P)...": the desktop's print dialog with the page range the mode offers, then the
// pages. False when the user cancelled or printing failed (the toolkit has told the user).
bool PrintPages(wxWindow* parent, const PrintPicture& picture,
                const print::PrintSettings& settings);

// "印刷プレビュｰ(&V)": opens the preview window; false (after "コマンドの実行に失敗しました。")
// when it cannot start. `onPrint` runs when "印刷" closed the preview, `onClosed` whenever it
// closes.
bool ShowPreview(wxWindow* parent, const PrintPicture& picture,
                 const print::PrintSettings& settings, std::function<void()> onPrint,
                 std::function<void()> onClosed);

// "プリンタの設定(&R)...": the desktop's page and printer setup, starting from the settings'
// orientation; the choice is kept for the run, the orientation chosen there is not written back.
void PrinterSetup(wxWindow* parent, const print::PrintSettings& settings);

}  // namespace printing
