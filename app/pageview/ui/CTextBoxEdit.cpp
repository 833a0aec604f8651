#include "app/pageview/ui/CTextBoxEdit.h"

#include <wx/fontenum.h>

#include <algorithm>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/Cursors.h"
#include "app/res/Resource.h"

const wxFont& TextBoxFont() {
  static const wxFont font = [] {
    wxString face = wxString::FromUTF8("ＭＳ ゴシック");
    if (!wxFontEnumerator::IsValidFacename(face)) {
      face = wxFontEnumerator::IsValidFacename("IPAGothic") ? "IPAGothic" : "Sans";
    }
    wxFont f(wxFontInfo(wxSize(0, 18)).Family(wxFONTFAMILY_SWISS).FaceName(face));
    return f;
  }();
  return font;
}

CTextBoxEdit::CTextBoxEdit(CAllView* view, CTextBox* box)
    : wxTextCtrl(view, box->WindowId(), wxString::FromUTF8(box->Text()), wxDefaultPosition,
                 wxDefaultSize, wxTE_MULTILINE | wxTE_NO_VSCROLL | wxBORDER_SIMPLE),
      m_view(view),
      m_box(box) {
  Hide();
  SetFont(TextBoxFont());
  SetForegroundColour(*wxBLACK);
  SetBackgroundColour(*wxWHITE);
  box->SetWindow(this);
  Bind(wxEVT_TEXT, &CTextBoxEdit::OnText, this);
  Bind(wxEVT_KILL_FOCUS, &CTextBoxEdit::OnKillFocus, this);
  Bind(wxEVT_KEY_DOWN, &CTextBoxEdit::OnKeyDown, this);
  Bind(wxEVT_LEFT_DOWN, &CTextBoxEdit::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CTextBoxEdit::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CTextBoxEdit::OnLeftUp, this);
  Bind(wxEVT_SET_CURSOR, &CTextBoxEdit::OnSetCursor, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CTextBoxEdit::OnCaptureLost, this);
}

void CTextBoxEdit::ShowEditor(bool show) {
  if (show && m_box->IsVisible()) {
    Show();
  } else {
    Hide();
  }
  m_view->Refresh(false);
}

void CTextBoxEdit::DestroyEditor() {
  m_box->SetWindow(nullptr);
  Destroy();
}

void CTextBoxEdit::OnText(wxCommandEvent& event) {
  m_box->SetText(GetValue().utf8_string());
  if (m_view->Document()) m_view->Document()->SetModifiedFlag();
  event.Skip();
}

void CTextBoxEdit::OnKillFocus(wxFocusEvent& event) {
  // Focus moving away ends the edit; the view paints the text from now on.
  CallAfter([this] {
    if (!HasFocus()) ShowEditor(false);
  });
  event.Skip();
}

void CTextBoxEdit::OnKeyDown(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_DELETE && m_view->Document()) {
    wxCommandEvent del(wxEVT_MENU, res::kIdShapeDelete);
    m_view->Document()->ProcessEvent(del);
  }
  event.Skip();
}

CursorKind CTextBoxEdit::CursorKindAt(wxPoint client) const {
  if (m_box->IsMoveMode()) return CursorKind::Move;
  // The grab band runs along the inside of the whole window, border included.
  const wxPoint origin = GetClientAreaOrigin();
  const wxSize size = GetSize();
  const CRect window{0, 0, size.x, size.y};
  const CPoint p{client.x + origin.x, client.y + origin.y};
  return textbox::CursorForGrip(textbox::HitGrip(window, p, textbox::kGripBorder));
}

void CTextBoxEdit::OnSetCursor(wxSetCursorEvent& event) {
  const CursorKind kind = CursorKindAt({event.GetX(), event.GetY()});
  if (kind == CursorKind::IBeam) {
    event.Skip();
    return;
  }
  event.SetCursor(CursorOf(kind));
}

void CTextBoxEdit::OnLeftDown(wxMouseEvent& event) {
  if (m_box->IsMoveMode()) {
    if (CSBImage* image = m_view->Image()) image->DeselectAll();
    m_box->SetSelected(true);
    m_drag = Drag::Move;
  } else {
    const wxPoint origin = GetClientAreaOrigin();
    const wxSize size = GetSize();
    const wxPoint at = event.GetPosition() + origin;
    m_grip = textbox::HitGrip({0, 0, size.x, size.y}, {at.x, at.y}, textbox::kGripBorder);
    if (m_grip == textbox::Grip::None) {
      event.Skip();  // the caret goes where the press was
      return;
    }
    m_drag = Drag::Resize;
  }
  m_dragStart = m_lastScreen = ClientToScreen(event.GetPosition());
  m_startRect = m_box->Rect();
  CaptureMouse();
  m_view->SetFrameFeedback(m_startRect);
  m_view->Refresh(false);
}

CRect CTextBoxEdit::DraggedRect(wxPoint screen) const {
  // The pointer stays inside the view's client area.
  const wxSize client = m_view->GetClientSize();
  wxPoint inView = m_view->ScreenToClient(screen);
  inView.x = std::clamp(inView.x, 0, std::max(0, client.x - 1));
  inView.y = std::clamp(inView.y, 0, std::max(0, client.y - 1));
  const wxPoint kept = m_view->ClientToScreen(inView);
  const int dx = kept.x - m_dragStart.x, dy = kept.y - m_dragStart.y;
  return m_drag == Drag::Move ? m_startRect.Offset(dx, dy)
                              : textbox::ResizeByGrip(m_startRect, m_grip, dx, dy);
}

void CTextBoxEdit::OnMotion(wxMouseEvent& event) {
  if (m_drag == Drag::None) {
    // The toolkit's text view keeps its own I-beam; set the sizing cursors ourselves.
    const CursorKind kind = CursorKindAt(event.GetPosition());
    if (kind != m_cursor) {
      m_cursor = kind;
      SetCursor(kind == CursorKind::IBeam ? wxNullCursor : CursorOf(kind));
    }
    event.Skip();
    return;
  }
  m_lastScreen = ClientToScreen(event.GetPosition());
  m_view->SetFrameFeedback(DraggedRect(m_lastScreen));
}

void CTextBoxEdit::OnLeftUp(wxMouseEvent& event) {
  if (m_drag == Drag::None) {
    event.Skip();
    return;
  }
  FinishDrag(ClientToScreen(event.GetPosition()));
}

void CTextBoxEdit::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // Another window took the mouse: the box goes where the pointer last was.
  if (m_drag != Drag::None) FinishDrag(m_lastScreen);
}

void CTextBoxEdit::FinishDrag(wxPoint screen) {
  const CRect rect = DraggedRect(screen);
  const bool changed = !(rect == m_startRect);
  if (rect.Width() > 0 && rect.Height() > 0) m_box->SetRect(rect);
  EndDrag();
  m_view->PlaceTextBoxWindows();
  if (changed && m_view->Document()) m_view->Document()->SetModifiedFlag();
}

void CTextBoxEdit::EndDrag() {
  m_drag = Drag::None;
  m_grip = textbox::Grip::None;
  if (HasCapture()) ReleaseMouse();
  m_view->SetFrameFeedback(std::nullopt);
  m_view->Refresh(false);
}
