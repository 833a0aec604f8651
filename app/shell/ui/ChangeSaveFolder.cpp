#include "app/shell/ui/ChangeSaveFolder.h"

#include <wx/progdlg.h>

#include <memory>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/res/Resource.h"
#include "app/shell/ui/CChangeFolder.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/CSaveFolderBrowser.h"
#include "app/store/ScrapbookMove.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "app/store/ui/CShellDialogs.h"

namespace {

// The file operation's questions as message boxes, and its progress in a window that stays up
// while the scrapbook is on its way.
class TransferUi : public CShellDialogs {
 public:
  TransferUi(wxWindow* owner, bool move) : CShellDialogs(owner), m_owner(owner), m_move(move) {}
  bool Progress(const std::filesystem::path& current, std::size_t, std::size_t) override {
    const wxString text = wxString::FromUTF8(m_move ? "移動しています: " : "コピーしています: ") +
                          wxString::FromUTF8(current.filename().string());
    if (!m_window) {
      m_window =
          std::make_unique<wxProgressDialog>(wxString::FromUTF8("クリップレン"), text, 100, m_owner,
                                             wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_AUTO_HIDE);
      // The toolkit's stock caption follows the desktop's language; ours is always Japanese.
      if (wxWindow* cancel = m_window->FindWindow(wxID_CANCEL))
        cancel->SetLabel(wxString::FromUTF8("キャンセル"));
    }
    return m_window->Pulse(text);
  }

 private:
  wxWindow* m_owner;
  bool m_move;
  std::unique_ptr<wxProgressDialog> m_window;
};

// The save question before the open scrap's files move. False when the user cancelled or the
// save failed (it has been reported and the edits are kept).
bool SettleUnsavedEdits(CClipwrenApp& app, CMainFrame& frame) {
  CClipwrenDoc* doc = app.Document();
  if (!doc || !doc->IsModified()) return true;
  const int answer = frame.askSaveOnClose(doc->SaveQuestion());
  if (answer == wxCANCEL) return false;
  if (answer == wxYES) {
    doc->SetSaveAll(true);
    wxCommandEvent save(wxEVT_MENU, res::kIdFileSave);
    save.SetEventObject(&frame);
    frame.ProcessWindowEvent(save);
    return !doc->IsModified();
  }
  doc->SetModifiedFlag(false);
  return true;
}

}  // namespace

void ChangeSaveFolder(CClipwrenApp& app, CMainFrame& frame) {
  const std::string initial = app.HomeFolder().empty() ? std::string() : app.SaveFolder();
  std::string chosen;
  {
    CSaveFolderBrowser browser(&frame, initial);
    if (browser.ShowModal() != wxID_OK) return;
    chosen = browser.Path();
  }
  if (chosen.empty() || chosen == app.SaveFolder()) return;
  const std::string refused = store::RefuseSaveFolder(chosen, app.HomeFolder());
  if (!refused.empty()) {
    frame.showMessage(wxString::FromUTF8(refused));
    return;
  }

  int choice = CChangeFolder::kLeave;
  {
    CChangeFolder question(&frame);
    choice = question.ShowModal();
  }
  if (choice == CChangeFolder::kMove || choice == CChangeFolder::kCopy) {
    if (!SettleUnsavedEdits(app, frame)) return;
    const bool move = choice == CChangeFolder::kMove;
    TransferUi ui(&frame, move);
    const store::TransferResult result = store::TransferScrapbook(
        move ? store::ScrapbookTransfer::Move : store::ScrapbookTransfer::Copy, app.HomeFolder(),
        chosen, ui);
    if (!result.switchHome) {
      frame.showMessage(wxString::FromUTF8(result.message));
      return;
    }
  }

  app.SetSaveFolder(chosen);
  CLeftView* left = frame.LeftView();
  if (!left) return;
  CFolderTreeCtrl* tree = left->Tree();
  tree->SetHomeFolder(app.HomeFolder());
  tree->RefreshTree(std::string());
  tree->ExpandAllFolders();
  tree->SelectHome();
}
