#include "app/print/ui/PdfRender.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include <cairo-pdf.h>
#include <cairo.h>
#include <unistd.h>

#include <wx/dcgraph.h>
#include <wx/graphics.h>

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

}  // namespace

bool RenderPrintoutToPdf(wxPrintout& printout, const std::string& path, const PdfPage& page,
                         std::string& error) {
  const double widthPt = page.widthMm / kMmPerInch * kPointsPerInch;
  const double heightPt = page.heightMm / kMmPerInch * kPointsPerInch;
  const int dpi = page.dotsPerInch;
  const int widthPx = int(std::lround(page.widthMm / kMmPerInch * dpi));
  const int heightPx = int(std::lround(page.heightMm / kMmPerInch * dpi));
  const std::string temp = path + ".part";
  cairo_surface_t* surface = cairo_pdf_surface_create(temp.c_str(), widthPt, heightPt);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(cairo_surface_status(surface));
    cairo_surface_destroy(surface);
    ::unlink(temp.c_str());
    return false;
  }
  cairo_t* cr = cairo_create(surface);
  // One device unit of the printout is one dot at the page's resolution.
  cairo_scale(cr, kPointsPerInch / dpi, kPointsPerInch / dpi);
  bool ok = true;
  {
    wxGraphicsContext* gc = wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr);
    wxGCDC dc(gc);
    dc.SetFont(*wxNORMAL_FONT);  // text drawn before any font is chosen would fail
    printout.SetDC(&dc);
    printout.SetPPIScreen(96, 96);
    printout.SetPPIPrinter(dpi, dpi);
    printout.SetPageSizePixels(widthPx, heightPx);
    printout.SetPageSizeMM(int(std::lround(page.widthMm)), int(std::lround(page.heightMm)));
    printout.SetPaperRectPixels(wxRect(0, 0, widthPx, heightPx));
    printout.OnPreparePrinting();
    int minPage = 1, maxPage = 1, from = 1, to = 1;
    printout.GetPageInfo(&minPage, &maxPage, &from, &to);
    printout.OnBeginPrinting();
    ok = printout.OnBeginDocument(from, to);
    for (int p = from; ok && p <= to && printout.HasPage(p); ++p) {
      ok = printout.OnPrintPage(p);
      gc->Flush();
      cairo_show_page(cr);
    }
    printout.OnEndDocument();
    printout.OnEndPrinting();
    printout.SetDC(nullptr);
  }  // the DC (and its graphics context) goes before the cairo context it draws on
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (ok && cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(cairo_surface_status(surface));
    ok = false;
  } else if (!ok) {
    error = "a page could not be drawn";
  }
  cairo_surface_destroy(surface);
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "the PDF file could not be written";
    ok = false;
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}
