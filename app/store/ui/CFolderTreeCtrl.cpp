#include "app/store/ui/CFolderTreeCtrl.h"

#include <wx/settings.h>

#include "app/res/Resource.h"
#include "app/res/ui/ResArt.h"
#include "app/store/ui/CShellDialogs.h"

namespace {

// Links a toolkit item to its model item.
class ItemLink : public wxTreeItemData {
 public:
  explicit ItemLink(store::TreeItem* item) : m_item(item) {}
  store::TreeItem* m_item;
};

constexpr long kTreeStyle =
    wxTR_HAS_BUTTONS | wxTR_EDIT_LABELS | wxTR_MULTIPLE | wxTR_NO_LINES | wxBORDER_NONE;

}  // namespace

CFolderTreeCtrl::CFolderTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                 const wxSize& size)
    : wxTreeCtrl(parent, id, pos, size, kTreeStyle),
      m_ownShellUi(std::make_unique<CShellDialogs>(wxGetTopLevelParent(parent))),
      m_shellUi(m_ownShellUi.get()),
      m_forwardUi(&m_shellUi),
      m_ops(m_model, m_forwardUi),
      m_drop(m_model, m_forwardUi),
      m_dragTimer(this, kDragTimerId) {
  m_model.SetObserver(this);
}

CFolderTreeCtrl::~CFolderTreeCtrl() {
  m_dragTimer.Stop();
  ++m_syncing;
  m_model.SetObserver(nullptr);
  m_model.Clear();
}

void CFolderTreeCtrl::SetShellUi(platform::ShellUi* ui) {
  m_shellUi = ui ? ui : m_ownShellUi.get();
}

std::unique_ptr<wxImageList> CFolderTreeCtrl::CreateImageList() {
  auto list = std::make_unique<wxImageList>(16, 16, true, 3);
  for (int id : {res::kBmpFolder, res::kBmpScrap, res::kBmpStar}) {
    wxBitmap bitmap = res::ui::ResourceBitmap(id);
    if (!bitmap.IsOk()) bitmap = wxBitmap(16, 16);
    list->Add(bitmap);
  }
  return list;
}

// The program moves the caret item here (start-up, F5, a scrap handed over by a second
// instance): what then shows selected is also what Delete and a drag act on.
void CFolderTreeCtrl::RefreshTree(const std::string& path) {
  m_model.Refresh(path);
  m_model.SelectOnly(m_model.Caret());
}

wxTreeItemId CFolderTreeCtrl::SelectByPath(const std::string& path) {
  store::TreeItem* item = m_model.SelectByPath(path);
  if (item) m_model.SelectOnly(item);
  return IdOf(item);
}

void CFolderTreeCtrl::ExpandAllFolders() { m_model.ExpandAll(); }

void CFolderTreeCtrl::SelectHome() {
  if (store::TreeItem* home = m_model.Home()) {
    m_model.SetCaret(home);
    m_model.SelectOnly(home);
  }
}

void CFolderTreeCtrl::CollapseAllFolders() {
  m_model.CollapseAll();
  ScrollXTo(0);
}

std::string CFolderTreeCtrl::CaretPath() const {
  return m_model.Caret() ? m_model.Caret()->Path() : std::string();
}

wxTreeItemId CFolderTreeCtrl::IdOf(const store::TreeItem* item) const {
  return item ? wxTreeItemId(item->handle) : wxTreeItemId();
}

store::TreeItem* CFolderTreeCtrl::ItemOf(const wxTreeItemId& id) const {
  if (!id.IsOk()) return nullptr;
  auto* link = static_cast<ItemLink*>(GetItemData(id));
  return link ? link->m_item : nullptr;
}

int CFolderTreeCtrl::OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) {
  // The model has already ordered the children; the control only takes over its order.
  const store::TreeItem* ia = ItemOf(a);
  const store::TreeItem* ib = ItemOf(b);
  if (!ia || !ib || ia->index == ib->index) return 0;
  return ia->index < ib->index ? -1 : 1;
}

void CFolderTreeCtrl::ItemInserted(store::TreeItem* item) {
  ++m_syncing;
  wxTreeItemId id;
  const wxString text = wxString::FromUTF8(item->text);
  if (!item->parent) {
    id = AddRoot(text, item->image, item->image, new ItemLink(item));
  } else {
    id = InsertItem(IdOf(item->parent), item->index, text, item->image, item->image,
                    new ItemLink(item));
  }
  item->handle = id.GetID();
  if (item->marked || item->bold) ApplyLook(item);
  --m_syncing;
}

void CFolderTreeCtrl::ItemRemoving(store::TreeItem* item) {
  ++m_syncing;
  if (m_dropTarget && item->IsSelfOrAncestorOf(m_dropTarget)) {
    m_dropTarget = nullptr;
    m_feedback = {};
  }
  if (!item->parent) {
    DeleteAllItems();
  } else {
    Delete(IdOf(item));
  }
  --m_syncing;
}

void CFolderTreeCtrl::ChildrenReordered(store::TreeItem* parent) {
  ++m_syncing;
  SortChildren(IdOf(parent));
  --m_syncing;
}

void CFolderTreeCtrl::ItemExpanded(store::TreeItem* item) {
  ++m_syncing;
  if (item->expanded) {
    Expand(IdOf(item));
  } else {
    Collapse(IdOf(item));
  }
  --m_syncing;
}

void CFolderTreeCtrl::ItemChanged(store::TreeItem* item) {
  ++m_syncing;
  const wxTreeItemId id = IdOf(item);
  const wxString text = wxString::FromUTF8(item->text);
  if (GetItemText(id) != text) SetItemText(id, text);
  if (GetItemImage(id) != item->image) {
    SetItemImage(id, item->image);
    SetItemImage(id, item->image, wxTreeItemIcon_Selected);
  }
  ApplyLook(item);
  --m_syncing;
}

void CFolderTreeCtrl::ApplyLook(store::TreeItem* item) {
  const wxTreeItemId id = IdOf(item);
  const bool highlighted = item->marked || (item == m_dropTarget &&
                                            m_feedback.kind == store::TreeDrop::FeedbackKind::Highlight);
  SetItemBackgroundColour(id, highlighted ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)
                                          : wxNullColour);
  SetItemTextColour(id, highlighted ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                                    : wxNullColour);
  SetItemBold(id, item->bold);
}

void CFolderTreeCtrl::CaretChanged(store::TreeItem* item) {
  ++m_syncing;
  UnselectAll();
  if (item) {
    SelectItem(IdOf(item));
    SetFocusedItem(IdOf(item));
  } else {
    ClearFocusedItem();
  }
  --m_syncing;
  if (item && m_caretHook) m_caretHook(*item);
}

void CFolderTreeCtrl::MakeVisible(store::TreeItem* item) {
  const int x = ScrollX();
  EnsureVisible(IdOf(item));
  ScrollXTo(x);
}

void CFolderTreeCtrl::SuspendRedraw(bool suspend) {
  if (suspend) {
    Freeze();
  } else if (IsFrozen()) {
    Thaw();
  }
}

int CFolderTreeCtrl::ScrollX() const {
  int x = 0, y = 0;
  GetViewStart(&x, &y);
  return x;
}

void CFolderTreeCtrl::ScrollXTo(int x) {
  int oldX = 0, y = 0;
  GetViewStart(&oldX, &y);
  if (oldX != x) Scroll(x, -1);
}

void CFolderTreeCtrl::OnExpanding(wxTreeEvent& event) {
  if (m_syncing) return;
  store::TreeItem* item = ItemOf(event.GetItem());
  if (!item) return;
  // The home item only closes through its own toggle, never from the control.
  if (event.GetEventType() == wxEVT_TREE_ITEM_COLLAPSING && item == m_model.Home()) {
    event.Veto();
    return;
  }
  ++m_syncing;
  m_model.PrepareExpand(item);
  --m_syncing;
}

void CFolderTreeCtrl::OnExpanded(wxTreeEvent& event) {
  if (m_syncing) return;
  if (store::TreeItem* item = ItemOf(event.GetItem())) item->expanded = IsExpanded(event.GetItem());
}

void CFolderTreeCtrl::OnSelChanged(wxTreeEvent& event) {
  if (m_syncing) return;
  store::TreeItem* item = ItemOf(event.GetItem());
  if (!item || !IsSelected(event.GetItem())) return;
  m_model.SetCaret(item);
  if (m_keyNavigating) m_sel.CaretMovedByKeyboard(item);
}

void CFolderTreeCtrl::OnBeginLabelEdit(wxTreeEvent& event) {
  if (!m_ops.CanRename(ItemOf(event.GetItem()))) event.Veto();
}

void CFolderTreeCtrl::OnEndLabelEdit(wxTreeEvent& event) {
  if (event.IsEditCancelled()) return;
  store::TreeItem* item = ItemOf(event.GetItem());
  const std::string text = event.GetLabel().utf8_string();
  // The control would show the typed text itself; the shell decides whether it becomes the name.
  const std::string from = item ? item->Path() : std::string();
  if (!item || !m_ops.Rename(item, text)) {
    event.Veto();
    return;
  }
  if (m_renamed && item->Path() != from) m_renamed(from, item->Path());
}

void CFolderTreeCtrl::SetFolderMovedHook(
    std::function<void(const std::string& from, const std::string& to)> hook) {
  m_renamed = hook;
  m_drop.SetMovedHook(std::move(hook));
}

void CFolderTreeCtrl::StartRename() {
  store::TreeItem* caret = m_model.Caret();
  if (!m_ops.CanRename(caret)) return;
  EditLabel(IdOf(caret));
}

void CFolderTreeCtrl::DeleteSelection(bool permanent) {
  m_ops.DeleteSelection(permanent, m_beforeDelete);
}
