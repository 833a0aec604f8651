#include "app/pageview/ZoomMath.h"

#include <algorithm>

namespace zoom {

int ZoomIn(int zoom) { return std::min(zoom + kStep, kMaxZoom); }

int ZoomOut(int zoom) { return zoom >= kStep + 1 ? zoom - kStep : kMinZoom; }

int Clamp(int zoom) { return std::clamp(zoom, kMinZoom, kMaxZoom); }

int Fit(const CRect& baseRect, int baseZoom, int windowWidth, int windowHeight) {
  const int w = baseRect.Width();
  const int h = baseRect.Height();
  if (w <= 0 || h <= 0 || windowWidth <= 0 || windowHeight <= 0) return baseZoom;
  const float pictureRatio = static_cast<float>(h) / static_cast<float>(w);
  const float windowRatio = static_cast<float>(windowHeight) / static_cast<float>(windowWidth);
  // 64-bit products: a 30,000-pixel picture at zoom 1000 times a 4K window overflows int.
  if (pictureRatio < windowRatio) {
    return static_cast<int>(static_cast<long long>(windowWidth) * baseZoom / w);
  }
  return static_cast<int>(static_cast<long long>(windowHeight) * baseZoom / h);
}

CRect Rescale(const CRect& rect, int oldZoom, int newZoom) {
  if (newZoom == oldZoom || oldZoom <= 0) return rect;
  CRect r = rect;
  r.right = r.left + static_cast<int>(static_cast<long long>(rect.Width()) * newZoom / oldZoom);
  r.bottom = r.top + static_cast<int>(static_cast<long long>(rect.Height()) * newZoom / oldZoom);
  return r;
}

CRect ViewToPicture(const CRect& view, int zoom, CPoint origin) {
  if (zoom <= 0) return {};
  auto map = [zoom](int v) { return static_cast<int>(static_cast<long long>(v) * 100 / zoom); };
  return {origin.x + map(view.left), origin.y + map(view.top), origin.x + map(view.right),
          origin.y + map(view.bottom)};
}

_CROPSTATE CropVersion(const _CROPSTATE& previous, const CRect& crop) {
  const CRect r = crop.Normalized();
  const int z = std::max(previous.zoom, 1);
  auto map = [z](int v) { return static_cast<int>(static_cast<long long>(v) * 100 / z); };
  _CROPSTATE next;
  next.zoom = next.baseZoom = z;
  next.zoomed = next.base = {0, 0, r.Width(), r.Height()};
  const CPoint o = previous.source.TopLeft();
  const int left = o.x + map(r.left), top = o.y + map(r.top);
  next.source = CRect{left, top, left + map(r.Width()), top + map(r.Height())}.Intersect(
      previous.source);
  return next;
}

}  // namespace zoom
