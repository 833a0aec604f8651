#pragma once

#include <cstdint>
#include <vector>

#include "app/pageview/CShape.h"
#include "app/pageview/PenTable.h"

// A pen, highlighter or eraser stroke: a poly-line of the points the pointer passed, in view
// units, drawn with the pen's width and ARGB colour.
class CStroke : public CShape {
 public:
  explicit CStroke(const PenDef& pen) : m_width(pen.width), m_argb(pen.argb) {}

  ShapeType Type() const override { return kShapeStroke; }
  CRect TrackerRect() const override { return m_drawn.Offset(m_offset.x, m_offset.y); }
  void MoveBy(int dx, int dy) override { m_offset = {m_offset.x + dx, m_offset.y + dy}; }

  void AddPoint(CPoint p) { m_points.push_back(p); }
  // Fixes the drawn rectangle: the points' bounding box grown by the width on every side.
  void Finish();

  int Width() const { return m_width; }
  uint32_t Argb() const { return m_argb; }
  const std::vector<CPoint>& Points() const { return m_points; }
  // How far the stroke was moved since it was drawn.
  CPoint Offset() const { return m_offset; }
  const CRect& DrawnRect() const { return m_drawn; }

 private:
  int m_width;
  uint32_t m_argb;
  std::vector<CPoint> m_points;
  CRect m_drawn;
  CPoint m_offset;
};
