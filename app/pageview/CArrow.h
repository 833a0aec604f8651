#pragma once

#include "app/pageview/ArrowGeometry.h"
#include "app/pageview/CShape.h"

// A straight arrow with a filled head. While it is dragged its rectangle runs from the press
// point to the pointer; Finish normalises it and keeps the tip's corner as a direction code.
class CArrow : public CShape {
 public:
  ShapeType Type() const override { return kShapeArrow; }
  CRect TrackerRect() const override { return m_rect.Normalized(); }
  void MoveBy(int dx, int dy) override { m_rect = m_rect.Offset(dx, dy); }
  bool HasResizeHandles() const override { return true; }
  void ResizeTracker(const CRect& trackerRect) override { SetRect(trackerRect); }

  void Start(CPoint p) { m_rect = {p.x, p.y, p.x, p.y}; }
  void SetEnd(CPoint p) {
    m_rect.right = p.x;
    m_rect.bottom = p.y;
  }
  void Finish() {
    m_code = arrow::DirectionCode(m_rect.TopLeft(), m_rect.BottomRight());
    m_rect = m_rect.Normalized();
    m_finished = true;
  }
  // A finished arrow resized by its frame keeps its direction code.
  void SetRect(const CRect& rect) { m_rect = rect.Normalized(); }

  const CRect& Rect() const { return m_rect; }
  int Code() const { return m_code; }
  bool IsFinished() const { return m_finished; }
  arrow::Lines Lines() const { return arrow::Compute(m_rect, m_code, !m_finished); }

 private:
  CRect m_rect;
  int m_code = 0;
  bool m_finished = false;
};
