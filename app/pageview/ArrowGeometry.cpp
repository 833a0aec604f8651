#include "app/pageview/ArrowGeometry.h"

#include <cmath>
#include <numbers>

namespace arrow {

int DirectionCode(CPoint start, CPoint end) {
  const bool right = end.x >= start.x;
  const bool down = end.y >= start.y;
  if (right) return down ? 0 : 1;
  return down ? 3 : 2;
}

Lines Compute(const CRect& rect, int code, bool dragging) {
  Lines lines;
  if (rect.left == rect.right && rect.top == rect.bottom) return lines;
  lines.empty = false;
  if (dragging) {
    lines.tail = rect.TopLeft();
    lines.tip = rect.BottomRight();
  } else {
    lines.tip.x = (code == 0 || code == 1) ? rect.right : rect.left;
    lines.tip.y = (code == 1 || code == 2) ? rect.top : rect.bottom;
    lines.tail.x = lines.tip.x == rect.right ? rect.left : rect.right;
    lines.tail.y = lines.tip.y == rect.bottom ? rect.top : rect.bottom;
  }
  const double dx = rect.right - rect.left;
  const double dy = rect.bottom - rect.top;
  const double length = std::sqrt(dx * dx + dy * dy);
  const double theta = std::acos(std::fabs(dx) / length);
  constexpr double pi = std::numbers::pi;
  double phi;
  double sign;
  if (dragging) {
    phi = dx >= 0 ? pi - theta : theta;
    sign = dy > 0 ? -1.0 : 1.0;
  } else {
    phi = (code == 0 || code == 1) ? pi - theta : theta;
    sign = ((code == 0 || code == 3) && dy > 0) ? -1.0 : 1.0;
  }
  auto corner = [&](double alpha) {
    // Truncation towards zero, as an int conversion of the sum does.
    return CPoint{static_cast<int>(lines.tip.x + kHeadLength * std::cos(alpha)),
                  static_cast<int>(lines.tip.y + sign * kHeadLength * std::sin(alpha))};
  };
  lines.head1 = corner(phi - pi / 12);
  lines.head2 = corner(phi + pi / 12);
  lines.hasHead = length > kHeadLength;
  return lines;
}

}  // namespace arrow
