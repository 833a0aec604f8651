#pragma once

#include <wx/dialog.h>

// The question after a new save folder was chosen: move the scrapbook there, copy it there,
// or leave it where it is. Esc and the close box count as "しない".
class CChangeFolder : public wxDialog {
 public:
  explicit CChangeFolder(wxWindow* parent);

  enum Choice { kMove = 0, kCopy = 1, kLeave = 2 };
  // The choice once the dialog has ended (its result is the same number).
  int Choice() const { return m_choice; }

  static constexpr int kIdMove = 1049;
  static constexpr int kIdCopy = 1050;
  static constexpr int kIdLeave = 1048;

 private:
  int m_choice = kLeave;
};
