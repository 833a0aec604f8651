#include "app/image/wx/ImageDraw.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "app/image/DibFunctions.h"

namespace {

CxRect ToCx(const wxRect& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

// The whole picture as a source rectangle. A side of 2^31 pixels (a 1-bit picture may be that
// wide) does not fit the rectangle's signed numbers; it is cut to the largest that does, which
// moves each sampled column by at most one source pixel.
CxRect WholePicture(const CxImage& img) {
  constexpr uint32_t kMax = uint32_t(INT32_MAX);
  return {0, 0, int32_t(std::min(img.GetWidth(), kMax)), int32_t(std::min(img.GetHeight(), kMax))};
}

// The part of `dest` that can show on the DC: inside the clip rectangle and the DC's own
// clipping box when they exist, and inside the DC's area when it has one.
wxRect VisiblePart(wxDC& dc, const wxRect& dest, const wxRect* clip) {
  wxRect visible = dest;
  if (clip) visible.Intersect(*clip);
  wxCoord cx, cy, cw, ch;
  dc.GetClippingBox(&cx, &cy, &cw, &ch);
  if (cw > 0 && ch > 0) visible.Intersect(wxRect(cx, cy, cw, ch));
  const wxSize size = dc.GetSize();
  if (size.x > 0 && size.y > 0) {
    // The DC's size is in device units; map its corners to logical ones.
    const wxRect area(wxPoint(dc.DeviceToLogicalX(0), dc.DeviceToLogicalY(0)),
                      wxPoint(dc.DeviceToLogicalX(size.x - 1), dc.DeviceToLogicalY(size.y - 1)));
    visible.Intersect(area);
  }
  return visible;
}

// Renders `src` of the DIB scaled to `dest`, keeps what is visible and draws it.
bool Blit(wxDC& dc, const uint8_t* dib, const CxRect& src, const wxRect& dest,
          const wxRect& visible, wxRasterOperationMode rop) {
  if (visible.IsEmpty()) return true;
  const CxRect part{visible.x - dest.x, visible.y - dest.y, visible.GetRight() + 1 - dest.x,
                    visible.GetBottom() + 1 - dest.y};
  auto* rgb = static_cast<uint8_t*>(std::malloc(size_t(visible.width) * visible.height * 3));
  if (!rgb) return false;
  RenderDibToRgb(dib, src, dest.width, dest.height, part, rgb);
  wxBitmap bitmap(wxImage(visible.width, visible.height, rgb), 24);
  if (!bitmap.IsOk()) return false;
  if (rop == wxCOPY) {
    dc.DrawBitmap(bitmap, visible.x, visible.y);
    return true;
  }
  wxMemoryDC mem(bitmap);
  return dc.Blit(visible.x, visible.y, visible.width, visible.height, &mem, 0, 0, rop);
}

// Average of the source pixels under each destination pixel, for smoothed downscaling.
bool BlitSmooth(wxDC& dc, const CxImage& img, const wxRect& dest, const wxRect& visible) {
  if (visible.IsEmpty()) return true;
  const CxRect all = WholePicture(img);
  const int32_t w = all.right, h = all.bottom;
  if (dest.width >= w || dest.height >= h)
    return Blit(dc, img.GetDIB(), all, dest, visible, wxCOPY);
  auto* rgb = static_cast<uint8_t*>(std::malloc(size_t(visible.width) * visible.height * 3));
  if (!rgb) return false;
  for (int vy = 0; vy < visible.height; ++vy) {
    const int dy = visible.y - dest.y + vy;
    const int y0 = int(int64_t(dy) * h / dest.height), y1 = int(int64_t(dy + 1) * h / dest.height);
    for (int vx = 0; vx < visible.width; ++vx) {
      const int dx = visible.x - dest.x + vx;
      const int x0 = int(int64_t(dx) * w / dest.width), x1 = int(int64_t(dx + 1) * w / dest.width);
      // A destination pixel may cover billions of source pixels of a very wide picture.
      uint64_t sum[3] = {0, 0, 0}, n = 0;
      for (int y = y0; y < std::max(y1, y0 + 1); ++y)
        for (int x = x0; x < std::max(x1, x0 + 1); ++x, ++n) {
          const RGBQUAD c = img.GetPixelColor(uint32_t(x), uint32_t(h - 1 - y));
          sum[0] += c.rgbRed, sum[1] += c.rgbGreen, sum[2] += c.rgbBlue;
        }
      uint8_t* o = rgb + (size_t(vy) * visible.width + vx) * 3;
      for (int k = 0; k < 3; ++k) o[k] = uint8_t(sum[k] / n);
    }
  }
  dc.DrawBitmap(wxBitmap(wxImage(visible.width, visible.height, rgb), 24), visible.x, visible.y);
  return true;
}

}  // namespace

bool DrawImage(const CxImage& img, wxDC& dc, const wxRect& rect, const wxRect* clip, bool smooth) {
  if (!img.IsValid() || rect.width <= 0 || rect.height <= 0) return false;
  const wxRect visible = VisiblePart(dc, rect, clip);
  if (smooth) return BlitSmooth(dc, img, rect, visible);
  return Blit(dc, img.GetDIB(), WholePicture(img), rect, visible, wxCOPY);
}

bool StretchImage(const CxImage& img, wxDC& dc, const wxRect& rect, wxRasterOperationMode rop) {
  if (!img.IsValid() || rect.width <= 0 || rect.height <= 0) return false;
  return Blit(dc, img.GetDIB(), WholePicture(img), rect, VisiblePart(dc, rect, nullptr), rop);
}

bool PaintDib(wxDC& dc, const wxRect& dest, const uint8_t* dib, const wxRect& src,
              const wxPalette*) {
  const DibPaintPlan plan = PlanPaintDib(dib, ToCx(dest), ToCx(src));
  if (plan.mode == DibPaintMode::kNothing || dest.IsEmpty()) return false;
  // The unscaled copy is the stretch at 1:1: every destination pixel maps to exactly one
  // source pixel, so one renderer serves both.
  return Blit(dc, dib, plan.src, dest, VisiblePart(dc, dest, nullptr), wxCOPY);
}

bool DibPalette(const uint8_t* dib, wxPalette& palette) {
  if (!dib) return false;
  const uint32_t colors = DibNumColors(dib);
  if (colors == 0) return false;
  const size_t entry = DibIsCoreHeader(dib) ? 3 : 4;
  const uint8_t* table = DibBits(dib) - DibPaletteSize(dib);
  std::vector<unsigned char> r(colors), g(colors), b(colors);
  for (uint32_t i = 0; i < colors; ++i) {
    b[i] = table[i * entry];
    g[i] = table[i * entry + 1];
    r[i] = table[i * entry + 2];
  }
  return palette.Create(int(colors), r.data(), g.data(), b.data());
}
