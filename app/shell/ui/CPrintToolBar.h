#pragma once

#include <wx/textctrl.h>
#include <wx/toolbar.h>

// The main tool bar: the 29 positions of the program's tool table (buttons with pictures from
// the 20×20 strip, separators, the zoom box in place of position 15 and the pen button with
// its drop-down arrow). Under the mouse a button shows its picture from the hot strip.
class CPrintToolBar : public wxToolBar {
 public:
  CPrintToolBar(wxWindow* parent, wxWindowID id);

  // Adds every position of the table and realizes the bar; the zoom box is created here.
  [[nodiscard]] bool Build(const wxFont& zoomFont);

  wxTextCtrl* ZoomBox() const { return m_zoomBox; }
  // "%d%%" of the zoom, or an empty box.
  void SetZoomText(const wxString& text);

  // The pen button shows the chosen pen (strip picture 23 + index).
  void SetPenPicture(int penIndex);
  int PenPicture() const { return m_penPicture; }

  // Buttons as compact as the program's 27×26 ones (the toolkit's default padding makes a
  // row of 29 positions wider than many screens). Also used for the search tool bar.
  static void MakeCompact(wxToolBar* bar);

  // Screen rectangle of the button with command `id` (empty when it is not on the bar).
  wxRect ToolScreenRect(int id) const;

 private:
  void OnToolEnter(wxCommandEvent& event);
  void ShowHot(int id, bool hot);

  wxTextCtrl* m_zoomBox = nullptr;
  int m_hotTool = wxID_ANY;
  int m_penPicture = 23;
};
