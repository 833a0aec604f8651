#include <wx/window.h>

#include <algorithm>
#include <cstdlib>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/CArrowGesture.h"
#include "app/pageview/CCropGesture.h"
#include "app/pageview/CPenGesture.h"
#include "app/pageview/CRangeGesture.h"
#include "app/pageview/CShapeMoveGesture.h"
#include "app/pageview/CTextBoxGesture.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/CTextBoxEdit.h"
#include "app/pageview/ui/Cursors.h"
#include "app/res/Resource.h"

// Mouse input of the page view: the pen, arrow and text box tools and shape selection. A press
// starts a drag object (a gesture); moves, the release and a lost capture all go to it.
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
          StartGesture(std::make_unique<CShapeMoveGesture>(std::vector<CShape*>{box},
                                                           CShapeRectTracker::Hit::Inside, view),
                       view);
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
      if (m_doc) m_doc->SetModifiedFlag();
      StartGesture(
          std::make_unique<CPenGesture>(*image, PenAt(m_doc ? m_doc->PenIndex() : 0), view), view);
      break;
    case kToolArrow:
      if (m_doc) m_doc->SetModifiedFlag();
      StartGesture(std::make_unique<CArrowGesture>(*image, view), view);
      break;
    case kToolTextBox:
      if (m_doc) m_doc->SetModifiedFlag();
      StartGesture(std::make_unique<CTextBoxGesture>(*image, view), view);
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

void CAllView::StartGesture(std::unique_ptr<CGesture> gesture, CPoint view) {
  m_gesture = std::move(gesture);
  m_gesture->SetLastPoint(view);
  CaptureMouse();
  Refresh(false);
}

void CAllView::OnMotion(wxMouseEvent& event) {
  CPoint view = ToView(event.GetPosition());
  if (!HasCapture()) {
    if (m_state.InPicture(view))
      SetPane(res::kIdPaneCursor, wxString::Format("%d, %d", view.x, view.y));
    event.Skip();
    return;
  }
  if (m_gesture) MoveGesture(event.GetPosition(), event.ShiftDown());
}

void CAllView::MoveGesture(wxPoint client, bool shift) {
  if (CCropGesture* crop = CropDrag()) {
    MoveCrop(*crop, client);
    return;
  }
  CPoint view;
  if (m_gesture->KeptIn() == CGesture::Bounds::Picture) {
    view = KeepInPicture(ToView(client));
  } else {
    // Frames are dragged within the client area: the pointer is put back on its edge.
    view = KeepInClient(client);
    const wxPoint kept = ToClient(view);
    if (kept != client) WarpPointer(kept.x, kept.y);
  }
  m_gesture->SetShift(shift);
  m_gesture->Move(view);
  m_gesture->SetLastPoint(view);
  if (const auto* pen = dynamic_cast<const CPenGesture*>(m_gesture.get())) {
    const CPoint at = pen->LastAdded();
    SetPane(res::kIdPaneCursor, wxString::Format("%d, %d", at.x, at.y));
  } else if (const auto* arrow = dynamic_cast<const CArrowGesture*>(m_gesture.get())) {
    const CPoint start = arrow->Start();
    SetPane(res::kIdPaneSelection, wxString::Format("%d X %d", view.x - start.x, view.y - start.y));
  } else if (const auto* box = dynamic_cast<const CTextBoxGesture*>(m_gesture.get())) {
    const CPoint start = box->Start();
    SetPane(res::kIdPaneSelection,
            wxString::Format("%d X %d", std::abs(view.x - start.x), std::abs(view.y - start.y)));
  } else if (const auto* move = dynamic_cast<const CShapeMoveGesture*>(m_gesture.get())) {
    if (move->Moving()->Type() == kShapeTextBox) PlaceTextBoxWindows();
  }
  Refresh(false);
}

void CAllView::EndGesture(CPoint view) {
  std::unique_ptr<CGesture> gesture = std::move(m_gesture);
  const bool crop = dynamic_cast<const CCropGesture*>(gesture.get()) != nullptr;
  const bool changed = gesture->Finish(view);
  if (crop) {
    EndCrop(changed);
  } else if (const auto* box = dynamic_cast<const CTextBoxGesture*>(gesture.get())) {
    if (CSBImage* image = Image()) OpenTextBox(*image, box->Box());
  } else if (const auto* move = dynamic_cast<const CShapeMoveGesture*>(gesture.get())) {
    if (move->Moving()->Type() == kShapeTextBox) PlaceTextBoxWindows();
    // Moving or resizing a mark changes what a save writes, so it must not be lost silently.
    if (changed && m_doc) m_doc->SetModifiedFlag();
  } else if (dynamic_cast<const CRangeGesture*>(gesture.get())) {
    // Moving or stretching floating pixels changes what a save writes.
    CSBImage* image = Image();
    if (changed && m_doc && image && image->Selection().IsFloating()) m_doc->SetModifiedFlag();
  }
  if (!crop) SetPane(res::kIdPaneSelection, wxString());
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
  if (!m_gesture) return;
  const CPoint at = KeepInClient(event.GetPosition());
  const bool crop = CropDrag() != nullptr;
  if (crop || m_gesture->KeptIn() == CGesture::Bounds::Picture) {
    // The crop's pointer is kept in the client area too, on the visible part of the picture.
    EndGesture(KeepInPicture(crop ? at : ToView(event.GetPosition())));
  } else {
    EndGesture(at);
  }
}

void CAllView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // Another window took the mouse mid-drag: the drag ends where the pointer last was, as if
  // the button had come up there.
  if (m_gesture) EndGesture(m_gesture->LastPoint());
}

void CAllView::StartTracking(CSBImage& image, CPoint view) {
  using Hit = CShapeRectTracker::Hit;
  // Every arrow whose frame is under the press, in list order, then the first stroke, else
  // the first frame around a text box (a press on a box's window opens the box instead).
  std::vector<CShape*> pressed;
  const auto hits = [&](CShape* shape) {
    return shape->IsVisible() && shape->Tracker().HitTest(view) != Hit::None;
  };
  for (auto& a : image.Arrows()) {
    if (a->IsFinished() && hits(a.get())) pressed.push_back(a.get());
  }
  CShape* other = nullptr;
  for (auto& s : image.Strokes()) {
    if (!other && hits(s.get())) other = s.get();
  }
  for (auto& b : image.TextBoxes()) {
    if (!other && hits(b.get())) other = b.get();
  }
  if (other) pressed.push_back(other);
  if (pressed.empty()) {
    Refresh(false);
    return;
  }
  const Hit grabbed = pressed.front()->Tracker().HitTest(view);
  StartGesture(std::make_unique<CShapeMoveGesture>(std::move(pressed), grabbed, view), view);
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
