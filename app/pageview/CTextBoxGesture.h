#pragma once

#include "app/pageview/CGesture.h"

class CSBImage;
class CTextBox;

// A text box being dragged out: a rubber band from the press point to the pointer. At the end
// the box takes the band's rectangle (a click or a tiny band gives the default size) and
// enters the shape list and the history; its editor is the view's to open.
class CTextBoxGesture : public CGesture {
 public:
  CTextBoxGesture(CSBImage& image, CPoint start);

  void Move(CPoint view) override { m_end = view; }
  bool Finish(CPoint view) override;

  CTextBox* Box() const { return m_box; }
  CPoint Start() const { return m_start; }
  // The rubber band, normalised (view units).
  CRect Band() const { return CRect{m_start.x, m_start.y, m_end.x, m_end.y}.Normalized(); }

 private:
  CSBImage& m_image;
  CTextBox* m_box;
  CPoint m_start;
  CPoint m_end;
};
