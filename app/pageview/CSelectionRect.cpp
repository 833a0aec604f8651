#include "app/pageview/CSelectionRect.h"

#include <algorithm>

CSelectionRect::Hit CSelectionRect::HitTest(CPoint view) const {
  if (IsEmpty()) return Hit::None;
  return Tracker().HitTest(view);
}

void CSelectionRect::Lift(CxImage pixels) {
  m_lifted = std::move(pixels);
  m_liftRect = m_rect;
}

void CSelectionRect::DropLifted() {
  m_lifted.Destroy();
  m_liftRect = {};
}

void CSelectionRect::Clear() {
  m_rect = {};
  DropLifted();
}

namespace range {

CRect OnPicture(const CRect& rect, int extentWidth, int extentHeight) {
  return rect.Normalized().Intersect({0, 0, extentWidth, extentHeight});
}

CRect KeptOnPicture(const CRect& rect, int extentWidth, int extentHeight) {
  CRect r = rect.Normalized();
  const int dx = r.right > extentWidth ? extentWidth - r.right : 0;
  const int dy = r.bottom > extentHeight ? extentHeight - r.bottom : 0;
  r = r.Offset(dx, dy);
  r = r.Offset(r.left < 0 ? -r.left : 0, r.top < 0 ? -r.top : 0);
  return OnPicture(r, extentWidth, extentHeight);
}

}  // namespace range
