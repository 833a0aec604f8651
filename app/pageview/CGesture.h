#pragma once

#include "app/pageview/Geometry.h"

// One mouse drag of a page view, from the button press to its end. The view holds at most one
// and feeds it the pointer's moves in view units; the drag ends by the same call whether the
// button came up or the capture was taken away, so both leave the model in the same state.
class CGesture {
 public:
  // Where the pointer is kept while the drag lasts.
  enum class Bounds { Picture, ClientArea };

  virtual ~CGesture() = default;
  virtual Bounds KeptIn() const { return Bounds::Picture; }
  // Whether Shift is held, told before each move (the pen keeps to one axis with it).
  virtual void SetShift(bool shift) { (void)shift; }
  // The pointer moved to `view` (already kept where the drag allows).
  virtual void Move(CPoint view) = 0;
  // Ends the drag at `view`; true when it changed the picture tab.
  virtual bool Finish(CPoint view) = 0;

  // The last point the view fed the drag: where it ends should the capture be taken away
  // before the button comes up.
  CPoint LastPoint() const { return m_last; }
  void SetLastPoint(CPoint view) { m_last = view; }

 private:
  CPoint m_last;
};
