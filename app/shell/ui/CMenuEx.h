#pragma once

#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/popupwin.h>

#include <string>
#include <vector>

namespace res {
struct MenuNode;
}

// The pen button's drop-down: a pop-up menu drawn by the program itself, with a picture of
// each pen beside its name, a highlight in the program's own colours and a ticked box on the
// chosen pen. Choosing an item sends its command to the owner window (the frame) as a menu
// command, so it takes the same route as the menu bar's items.
class CMenuEx : public wxPopupTransientWindow {
 public:
  static const wxColour kHighlightFill;   // RGB(216, 216, 235)
  static const wxColour kHighlightFrame;  // RGB(64, 64, 128)
  static constexpr int kSeparatorHeight = 8;

  struct Item {
    int id = 0;  // 0 for separators
    wxString text;
    bool checked = false;
    bool enabled = true;
    wxBitmap picture;  // the bitmap resource numbered like the command, if any

    bool IsSeparator() const { return id == 0; }
  };

  // owner receives the chosen command.
  explicit CMenuEx(wxWindow* owner);

  // The items of a menu resource's sub-menu, same commands and texts; separators stay
  // separators, sub-menus are left out. Each item's picture is the bitmap resource with the
  // item's command number.
  void AppendFrom(const res::MenuNode& subMenu);
  void Append(int id, const wxString& text);
  void AppendSeparator();
  // Puts the radio mark on `id` and takes it off every other item.
  void CheckRadioItem(int id);
  const std::vector<Item>& Items() const { return m_items; }

  // Item size: width = text bytes × the font's average character width + 30 (bytes as the
  // host's double-byte code page counts them: one per ASCII or half-width katakana
  // character, two per other character), height = the font's height, or 8 for separators.
  wxSize MeasureItem(const Item& item) const;
  static int CodePageBytes(const wxString& text);
  // Rectangle of item `index` in client coordinates.
  wxRect ItemRect(std::size_t index) const;

  // Draws item `index` into rect r; the paint handler and tests call it.
  void DrawItem(wxDC& dc, std::size_t index, const wxRect& r, bool selected) const;

  // Opens the menu with its top-left corner at a screen position.
  void ShowAt(const wxPoint& screen);

  int GetSelection() const { return m_selection; }
  void SetSelection(int index);
  // Chooses the item at `index`: closes the menu and sends its command to the owner.
  void Choose(std::size_t index);

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  int HitItem(const wxPoint& client) const;
  void Relayout();

  wxWindow* m_owner;
  std::vector<Item> m_items;
  wxFont m_textFont;
  int m_selection = -1;
};
