#pragma once

#include <wx/textctrl.h>

#include "app/pageview/CTextBox.h"

class CAllView;

// The edit window of a text box: a native multi-line text control, so input methods show
// their pre-edit and candidates. It writes what is typed into the box's model; when it loses
// the focus it hides and the view paints the text instead. With the shape-selection tool it
// is moved by dragging.
class CTextBoxEdit : public wxTextCtrl, public ITextBoxWindow {
 public:
  CTextBoxEdit(CAllView* view, CTextBox* box);

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
  // Where the box would go for the pointer at `screen` (screen pixels), view units.
  CRect DraggedRect(wxPoint screen) const;
  // Puts the box where a drag ending at `screen` leaves it.
  void FinishDrag(wxPoint screen);
  void EndDrag();

  // A press in move mode moves the box; a press on the border otherwise resizes it. Both
  // show a frame on the view and change the window only on release.
  enum class Drag { None, Move, Resize };

  CAllView* m_view;
  CTextBox* m_box;
  Drag m_drag = Drag::None;
  textbox::Grip m_grip = textbox::Grip::None;
  wxPoint m_dragStart;  // screen pixels
  wxPoint m_lastScreen;  // where the pointer last was in the drag, screen pixels
  CRect m_startRect;
  CursorKind m_cursor = CursorKind::IBeam;
};

// The font text boxes use: "ＭＳ ゴシック" 18 pixels, or the desktop's Japanese gothic.
const wxFont& TextBoxFont();
