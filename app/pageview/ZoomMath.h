#pragma once

#include "app/pageview/CropState.h"
#include "app/pageview/Geometry.h"

// Zoom arithmetic of the page view. Zooms are whole percentages.
namespace zoom {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 1000;
inline constexpr int kStep = 10;

// One step up (at most 1000) or down (never below 1).
[[nodiscard]] int ZoomIn(int zoom);
[[nodiscard]] int ZoomOut(int zoom);
// A typed or chosen zoom limited to 1…1000.
[[nodiscard]] int Clamp(int zoom);

// The zoom at which the base rectangle (drawn at baseZoom) fills a window of W × H pixels:
// the width when the picture is relatively wider than the window, else the height. The
// comparison is made in single precision and the result is not limited, so a tiny window may
// give 0 and a huge one more than 1000.
[[nodiscard]] int Fit(const CRect& baseRect, int baseZoom, int windowWidth, int windowHeight);

// The rectangle drawn at newZoom, derived from the one at oldZoom: left and top stay, width
// and height scale with integer division. Repeated steps therefore accumulate rounding.
[[nodiscard]] CRect Rescale(const CRect& rect, int oldZoom, int newZoom);

// Picture pixels under a view rectangle (zoom z, crop source origin). Integer division, as
// the range tools use it.
[[nodiscard]] CRect ViewToPicture(const CRect& view, int zoom, CPoint sourceOrigin);

// The crop version made from `crop` (view units of version `previous`, on its picture): shown
// at the previous version's zoom, drawn from 0, 0 at the crop's size; its source is the crop
// mapped to picture pixels, the right and bottom edges from the left and top plus the mapped
// width and height, and kept inside the previous source.
[[nodiscard]] _CROPSTATE CropVersion(const _CROPSTATE& previous, const CRect& crop);

}  // namespace zoom
