#include "app/print/CPrintLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace print {

namespace {

int64_t Trunc(double v) { return int64_t(v); }

// The part of the grid cell [cx, cx + 1] x [cy, cy + 1] covered by a picture of w x h pages.
struct Cell {
  double x0, y0, x1, y1;
  bool Empty() const { return x1 <= x0 || y1 <= y0; }
};
Cell CellOf(double cx, double cy, double w, double h) {
  return {std::max(cx, 0.0), std::max(cy, 0.0), std::min(cx + 1, w), std::min(cy + 1, h)};
}

// A cell that reaches the picture's right or bottom edge takes the picture to that edge: the
// truncated product of reals can fall one pixel short of it, which would drop the last column or
// row of the picture from the print.
PrintRect SourceOfCell(const PrintRect& s, const Cell& c, double w, double h) {
  const double sw = double(s.Width()), sh = double(s.Height());
  return {s.left + Trunc(sw * c.x0 / w), s.top + Trunc(sh * c.y0 / h),
          c.x1 >= w ? s.right : s.left + Trunc(sw * c.x1 / w),
          c.y1 >= h ? s.bottom : s.top + Trunc(sh * c.y1 / h)};
}

}  // namespace

void CPrintLayout::Prepare(const PrintSettings& settings, const PrintRect& area,
                           const PrintRect& source, int printerDpiX, int printerDpiY,
                           const ScreenSize& screen) {
  m_area = area;
  m_source = source;
  m_mode = settings.scalingMode;
  m_scale = settings.scale;
  m_pagesDown = settings.pageCount;
  m_columnsForOnePage = settings.columnsForOnePage != 0;
  m_columnsForPageCount = settings.columnsForPageCount != 0;
  m_printerDpiX = printerDpiX;
  m_printerDpiY = printerDpiY;
  m_screen = screen;
  m_rows = m_columns = 1;
  m_firstPage = 1;
  const double sw = double(source.Width()), sh = double(source.Height());
  const double aw = double(area.Width()), ah = double(area.Height());
  int pages = 1;
  if (area.IsEmpty() || source.IsEmpty()) {
    pages = 1;
  } else if (m_mode == kFitWidth) {
    pages = int(std::ceil((sh / sw) / (ah / aw)));
  } else if (m_mode == kPageCount) {
    pages = m_pagesDown;
  } else if (m_mode == kScale) {
    m_columns = int(std::ceil(ScaledWidthInPages()));
    m_rows = int(std::ceil(ScaledHeightInPages()));
    pages = m_rows * m_columns;
  }
  m_lastPage = std::max(pages, 1);
}

int CPrintLayout::MaxPageOffered() const {
  if (m_mode == kFitWhole) return 1;
  if (m_mode == kPageCount) return m_pagesDown;
  return 0;
}

double CPrintLayout::ScaledWidthInPages() const {
  const double kx = double(m_screen.mmWidth) * m_printerDpiX * 10 / (double(m_screen.pixelWidth) * 254);
  return kx * double(m_source.Width()) * m_scale / (double(m_area.Width()) * 100);
}

double CPrintLayout::ScaledHeightInPages() const {
  const double ky =
      double(m_screen.mmHeight) * m_printerDpiY * 10 / (double(m_screen.pixelHeight) * 254);
  return ky * double(m_source.Height()) * m_scale / (double(m_area.Height()) * 100);
}

std::vector<PagePiece> CPrintLayout::PagePieces(int page) const {
  if (page < m_firstPage || page > m_lastPage || m_area.IsEmpty() || m_source.IsEmpty())
    return {};
  std::vector<PagePiece> pieces;
  switch (m_mode) {
    case kFitWhole:
      pieces = m_columnsForOnePage ? WholePictureInColumns() : WholePicture();
      break;
    case kFitWidth:
      pieces = WidthPage(page);
      break;
    case kPageCount:
      pieces = m_columnsForPageCount ? PageCountPageInColumns(page) : PageCountPage(page);
      break;
    case kScale:
      pieces = ScalePage(page);
      break;
    default:
      break;
  }
  std::erase_if(pieces, [](const PagePiece& p) { return p.source.IsEmpty() || p.dest.IsEmpty(); });
  return pieces;
}

std::vector<PagePiece> CPrintLayout::WholePicture() const {
  const PrintRect& a = m_area;
  const double e = double(m_source.Height()) / double(m_source.Width());
  const double f = double(a.Height()) / double(a.Width());
  PrintRect d = a;
  if (e < f) {
    const int64_t h = Trunc(double(a.Width()) * e);
    d.top = a.top + (a.Height() - h) / 2;
    d.bottom = d.top + h;
  } else if (e > f) {
    const int64_t w = Trunc(double(a.Height()) / e);
    d.left = a.left + (a.Width() - w) / 2;
    d.right = d.left + w;
  }
  return {{m_source, d}};
}

// Tall pictures are cut into bands laid side by side, wide ones into bands stacked; n is the
// band count whose shape fits the area best.
std::vector<PagePiece> CPrintLayout::WholePictureInColumns() const {
  const PrintRect &a = m_area, &s = m_source;
  const double sw = double(s.Width()), sh = double(s.Height());
  const double aw = double(a.Width()), ah = double(a.Height());
  const bool tall = sh / sw > ah / aw;
  const double r = tall ? (sh / sw) / (ah / aw) : (sw / sh) / (aw / ah);
  int64_t n = Trunc(std::sqrt(r + 0.25) + 0.5);
  if (n == 1) return WholePicture();
  if (double(n) < r / double(n)) ++n;
  const double t = r / double(n);
  const int64_t last = int64_t(std::ceil(t)) - 1;
  std::vector<PagePiece> pieces;
  for (int64_t i = 0; i < n && i <= last; ++i) {
    PagePiece p;
    if (tall) {
      p.dest = {a.left + i * a.Width() / n, a.top, a.left + (i + 1) * a.Width() / n, a.bottom};
      p.source = {s.left, s.top + Trunc(double(i) * sh / t), s.right,
                  s.top + Trunc(double(i + 1) * sh / t)};
      if (i == last) {
        p.source.bottom = s.bottom;
        p.dest.bottom = a.top + Trunc((t - double(i)) * ah);
      }
    } else {
      p.dest = {a.left, a.top + i * a.Height() / n, a.right, a.top + (i + 1) * a.Height() / n};
      p.source = {s.left + Trunc(double(i) * sw / t), s.top,
                  s.left + Trunc(double(i + 1) * sw / t), s.bottom};
      if (i == last) {
        p.source.right = s.right;
        p.dest.right = a.left + Trunc((t - double(i)) * aw);
      }
    }
    pieces.push_back(p);
  }
  return pieces;
}

std::vector<PagePiece> CPrintLayout::WidthPage(int page) const {
  const PrintRect &a = m_area, &s = m_source;
  const double sh = double(s.Height());
  const double x = (sh / double(s.Width())) / (double(a.Height()) / double(a.Width()));
  PagePiece p{{s.left, s.top + Trunc(sh * (page - 1) / x), s.right, s.top + Trunc(sh * page / x)},
              a};
  if (page == m_lastPage) {
    p.source.bottom = s.bottom;
    p.dest.bottom = a.top + Trunc((x - (page - 1)) * double(a.Height()));
  }
  return {p};
}

std::vector<PagePiece> CPrintLayout::PageCountPage(int page) const {
  const PrintRect& a = m_area;
  const double n = m_pagesDown;
  const double c = double(m_source.Height()) / double(m_source.Width());
  const double d = n * double(a.Height()) / double(a.Width());
  double w = 1, h = n;
  if (c < d) {
    h = c * n / d;
  } else if (c > d) {
    w = d / c;
  }
  const Cell cell = CellOf(0, page - 1, w, h);
  if (cell.Empty()) return {};
  const int64_t r = Trunc(double(a.Width()) * (cell.x1 - cell.x0));
  const int64_t left = a.left + (a.Width() - r) / 2;
  return {{SourceOfCell(m_source, cell, w, h),
           {left, a.top, left + r, a.top + Trunc(double(a.Height()) * (cell.y1 - cell.y0))}}};
}

ColumnChoice ChooseColumns(int64_t sw, int64_t sh, int64_t aw, int64_t ah, int pages) {
  const double aspect = double(sw) / double(sh);
  ColumnChoice best;
  double bestWaste = std::numeric_limits<double>::infinity();
  for (int k = 1; k <= 1999; ++k) {
    const int64_t cw = aw / k;
    if (cw <= 0) break;  // narrower columns than one unit hold nothing
    const int64_t length = int64_t(k) * pages * ah;
    int64_t pw, ph;
    if (aspect < double(cw) / double(length)) {
      ph = length;
      pw = Trunc(aspect * double(length));
    } else {
      pw = cw;
      ph = Trunc(double(cw) / aspect);
    }
    const double waste = double(cw) * double(length) - double(pw) * double(ph);
    if (waste < bestWaste) {
      bestWaste = waste;
      best = {k, ph};
    }
  }
  return best;
}

std::vector<PagePiece> CPrintLayout::PageCountPageInColumns(int page) const {
  const PrintRect &a = m_area, &s = m_source;
  const ColumnChoice choice = ChooseColumns(s.Width(), s.Height(), a.Width(), a.Height(), m_pagesDown);
  const int64_t k = choice.columns, ph = choice.pictureLength, ah = a.Height();
  std::vector<PagePiece> pieces;
  for (int64_t j = 0; j < k && ph > 0; ++j) {
    const int64_t v = ((page - 1) * k + j) * ah;
    if (v >= ph) break;
    const double sh = double(s.Height());
    PagePiece p{{s.left, s.top + Trunc(double(v) * sh / double(ph)), s.right,
                 s.top + Trunc(double(std::min(v + ah, ph)) * sh / double(ph))},
                {a.left + j * a.Width() / k, a.top, a.left + (j + 1) * a.Width() / k, a.top + ah}};
    if (ph < v + ah) p.dest.bottom = a.top + (ph - v);
    pieces.push_back(p);
  }
  return pieces;
}

std::vector<PagePiece> CPrintLayout::ScalePage(int page) const {
  const PrintRect& a = m_area;
  const double w = ScaledWidthInPages(), h = ScaledHeightInPages();
  const int columns = std::max(m_columns, 1);
  const Cell cell = CellOf((page - 1) % columns, (page - 1) / columns, w, h);
  if (cell.Empty()) return {};
  return {{SourceOfCell(m_source, cell, w, h),
           {a.left, a.top, a.left + Trunc(double(a.Width()) * (cell.x1 - cell.x0)),
            a.top + Trunc(double(a.Height()) * (cell.y1 - cell.y0))}}};
}

}  // namespace print
