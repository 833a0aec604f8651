#include "app/pageview/CTextBoxFrameGesture.h"

#include "app/pageview/CTextBox.h"

CTextBoxFrameGesture::CTextBoxFrameGesture(CTextBox& box, textbox::Grip grip, CPoint press)
    : m_box(box), m_grip(grip), m_press(press), m_start(box.Rect()), m_rect(box.Rect()) {}

CRect CTextBoxFrameGesture::RectAt(CPoint p) const {
  const int dx = p.x - m_press.x, dy = p.y - m_press.y;
  return m_grip == textbox::Grip::None ? m_start.Offset(dx, dy)
                                       : textbox::ResizeByGrip(m_start, m_grip, dx, dy);
}

bool CTextBoxFrameGesture::Finish(CPoint view) {
  m_rect = RectAt(view);
  if (m_rect.Width() <= 0 || m_rect.Height() <= 0) return false;
  m_box.SetRect(m_rect);
  return !(m_rect == m_start);
}
