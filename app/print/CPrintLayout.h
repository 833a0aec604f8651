#pragma once

#include <cstdint>
#include <vector>

#include "app/print/PrintSettings.h"

namespace print {

// A rectangle in whole units: picture pixels for a source, printer device units for a page.
struct PrintRect {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;

  int64_t Width() const { return right - left; }
  int64_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const PrintRect&, const PrintRect&) = default;
};

// One piece of a printed page: the part of the picture and where on the page it goes. Pieces
// of equal size are copied unscaled, others stretched.
struct PagePiece {
  PrintRect source;
  PrintRect dest;
  friend bool operator==(const PagePiece&, const PagePiece&) = default;
};

// What the screen measures, for the scale mode: a picture pixel at 100 % is printed as large as
// a screen pixel is.
struct ScreenSize {
  int pixelWidth = 1;
  int pixelHeight = 1;
  int mmWidth = 1;
  int mmHeight = 1;
};

// How a picture is laid out on printed pages: the page count for the chosen scaling mode and,
// for each page, which part of the picture goes where. Pure arithmetic: the area is the
// printable rectangle of a page in printer units, the source the part of the picture printed
// (the current crop version's source rectangle) in picture pixels. Reals are truncated where
// they become whole units.
class CPrintLayout {
 public:
  // Takes the settings and measures and computes the page count. The same area must be used to
  // draw the pages, so the count always matches what is drawn.
  void Prepare(const PrintSettings& settings, const PrintRect& area, const PrintRect& source,
               int printerDpiX, int printerDpiY, const ScreenSize& screen);

  int GetFirstPage() const { return m_firstPage; }
  int GetLastPage() const { return m_lastPage; }
  // The page range the printer dialog offers: the one page, the chosen count, or from page 1 on
  // (0 for an open end).
  int MaxPageOffered() const;

  // The pieces of page `page` (1-based); none for a page outside the range or one the picture
  // does not reach.
  std::vector<PagePiece> PagePieces(int page) const;

  int GetRows() const { return m_rows; }
  int GetColumns() const { return m_columns; }

 private:
  std::vector<PagePiece> WholePicture() const;
  std::vector<PagePiece> WholePictureInColumns() const;
  std::vector<PagePiece> WidthPage(int page) const;
  std::vector<PagePiece> PageCountPage(int page) const;
  std::vector<PagePiece> PageCountPageInColumns(int page) const;
  std::vector<PagePiece> ScalePage(int page) const;
  // Size of the picture in page units in the scale mode (reals).
  double ScaledWidthInPages() const;
  double ScaledHeightInPages() const;

  PrintRect m_area;
  PrintRect m_source;
  int m_firstPage = 1;
  int m_lastPage = 1;
  int m_pagesDown = 1;  // the page-count mode lays its pages in one column
  int m_mode = kFitWhole;
  int m_scale = kDefaultScale;
  bool m_columnsForOnePage = false;
  bool m_columnsForPageCount = false;
  int m_printerDpiX = 300;
  int m_printerDpiY = 300;
  int m_rows = 1;
  int m_columns = 1;
  ScreenSize m_screen;
};

// The number of columns (1…1999) that wastes least paper when a picture of aspect sw/sh is
// printed over `pages` pages of aw × ah in columns; the first on ties. Also gives the picture's
// length ph along the columns, in printer units.
struct ColumnChoice {
  int columns = 1;
  int64_t pictureLength = 0;
};
ColumnChoice ChooseColumns(int64_t sw, int64_t sh, int64_t aw, int64_t ah, int pages);

}  // namespace print
