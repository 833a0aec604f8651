#pragma once

#include <vector>

#include "app/pageview/CGesture.h"

class CSBImage;

// A drag in crop mode: the rectangle from the anchor to the pointer, kept on the picture. The
// view shows it inverted; each move reports the strips between the old and the new rectangle,
// the only pixels whose inversion changes. Finishing crops the picture tab to the rectangle;
// a rectangle without width or height crops nothing.
class CCropGesture : public CGesture {
 public:
  CCropGesture(CSBImage& image, CPoint anchor, int extentWidth, int extentHeight);

  void Move(CPoint view) override;
  bool Finish(CPoint view) override;

  // The rectangle shown inverted, normalised (view units).
  CRect Rect() const;
  // Where the inversion changed with the last move (view units).
  const std::vector<CRect>& ChangedStrips() const { return m_strips; }

 private:
  CSBImage& m_image;
  CPoint m_anchor;
  CPoint m_point;
  int m_width;
  int m_height;
  std::vector<CRect> m_strips;
};

namespace range {

// The parts of two rectangles that only one of them covers (their symmetric difference), as
// at most four rectangles that do not overlap.
[[nodiscard]] std::vector<CRect> Difference(const CRect& a, const CRect& b);

}  // namespace range
