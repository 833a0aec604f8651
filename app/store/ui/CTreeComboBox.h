#pragma once

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/font.h>

#include <string>

class CComboTree;
class wxPopupWindow;
class wxStaticText;
class wxTopLevelWindow;

// The folder picker of the add and create-folder dialogs: a box that looks like a drop-down
// list showing the chosen folder's icon and name, with an arrow button that opens CComboTree
// as a popup below it. The popup never takes the keyboard focus: keys reach this control,
// which moves the highlight in the open tree. At most one picker in the program is open.
class CTreeComboBox : public wxControl {
 public:
  CTreeComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
  ~CTreeComboBox() override;

  CComboTree* Tree() const { return m_tree; }
  // Gives the drop-down tree its home folder and fills it; the home item is then chosen.
  void SetHomeAndFill(const std::string& homePath);
  // Shows the tree's caret item as the chosen folder and closes the drop-down.
  void TakeSelection();
  void ToggleDropDown();
  // Closes whichever picker is open.
  static void CloseDropDown();
  [[nodiscard]] bool IsDroppedDown() const { return s_open == this; }
  static CTreeComboBox* OpenPicker() { return s_open; }

  // Takes the picker's hook off its dialog. The dialog calls it from its own destructor: a
  // window must have no pushed handlers left when its base class is destroyed.
  void UnhookDialog();

  wxString ShownText() const;
  [[nodiscard]] bool HasShownIcon() const { return m_icon.IsOk(); }

  // Fixed geometry, in DIPs: the text child's inset and the arrow button's width.
  static constexpr int kTextInsetLeft = 22;
  static constexpr int kTextInsetRight = 18;
  static constexpr int kTextInsetY = 4;
  static constexpr int kArrowWidth = 16;
  static constexpr int kDropDownHeight = 220;

 protected:
  wxSize DoGetBestSize() const override;

 private:
  void HookDialog();
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnDialogClick(wxMouseEvent& event);
  void OnDialogCommand(wxCommandEvent& event);
  void OnDialogMove(wxMoveEvent& event);
  void Open();

  wxBitmap m_icon;
  bool m_pressed = false;
  wxStaticText* m_text = nullptr;
  wxFont m_font;
  wxPopupWindow* m_popup = nullptr;
  CComboTree* m_tree = nullptr;
  wxTopLevelWindow* m_dialog = nullptr;
  wxEvtHandler* m_hook = nullptr;  // pushed onto the dialog, so it sees events first

  static CTreeComboBox* s_open;
};
