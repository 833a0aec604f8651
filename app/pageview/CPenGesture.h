#pragma once

#include "app/pageview/CGesture.h"
#include "app/pageview/PenTable.h"

class CSBImage;
class CStroke;

// A pen stroke being drawn: a new stroke of the pen's width and colour takes every point the
// pointer reaches and enters the shape list and the history when the drag ends. With Shift
// held, the first move decides the axis (sideways keeps y, otherwise x is kept) until Shift is
// let go.
class CPenGesture : public CGesture {
 public:
  CPenGesture(CSBImage& image, const PenDef& pen, CPoint start);

  void SetShift(bool shift) override { m_shift = shift; }
  void Move(CPoint view) override;
  bool Finish(CPoint view) override;

  const CStroke& Stroke() const { return *m_stroke; }
  // The last point added, after the Shift axis was applied.
  CPoint LastAdded() const { return m_last; }

 private:
  CSBImage& m_image;
  CStroke* m_stroke;
  CPoint m_last;
  bool m_shift = false;
  int m_axis = 0;  // 0 none, 1 keep y, 2 keep x
};
