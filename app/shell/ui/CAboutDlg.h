#pragma once

#include <wx/dialog.h>

// The about box: the program icon, its name and version, and an OK button.
class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
};

inline constexpr const char* kAboutTitle = "クリップレンのバージョン情報";
inline constexpr const char* kAboutText = "クリップレン バージョン 1.6";
