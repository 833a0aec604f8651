#pragma once

#include "app/pageview/CGesture.h"
#include "app/pageview/CSelectionRect.h"

// A drag of the range tool: a rubber band from the press point when the press missed the
// selection, otherwise a move (inside) or a resize (a handle) of the selection. The rectangle
// may be dragged inside out; it is kept on the picture, whose extent is given in view units,
// and normalised when the drag ends.
class CRangeGesture : public CGesture {
 public:
  CRangeGesture(CSelectionRect& selection, CPoint press, int extentWidth, int extentHeight);

  Bounds KeptIn() const override { return Bounds::ClientArea; }
  void Move(CPoint view) override;
  bool Finish(CPoint view) override;

  // The part of the frame grabbed; None for a rubber band.
  CSelectionRect::Hit Grabbed() const { return m_hit; }

 private:
  CRect RectAt(CPoint view) const;

  CSelectionRect& m_selection;
  CSelectionRect::Hit m_hit;
  CRect m_start;
  CPoint m_press;
  int m_width;
  int m_height;
};
