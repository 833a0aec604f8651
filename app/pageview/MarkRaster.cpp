#include "app/pageview/MarkRaster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace marks {
namespace {

struct Vec {
  double x;
  double y;
};

// A coverage mask over a clipped box of the target; a pixel is covered when its centre lies
// inside one of the filled shapes.
class Mask {
 public:
  Mask(const PixelTarget& t, double x0, double y0, double x1, double y1) {
    m_left = std::max(0, static_cast<int>(std::floor(x0)));
    m_top = std::max(0, static_cast<int>(std::floor(y0)));
    m_right = std::min(t.width, static_cast<int>(std::ceil(x1)) + 1);
    m_bottom = std::min(t.height, static_cast<int>(std::ceil(y1)) + 1);
    if (m_right > m_left && m_bottom > m_top) {
      m_bits.assign(static_cast<size_t>(m_right - m_left) * (m_bottom - m_top), 0);
    }
  }
  bool Empty() const { return m_bits.empty(); }

  // Fills a convex polygon.
  void FillConvex(const Vec* p, int n) {
    if (Empty()) return;
    double minY = p[0].y, maxY = p[0].y;
    for (int i = 1; i < n; ++i) {
      minY = std::min(minY, p[i].y);
      maxY = std::max(maxY, p[i].y);
    }
    const int y0 = std::max(m_top, static_cast<int>(std::ceil(minY - 0.5)));
    const int y1 = std::min(m_bottom - 1, static_cast<int>(std::ceil(maxY - 0.5)) - 1);
    for (int y = y0; y <= y1; ++y) {
      const double cy = y + 0.5;
      double xl = 1e300, xr = -1e300;
      for (int i = 0; i < n; ++i) {
        const Vec& a = p[i];
        const Vec& b = p[(i + 1) % n];
        if ((a.y <= cy && b.y >= cy) || (b.y <= cy && a.y >= cy)) {
          if (a.y == b.y) {
            xl = std::min({xl, a.x, b.x});
            xr = std::max({xr, a.x, b.x});
          } else {
            const double x = a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y);
            xl = std::min(xl, x);
            xr = std::max(xr, x);
          }
        }
      }
      Span(y, xl, xr);
    }
  }

  void FillDisc(Vec c, double r) {
    if (Empty() || r <= 0) return;
    const int y0 = std::max(m_top, static_cast<int>(std::ceil(c.y - r - 0.5)));
    const int y1 = std::min(m_bottom - 1, static_cast<int>(std::ceil(c.y + r - 0.5)) - 1);
    for (int y = y0; y <= y1; ++y) {
      const double dy = y + 0.5 - c.y;
      const double dx = std::sqrt(std::max(0.0, r * r - dy * dy));
      Span(y, c.x - dx, c.x + dx);
    }
  }

  // A band of `width` around the segment, flat at both ends.
  void FillSegment(Vec a, Vec b, double width) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return;
    const double nx = -dy / len * width / 2, ny = dx / len * width / 2;
    const Vec quad[4] = {
        {a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    FillConvex(quad, 4);
  }

  void Blend(const PixelTarget& t, uint32_t argb) const {
    for (int y = m_top; y < m_bottom; ++y) {
      const uint8_t* m = &m_bits[static_cast<size_t>(y - m_top) * (m_right - m_left)];
      uint8_t* row = t.Row(y);
      for (int x = m_left; x < m_right; ++x) {
        if (m[x - m_left]) BlendPixel(row + 3 * x, t.bgr, argb);
      }
    }
  }

 private:
  void Span(int y, double xl, double xr) {
    if (xr < xl) return;
    const int x0 = std::max(m_left, static_cast<int>(std::ceil(xl - 0.5)));
    const int x1 = std::min(m_right - 1, static_cast<int>(std::ceil(xr - 0.5)) - 1);
    if (x1 < x0) return;
    uint8_t* row = &m_bits[static_cast<size_t>(y - m_top) * (m_right - m_left)];
    std::fill(row + (x0 - m_left), row + (x1 - m_left) + 1, uint8_t{1});
  }

  int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
  std::vector<uint8_t> m_bits;
};

// View points address pixels, so a point's ink is centred on the middle of its pixel.
Vec Map(const ViewMapping& map, double x, double y) {
  return {(x + 0.5) * map.scale + map.originX, (y + 0.5) * map.scale + map.originY};
}

}  // namespace

void BlendPixel(uint8_t* px, bool bgr, uint32_t argb) {
  const unsigned a = argb >> 24;
  const uint8_t r = static_cast<uint8_t>(argb >> 16), g = static_cast<uint8_t>(argb >> 8),
                b = static_cast<uint8_t>(argb);
  uint8_t* pr = bgr ? px + 2 : px;
  uint8_t* pb = bgr ? px : px + 2;
  if (a >= 255) {
    *pr = r;
    px[1] = g;
    *pb = b;
    return;
  }
  auto mix = [a](uint8_t src, uint8_t dst) {
    return static_cast<uint8_t>((src * a + dst * (255 - a) + 127) / 255);
  };
  *pr = mix(r, *pr);
  px[1] = mix(g, px[1]);
  *pb = mix(b, *pb);
}

void DrawStroke(const PixelTarget& target, const ViewMapping& map, const CStroke& stroke) {
  if (!stroke.IsVisible() || stroke.Points().size() < 2 || !target.top) return;
  const CPoint off = stroke.Offset();
  std::vector<Vec> pts;
  pts.reserve(stroke.Points().size());
  for (const CPoint& p : stroke.Points()) {
    const Vec v = Map(map, p.x + off.x, p.y + off.y);
    if (pts.empty() || pts.back().x != v.x || pts.back().y != v.y) pts.push_back(v);
  }
  if (pts.size() < 2) return;
  const double width = std::max(1.0, stroke.Width() * map.scale);
  double x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
  for (const Vec& v : pts) {
    x0 = std::min(x0, v.x);
    y0 = std::min(y0, v.y);
    x1 = std::max(x1, v.x);
    y1 = std::max(y1, v.y);
  }
  const double pad = width / 2 + 1;
  Mask mask(target, x0 - pad, y0 - pad, x1 + pad, y1 + pad);
  if (mask.Empty()) return;
  for (size_t i = 0; i + 1 < pts.size(); ++i) mask.FillSegment(pts[i], pts[i + 1], width);
  // Round joins keep a quick pen stroke free of notches where it turns.
  for (size_t i = 1; i + 1 < pts.size(); ++i) mask.FillDisc(pts[i], width / 2);
  mask.Blend(target, stroke.Argb());
}

void DrawArrow(const PixelTarget& target, const ViewMapping& map, const CArrow& arrowShape) {
  if (!arrowShape.IsVisible() || !target.top) return;
  const arrow::Lines lines = arrowShape.Lines();
  if (lines.empty) return;
  const Vec tail = Map(map, lines.tail.x, lines.tail.y);
  const Vec tip = Map(map, lines.tip.x, lines.tip.y);
  const Vec h1 = Map(map, lines.head1.x, lines.head1.y);
  const Vec h2 = Map(map, lines.head2.x, lines.head2.y);
  const double width = std::max(1.0, map.scale);
  double x0 = std::min({tail.x, tip.x, h1.x, h2.x}), x1 = std::max({tail.x, tip.x, h1.x, h2.x});
  double y0 = std::min({tail.y, tip.y, h1.y, h2.y}), y1 = std::max({tail.y, tip.y, h1.y, h2.y});
  Mask mask(target, x0 - width - 1, y0 - width - 1, x1 + width + 1, y1 + width + 1);
  if (mask.Empty()) return;
  mask.FillSegment(tail, tip, width);
  if (lines.hasHead) {
    const Vec head[3] = {h1, h2, tip};
    mask.FillConvex(head, 3);
    // The head's outline, as the one-pixel pen draws it around the fill.
    mask.FillSegment(h1, h2, width);
    mask.FillSegment(h2, tip, width);
    mask.FillSegment(tip, h1, width);
  }
  mask.Blend(target, 0xFF000000);
}

void InvertFrame(const PixelTarget& target, const CRect& rect, int thickness) {
  const CRect r = rect.Normalized();
  const CRect inner = r.Inflated(-thickness);
  const int y0 = std::max(0, r.top), y1 = std::min(target.height, r.bottom);
  const int x0 = std::max(0, r.left), x1 = std::min(target.width, r.right);
  for (int y = y0; y < y1; ++y) {
    uint8_t* row = target.Row(y);
    for (int x = x0; x < x1; ++x) {
      if (inner.Contains({x, y})) continue;
      uint8_t* px = row + 3 * x;
      px[0] = static_cast<uint8_t>(255 - px[0]);
      px[1] = static_cast<uint8_t>(255 - px[1]);
      px[2] = static_cast<uint8_t>(255 - px[2]);
    }
  }
}

}  // namespace marks
