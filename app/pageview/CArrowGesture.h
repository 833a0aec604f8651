#pragma once

#include "app/pageview/CGesture.h"

class CArrow;
class CSBImage;

// An arrow being dragged out from the press point (its tail) to the pointer (its tip); it
// enters the shape list and the history when the drag ends.
class CArrowGesture : public CGesture {
 public:
  CArrowGesture(CSBImage& image, CPoint start);

  void Move(CPoint view) override;
  bool Finish(CPoint view) override;

  const CArrow& Arrow() const { return *m_arrow; }
  CPoint Start() const { return m_start; }

 private:
  CSBImage& m_image;
  CArrow* m_arrow;
  CPoint m_start;
};
