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
  // A drag of the box is captured by the view (below); these take its moves and its end.
  view->Bind(wxEVT_MOTION, &CTextBoxEdit::OnViewMotion, this);
  view->Bind(wxEVT_LEFT_UP, &CTextBoxEdit::OnViewLeftUp, this);
  view->Bind(wxEVT_MOUSE_CAPTURE_LOST, &CTextBoxEdit::OnViewCaptureLost, this);
}

CTextBoxEdit::~CTextBoxEdit() {
  m_view->Unbind(wxEVT_MOTION, &CTextBoxEdit::OnViewMotion, this);
  m_view->Unbind(wxEVT_LEFT_UP, &CTextBoxEdit::OnViewLeftUp, this);
  m_view->Unbind(wxEVT_MOUSE_CAPTURE_LOST, &CTextBoxEdit::OnViewCaptureLost, this);
  if (m_drag && m_view->HasCapture()) m_view->ReleaseMouse();
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
  textbox::Grip grip = textbox::Grip::None;
  if (m_box->IsMoveMode()) {
    if (CSBImage* image = m_view->Image()) image->DeselectAll();
    m_box->SetSelected(true);
  } else {
    const wxPoint origin = GetClientAreaOrigin();
    const wxSize size = GetSize();
    const wxPoint at = event.GetPosition() + origin;
    grip = textbox::HitGrip({0, 0, size.x, size.y}, {at.x, at.y}, textbox::kGripBorder);
    if (grip == textbox::Grip::None) {
      event.Skip();  // the caret goes where the press was
      return;
    }
  }
  m_lastScreen = ClientToScreen(event.GetPosition());
  m_drag = std::make_unique<CTextBoxFrameGesture>(*m_box, grip, ViewPointOf(m_lastScreen));
  // The view takes the capture: the toolkit hands a native text control's captured moves and
  // release to a window of its own that never reports them, so the drag would not end and
  // every later click would go there.
  m_view->CaptureMouse();
  m_view->SetFrameFeedback(m_drag->Rect());
  m_view->Refresh(false);
}

CPoint CTextBoxEdit::ViewPointOf(wxPoint screen) const {
  // The pointer stays inside the view's client area.
  const wxSize client = m_view->GetClientSize();
  wxPoint inView = m_view->ScreenToClient(screen);
  inView.x = std::clamp(inView.x, 0, std::max(0, client.x - 1));
  inView.y = std::clamp(inView.y, 0, std::max(0, client.y - 1));
  return m_view->ToView(inView);
}

void CTextBoxEdit::OnMotion(wxMouseEvent& event) {
  if (!m_drag) {
    // The toolkit's text view keeps its own I-beam; set the sizing cursors ourselves.
    const CursorKind kind = CursorKindAt(event.GetPosition());
    if (kind != m_cursor) {
      m_cursor = kind;
      SetCursor(kind == CursorKind::IBeam ? wxNullCursor : CursorOf(kind));
    }
    event.Skip();
    return;
  }
  DragTo(ClientToScreen(event.GetPosition()));
}

void CTextBoxEdit::DragTo(wxPoint screen) {
  m_lastScreen = screen;
  m_drag->Move(ViewPointOf(m_lastScreen));
  m_view->SetFrameFeedback(m_drag->Rect());
}

void CTextBoxEdit::OnViewMotion(wxMouseEvent& event) {
  if (!m_drag) {
    event.Skip();
    return;
  }
  DragTo(m_view->ClientToScreen(event.GetPosition()));
}

void CTextBoxEdit::OnViewLeftUp(wxMouseEvent& event) {
  if (!m_drag) {
    event.Skip();
    return;
  }
  FinishDrag(m_view->ClientToScreen(event.GetPosition()));
}

void CTextBoxEdit::OnViewCaptureLost(wxMouseCaptureLostEvent& event) {
  if (!m_drag) {
    event.Skip();
    return;
  }
  FinishDrag(m_lastScreen);
}

void CTextBoxEdit::OnLeftUp(wxMouseEvent& event) {
  if (!m_drag) {
    event.Skip();
    return;
  }
  FinishDrag(ClientToScreen(event.GetPosition()));
}

void CTextBoxEdit::OnCaptureLost(wxMouseCaptureLostEvent&) {
  // Another window took the mouse: the box goes where the pointer last was.
  if (m_drag) FinishDrag(m_lastScreen);
}

void CTextBoxEdit::FinishDrag(wxPoint screen) {
  const std::unique_ptr<CTextBoxFrameGesture> drag = std::move(m_drag);
  const bool changed = drag->Finish(ViewPointOf(screen));
  if (m_view->HasCapture()) m_view->ReleaseMouse();
  m_view->SetFrameFeedback(std::nullopt);
  m_view->Refresh(false);
  m_view->PlaceTextBoxWindows();
  if (changed && m_view->Document()) m_view->Document()->SetModifiedFlag();
}
