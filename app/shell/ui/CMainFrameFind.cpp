#include <wx/fdrepdlg.h>

#include "app/res/ui/FindDialog.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"

// "テキストの全文検索": one modeless find dialog at a time, owned by the frame; each "find
// next" is one search of the folder tree from its caret item.
void CMainFrame::OnFindInScrapbook(wxCommandEvent&) {
  // While the dialog is open the command does nothing, not even bring it to the front.
  if (m_findDialog) return;
  m_findData.SetFindString(wxEmptyString);
  m_findData.SetFlags(wxFR_DOWN);
  m_findDialog =
      res::ui::CreateFindDialog(this, &m_findData, wxString::FromUTF8("テキストの全文検索"));
  m_findDialog->Show();
}

void CMainFrame::OnFindNext(wxFindDialogEvent& event) {
  if (event.GetDialog() != m_findDialog || !m_leftView) {
    event.Skip();
    return;
  }
  const int flags = event.GetFlags();
  (void)m_leftView->Tree()->SearchText(event.GetFindString().utf8_string(),
                                       (flags & wxFR_MATCHCASE) != 0, (flags & wxFR_DOWN) != 0);
}

void CMainFrame::OnFindClose(wxFindDialogEvent& event) {
  if (event.GetDialog() != m_findDialog) {
    event.Skip();
    return;
  }
  m_findDialog->Destroy();
  m_findDialog = nullptr;
}
