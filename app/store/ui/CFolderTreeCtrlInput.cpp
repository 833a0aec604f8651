// CFolderTreeCtrl: mouse, keyboard, context menu and commands.
#include <wx/menu.h>

#include "app/res/Resource.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/store/ScrapStore.h"
#include "app/store/ui/CFolderTreeCtrl.h"

// clang-format off
wxBEGIN_EVENT_TABLE(CFolderTreeCtrl, wxTreeCtrl)
  EVT_TREE_ITEM_EXPANDING(wxID_ANY, CFolderTreeCtrl::OnExpanding)
  EVT_TREE_ITEM_COLLAPSING(wxID_ANY, CFolderTreeCtrl::OnExpanding)
  EVT_TREE_ITEM_EXPANDED(wxID_ANY, CFolderTreeCtrl::OnExpanded)
  EVT_TREE_ITEM_COLLAPSED(wxID_ANY, CFolderTreeCtrl::OnExpanded)
  EVT_TREE_SEL_CHANGED(wxID_ANY, CFolderTreeCtrl::OnSelChanged)
  EVT_TREE_BEGIN_LABEL_EDIT(wxID_ANY, CFolderTreeCtrl::OnBeginLabelEdit)
  EVT_TREE_END_LABEL_EDIT(wxID_ANY, CFolderTreeCtrl::OnEndLabelEdit)
  EVT_LEFT_DOWN(CFolderTreeCtrl::OnLeftDown)
  EVT_LEFT_UP(CFolderTreeCtrl::OnLeftUp)
  EVT_LEFT_DCLICK(CFolderTreeCtrl::OnLeftDClick)
  EVT_RIGHT_DOWN(CFolderTreeCtrl::OnRightDown)
  EVT_MOTION(CFolderTreeCtrl::OnMotion)
  EVT_LEAVE_WINDOW(CFolderTreeCtrl::OnLeave)
  EVT_MOUSE_CAPTURE_LOST(CFolderTreeCtrl::OnCaptureLost)
  EVT_KEY_DOWN(CFolderTreeCtrl::OnKeyDown)
  EVT_KEY_UP(CFolderTreeCtrl::OnKeyUp)
  EVT_CONTEXT_MENU(CFolderTreeCtrl::OnContextMenu)
  EVT_TIMER(kDragTimerId, CFolderTreeCtrl::OnTimer)
  EVT_MENU(wxID_ANY, CFolderTreeCtrl::OnCommand)
  EVT_UPDATE_UI_RANGE(res::kIdNewFolder, res::kIdRenameItem, CFolderTreeCtrl::OnUpdateCommand)
  EVT_UPDATE_UI_RANGE(res::kIdSortDateAscending, res::kIdSortName, CFolderTreeCtrl::OnUpdateCommand)
  EVT_UPDATE_UI_RANGE(res::kIdRestoreOrder, res::kIdMoveDown, CFolderTreeCtrl::OnUpdateCommand)
  EVT_UPDATE_UI_RANGE(res::kIdExpandFolders, res::kIdCollapseFolders, CFolderTreeCtrl::OnUpdateCommand)
  EVT_UPDATE_UI(res::kIdRefresh, CFolderTreeCtrl::OnUpdateCommand)
  EVT_UPDATE_UI(res::kIdFindInScrapbook, CFolderTreeCtrl::OnUpdateCommand)
wxEND_EVENT_TABLE()
// clang-format on

namespace {

// Keys that move the caret item (arrows, Home, End, page keys) or type (the control jumps to
// the next item starting with the typed letters). Modifier keys alone, function keys, Esc,
// Tab and Enter do neither, so a Shift or Ctrl held for the next click keeps the list.
bool MovesCaretOrTypes(const wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_UP: case WXK_DOWN: case WXK_LEFT: case WXK_RIGHT:
    case WXK_HOME: case WXK_END: case WXK_PAGEUP: case WXK_PAGEDOWN:
    case WXK_NUMPAD_UP: case WXK_NUMPAD_DOWN: case WXK_NUMPAD_LEFT: case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_HOME: case WXK_NUMPAD_END: case WXK_NUMPAD_PAGEUP: case WXK_NUMPAD_PAGEDOWN:
      return true;
    default: break;
  }
  if (event.HasAnyModifiers()) return false;  // a shortcut, not typing
  const wxChar ch = event.GetUnicodeKey();
  return ch != WXK_NONE && ch >= 0x20 && ch != WXK_DELETE;
}

// The parts of a row a press on the home item toggles its children from.
constexpr int kHomeParts = wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL |
                           wxTREE_HITTEST_ONITEMBUTTON | wxTREE_HITTEST_ONITEMSTATEICON;

}  // namespace

store::TreeItem* CFolderTreeCtrl::ItemAt(const wxPoint& client, int* flags) const {
  int hitFlags = 0;
  const wxTreeItemId id = HitTest(client, hitFlags);
  if (flags) *flags = hitFlags;
  return ItemOf(id);
}

bool CFolderTreeCtrl::OnHomeItemParts(const wxTreeItemId& id, int flags) const {
  return id.IsOk() && ItemOf(id) == m_model.Home() && (flags & kHomeParts);
}

void CFolderTreeCtrl::RootToggle() {
  m_model.RootToggle();
  Scroll(-1, 0);
}

void CFolderTreeCtrl::OnLeftDown(wxMouseEvent& event) {
  if (IsDragging()) return;
  int flags = 0;
  const wxTreeItemId id = HitTest(event.GetPosition(), flags);
  if (OnHomeItemParts(id, flags)) {
    SetFocus();
    RootToggle();
    return;
  }
  if (id.IsOk() && (flags & wxTREE_HITTEST_ONITEMBUTTON)) {
    event.Skip();  // the control opens or closes the item
    return;
  }
  SetFocus();
  m_pressMayDrag = true;
  m_pressPos = event.GetPosition();
  m_sel.LeftPress(ItemOf(id), event.ControlDown(), event.ShiftDown());
  if (!HasCapture()) CaptureMouse();
}

void CFolderTreeCtrl::OnLeftUp(wxMouseEvent& event) {
  if (IsDragging()) {
    const wxPoint pos = event.GetPosition();
    const bool outside = !GetClientRect().Contains(pos);
    EndTreeDrag(outside, pos);
    return;
  }
  if (HasCapture()) ReleaseMouse();
  if (m_pressMayDrag && !event.ControlDown() && !event.ShiftDown()) m_sel.LeftRelease();
  m_pressMayDrag = false;
}

void CFolderTreeCtrl::OnLeftDClick(wxMouseEvent& event) {
  int flags = 0;
  const wxTreeItemId id = HitTest(event.GetPosition(), flags);
  if (OnHomeItemParts(id, flags)) {
    RootToggle();
    return;
  }
  if (store::TreeItem* item = ItemOf(id); item && item->HasChildren()) {
    if (item->expanded) {
      m_model.Collapse(item);
    } else {
      m_model.Expand(item);
    }
  }
}

void CFolderTreeCtrl::OnRightDown(wxMouseEvent& event) {
  if (IsDragging()) {
    EndTreeDrag(true, event.GetPosition());
    return;
  }
  SetFocus();
  m_sel.RightClick(ItemAt(event.GetPosition()));
  ShowContextMenu(event.GetPosition());
}

void CFolderTreeCtrl::OnMotion(wxMouseEvent& event) {
  if (IsDragging()) {
    DragMoveTo(event.GetPosition());
    return;
  }
  if (m_pressMayDrag && event.LeftIsDown()) {
    int dx = wxSystemSettings::GetMetric(wxSYS_DRAG_X, this);
    int dy = wxSystemSettings::GetMetric(wxSYS_DRAG_Y, this);
    if (dx <= 0) dx = 4;
    if (dy <= 0) dy = 4;
    const wxPoint d = event.GetPosition() - m_pressPos;
    if (std::abs(d.x) > dx || std::abs(d.y) > dy) {
      if (!BeginTreeDrag(event.GetPosition())) m_pressMayDrag = false;
    }
    return;
  }
  if (GetClientRect().Contains(event.GetPosition())) m_model.SetHot(ItemAt(event.GetPosition()));
  event.Skip();
}

void CFolderTreeCtrl::OnLeave(wxMouseEvent& event) {
  if (!IsDragging()) m_model.SetHot(nullptr);
  event.Skip();
}

void CFolderTreeCtrl::OnCaptureLost(wxMouseCaptureLostEvent&) {
  if (IsDragging()) EndTreeDrag(true, wxDefaultPosition);
  m_pressMayDrag = false;
}

void CFolderTreeCtrl::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool shift = event.ShiftDown();
  const bool alt = event.AltDown();
  store::TreeItem* caret = m_model.Caret();
  if (IsDragging()) {
    if (key == WXK_ESCAPE) EndTreeDrag(true, wxDefaultPosition);
    if (key == WXK_CONTROL) SetDragCursor(m_dropTarget);
    return;
  }
  if ((key == WXK_F10 && shift) || key == WXK_MENU || key == WXK_WINDOWS_MENU) {
    wxRect rect;
    if (caret && GetBoundingRect(IdOf(caret), rect, true)) {
      ShowContextMenu(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
    }
    return;
  }
  if (key == WXK_LEFT && caret && caret == m_model.Home()) return;  // home stays open
  if (shift && !alt && (key == WXK_UP || key == WXK_DOWN)) {
    m_sel.ShiftArrow(key == WXK_DOWN);
    return;
  }
  if (alt && (key == WXK_UP || key == WXK_DOWN)) {
    if (key == WXK_UP) m_ops.MoveUp();
    if (key == WXK_DOWN) m_ops.MoveDown();
    return;
  }
  switch (key) {
    case WXK_DELETE: DeleteSelection(shift); return;
    case WXK_F2: StartRename(); return;
    case WXK_F5: RefreshTree(""); return;
    default: break;
  }
  if (MovesCaretOrTypes(event)) m_sel.CaretKey();
  // The control moves the caret item while it handles this key; the list follows it.
  m_keyNavigating = true;
  CallAfter([this] { m_keyNavigating = false; });
  event.Skip();
}

void CFolderTreeCtrl::OnKeyUp(wxKeyEvent& event) {
  if (IsDragging() && event.GetKeyCode() == WXK_CONTROL) {
    SetDragCursor(m_dropTarget);
    return;
  }
  event.Skip();
}

void CFolderTreeCtrl::OnContextMenu(wxContextMenuEvent& event) {
  wxPoint pos = event.GetPosition();
  if (pos == wxDefaultPosition) {
    wxRect rect;
    store::TreeItem* caret = m_model.Caret();
    if (!caret || !GetBoundingRect(IdOf(caret), rect, true)) return;
    pos = rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2);
  } else {
    pos = ScreenToClient(pos);
  }
  ShowContextMenu(pos);
}

void CFolderTreeCtrl::ShowContextMenu(const wxPoint& client) {
  std::unique_ptr<wxMenu> menu(res::ui::BuildPopup(res::kPopupTree));
  if (!menu) return;
  // The sort entries show which order the caret item has, so they become check items.
  for (int id : {res::kIdSortDateAscending, res::kIdSortDateDescending, res::kIdSortName}) {
    wxMenu* owner = nullptr;
    wxMenuItem* item = menu->FindItem(id, &owner);
    if (!item || !owner) continue;
    const wxString text = item->GetItemLabel();
    std::size_t pos = 0;
    owner->FindChildItem(id, &pos);
    owner->Destroy(item);
    owner->Insert(pos, id, text, wxEmptyString, wxITEM_CHECK);
  }
  PopupMenu(menu.get(), client);
}

void CFolderTreeCtrl::RunCommand(int id) {
  switch (id) {
    case res::kIdNewFolder:
      if (m_ops.NewFolder()) StartRename();
      break;
    case res::kIdDeleteItem: DeleteSelection(wxGetKeyState(WXK_SHIFT)); break;
    case res::kIdRenameItem: StartRename(); break;
    case res::kIdSortDateAscending: m_ops.SetSortType(store::kSortDateAscending); break;
    case res::kIdSortDateDescending: m_ops.SetSortType(store::kSortDateDescending); break;
    case res::kIdSortName: m_ops.SetSortType(store::kSortName); break;
    case res::kIdRestoreOrder: m_ops.UndoSort(); break;
    case res::kIdMoveUp: m_ops.MoveUp(); break;
    case res::kIdMoveDown: m_ops.MoveDown(); break;
    case res::kIdExpandFolders: ExpandAllFolders(); break;
    case res::kIdCollapseFolders: CollapseAllFolders(); break;
    case res::kIdRefresh: RefreshTree(""); break;
    default: break;
  }
}

void CFolderTreeCtrl::OnCommand(wxCommandEvent& event) {
  const int id = event.GetId();
  if (id == res::kIdFindInScrapbook) {
    // The main window opens the find dialog.
    if (wxWindow* top = wxGetTopLevelParent(this)) {
      wxCommandEvent find(wxEVT_MENU, res::kIdFindInScrapbook);
      find.SetEventObject(this);
      top->GetEventHandler()->ProcessEvent(find);
    }
    return;
  }
  switch (id) {
    case res::kIdNewFolder: case res::kIdDeleteItem: case res::kIdRenameItem:
    case res::kIdSortDateAscending: case res::kIdSortDateDescending: case res::kIdSortName:
    case res::kIdRestoreOrder: case res::kIdMoveUp: case res::kIdMoveDown:
    case res::kIdExpandFolders: case res::kIdCollapseFolders: case res::kIdRefresh:
      RunCommand(id);
      return;
    default: event.Skip();
  }
}

void CFolderTreeCtrl::OnUpdateCommand(wxUpdateUIEvent& event) {
  const store::TreeItem* caret = m_model.Caret();
  const int id = event.GetId();
  // Every command of the context menu that this control carries out (or, for the full-text
  // search, hands to the main window) is enabled here: an update nobody answers disables it.
  switch (id) {
    case res::kIdNewFolder: case res::kIdExpandFolders: case res::kIdCollapseFolders:
    case res::kIdRefresh: case res::kIdFindInScrapbook:
      event.Enable(true);
      return;
    default: break;
  }
  if (id == res::kIdRestoreOrder) {
    event.Enable(m_ops.CanUndoSort());
    return;
  }
  if (!caret) return;  // enable and check states stay as they are
  switch (id) {
    case res::kIdDeleteItem:
    case res::kIdRenameItem: event.Enable(!m_model.IsHomePath(caret->Path())); break;
    case res::kIdSortDateAscending: event.Check(caret->record->sortType == 0); break;
    case res::kIdSortDateDescending: event.Check(caret->record->sortType == 1); break;
    case res::kIdSortName: event.Check(caret->record->sortType == 2); break;
    case res::kIdMoveUp: event.Enable(m_ops.CanMoveUp()); break;
    case res::kIdMoveDown: event.Enable(m_ops.CanMoveDown()); break;
    default: break;
  }
}
