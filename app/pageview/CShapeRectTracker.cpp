#include "app/pageview/CShapeRectTracker.h"

using Hit = CShapeRectTracker::Hit;

CRect CShapeRectTracker::HandleRect(Hit handle) const {
  if (!m_handles) return {};
  const CRect& r = m_rect;
  constexpr int s = kHandleSize;
  // Edge handles are centred on their edge; every handle lies wholly outside the frame.
  const int cx = r.left + (r.Width() - s) / 2;
  const int cy = r.top + (r.Height() - s) / 2;
  switch (handle) {
    case Hit::TopLeft:
      return {r.left - s, r.top - s, r.left, r.top};
    case Hit::TopRight:
      return {r.right, r.top - s, r.right + s, r.top};
    case Hit::BottomRight:
      return {r.right, r.bottom, r.right + s, r.bottom + s};
    case Hit::BottomLeft:
      return {r.left - s, r.bottom, r.left, r.bottom + s};
    case Hit::Top:
      return {cx, r.top - s, cx + s, r.top};
    case Hit::Right:
      return {r.right, cy, r.right + s, cy + s};
    case Hit::Bottom:
      return {cx, r.bottom, cx + s, r.bottom + s};
    case Hit::Left:
      return {r.left - s, cy, r.left, cy + s};
    default:
      return {};
  }
}

Hit CShapeRectTracker::HitTest(CPoint p) const {
  // Corners first, then the body, then the edge handles: on a frame thinner than a handle
  // (a horizontal or vertical arrow) the middle of the line still moves the shape, while the
  // outer part of its edge handles still resizes it.
  for (Hit h : {Hit::TopLeft, Hit::TopRight, Hit::BottomRight, Hit::BottomLeft}) {
    if (HandleRect(h).Contains(p)) return h;
  }
  CRect body = m_rect;
  if (body.Width() < kMinGrabSize) {
    const int grow = kMinGrabSize - body.Width();
    body.left -= grow / 2;
    body.right += grow - grow / 2;
  }
  if (body.Height() < kMinGrabSize) {
    const int grow = kMinGrabSize - body.Height();
    body.top -= grow / 2;
    body.bottom += grow - grow / 2;
  }
  if (body.Contains(p)) return Hit::Inside;
  for (Hit h : {Hit::Top, Hit::Right, Hit::Bottom, Hit::Left}) {
    if (HandleRect(h).Contains(p)) return h;
  }
  return Hit::None;
}

CursorKind CShapeRectTracker::CursorFor(Hit hit) {
  switch (hit) {
    case Hit::TopLeft:
    case Hit::BottomRight:
      return CursorKind::SizeNWSE;
    case Hit::TopRight:
    case Hit::BottomLeft:
      return CursorKind::SizeNESW;
    case Hit::Left:
    case Hit::Right:
      return CursorKind::SizeWE;
    case Hit::Top:
    case Hit::Bottom:
      return CursorKind::SizeNS;
    case Hit::Inside:
      return CursorKind::Move;
    case Hit::None:
      break;
  }
  return CursorKind::Default;
}

CRect CShapeRectTracker::Track(Hit hit, int dx, int dy) const {
  CRect r = m_rect;
  const bool left = hit == Hit::TopLeft || hit == Hit::BottomLeft || hit == Hit::Left;
  const bool right = hit == Hit::TopRight || hit == Hit::BottomRight || hit == Hit::Right;
  const bool top = hit == Hit::TopLeft || hit == Hit::TopRight || hit == Hit::Top;
  const bool bottom = hit == Hit::BottomLeft || hit == Hit::BottomRight || hit == Hit::Bottom;
  if (hit == Hit::Inside) return r.Offset(dx, dy);
  if (left) r.left += dx;
  if (right) r.right += dx;
  if (top) r.top += dy;
  if (bottom) r.bottom += dy;
  return r.Normalized();
}
