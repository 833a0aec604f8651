#pragma once

#include <wx/bmpbndl.h>
#include <wx/statusbr.h>

#include <array>

// The main window's status bar: the message pane (prompts, "レディ" when idle) and three
// panes for the cursor position, the size of the range being selected and the size of the
// picture. A value pane that shows text also shows its icon; a cleared pane shows neither.
class CScrapStatusBar : public wxStatusBar {
 public:
  CScrapStatusBar(wxWindow* parent, wxWindowID id);

  void SetCursorPosition(int x, int y);  // "%d, %d"
  void SetSelectionSize(int w, int h);   // "%d X %d"
  void SetPictureSize(int w, int h);     // "%d X %d"
  // Pane by its id (59143, 59144, 59145); other ids are ignored.
  void SetPaneText(int paneId, const wxString& text);
  void ClearPane(int paneId);
  wxString PaneText(int paneId) const;
  // Field index of a pane id, −1 when unknown.
  static int FieldOf(int paneId);

  // Width of the message pane for a client width: client − panes 1–3 − 50 when that exceeds
  // 100, otherwise unchanged (nullopt).
  static int MessagePaneWidth(int clientWidth, int currentWidth);
  void FitMessagePane();
  int MessagePaneWidthNow() const { return m_widths[0]; }

 protected:
  void DrawField(wxDC& dc, int i, int textHeight) override;

 private:
  void ApplyWidths();

  std::array<int, 4> m_widths{};
  std::array<wxBitmapBundle, 4> m_icons;
};
