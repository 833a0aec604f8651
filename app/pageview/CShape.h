#pragma once

#include "app/pageview/CShapeRectTracker.h"
#include "app/pageview/Geometry.h"

// Shape kinds as the shape list and the history record them.
enum ShapeType : int { kShapeStroke = 0, kShapeArrow = 1, kShapeTextBox = 2 };

// A mark drawn over a picture tab. Positions are in view units: the view coordinates at which
// the mark was drawn. Scrolling moves the marks with the picture; a zoom change or a crop
// leaves them where they are on the window. Shapes are hidden, never freed, when deleted or
// undone; the picture-tab object frees them when it is cleared.
class CShape {
 public:
  virtual ~CShape() = default;
  virtual ShapeType Type() const = 0;
  // The selection frame's rectangle, view units.
  virtual CRect TrackerRect() const = 0;
  virtual void MoveBy(int dx, int dy) = 0;
  // Arrows and text boxes can be resized by the handles of their frame; strokes only move.
  virtual bool HasResizeHandles() const { return false; }
  // Fits the shape to a selection frame dragged to `trackerRect` (view units).
  virtual void ResizeTracker(const CRect& trackerRect) { (void)trackerRect; }
  CShapeRectTracker Tracker() const { return {TrackerRect(), HasResizeHandles()}; }

  bool IsVisible() const { return m_visible; }
  void SetVisible(bool visible) { m_visible = visible; }
  bool IsSelected() const { return m_selected; }
  void SetSelected(bool selected) { m_selected = selected; }

 private:
  bool m_visible = true;
  bool m_selected = false;
};
