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

 private:
  void OnText(wxCommandEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);

  CAllView* m_view;
  CTextBox* m_box;
  bool m_dragging = false;
  wxPoint m_dragStart;  // screen pixels
  CRect m_startRect;
};

// The font text boxes use: "ＭＳ ゴシック" 18 pixels, or the desktop's Japanese gothic.
const wxFont& TextBoxFont();
