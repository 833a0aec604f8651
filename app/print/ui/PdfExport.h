#pragma once

#include <string>
#include <vector>

#include <wx/string.h>

#include "app/print/PrintSettings.h"
#include "app/print/ui/CClipwrenPrintout.h"

// PDF export: the picture tab is printed, like any print job, on the virtual PDF printer,
// whose components turn the job into a PDF and ask the user where to keep it. Its printing
// preferences open through the system's printer user interface.
namespace printing {

inline constexpr const char* kPdfPrinterName = "Zarbo PDF Printer";
inline constexpr const char* kCannotSavePdfText = "PDFファイルへ保存することができません。";
inline constexpr const char* kCannotShowPdfSettingsText =
    "ZarboPDFの印刷設定を表示することができません。";

// The printer a PDF export prints on: the virtual printer when its exact name (letter case
// included) is among the printer names read at start; empty otherwise. Nothing else is ever
// taken in its place.
[[nodiscard]] std::string ChoosePdfPrinter(const std::vector<std::string>& installedPrinters);

// Prints the picture laid out by the print settings on a printer of the machine's print
// system, in the settings' orientation and on the paper stored with the printer. False with
// a reason (and no job left behind) when the printer cannot be opened, refuses the settings
// or a page cannot be drawn.
[[nodiscard]] bool PrintOnPrinter(const std::string& printerName, const PrintPicture& picture,
                                  const print::PrintSettings& settings, const wxString& title,
                                  std::string& error);

enum class PreferencesLaunch { kStarted, kMissing, kFailed };

// Starts "<system folder>/rundll32.exe printui.dll,PrintUIEntry /e /n "<printer>"" for the
// virtual printer. kMissing when the system folder or the program is not there.
[[nodiscard]] PreferencesLaunch OpenPdfPrinterPreferences();

}  // namespace printing
