#pragma once

#include "app/image/CxImage.h"
#include "app/pageview/CropState.h"
#include "app/pageview/PixelTarget.h"

// Paints the visible part of a crop version of the working bitmap into a client-sized buffer
// (the window's client area, whose top-left corner is at view point `scroll`). Only the part
// that lands in the buffer is read and scaled (nearest pixel), so painting costs the same for
// a picture of any height. Pixels the picture does not reach are left as they are.
void RenderVersion(const CxImage& working, const _CROPSTATE& version, CPoint scroll,
                   const PixelTarget& out);

// The picture pixels (working bitmap, top-down) shown in the visible part `visible` (view
// units, inside the displayed rectangle) of a version at its zoom.
CRect SourceOfVisible(const _CROPSTATE& version, const CRect& visible);
