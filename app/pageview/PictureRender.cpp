#include "app/pageview/PictureRender.h"

#include <algorithm>
#include <cstring>
#include <vector>

CRect SourceOfVisible(const _CROPSTATE& v, const CRect& vis) {
  const double s = 100.0 / std::max(v.zoom, 1);
  const CRect& src = v.source;
  auto at = [s](int units) { return static_cast<int>(s * units); };
  return {src.left + at(vis.left), src.top + at(vis.top), src.left + at(vis.right),
          src.top + at(vis.bottom)};
}

void RenderVersion(const CxImage& working, const _CROPSTATE& version, CPoint scroll,
                   const PixelTarget& out) {
  if (!working.IsValid() || working.GetBpp() != 24 || !out.top) return;
  const CRect shown = version.Displayed();
  const CRect client{scroll.x, scroll.y, scroll.x + out.width, scroll.y + out.height};
  // Both in view units measured from the displayed rectangle's corner.
  const CRect visible = CRect{0, 0, shown.Width(), shown.Height()}.Intersect(client);
  if (visible.IsEmpty()) return;
  CRect src = SourceOfVisible(version, visible);
  const int pw = static_cast<int>(working.GetWidth());
  const int ph = static_cast<int>(working.GetHeight());
  src = src.Intersect({0, 0, pw, ph});
  if (src.IsEmpty()) return;

  const int dw = visible.Width(), dh = visible.Height();
  const int dx0 = visible.left - scroll.x, dy0 = visible.top - scroll.y;
  const int sw = src.Width(), sh = src.Height();
  // Source column of every destination column, as byte offsets into a row.
  std::vector<int> column(static_cast<size_t>(dw));
  for (int i = 0; i < dw; ++i) {
    column[static_cast<size_t>(i)] = 3 * (src.left + static_cast<int>(static_cast<long long>(i) * sw / dw));
  }
  const uint8_t* lastSource = nullptr;
  uint8_t* lastRow = nullptr;
  for (int j = 0; j < dh; ++j) {
    const int sy = src.top + static_cast<int>(static_cast<long long>(j) * sh / dh);
    const uint8_t* in = working.GetBits(static_cast<uint32_t>(ph - 1 - sy));
    uint8_t* row = out.Row(dy0 + j) + 3 * dx0;
    if (in == lastSource) {
      // Zoomed in: rows repeat, so copy the one already converted.
      std::memcpy(row, lastRow, static_cast<size_t>(dw) * 3);
      continue;
    }
    if (out.bgr) {
      for (int i = 0; i < dw; ++i) std::memcpy(row + 3 * i, in + column[static_cast<size_t>(i)], 3);
    } else {
      for (int i = 0; i < dw; ++i) {
        const uint8_t* p = in + column[static_cast<size_t>(i)];
        row[3 * i] = p[2];
        row[3 * i + 1] = p[1];
        row[3 * i + 2] = p[0];
      }
    }
    lastSource = in;
    lastRow = row;
  }
}
