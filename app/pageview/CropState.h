#pragma once

#include "app/pageview/Geometry.h"

// One crop version of a picture tab: which part of the picture is shown and at what size.
// Rectangles in view units except `source`, which is in picture pixels.
struct _CROPSTATE {
  int zoom = 100;      // current zoom of this version, percent
  int baseZoom = 100;  // zoom at which the version was made
  CRect source;        // the part of the picture shown
  CRect zoomed;        // where the source is drawn at the current zoom
  CRect base;          // where the source is drawn at the base zoom

  // Returning to the base zoom uses the exact base rectangle, so rounding of zoom steps never
  // sticks.
  const CRect& Displayed() const { return zoom == baseZoom ? base : zoomed; }
};
