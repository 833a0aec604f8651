#pragma once

#include "app/pageview/CGesture.h"
#include "app/pageview/TextBoxGeometry.h"

class CTextBox;

// An open text box dragged by its window: moved as a whole (move mode), or resized by the grip
// of its border that was pressed. The window shows a frame where the box would go and changes
// only when the drag ends; a rectangle left without width or height keeps the box as it was.
class CTextBoxFrameGesture : public CGesture {
 public:
  // `grip` None moves the box.
  CTextBoxFrameGesture(CTextBox& box, textbox::Grip grip, CPoint press);

  Bounds KeptIn() const override { return Bounds::ClientArea; }
  void Move(CPoint view) override { m_rect = RectAt(view); }
  // True when the box moved or changed size.
  bool Finish(CPoint view) override;

  // Where the box would go now (view units).
  const CRect& Rect() const { return m_rect; }

 private:
  CRect RectAt(CPoint view) const;

  CTextBox& m_box;
  textbox::Grip m_grip;
  CPoint m_press;
  CRect m_start;
  CRect m_rect;
};
