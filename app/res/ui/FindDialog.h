#pragma once

#include <wx/fdrepdlg.h>

// The find dialogs of the text tab and of the scrapbook-wide search: the toolkit's modeless
// find dialog for finding only, with the text field, the match-case box and the direction,
// labelled in the program's language (the toolkit takes its labels from the desktop's
// translations, which a machine without a Japanese locale lacks) and without the whole-word
// option, which the toolkit would only grey out.
namespace res::ui {

wxFindReplaceDialog* CreateFindDialog(wxWindow* parent, wxFindReplaceData* data,
                                      const wxString& title);

}  // namespace res::ui
