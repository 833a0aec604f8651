#include <wx/window.h>

#include <algorithm>
#include <cstdlib>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/TextBoxGeometry.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/CTextBoxEdit.h"
#include "app/pageview/ui/Cursors.h"
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

bool CAllView::IsOpen(CTextBox* box) {
  CTextBoxEdit* edit = EditorOf(box);
  return edit && edit->IsShown();
}

void CAllView::CloseFocusedBox() {
  if (!m_focusedBox) return;
  if (CTextBoxEdit* edit = EditorOf(m_focusedBox)) edit->ShowEditor(false);
  m_focusedBox = nullptr;
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
        if (box->IsMoveMode() && !IsOpen(box)) {
          // Shape selection moves a closed box from here. Opening its editor under the held
          // button would hand the drag to the text control, which takes it for dragging text.
          CloseFocusedBox();
          box->SetSelected(true);
          m_pressedShapes = {box};
          m_moving = box;
          m_trackHit = CShapeRectTracker::Hit::Inside;
          m_trackStart = box->TrackerRect();
          m_moveFrom = m_lastPoint = view;
          CaptureMouse();
          Refresh(false);
          return true;
        }
        OpenTextBox(image, box);
        // The press goes on to the window, so a move or a resize starts where it was.
        if (CTextBoxEdit* edit = EditorOf(box)) {
          wxMouseEvent press(wxEVT_LEFT_DOWN);
          const wxPoint at = ToClient(view) - edit->GetPosition() - edit->GetClientAreaOrigin();
          press.SetPosition(at);
          press.m_leftDown = true;
          press.SetEventObject(edit);
          edit->GetEventHandler()->ProcessEvent(press);
        }
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
  CloseFocusedBox();
  Refresh(false);
  if (!m_state.InPicture(view)) return;
  if (image->EditFlag() != 1) {
    BeginRangeOrCrop(*image, view);
    return;
  }

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
      m_lastPoint = view;
      if (m_doc) m_doc->SetModifiedFlag();
      CaptureMouse();
      break;
    case kToolTextBox:
      m_newBox = image->NewTextBox();
      m_boxStart = m_boxEnd = m_lastPoint = view;
      if (m_doc) m_doc->SetModifiedFlag();
      CaptureMouse();
      break;
    case kToolShapeSelect:
      StartTracking(*image, view);
      break;
    case kToolRangeSelect:
      BeginRangeOrCrop(*image, view);
      break;
    default:
      break;
  }
}

void CAllView::OnMotion(wxMouseEvent& event) {
  CPoint view = ToView(event.GetPosition());
  if (!HasCapture()) {
    if (m_state.InPicture(view))
      SetPane(res::kIdPaneCursor, wxString::Format("%d, %d", view.x, view.y));
    event.Skip();
    return;
  }
  if (m_gesture) {
    MoveGesture(event.GetPosition());
    return;
  }
  if (m_moving) {
    m_lastPoint = KeepInClient(event.GetPosition());
    TrackTo(m_lastPoint);
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
  // Where the drag ends should the capture be taken away before the button comes up.
  m_lastPoint = view;
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

CPoint CAllView::KeepInClient(wxPoint client) const {
  const wxSize size = GetClientSize();
  return ToView({std::clamp(client.x, 0, std::max(0, size.x - 1)),
                 std::clamp(client.y, 0, std::max(0, size.y - 1))});
}

void CAllView::OnLeftUp(wxMouseEvent& event) {
  if (!HasCapture()) return;
  ReleaseMouse();
  if (m_gesture) {
    // The range tool's pointer stays in the client area, the crop's on the picture.
    // Both are kept in the client area; the crop's is also kept on the picture.
    const CPoint at = KeepInClient(event.GetPosition());
    EndGesture(m_cropDrag ? KeepInPicture(at) : at);
    return;
  }
  if (m_moving) {
    EndTracking(KeepInClient(event.GetPosition()));
    return;
  }
  FinishDrawing(KeepInPicture(ToView(event.GetPosition())));
}

void CAllView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // Another window took the mouse mid-drag: the drag ends where the pointer last was, as if
  // the button had come up there.
  if (m_gesture) {
    EndGesture(m_lastPoint);
  } else if (m_moving) {
    EndTracking(m_lastPoint);
  } else if (m_stroke || m_arrow || m_newBox) {
    FinishDrawing(m_lastPoint);
  }
}

void CAllView::StartTracking(CSBImage& image, CPoint view) {
  using Hit = CShapeRectTracker::Hit;
  // Every arrow whose frame is under the press, in list order, then the first stroke, else
  // the first frame around a text box (a press on a box's window opens the box instead).
  m_pressedShapes.clear();
  const auto hits = [&](CShape* shape) {
    return shape->IsVisible() && shape->Tracker().HitTest(view) != Hit::None;
  };
  for (auto& a : image.Arrows()) {
    if (a->IsFinished() && hits(a.get())) m_pressedShapes.push_back(a.get());
  }
  CShape* other = nullptr;
  for (auto& s : image.Strokes()) {
    if (!other && hits(s.get())) other = s.get();
  }
  for (auto& b : image.TextBoxes()) {
    if (!other && hits(b.get())) other = b.get();
  }
  if (other) m_pressedShapes.push_back(other);
  if (!m_pressedShapes.empty()) {
    CShape* first = m_pressedShapes.front();
    first->SetSelected(true);
    m_moving = first;
    m_trackHit = first->Tracker().HitTest(view);
    m_trackStart = first->TrackerRect();
    m_moveFrom = m_lastPoint = view;
    CaptureMouse();
  }
  Refresh(false);
}

void CAllView::EndTracking(CPoint view) {
  TrackTo(view);
  if (!(m_moving->TrackerRect() == m_trackStart)) {
    // Moving or resizing a mark changes what a save writes, so it must not be lost silently.
    if (m_doc) m_doc->SetModifiedFlag();
  } else {
    // The first frame did not change: the press goes on to the other marks under it, which
    // are selected in their turn.
    for (CShape* shape : m_pressedShapes) shape->SetSelected(true);
  }
  m_pressedShapes.clear();
  m_moving = nullptr;
  m_trackHit = CShapeRectTracker::Hit::None;
  Refresh(false);
}

void CAllView::TrackTo(CPoint view) {
  const CShapeRectTracker start(m_trackStart, m_moving->HasResizeHandles());
  const CRect target = start.Track(m_trackHit, view.x - m_moveFrom.x, view.y - m_moveFrom.y);
  if (m_trackHit == CShapeRectTracker::Hit::Inside) {
    const CRect now = m_moving->TrackerRect();
    m_moving->MoveBy(target.left - now.left, target.top - now.top);
  } else {
    m_moving->ResizeTracker(target);
  }
  if (m_moving->Type() == kShapeTextBox) PlaceTextBoxWindows();
  Refresh(false);
}

CursorKind CAllView::CursorAt(CPoint view) const {
  CSBImage* image = Image();
  if (!image || !m_state.InPicture(view)) return CursorKind::Default;
  if (image->EditFlag() != 1) return CursorKind::Cross;
  switch (image->Tool()) {
    case kToolArrow:
    case kToolTextBox:
      return CursorKind::Cross;
    case kToolRangeSelect: {
      const CShapeRectTracker::Hit hit = image->Selection().HitTest(view);
      return hit == CShapeRectTracker::Hit::None ? CursorKind::Cross
                                                 : CShapeRectTracker::CursorFor(hit);
    }
    case kToolShapeSelect:
      for (const _SHAPE& s : image->Shapes()) {
        if (!s.shape->IsVisible()) continue;
        const CShapeRectTracker tracker = s.shape->Tracker();
        const CShapeRectTracker::Hit hit = tracker.HitTest(view);
        if (hit != CShapeRectTracker::Hit::None) return CShapeRectTracker::CursorFor(hit);
      }
      break;
    default:
      break;
  }
  return CursorKind::Default;
}

void CAllView::OnSetCursor(wxSetCursorEvent& event) {
  const CursorKind kind = CursorAt(ToView({event.GetX(), event.GetY()}));
  if (kind == CursorKind::Default) {
    event.Skip();
    return;
  }
  event.SetCursor(CursorOf(kind));
}

void CAllView::SetFrameFeedback(std::optional<CRect> rect) {
  if (rect == m_feedback) return;
  m_feedback = rect;
  Refresh(false);
}
