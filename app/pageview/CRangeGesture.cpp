#include "app/pageview/CRangeGesture.h"

using Hit = CSelectionRect::Hit;

CRangeGesture::CRangeGesture(CSelectionRect& selection, CPoint press, int extentWidth,
                             int extentHeight)
    : m_selection(selection),
      m_hit(selection.HitTest(press)),
      m_start(selection.Rect()),
      m_press(press),
      m_width(extentWidth),
      m_height(extentHeight) {
  if (m_hit == Hit::None) m_selection.SetRect({press.x, press.y, press.x, press.y});
}

CRect CRangeGesture::RectAt(CPoint p) const {
  const int dx = p.x - m_press.x, dy = p.y - m_press.y;
  if (m_hit == Hit::None)
    return range::OnPicture({m_press.x, m_press.y, p.x, p.y}, m_width, m_height);
  if (m_hit == Hit::Inside) return range::KeptOnPicture(m_start.Offset(dx, dy), m_width, m_height);
  // Track() normalises, so dragging an edge past the opposite one turns the rectangle over.
  return range::OnPicture(CShapeRectTracker(m_start, true).Track(m_hit, dx, dy), m_width, m_height);
}

void CRangeGesture::Move(CPoint view) { m_selection.SetRect(RectAt(view)); }

bool CRangeGesture::Finish(CPoint view) {
  const CRect r = RectAt(view);
  m_selection.SetRect(r);
  return !(r == m_start);
}
