#include <wx/fdrepdlg.h>

#include "app/shell/ui/CMainFrame.h"

// "テキストの全文検索": one modeless find dialog at a time, owned by the frame; each request
// goes to the folder tree's search, which walks the scrapbook and opens what it finds.
void CMainFrame::OnFindInScrapbook(wxCommandEvent&) {
  // While the dialog is open the command does nothing, not even bring it to the front.
  if (m_findDialog) return;
  m_findData.SetFindString(wxEmptyString);
  m_findData.SetFlags(wxFR_DOWN);
  m_findDialog = new wxFindReplaceDialog(
      this, &m_findData, wxString::FromUTF8("テキストの全文検索"), wxFR_NOWHOLEWORD);
  m_findDialog->Show();
}

void CMainFrame::OnFindNext(wxFindDialogEvent& event) {
  const std::string text = event.GetFindString().utf8_string();
  const int flags = event.GetFlags();
  if (searchScrapbook)
    (void)searchScrapbook(text, (flags & wxFR_MATCHCASE) != 0, (flags & wxFR_DOWN) != 0);
}

void CMainFrame::OnFindClose(wxFindDialogEvent& event) {
  if (event.GetDialog() != m_findDialog) return;
  m_findDialog->Destroy();
  m_findDialog = nullptr;
}
