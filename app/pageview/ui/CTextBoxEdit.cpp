#include "app/pageview/ui/CTextBoxEdit.h"

#include <wx/fontenum.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CAllView.h"
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

void CTextBoxEdit::OnSetCursor(wxSetCursorEvent& event) {
  if (m_box->IsMoveMode()) {
    event.SetCursor(wxCursor(wxCURSOR_SIZING));
    return;
  }
  event.Skip();
}

void CTextBoxEdit::OnLeftDown(wxMouseEvent& event) {
  if (!m_box->IsMoveMode()) {
    event.Skip();
    return;
  }
  if (CSBImage* image = m_view->Image()) image->DeselectAll();
  m_box->SetSelected(true);
  m_dragging = true;
  m_dragStart = ClientToScreen(event.GetPosition());
  m_startRect = m_box->Rect();
  CaptureMouse();
  m_view->Refresh(false);
}

void CTextBoxEdit::OnMotion(wxMouseEvent& event) {
  if (!m_dragging) {
    event.Skip();
    return;
  }
  const wxPoint now = ClientToScreen(event.GetPosition());
  m_box->SetRect(m_startRect.Offset(now.x - m_dragStart.x, now.y - m_dragStart.y));
  m_view->PlaceTextBoxWindows();
  m_view->Refresh(false);
}

void CTextBoxEdit::OnLeftUp(wxMouseEvent& event) {
  if (!m_dragging) {
    event.Skip();
    return;
  }
  m_dragging = false;
  if (HasCapture()) ReleaseMouse();
}
