#include "app/pageview/CCropGesture.h"

#include <algorithm>

#include "app/pageview/CSBImage.h"
#include "app/pageview/CSelectionRect.h"

namespace range {

namespace {

// The part of `a` outside `b`, as up to four bands: above, below, left and right of `b`.
void Subtract(const CRect& a, const CRect& b, std::vector<CRect>& out) {
  if (a.IsEmpty()) return;
  const CRect common = a.Intersect(b);
  if (common.IsEmpty()) {
    out.push_back(a);
    return;
  }
  const auto add = [&out](const CRect& r) {
    if (!r.IsEmpty()) out.push_back(r);
  };
  add({a.left, a.top, a.right, common.top});
  add({a.left, common.bottom, a.right, a.bottom});
  add({a.left, common.top, common.left, common.bottom});
  add({common.right, common.top, a.right, common.bottom});
}

}  // namespace

std::vector<CRect> Difference(const CRect& a, const CRect& b) {
  std::vector<CRect> out;
  Subtract(a, b, out);
  Subtract(b, a, out);
  return out;
}

}  // namespace range

CCropGesture::CCropGesture(CSBImage& image, CPoint anchor, int extentWidth, int extentHeight)
    : m_image(image),
      m_anchor(anchor),
      m_point(anchor),
      m_width(extentWidth),
      m_height(extentHeight) {}

CRect CCropGesture::Rect() const {
  return range::OnPicture({m_anchor.x, m_anchor.y, m_point.x, m_point.y}, m_width, m_height);
}

void CCropGesture::Move(CPoint view) {
  const CRect before = Rect();
  m_point = view;
  m_strips = range::Difference(before, Rect());
}

bool CCropGesture::Finish(CPoint view) {
  Move(view);
  return m_image.Crop(Rect());
}
