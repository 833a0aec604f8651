#include "app/print/ui/PdfExport.h"

#include <algorithm>
#include <cmath>

#include <cairo.h>

#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/utils.h>

#include "platform/PrintAdmin.h"
#include "platform/PrintSpooler.h"

namespace printing {

namespace spool = platform::print;

std::string ChoosePdfPrinter(const std::vector<std::string>& installedPrinters) {
  const bool listed = std::find(installedPrinters.begin(), installedPrinters.end(),
                                kPdfPrinterName) != installedPrinters.end();
  return listed ? kPdfPrinterName : std::string();
}

namespace {

// Draws one page of the printout into the job's next page. The job's context has its origin
// at the sheet's top left; the printout lays pages out in the printable area, so the
// context is moved there first.
bool PrintOnePage(spool::PrintJob& job, wxPrintout& printout, int page) {
  cairo_t* cr = job.StartPage();
  if (!cr) return false;
  const spool::PageGeometry& g = job.Geometry();
  cairo_save(cr);
  cairo_translate(cr, g.printableX, g.printableY);
  bool ok = false;
  {
    wxGraphicsContext* gc =
        wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr);
    if (gc) {
      wxGCDC dc(gc);
      dc.SetFont(*wxNORMAL_FONT);  // text drawn before any font is chosen would fail
      printout.SetDC(&dc);
      ok = printout.OnPrintPage(page);
      gc->Flush();
      printout.SetDC(nullptr);
    }
  }  // the DC and its graphics context go before the page ends
  cairo_restore(cr);
  return job.EndPage() && ok;
}

}  // namespace

bool PrintOnPrinter(const std::string& printerName, const PrintPicture& picture,
                    const print::PrintSettings& settings, const wxString& title,
                    std::string& error) {
  long code = 0;
  const auto printer = spool::Printer::Open(printerName, spool::Access::Use, code);
  if (!printer) {
    error = "the printer cannot be opened (error " + std::to_string(code) + ")";
    return false;
  }
  spool::DevMode mode = printer->Settings();
  mode.orientation = settings.IsPortrait() ? spool::kPortrait : spool::kLandscape;
  const auto job = spool::PrintJob::StartDoc(*printer, title.utf8_string(), mode, code);
  if (!job) {
    error = "the printer refused the job (error " + std::to_string(code) + ")";
    return false;
  }
  const spool::PageGeometry& g = job->Geometry();
  if (g.dpiX <= 0 || g.dpiY <= 0 || g.printableWidth <= 0 || g.printableHeight <= 0) {
    job->Abort();
    error = "the printer reports no printable area";
    return false;
  }

  CClipwrenPrintout printout(picture, settings, CurrentScreenSize(), title);
  printout.SetPPIScreen(96, 96);
  printout.SetPPIPrinter(g.dpiX, g.dpiY);
  printout.SetPageSizePixels(g.printableWidth, g.printableHeight);
  printout.SetPageSizeMM(int(std::lround(g.printableWidth * 25.4 / g.dpiX)),
                         int(std::lround(g.printableHeight * 25.4 / g.dpiY)));
  printout.SetPaperRectPixels(wxRect(-g.printableX, -g.printableY, g.paperWidth, g.paperHeight));
  printout.OnPreparePrinting();
  int minPage = 1, maxPage = 1, from = 1, to = 1;
  printout.GetPageInfo(&minPage, &maxPage, &from, &to);
  printout.OnBeginPrinting();
  bool ok = true;
  for (int p = from; ok && p <= to && printout.HasPage(p); ++p)
    ok = PrintOnePage(*job, printout, p);
  printout.OnEndPrinting();
  if (!ok) {
    job->Abort();
    error = "a page could not be drawn";
    return false;
  }
  if (!job->EndDoc(code)) {
    error = "the job could not be finished (error " + std::to_string(code) + ")";
    return false;
  }
  return true;
}

PreferencesLaunch OpenPdfPrinterPreferences() {
  long code = 0;
  const auto system = spool::GetSystemDirectory(code);
  if (!system) return PreferencesLaunch::kMissing;
  const std::string program = (*system / "rundll32.exe").string();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(program, ec)) return PreferencesLaunch::kMissing;
  // The host's command line split as the host splits it: the quoted printer name is one
  // argument, and no shell sees any of it.
  const char* argv[] = {program.c_str(), "printui.dll,PrintUIEntry", "/e", "/n", kPdfPrinterName,
                        nullptr};
  return wxExecute(argv, wxEXEC_ASYNC) > 0 ? PreferencesLaunch::kStarted
                                           : PreferencesLaunch::kFailed;
}

}  // namespace printing
