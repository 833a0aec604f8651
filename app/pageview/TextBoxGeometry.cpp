#include "app/pageview/TextBoxGeometry.h"

#include <cstdlib>

namespace textbox {

CRect CreationRect(CPoint start, CPoint end) {
  CRect r = CRect{start.x, start.y, end.x, end.y}.Normalized();
  if (r.Width() < kMinDragSize && r.Height() < kMinDragSize) {
    r.right = r.left + kDefaultWidth;
    r.bottom = r.top + kDefaultHeight;
  }
  return r;
}

Grip HitGrip(const CRect& w, CPoint p, int border) {
  if (!w.Contains(p)) return Grip::None;
  const bool left = p.x < w.left + border;
  const bool right = p.x >= w.right - border;
  const bool top = p.y < w.top + border;
  const bool bottom = p.y >= w.bottom - border;
  if (top && left) return Grip::TopLeft;
  if (top && right) return Grip::TopRight;
  if (bottom && left) return Grip::BottomLeft;
  if (bottom && right) return Grip::BottomRight;
  if (left) return Grip::Left;
  if (right) return Grip::Right;
  if (top) return Grip::Top;
  if (bottom) return Grip::Bottom;
  return Grip::None;
}

CursorKind CursorForGrip(Grip grip) {
  switch (grip) {
    case Grip::Left:
    case Grip::Right:
      return CursorKind::SizeWE;
    case Grip::Top:
    case Grip::Bottom:
      return CursorKind::SizeNS;
    case Grip::TopLeft:
    case Grip::BottomRight:
      return CursorKind::SizeNWSE;
    case Grip::TopRight:
    case Grip::BottomLeft:
      return CursorKind::SizeNESW;
    case Grip::None:
      break;
  }
  return CursorKind::IBeam;
}

CRect ResizeByGrip(const CRect& w, Grip grip, int dx, int dy) {
  CRect r = w;
  switch (grip) {
    case Grip::Left:
      r.left += dx;
      break;
    case Grip::Right:
      r.right += dx;
      break;
    case Grip::Top:
      r.top += dy;
      break;
    case Grip::Bottom:
      r.bottom += dy;
      break;
    case Grip::TopLeft:
      r.left += dx;
      r.top += dy;
      break;
    case Grip::TopRight:
      r.right += dx;
      r.top += dy;
      break;
    case Grip::BottomLeft:
      r.left += dx;
      r.bottom += dy;
      break;
    case Grip::BottomRight:
      r.right += dx;
      r.bottom += dy;
      break;
    case Grip::None:
      break;
  }
  return r.Normalized();
}

}  // namespace textbox
