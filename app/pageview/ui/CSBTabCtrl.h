#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

#include <array>

#include "app/shell/ui/CxSkinButton.h"

class CClipwrenDoc;

// The tab strip of the right pane: four skinned buttons (shaped by the tab mask, the active
// one shown pushed and highlighted, a tab chosen when the button is released) across the top
// ("全体", "コピー", "テキスト", "画像") and the four tab views stacked below them, one shown at a
// time. Only the buttons of the tabs the open scrap has are shown.
class CSBTabCtrl : public wxWindow {
 public:
  static constexpr int kButtonWidth = 96;
  static constexpr int kButtonHeight = 26;
  static constexpr int kStripHeight = 3 + kButtonHeight + 3;

  CSBTabCtrl(wxWindow* parent, int id, CClipwrenDoc* doc = nullptr);

  // Places a tab view below the buttons and hides it; false when there is no window.
  bool RegisterView(int index, wxWindow* view);
  void ForgetDocument() { m_doc = nullptr; }
  wxWindow* View(int index) const { return m_views[static_cast<size_t>(index)]; }
  // Shows the buttons of the available tabs side by side.
  void LayoutButtons();
  // Selects `index`, or the next available tab after it, or the whole tab.
  void SelectTab(int index);
  // Chooses the next tab the open scrap offers in `step`'s direction (+1 right, -1 left),
  // wrapping around; true when another tab was chosen.
  bool SelectNeighbourTab(int step);
  int Current() const { return m_current; }
  bool IsAvailable(int index) const;
  CxSkinButton* Button(int index) const { return m_buttons[static_cast<size_t>(index)]; }
  // The strip and the active page view as they look now, for screenshots.
  wxBitmap Snapshot() const;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnButton(wxCommandEvent& event);

  CClipwrenDoc* m_doc;
  std::array<wxWindow*, 4> m_views{};
  std::array<CxSkinButton*, 4> m_buttons{};
  int m_current = 0;
};
