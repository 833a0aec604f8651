#pragma once

#include <wx/dialog.h>

// The about box: the program icon, its name and version, and an OK button.
class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);

  // How wide the dialog must be for its whole title to show in the title bar: the title in
  // bold and room for the window manager's icon and buttons.
  int MinWidthForTitle() const;

 private:
  static constexpr int kTitleBarButtonsWidth = 120;
};

inline constexpr const char* kAboutTitle = "クリップレンのバージョン情報";
inline constexpr const char* kAboutText = "クリップレン バージョン 1.6";
