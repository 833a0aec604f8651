#pragma once

#include <string>

#include <wx/print.h>

// A page of paper for rendering to PDF: its size in millimetres and the device resolution the
// printout draws at.
struct PdfPage {
  double widthMm = 210;
  double heightMm = 297;
  int dotsPerInch = 300;
};

// Runs a printout's whole page loop into a PDF file through cairo: the printout sees a DC of
// `dotsPerInch` device units per inch covering the whole paper. The file is written to a
// temporary name beside `path` and renamed over it when every page was drawn; false with a
// message otherwise (nothing is left behind).
[[nodiscard]] bool RenderPrintoutToPdf(wxPrintout& printout, const std::string& path,
                                       const PdfPage& page, std::string& error);
