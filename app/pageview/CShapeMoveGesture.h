#pragma once

#include <vector>

#include "app/pageview/CGesture.h"
#include "app/pageview/CShapeRectTracker.h"

class CShape;

// Shape selection dragging a mark's frame: the body moves the mark, a handle resizes it. The
// marks whose frames were under the press come first the tracked one, then the others; when
// the drag changed nothing the press goes on to them and they are all selected.
class CShapeMoveGesture : public CGesture {
 public:
  CShapeMoveGesture(std::vector<CShape*> pressed, CShapeRectTracker::Hit grabbed, CPoint press);

  Bounds KeptIn() const override { return Bounds::ClientArea; }
  void Move(CPoint view) override;
  // True when the frame moved or changed size.
  bool Finish(CPoint view) override;

  CShape* Moving() const { return m_pressed.front(); }

 private:
  std::vector<CShape*> m_pressed;
  CShapeRectTracker::Hit m_hit;
  CRect m_start;
  CPoint m_press;
};
