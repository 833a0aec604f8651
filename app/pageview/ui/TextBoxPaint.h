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
// mapping, the font is scaled with it, and only that part of the buffer passes through a
// toolkit bitmap, so it works on pictures of any height.
void BurnBoxText(const PixelTarget& target, const ViewMapping& map, const std::string& utf8,
                 const CRect& viewRect, const wxFont& font);
