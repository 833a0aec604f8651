#pragma once

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/region.h>

// An owner-drawn button whose look comes from pictures: one per state (normal, pressed,
// under the mouse, disabled, focused), an optional mask that gives the button a
// non-rectangular shape, and an optional check-box or radio-button behaviour. The left pane's
// buttons and the tab strip's buttons are such buttons. A click sends wxEVT_BUTTON with the
// button's id to the parent, like a native button.
class CxSkinButton : public wxControl {
 public:
  enum Behaviour { kPushButton = 0, kCheckBox = 2, kRadioButton = 4 };
  enum DrawMode { kNaturalSize = 0, kStretch = 1, kTile = 2 };

  CxSkinButton() = default;
  CxSkinButton(wxWindow* parent, wxWindowID id, const wxString& caption,
               const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
               Behaviour behaviour = kPushButton, long style = 0);
  bool Create(wxWindow* parent, wxWindowID id, const wxString& caption,
              const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
              Behaviour behaviour = kPushButton, long style = 0);

  // Pictures by resource number (0 = none). Frees the previous pictures; without a disabled
  // picture the normal one is used. The draw mode is clamped to 0…2, a negative margin
  // becomes 0. With a mask the button's shape follows the mask's non-white pixels, and in
  // natural-size mode the button takes the mask's size.
  void SetSkin(int normal, int pressed, int hover, int disabled, int focus, int mask,
               int drawMode = kStretch, bool border = true, int focusMargin = 0);
  // The same with pictures made elsewhere (tests, generated pictures).
  void SetSkin(const wxBitmap& normal, const wxBitmap& pressed, const wxBitmap& hover,
               const wxBitmap& disabled, const wxBitmap& focus, const wxBitmap& mask,
               int drawMode = kStretch, bool border = true, int focusMargin = 0);

  // Returns the previous caption colour.
  wxColour SetTextColor(const wxColour& colour);
  void SetToolTipText(const wxString& text);
  // Only the low byte counts, as with the flag the tab strip passes.
  void SetHighlighted(int flag);
  bool IsHighlighted() const { return m_highlighted; }
  // Shows the button pushed or released.
  void SetButtonState(bool pushed);
  bool IsShownPushed() const { return m_shownPushed; }

  int GetCheck() const { return m_checked ? 1 : 0; }
  // A push button stays unchecked. A radio button that becomes checked unchecks the other
  // radio buttons of its group (asynchronously, as a posted notification).
  void SetCheck(int check);
  // Marks the first button of a radio group. A group runs from such a button, among its
  // parent's skinned buttons in creation order, up to the next one; other windows in between
  // neither start nor end a group. (A style bit would not do: the toolkit's alignment bits,
  // which centred texts and fields carry, share the free ones.)
  void SetGroupStart(bool start) { m_groupStart = start; }
  bool IsGroupStart() const { return m_groupStart; }

  Behaviour GetBehaviour() const { return m_behaviour; }
  int GetDrawMode() const { return m_drawMode; }
  int GetFocusMargin() const { return m_focusMargin; }
  bool HasBorder() const { return m_border; }
  bool IsHovering() const { return m_hovering; }
  bool IsPressed() const { return m_pressed; }
  // The button's shape in client coordinates; empty when it has no mask.
  const wxRegion& GetShapeRegion() const { return m_region; }
  // Whether a client point belongs to the button (inside the shape when there is a mask).
  bool HitTest(const wxPoint& client) const;

  // Draws the whole button for its current state; the paint handler and tests call it.
  void Render(wxDC& dc);

  // The region of a mask: every pixel that is not pure white, as runs row by row.
  static wxRegion RegionFromMask(const wxImage& mask);

 protected:
  wxSize DoGetBestSize() const override;
  bool AcceptsFocusFromKeyboard() const override { return true; }

 public:
  bool Enable(bool enable = true) override;

 private:
 private:
  void OnPaint(wxPaintEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnGroupUncheck(wxCommandEvent& event);

  void ApplyMask();
  void ChangeCheckAsClicked();
  void UncheckGroupSiblings();
  void DrawPicture(wxDC& dc, const wxBitmap& picture, const wxRect& r) const;
  void DrawCaption(wxDC& dc, wxRect textRect, const wxColour& colour) const;
  void SendClick();

  wxBitmap m_normal, m_pressedPic, m_hover, m_disabled, m_focus, m_mask;
  wxRegion m_region;
  int m_drawMode = kStretch;
  bool m_border = false;
  int m_focusMargin = 0;
  wxColour m_textColour;
  Behaviour m_behaviour = kPushButton;
  bool m_checked = false;
  bool m_groupStart = false;
  bool m_highlighted = false;
  bool m_hovering = false;
  bool m_pressed = false;      // left button went down here and is not yet released
  bool m_shownPushed = false;  // drawn in the pushed state

  wxDECLARE_DYNAMIC_CLASS(CxSkinButton);
};

// Sent (posted) to the other members of a radio group when one of them becomes checked.
wxDECLARE_EVENT(EVT_SKIN_GROUP_UNCHECK, wxCommandEvent);
