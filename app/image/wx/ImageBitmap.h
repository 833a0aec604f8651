#pragma once

// Conversions between CxImage and wx bitmaps. Bitmaps are limited by the toolkit (cairo
// surfaces end at 32,767 pixels), so the views draw big pictures through ImageDraw instead.

#include <wx/bitmap.h>
#include <wx/palette.h>

#include "app/image/CxImage.h"

// A new bitmap holding the picture's pixels; an invalid bitmap when the picture is invalid or
// the toolkit cannot make one that large.
wxBitmap MakeBitmap(const CxImage& img);

// Replaces the picture with the bitmap's pixels: its size, its depth rounded up to 1, 4, 8 or
// 24. False with "GetDIBits failed" when the pixels cannot be read. The palette is accepted for
// symmetry with the drawing calls; GTK bitmaps carry true colour only.
bool CreateFromBitmap(CxImage& img, const wxBitmap& bitmap, const wxPalette* palette = nullptr);
