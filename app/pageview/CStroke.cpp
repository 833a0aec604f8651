#include "app/pageview/CStroke.h"

#include <algorithm>

void CStroke::Finish() {
  if (m_points.empty()) {
    m_drawn = {};
    return;
  }
  CRect box{m_points[0].x, m_points[0].y, m_points[0].x, m_points[0].y};
  for (const CPoint& p : m_points) {
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  m_drawn = box.Inflated(m_width);
}
