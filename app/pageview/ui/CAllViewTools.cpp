#include <wx/window.h>

#include <algorithm>
#include <cstdlib>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/TextBoxGeometry.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/CTextBoxEdit.h"
#include "app/res/Resource.h"

// Mouse input of the page view: the pen, arrow and text box tools and shape selection.
// Points are turned into view units first; marks keep view units from then on.

CTextBoxEdit* CAllView::EditorOf(CTextBox* box) {
  return box ? dynamic_cast<CTextBoxEdit*>(box->Window()) : nullptr;
}

void CAllView::OpenTextBox(CSBImage&, CTextBox* box) {
  CTextBoxEdit* edit = EditorOf(box);
  if (!edit) edit = new CTextBoxEdit(this, box);
  PlaceTextBoxWindows();
  edit->ShowEditor(true);
  edit->SetFocus();
  m_focusedBox = box;
}

bool CAllView::OfferPressToShapes(CSBImage& image, CPoint view) {
  image.DeselectAll();
  const auto& shapes = image.Shapes();
  for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
    CShape* shape = it->shape;
    if (!shape->IsVisible()) continue;
    if (it->shapeType == kShapeTextBox) {
      auto* box = static_cast<CTextBox*>(shape);
      if (box->Rect().Contains(view)) {
        OpenTextBox(image, box);
        return true;
      }
    } else if (shape->TrackerRect().Contains(view)) {
      return false;  // the top-most mark under the pointer ends the search
    }
  }
  return false;
}

CPoint CAllView::KeepInPicture(CPoint view) {
  const CPoint kept{std::clamp(view.x, 0, std::max(0, m_state.ExtentWidth() - 1)),
                    std::clamp(view.y, 0, std::max(0, m_state.ExtentHeight() - 1))};
  if (!(kept == view)) WarpPointer(ToClient(kept).x, ToClient(kept).y);
  return kept;
}

void CAllView::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  CSBImage* image = Image();
  if (!image || !image->IsLoaded()) return;
  const CPoint view = ToView(event.GetPosition());
  if (OfferPressToShapes(*image, view)) return;
  if (m_focusedBox) {
    if (CTextBoxEdit* edit = EditorOf(m_focusedBox)) edit->ShowEditor(false);
    m_focusedBox = nullptr;
  }
  Refresh(false);
  if (image->EditFlag() != 1 || !m_state.InPicture(view)) return;

  switch (image->Tool()) {
    case kToolPen:
      m_stroke = image->NewStroke(PenAt(m_doc ? m_doc->PenIndex() : 0));
      m_stroke->AddPoint(view);
      m_lastPoint = view;
      m_shiftAxis = 0;
      if (m_doc) m_doc->SetModifiedFlag();
      CaptureMouse();
      break;
    case kToolArrow:
      m_arrow = image->NewArrow();
      m_arrow->Start(view);
      if (m_doc) m_doc->SetModifiedFlag();
      CaptureMouse();
      break;
    case kToolTextBox:
      m_newBox = image->NewTextBox();
      m_boxStart = m_boxEnd = view;
      if (m_doc) m_doc->SetModifiedFlag();
      CaptureMouse();
      break;
    case kToolShapeSelect: {
      // Arrows first, then strokes: the first one hit is selected and can be dragged.
      CShape* hit = nullptr;
      for (auto& a : image->Arrows()) {
        if (!hit && a->IsVisible() && a->IsFinished() && a->TrackerRect().Contains(view)) hit = a.get();
      }
      for (auto& s : image->Strokes()) {
        if (!hit && s->IsVisible() && s->TrackerRect().Contains(view)) hit = s.get();
      }
      if (hit) {
        hit->SetSelected(true);
        m_moving = hit;
        m_moveFrom = view;
        CaptureMouse();
      }
      Refresh(false);
      break;
    }
    default: break;
  }
}

void CAllView::OnMotion(wxMouseEvent& event) {
  CPoint view = ToView(event.GetPosition());
  if (!HasCapture()) {
    if (m_state.InPicture(view)) SetPane(res::kIdPaneCursor, wxString::Format("%d, %d", view.x, view.y));
    event.Skip();
    return;
  }
  if (m_moving) {
    // Moving by the frame keeps the shape inside the client area.
    const wxSize client = GetClientSize();
    const wxPoint c = event.GetPosition();
    view = ToView({std::clamp(c.x, 0, client.x - 1), std::clamp(c.y, 0, client.y - 1)});
    m_moving->MoveBy(view.x - m_moveFrom.x, view.y - m_moveFrom.y);
    m_moveFrom = view;
    Refresh(false);
    return;
  }
  view = KeepInPicture(view);
  if (m_stroke) {
    if (event.ShiftDown()) {
      if (m_shiftAxis == 0) {
        m_shiftAxis = std::abs(view.y - m_lastPoint.y) < std::abs(view.x - m_lastPoint.x) ? 1 : 2;
      }
      if (m_shiftAxis == 1) view.y = m_lastPoint.y;
      if (m_shiftAxis == 2) view.x = m_lastPoint.x;
    } else {
      m_shiftAxis = 0;
    }
    m_stroke->AddPoint(view);
    m_lastPoint = view;
    SetPane(res::kIdPaneCursor, wxString::Format("%d, %d", view.x, view.y));
  } else if (m_arrow) {
    const CPoint start = m_arrow->Rect().TopLeft();
    SetPane(res::kIdPaneSelection, wxString::Format("%d X %d", view.x - start.x, view.y - start.y));
    m_arrow->SetEnd(view);
  } else if (m_newBox) {
    SetPane(res::kIdPaneSelection, wxString::Format("%d X %d", std::abs(view.x - m_boxStart.x),
                                                    std::abs(view.y - m_boxStart.y)));
    m_boxEnd = view;
  }
  Refresh(false);
}

void CAllView::FinishDrawing(CPoint view) {
  CSBImage* image = Image();
  if (!image) return;
  if (m_stroke) {
    if (m_shiftAxis == 1) view.y = m_lastPoint.y;
    if (m_shiftAxis == 2) view.x = m_lastPoint.x;
    m_stroke->AddPoint(view);
    m_stroke->Finish();
    image->AddShape(m_stroke);
    m_stroke = nullptr;
    m_shiftAxis = 0;
  } else if (m_arrow) {
    m_arrow->SetEnd(view);
    m_arrow->Finish();
    image->AddShape(m_arrow);
    m_arrow = nullptr;
  } else if (m_newBox) {
    CTextBox* box = m_newBox;
    m_newBox = nullptr;
    box->SetRect(textbox::CreationRect(m_boxStart, view));
    image->AddShape(box);
    OpenTextBox(*image, box);
  }
  SetPane(res::kIdPaneSelection, wxString());
  Refresh(false);
}

void CAllView::OnLeftUp(wxMouseEvent& event) {
  if (!HasCapture()) return;
  ReleaseMouse();
  if (m_moving) {
    m_moving = nullptr;
    Refresh(false);
    return;
  }
  FinishDrawing(KeepInPicture(ToView(event.GetPosition())));
}

void CAllView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  m_moving = nullptr;
  if (m_stroke || m_arrow || m_newBox) FinishDrawing(m_lastPoint);
}

void CAllView::OnSetCursor(wxSetCursorEvent& event) {
  CSBImage* image = Image();
  const CPoint view = ToView({event.GetX(), event.GetY()});
  if (!image || image->EditFlag() != 1 || !m_state.InPicture(view)) {
    event.Skip();
    return;
  }
  switch (image->Tool()) {
    case kToolArrow:
    case kToolTextBox:
    case kToolRangeSelect: event.SetCursor(wxCursor(wxCURSOR_CROSS)); return;
    case kToolShapeSelect:
      for (const _SHAPE& s : image->Shapes()) {
        if (s.shapeType != kShapeTextBox && s.shape->IsVisible() &&
            s.shape->TrackerRect().Contains(view)) {
          event.SetCursor(wxCursor(wxCURSOR_SIZING));
          return;
        }
      }
      break;
    default: break;
  }
  event.Skip();
}
