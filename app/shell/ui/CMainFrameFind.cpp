#include <wx/fdrepdlg.h>

#include "app/shell/ui/CMainFrame.h"

// "テキストの全文検索": one modeless find dialog at a time, owned by the frame. The search of
// the whole scrapbook is not there yet, so the dialog takes the text and its options but its
// Find button stays disabled: a request would have nowhere to go.
void CMainFrame::OnFindInScrapbook(wxCommandEvent&) {
  // While the dialog is open the command does nothing, not even bring it to the front.
  if (m_findDialog) return;
  m_findData.SetFindString(wxEmptyString);
  m_findData.SetFlags(wxFR_DOWN);
  m_findDialog = new wxFindReplaceDialog(
      this, &m_findData, wxString::FromUTF8("テキストの全文検索"), wxFR_NOWHOLEWORD);
  // Bound handlers come before the dialog's own, which would enable the button for any text.
  m_findDialog->Bind(
      wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(false); }, wxID_FIND);
  m_findDialog->Show();
}

void CMainFrame::OnFindClose(wxFindDialogEvent& event) {
  if (event.GetDialog() != m_findDialog) return;
  m_findDialog->Destroy();
  m_findDialog = nullptr;
}
