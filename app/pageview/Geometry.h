#pragma once

#include <algorithm>

// Integer points and rectangles of the page view. A rectangle holds its left and top edges
// and the edges one past its right and bottom, as window rectangles do; it may be
// unnormalised while the user drags one of its corners.
struct CPoint {
  int x = 0;
  int y = 0;

  friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  CPoint TopLeft() const { return {left, top}; }
  CPoint BottomRight() const { return {right, bottom}; }

  bool Contains(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

  CRect Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }
  CRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  CRect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
  // The common part of two normalised rectangles; empty (all zero) when they do not meet.
  CRect Intersect(const CRect& o) const {
    CRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
    return r.IsEmpty() ? CRect{} : r;
  }

  friend bool operator==(const CRect&, const CRect&) = default;
};
