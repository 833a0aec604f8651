#pragma once

#include <memory>

#include <wx/print.h>

#include "app/image/CxImage.h"
#include "app/print/CPrintLayout.h"
#include "app/print/PrintSettings.h"

// The print picture of one print run: the current crop version with every visible mark drawn
// in, in picture pixels. Shared by the printouts of a preview (one shows, one prints) so the
// page picture is held once; freed when the last printout goes.
using PrintPicture = std::shared_ptr<CxImage>;

// Prints the print picture laid out by CPrintLayout. The layout is computed from the printable
// rectangle the printer reports, and pages are drawn into that same rectangle, so the page
// count always matches what is drawn. Pages are painted in bands of device rows, so no toolkit
// bitmap grows past a band whatever the picture's height.
class CClipwrenPrintout : public wxPrintout {
 public:
  CClipwrenPrintout(PrintPicture picture, const print::PrintSettings& settings,
                    const print::ScreenSize& screen, const wxString& title = "Clipwren");

  void OnPreparePrinting() override;
  void OnBeginPrinting() override;
  bool OnPrintPage(int page) override;
  bool HasPage(int page) override;
  void GetPageInfo(int* minPage, int* maxPage, int* selPageFrom, int* selPageTo) override;

  const print::CPrintLayout& Layout() const { return m_layout; }
  // The printable rectangle pages are laid out in, in device units of the printout's DC.
  print::PrintRect Area() const;

  // Device rows painted at a time.
  static constexpr int kBandRows = 512;

 private:
  bool DrawPiece(wxDC& dc, const print::PagePiece& piece);

  PrintPicture m_picture;
  print::PrintSettings m_settings;
  print::ScreenSize m_screen;
  print::CPrintLayout m_layout;
};

// The screen's size in pixels and millimetres, as the scale mode measures it.
print::ScreenSize CurrentScreenSize();
