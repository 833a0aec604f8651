#pragma once

#include <wx/textctrl.h>

#include <memory>

#include "app/pageview/CTextBox.h"
#include "app/pageview/CTextBoxFrameGesture.h"

class CAllView;

// The edit window of a text box: a native multi-line text control, so input methods show
// their pre-edit and candidates. It writes what is typed into the box's model; when it loses
// the focus it hides and the view paints the text instead. With the shape-selection tool it
// is moved by dragging.
class CTextBoxEdit : public wxTextCtrl, public ITextBoxWindow {
 public:
  CTextBoxEdit(CAllView* view, CTextBox* box);
  ~CTextBoxEdit() override;

  void ShowEditor(bool show) override;
  void DestroyEditor() override;
  CTextBox* Box() const { return m_box; }
  // The pointer shape over a point of this window (client pixels): the move cursor in move
  // mode, a sizing cursor on the border, else the I-beam.
  CursorKind CursorKindAt(wxPoint client) const;

 private:
  void OnText(wxCommandEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  // The view's mouse events while it holds the capture for a drag of this box.
  void OnViewMotion(wxMouseEvent& event);
  void OnViewLeftUp(wxMouseEvent& event);
  void OnViewCaptureLost(wxMouseCaptureLostEvent& event);
  // A screen point as a view point, kept in the view's client area.
  CPoint ViewPointOf(wxPoint screen) const;
  // Moves the drag's frame to `screen`.
  void DragTo(wxPoint screen);
  // Ends the drag at `screen` (the release, or where the pointer last was).
  void FinishDrag(wxPoint screen);

  CAllView* m_view;
  CTextBox* m_box;
  // A press in move mode moves the box; a press on the border otherwise resizes it. Both show
  // a frame on the view and change the window only when the drag ends.
  std::unique_ptr<CTextBoxFrameGesture> m_drag;
  wxPoint m_lastScreen;  // where the pointer last was in the drag, screen pixels
  CursorKind m_cursor = CursorKind::IBeam;
};

// The font text boxes use: "ＭＳ ゴシック" 18 pixels, or the desktop's Japanese gothic.
const wxFont& TextBoxFont();
