#pragma once

#include "app/pageview/CArrow.h"
#include "app/pageview/CStroke.h"
#include "app/pageview/PixelTarget.h"

// Drawing of strokes and arrows into a 24-bit buffer. The same routines paint the screen and
// burn the marks into the picture when a tab is saved, so both look alike at any zoom.
// A mark is first rasterised into a coverage mask and then blended once, so a half
// transparent highlighter does not darken where its own segments overlap, while two separate
// highlighter strokes do.
namespace marks {

// A stroke as a poly-line of the pen's width: flat ends, round joins. Invisible strokes and
// strokes of fewer than two distinct points draw nothing.
void DrawStroke(const PixelTarget& target, const ViewMapping& map, const CStroke& stroke);

// An arrow: a one-pixel black shaft from tail to tip and, when longer than its head, a filled
// black head triangle.
void DrawArrow(const PixelTarget& target, const ViewMapping& map, const CArrow& arrow);

// Inverts every pixel within `thickness` pixels inside the edge of `rect` (target pixels):
// the frame that follows the pointer while a text box is moved or resized. Drawing it twice
// restores the pixels.
void InvertFrame(const PixelTarget& target, const CRect& rect, int thickness);

// Blends `argb` over a pixel; alpha 255 replaces it.
void BlendPixel(uint8_t* px, bool bgr, uint32_t argb);

}  // namespace marks
