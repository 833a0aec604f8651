#include "app/pageview/CShapeMoveGesture.h"

#include <cassert>

#include "app/pageview/CShape.h"

CShapeMoveGesture::CShapeMoveGesture(std::vector<CShape*> pressed, CShapeRectTracker::Hit grabbed,
                                     CPoint press)
    : m_pressed(std::move(pressed)), m_hit(grabbed), m_press(press) {
  assert(!m_pressed.empty());
  m_start = Moving()->TrackerRect();
  Moving()->SetSelected(true);
}

void CShapeMoveGesture::Move(CPoint view) {
  CShape* shape = Moving();
  const CShapeRectTracker start(m_start, shape->HasResizeHandles());
  const CRect target = start.Track(m_hit, view.x - m_press.x, view.y - m_press.y);
  if (m_hit == CShapeRectTracker::Hit::Inside) {
    const CRect now = shape->TrackerRect();
    shape->MoveBy(target.left - now.left, target.top - now.top);
  } else {
    shape->ResizeTracker(target);
  }
}

bool CShapeMoveGesture::Finish(CPoint view) {
  Move(view);
  if (!(Moving()->TrackerRect() == m_start)) return true;
  for (CShape* shape : m_pressed) shape->SetSelected(true);
  return false;
}
