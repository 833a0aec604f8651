// ZarboPDF.dll: the PDF printer's driver. Each job's pages are drawn straight into a cairo
// PDF surface whose file is the job's spool file, so what reaches the user is the file the
// program drew: pictures that carry their JPEG data are embedded as that JPEG, never
// decoded and compressed again on the way.

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <new>
#include <string>

#include "pdfprinter/PaperSizes.h"
#include "platform/PrintComponents.h"

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;

struct Doc {
  cairo_surface_t* surface = nullptr;
  cairo_t* page = nullptr;
  std::string file;
  int dpi = pdfprinter::kDotsPerInch;
  int pages = 0;
};

bool Sheet(const ZpDevMode* mode, double& widthMm, double& heightMm) {
  if (!mode || (mode->orientation != 1 && mode->orientation != 2)) return false;
  const pdfprinter::Paper* paper = pdfprinter::FindPaper(mode->paperSize);
  if (!paper) return false;
  widthMm = mode->orientation == 1 ? paper->widthMm : paper->heightMm;
  heightMm = mode->orientation == 1 ? paper->heightMm : paper->widthMm;
  return true;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int ZpDriverDefaults(ZpDevMode* mode) {
  if (!mode) return 0;
  mode->orientation = 1;
  mode->paperSize = pdfprinter::kDefaultPaper;
  return 1;
}

__attribute__((visibility("default"))) int ZpDriverGeometry(const ZpDevMode* mode,
                                                            ZpPageGeometry* page) {
  double w = 0, h = 0;
  if (!page || !Sheet(mode, w, h)) return 0;
  const int dpi = pdfprinter::kDotsPerInch;
  *page = ZpPageGeometry{};
  page->dpiX = page->dpiY = dpi;
  page->paperWidth = static_cast<int32_t>(std::lround(w / kMmPerInch * dpi));
  page->paperHeight = static_cast<int32_t>(std::lround(h / kMmPerInch * dpi));
  // A PDF has no unprintable edge: the whole sheet is printable.
  page->printableX = page->printableY = 0;
  page->printableWidth = page->paperWidth;
  page->printableHeight = page->paperHeight;
  page->paperWidthMm = w;
  page->paperHeightMm = h;
  return 1;
}

__attribute__((visibility("default"))) void* ZpDriverStartDoc(const char* spoolFile,
                                                              const char* title,
                                                              const ZpDevMode* mode) {
  double w = 0, h = 0;
  if (!spoolFile || !Sheet(mode, w, h)) return nullptr;
  Doc* doc = new (std::nothrow) Doc;
  if (!doc) return nullptr;
  try {
    doc->file = spoolFile;
  } catch (const std::bad_alloc&) {
    delete doc;
    return nullptr;
  }
  doc->surface = cairo_pdf_surface_create(spoolFile, w / kMmPerInch * kPointsPerInch,
                                          h / kMmPerInch * kPointsPerInch);
  if (cairo_surface_status(doc->surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(doc->surface);
    std::remove(spoolFile);
    delete doc;
    return nullptr;
  }
  if (title && *title) cairo_pdf_surface_set_metadata(doc->surface, CAIRO_PDF_METADATA_TITLE, title);
  cairo_pdf_surface_set_metadata(doc->surface, CAIRO_PDF_METADATA_CREATOR, "Zarbo PDF Printer");
  return doc;
}

__attribute__((visibility("default"))) cairo_t* ZpDriverStartPage(void* handle) {
  Doc* doc = static_cast<Doc*>(handle);
  if (!doc || doc->page) return nullptr;
  doc->page = cairo_create(doc->surface);
  if (cairo_status(doc->page) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(doc->page);
    doc->page = nullptr;
    return nullptr;
  }
  // The program draws in device dots; the PDF counts in points.
  cairo_scale(doc->page, kPointsPerInch / doc->dpi, kPointsPerInch / doc->dpi);
  return doc->page;
}

__attribute__((visibility("default"))) int ZpDriverEndPage(void* handle) {
  Doc* doc = static_cast<Doc*>(handle);
  if (!doc || !doc->page) return 0;
  cairo_show_page(doc->page);
  const bool ok = cairo_status(doc->page) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(doc->page);
  doc->page = nullptr;
  if (ok) ++doc->pages;
  return ok ? 1 : 0;
}

__attribute__((visibility("default"))) int ZpDriverEndDoc(void* handle) {
  Doc* doc = static_cast<Doc*>(handle);
  if (!doc) return 0;
  if (doc->page) {
    cairo_destroy(doc->page);
    doc->page = nullptr;
  }
  cairo_surface_finish(doc->surface);
  const bool ok = cairo_surface_status(doc->surface) == CAIRO_STATUS_SUCCESS && doc->pages > 0;
  cairo_surface_destroy(doc->surface);
  if (!ok) std::remove(doc->file.c_str());
  delete doc;
  return ok ? 1 : 0;
}

__attribute__((visibility("default"))) void ZpDriverAbortDoc(void* handle) {
  Doc* doc = static_cast<Doc*>(handle);
  if (!doc) return;
  if (doc->page) cairo_destroy(doc->page);
  cairo_surface_finish(doc->surface);
  cairo_surface_destroy(doc->surface);
  std::remove(doc->file.c_str());
  delete doc;
}

}  // extern "C"
