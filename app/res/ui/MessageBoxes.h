#pragma once

#include <wx/string.h>

#include <string>

class wxMessageDialog;
class wxWindow;

// Message boxes in the program's language. The toolkit names its stock buttons through the
// desktop's translations, which a machine without a Japanese locale does not have, so every
// question states its own button texts.
namespace res::ui {

// The buttons' texts: はい, いいえ, キャンセル and OK.
void SetJapaneseButtons(wxMessageDialog& dialog);

// Like wxMessageBox (style wxOK, wxYES_NO, wxCANCEL and icon flags; result wxOK, wxYES,
// wxNO or wxCANCEL), with the Japanese buttons and the text broken where needed.
int MessageBox(const wxString& text, const wxString& caption, long style, wxWindow* parent);

// The text with a break opportunity (a zero-width space) after every `run` characters of any
// stretch that offers none (no blank, no ideograph), so a long name wraps inside the box
// instead of widening it past the screen. What the box shows is unchanged.
std::string BreakLongRuns(const std::string& utf8, std::size_t run = 24);

}  // namespace res::ui
