#pragma once

// Drawing of pictures and packed DIBs on a wxDC. Only the part that lands inside the DC's
// visible area is converted, so a picture taller than any toolkit bitmap still draws.

#include <cstdint>

#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/palette.h>

#include "app/image/CxImage.h"

// Paints the whole picture scaled to `rect`, limited to `clip` when given. Without smoothing
// each destination pixel takes the source pixel it falls on; with smoothing it takes the
// average of the source pixels it covers.
bool DrawImage(const CxImage& img, wxDC& dc, const wxRect& rect, const wxRect* clip = nullptr,
               bool smooth = false);

// Paints the whole picture scaled to `rect`, dropping or repeating rows and columns, combined
// with the destination by `rop`.
bool StretchImage(const CxImage& img, wxDC& dc, const wxRect& rect,
                  wxRasterOperationMode rop = wxCOPY);

// Paints the `src` part of a packed DIB (top-down picture coordinates) into `dest`: an
// unscaled copy when both have the same size, a stretch otherwise. Nothing is drawn for a
// null DIB. GTK has no palette devices, so a given palette changes nothing.
bool PaintDib(wxDC& dc, const wxRect& dest, const uint8_t* dib, const wxRect& src,
              const wxPalette* palette = nullptr);

// A palette with one entry per colour-table entry; false when the DIB has no colour table.
bool DibPalette(const uint8_t* dib, wxPalette& palette);
