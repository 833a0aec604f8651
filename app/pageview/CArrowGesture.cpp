#include "app/pageview/CArrowGesture.h"

#include "app/pageview/CSBImage.h"

CArrowGesture::CArrowGesture(CSBImage& image, CPoint start)
    : m_image(image), m_arrow(image.NewArrow()), m_start(start) {
  m_arrow->Start(start);
}

void CArrowGesture::Move(CPoint view) { m_arrow->SetEnd(view); }

bool CArrowGesture::Finish(CPoint view) {
  m_arrow->SetEnd(view);
  m_arrow->Finish();
  m_image.AddShape(m_arrow);
  return true;
}
