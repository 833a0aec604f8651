#pragma once

#include "app/document/ui/CDocView.h"

#include <wx/cursor.h>
#include <wx/dragimag.h>
#include <wx/imaglist.h>
#include <wx/timer.h>
#include <wx/treectrl.h>

#include <functional>
#include <memory>
#include <string>

#include "app/store/FolderOperations.h"
#include "app/store/FullTextSearch.h"
#include "app/store/FolderTreeModel.h"
#include "app/store/TreeDrop.h"
#include "app/store/TreeSelection.h"

// The folder tree: the home folder and every folder and scrap below it. A thin window over
// store::FolderTreeModel, which keeps the items, records, order and selection; this class
// mirrors the model into the toolkit's tree, turns mouse and keys into model calls, shows the
// context menu and runs the drag. The control's own selection only ever holds the caret item;
// the listed items are drawn highlighted by the model's marks.
class CFolderTreeCtrl : public wxTreeCtrl,
                        public ICaretPathSource,
                        private store::TreeObserver {
 public:
  CFolderTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
  // Releases every record, writing the Scrap.ini of each loaded directory.
  ~CFolderTreeCtrl() override;

  // The 16×16 folder, scrap and star pictures, in the order of store::ItemImage.
  static std::unique_ptr<wxImageList> CreateImageList();

  void SetHomeFolder(const std::string& path) { m_model.SetHomeFolder(path); }
  // Rebuilds the tree and selects path (empty: the caret item again).
  void RefreshTree(const std::string& path);
  // Selects the item of path, loading and inserting what is missing; an invalid id for a
  // path outside the home folder or one that does not exist.
  wxTreeItemId SelectByPath(const std::string& path);
  // Makes the home item the caret item (which opens the home folder in the document).
  void SelectHome();
  void ExpandAllFolders();
  void CollapseAllFolders();
  [[nodiscard]] int GetExpandAllState() const { return m_model.ExpandAllState(); }
  void SetExpandAllState(int state) { m_model.SetExpandAllState(state); }

  // The caret item's directory; empty when there is no caret item.
  [[nodiscard]] std::string CaretPath() const override;
  void ReturnCaretTo(const std::string& folder) override { (void)SelectByPath(folder); }
  [[nodiscard]] bool CanMoveUp() const { return m_ops.CanMoveUp(); }
  [[nodiscard]] bool CanMoveDown() const { return m_ops.CanMoveDown(); }
  void MoveUp() { m_ops.MoveUp(); }
  void MoveDown() { m_ops.MoveDown(); }
  // Runs one of the tree's commands (207–209, 32804–32806, 32815, 32841, 32842, 32845–32847).
  void RunCommand(int id);

  // Called with the new caret item whenever it changes to an item (not to none).
  void SetCaretHook(std::function<void(const store::TreeItem&)> hook) { m_caretHook = std::move(hook); }
  // Called before a delete runs (the document clears its modified flag there).
  void SetBeforeDeleteHook(std::function<void()> hook) { m_beforeDelete = std::move(hook); }
  // Called after a folder or scrap was renamed or moved on disk (a drop), with its old and new
  // path.
  void SetFolderMovedHook(std::function<void(const std::string& from, const std::string& to)> hook);
  // Where the shell's questions go; the tree's own dialogs by default.
  void SetShellUi(platform::ShellUi* ui);

  // "テキストの全文検索": one "find next" of the scrapbook-wide find dialog. Walks the tree from
  // the caret item and opens the first scrap whose text contains `text` with the occurrence
  // selected by the text finder; says "'%s' が見つかりません。" when the walk ends. False when
  // nothing was found (or the text is empty).
  bool SearchText(const std::string& text, bool matchCase, bool down);
  // The text tab, which shows and selects what the walk finds.
  void SetTextFinder(store::ScrapTextFinder* finder) { m_textFinder = finder; }
  // The last search's text and options.
  const store::FullTextRequest& LastSearch() const { return m_search; }
  // Shows the not-found message; tests replace it.
  std::function<void(const wxString&)> showMessage;

  store::FolderTreeModel& Model() { return m_model; }
  store::TreeSelection& Selection() { return m_sel; }
  store::TreeDrop& Drop() { return m_drop; }
  wxTreeItemId IdOf(const store::TreeItem* item) const;
  store::TreeItem* ItemOf(const wxTreeItemId& id) const;
  [[nodiscard]] bool IsDragging() const { return m_dragImage != nullptr; }
  // Drag steps, public so tests can drive a drag without a real mouse.
  bool BeginTreeDrag(const wxPoint& client);
  void DragMoveTo(const wxPoint& client);
  void DragTimerTick();
  void EndTreeDrag(bool cancelled, const wxPoint& client);

 protected:
  int OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) override;

 private:
  // store::TreeObserver
  void ItemInserted(store::TreeItem* item) override;
  void ItemRemoving(store::TreeItem* item) override;
  void ChildrenReordered(store::TreeItem* parent) override;
  void ItemExpanded(store::TreeItem* item) override;
  void ItemChanged(store::TreeItem* item) override;
  void CaretChanged(store::TreeItem* item) override;
  void MakeVisible(store::TreeItem* item) override;
  void SuspendRedraw(bool suspend) override;

  void ApplyLook(store::TreeItem* item);
  void OnExpanding(wxTreeEvent& event);
  void OnExpanded(wxTreeEvent& event);
  void OnSelChanged(wxTreeEvent& event);
  void OnBeginLabelEdit(wxTreeEvent& event);
  void OnEndLabelEdit(wxTreeEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnLeftDClick(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnCommand(wxCommandEvent& event);
  void OnUpdateCommand(wxUpdateUIEvent& event);

  store::TreeItem* ItemAt(const wxPoint& client, int* flags = nullptr) const;
  bool OnHomeItemParts(const wxTreeItemId& id, int flags) const;
  void RootToggle();
  void ShowContextMenu(const wxPoint& client);
  void StartRename();
  void DeleteSelection(bool permanent);
  void SetDropFeedback(store::TreeItem* target);
  void DrawInsertMark();
  void SetDragCursor(store::TreeItem* target);
  wxBitmap BuildDragBitmap() const;
  int ScrollX() const;
  void ScrollXTo(int x);

  store::FolderTreeModel m_model;
  store::TreeSelection m_sel{m_model};
  // Passes the shell's questions to whichever interface is set now.
  class ForwardingUi : public platform::ShellUi {
   public:
    explicit ForwardingUi(platform::ShellUi** target) : m_target(target) {}
    Answer ConfirmDelete(const std::vector<std::filesystem::path>& items, bool toTrash) override {
      return (*m_target)->ConfirmDelete(items, toTrash);
    }
    Answer ConfirmReplace(const std::filesystem::path& s, const std::filesystem::path& d) override {
      return (*m_target)->ConfirmReplace(s, d);
    }
    void ReportError(const std::string& message) override { (*m_target)->ReportError(message); }
    bool Progress(const std::filesystem::path& p, std::size_t done, std::size_t total) override {
      return (*m_target)->Progress(p, done, total);
    }
    Answer ConfirmCreateFolder(const std::filesystem::path& folder) override {
      return (*m_target)->ConfirmCreateFolder(folder);
    }

   private:
    platform::ShellUi** m_target;
  };

  std::unique_ptr<platform::ShellUi> m_ownShellUi;
  platform::ShellUi* m_shellUi = nullptr;
  ForwardingUi m_forwardUi;
  store::FolderOperations m_ops;
  store::TreeDrop m_drop;

  store::ScrapTextFinder* m_textFinder = nullptr;
  store::FullTextRequest m_search;
  std::function<void(const store::TreeItem&)> m_caretHook;
  std::function<void()> m_beforeDelete;
  std::function<void(const std::string&, const std::string&)> m_renamed;
  int m_syncing = 0;        // >0 while the model's changes are mirrored: control events ignored
  bool m_keyNavigating = false;
  bool m_pressMayDrag = false;
  wxPoint m_pressPos;

  // Drag state.
  std::unique_ptr<wxDragImage> m_dragImage;
  wxTimer m_dragTimer;
  store::TreeItem* m_dropTarget = nullptr;
  store::TreeDrop::Feedback m_feedback;
  int m_hoverCount = 0;
  wxCursor m_noDropCursor, m_moveCursor, m_copyCursor;
  int m_cursorSet = -1;

  wxDECLARE_EVENT_TABLE();
};

// Id of the drag timer.
inline constexpr int kDragTimerId = 1;
// Period of the drag timer in milliseconds.
inline constexpr int kDragTimerMs = 300;
