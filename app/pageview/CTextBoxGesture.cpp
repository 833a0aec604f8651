#include "app/pageview/CTextBoxGesture.h"

#include "app/pageview/CSBImage.h"
#include "app/pageview/TextBoxGeometry.h"

CTextBoxGesture::CTextBoxGesture(CSBImage& image, CPoint start)
    : m_image(image), m_box(image.NewTextBox()), m_start(start), m_end(start) {}

bool CTextBoxGesture::Finish(CPoint view) {
  m_end = view;
  m_box->SetRect(textbox::CreationRect(m_start, view));
  m_image.AddShape(m_box);
  return true;
}
