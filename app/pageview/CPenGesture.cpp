#include "app/pageview/CPenGesture.h"

#include <cstdlib>

#include "app/pageview/CSBImage.h"

CPenGesture::CPenGesture(CSBImage& image, const PenDef& pen, CPoint start)
    : m_image(image), m_stroke(image.NewStroke(pen)), m_last(start) {
  m_stroke->AddPoint(start);
}

void CPenGesture::Move(CPoint view) {
  if (m_shift) {
    if (m_axis == 0) m_axis = std::abs(view.y - m_last.y) < std::abs(view.x - m_last.x) ? 1 : 2;
    if (m_axis == 1) view.y = m_last.y;
    if (m_axis == 2) view.x = m_last.x;
  } else {
    m_axis = 0;
  }
  m_stroke->AddPoint(view);
  m_last = view;
}

bool CPenGesture::Finish(CPoint view) {
  if (m_axis == 1) view.y = m_last.y;
  if (m_axis == 2) view.x = m_last.x;
  m_stroke->AddPoint(view);
  m_stroke->Finish();
  m_image.AddShape(m_stroke);
  return true;
}
