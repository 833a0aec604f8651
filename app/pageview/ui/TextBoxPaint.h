#pragma once

#include <wx/dc.h>
#include <wx/font.h>

#include <string>

#include "app/pageview/Geometry.h"
#include "app/pageview/PixelTarget.h"

// Text of a text box: black, transparent background, word-wrapped inside its rectangle (at
// blanks where there are some, else between any two characters, as Japanese text wraps).
// One routine serves the screen and the saved picture.
void DrawBoxText(wxDC& dc, const std::string& utf8, const wxRect& rect, const wxFont& font);

// Burns the text into a 24-bit buffer: the box's rectangle (view units) goes through the
// mapping and the font is scaled with it. Only that part of the buffer passes through toolkit
// bitmaps, in tiles, so it works on pictures and boxes of any size. The screen uses it too,
// so closed text boxes stack with the other marks in list order.
void BurnBoxText(const PixelTarget& target, const ViewMapping& map, const std::string& utf8,
                 const CRect& viewRect, const wxFont& font);
