#include "app/print/ui/CClipwrenPrintout.h"

#include <algorithm>
#include <cstdlib>

#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

#include "app/image/DibFunctions.h"

CClipwrenPrintout::CClipwrenPrintout(PrintPicture picture, const print::PrintSettings& settings,
                                     const print::ScreenSize& screen, const wxString& title)
    : wxPrintout(title), m_picture(std::move(picture)), m_settings(settings), m_screen(screen) {}

print::PrintRect CClipwrenPrintout::Area() const {
  int w = 0, h = 0;
  GetPageSizePixels(&w, &h);
  return {0, 0, w, h};
}

void CClipwrenPrintout::OnPreparePrinting() {
  int dpiX = 0, dpiY = 0;
  GetPPIPrinter(&dpiX, &dpiY);
  const bool valid = m_picture && m_picture->IsValid();
  const print::PrintRect source =
      valid ? print::PrintRect{0, 0, m_picture->GetWidth(), m_picture->GetHeight()}
            : print::PrintRect{};
  m_layout.Prepare(m_settings, Area(), source, std::max(dpiX, 1), std::max(dpiY, 1), m_screen);
}

void CClipwrenPrintout::OnBeginPrinting() {
  // Monochrome prints grey levels, not black and white. The picture is shared by the printouts
  // of a preview, so it is converted once.
  if (m_settings.colorMode == print::kMonochrome && m_picture && m_picture->IsValid() &&
      m_picture->GetBpp() == 24)
    (void)m_picture->GrayScale();
}

void CClipwrenPrintout::GetPageInfo(int* minPage, int* maxPage, int* selPageFrom,
                                    int* selPageTo) {
  *minPage = 1;
  *maxPage = m_layout.GetLastPage();
  *selPageFrom = 1;
  *selPageTo = m_layout.GetLastPage();
}

bool CClipwrenPrintout::HasPage(int page) {
  return page >= m_layout.GetFirstPage() && page <= m_layout.GetLastPage();
}

bool CClipwrenPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (!dc || !m_picture || !m_picture->IsValid()) return false;
  // The preview draws into a bitmap of the page's size on screen, not one of its printer dots;
  // the layout is in printer dots, so they are scaled down to the bitmap here.
  if (IsPreview()) {
    int pageWidth = 0, pageHeight = 0;
    GetPageSizePixels(&pageWidth, &pageHeight);
    const wxSize size = dc->GetSize();
    if (pageWidth > 0 && pageHeight > 0 && size.x > 0 && size.y > 0)
      dc->SetUserScale(double(size.x) / pageWidth, double(size.y) / pageHeight);
  }
  for (const print::PagePiece& piece : m_layout.PagePieces(page))
    if (!DrawPiece(*dc, piece)) return false;
  return true;
}

bool CClipwrenPrintout::DrawPiece(wxDC& dc, const print::PagePiece& piece) {
  const CxRect src{int32_t(piece.source.left), int32_t(piece.source.top),
                   int32_t(piece.source.right), int32_t(piece.source.bottom)};
  const wxRect dest(int(piece.dest.left), int(piece.dest.top), int(piece.dest.Width()),
                    int(piece.dest.Height()));
  // Pixels are made at the DC's own resolution: printer dots when printing, screen pixels in
  // the preview (whose DC scales printer units down), so each device pixel takes the source
  // pixel it falls on and nothing is resampled twice.
  const int32_t width = std::max<int32_t>(1, dc.LogicalToDeviceXRel(dest.width));
  const int32_t height = std::max<int32_t>(1, dc.LogicalToDeviceYRel(dest.height));
  const bool unscaled = width == dest.width && height == dest.height;
  // One band of device rows at a time, so no bitmap is larger than a band.
  for (int32_t top = 0; top < height; top += kBandRows) {
    const int32_t rows = std::min<int32_t>(kBandRows, height - top);
    auto* rgb = static_cast<uint8_t*>(std::malloc(size_t(width) * size_t(rows) * 3));
    if (!rgb) return false;
    RenderDibToRgb(m_picture->GetDIB(), src, width, height, {0, top, width, top + rows}, rgb);
    wxBitmap bitmap(wxImage(width, rows, rgb), 24);  // the image takes the block
    if (!bitmap.IsOk()) return false;
    if (unscaled) {
      dc.DrawBitmap(bitmap, dest.x, dest.y + top);
      continue;
    }
    const int y0 = dest.y + int(int64_t(top) * dest.height / height);
    const int y1 = dest.y + int(int64_t(top + rows) * dest.height / height);
    wxMemoryDC band(bitmap);
    dc.StretchBlit(dest.x, y0, dest.width, y1 - y0, &band, 0, 0, width, rows);
  }
  return true;
}

print::ScreenSize CurrentScreenSize() {
  const wxSize pixels = wxGetDisplaySize();
  const wxSize mm = wxGetDisplaySizeMM();
  print::ScreenSize screen;
  screen.pixelWidth = std::max(pixels.x, 1);
  screen.pixelHeight = std::max(pixels.y, 1);
  // A display that reports no physical size is taken to be 96 dots per inch.
  screen.mmWidth = mm.x > 0 ? mm.x : std::max(1, pixels.x * 254 / 960);
  screen.mmHeight = mm.y > 0 ? mm.y : std::max(1, pixels.y * 254 / 960);
  return screen;
}
