#include "app/store/ui/CComboTree.h"

#include <filesystem>
#include <system_error>

#include "app/store/DirListing.h"
#include "app/store/PickerFolders.h"
#include "app/store/ScrapStore.h"
#include "app/store/ui/CTreeComboBox.h"
#include "platform/TextConv.h"

namespace fs = std::filesystem;

struct CComboTree::ItemData : public wxTreeItemData {
  ItemData(std::string p, int i) : path(std::move(p)), id(i) {}
  std::string path;
  int id;
  bool childrenLoaded = false;  // the children of each child are in the tree
};

namespace {

constexpr long kStyle = wxTR_NO_BUTTONS | wxTR_NO_LINES | wxTR_HIDE_ROOT | wxTR_SINGLE |
                        wxTR_FULL_ROW_HIGHLIGHT | wxBORDER_NONE;

std::vector<std::string> Components(const std::string& relative) {
  std::vector<std::string> out;
  for (const auto& part : fs::path(relative)) {
    const std::string s = part.string();
    if (!s.empty() && s != "/" && s != ".") out.push_back(s);
  }
  return out;
}

}  // namespace

CComboTree::CComboTree(wxWindow* parent, CTreeComboBox* owner)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, kStyle), m_owner(owner) {
  Bind(wxEVT_TREE_ITEM_EXPANDING, &CComboTree::OnItemExpanding, this);
  Bind(wxEVT_TREE_ITEM_COLLAPSING, &CComboTree::OnItemExpanding, this);
  Bind(wxEVT_MOTION, &CComboTree::OnMotion, this);
  Bind(wxEVT_LEFT_DOWN, &CComboTree::OnLeftDown, this);
  Bind(wxEVT_KEY_DOWN, &CComboTree::OnKeyDown, this);
}

CComboTree::~CComboTree() = default;  // the item data go with the items

CComboTree::ItemData* CComboTree::Data(const wxTreeItemId& item) const {
  return item.IsOk() ? static_cast<ItemData*>(GetItemData(item)) : nullptr;
}

void CComboTree::SetHomeAndFill(const std::string& homePath) {
  DeleteAllItems();
  m_ids.assign(1, wxTreeItemId());
  m_lastId = 1;
  m_homePath = homePath;
  std::error_code ec;
  if (!homePath.empty()) fs::create_directories(homePath, ec);
  const wxTreeItemId root = AddRoot(wxString());
  const wxTreeItemId home = AppendItem(root, wxString::FromUTF8(store::DisplayName(homePath)),
                                       kImageHome, kImageHome, new ItemData(homePath, 1));
  m_ids.push_back(home);
  LoadChildren(home);
  ExpandEverything(home);
  SelectItem(home);
  m_owner->TakeSelection();
}

void CComboTree::LoadChildren(const wxTreeItemId& item) {
  const ItemData* data = Data(item);
  if (!data || data->path.empty()) return;
  for (const std::string& dir : store::PickerChildFolders(data->path)) {
    const wxTreeItemId child =
        AppendItem(item, wxString::FromUTF8(store::DisplayName(dir)), kImageFolder, kImageFolder,
                   new ItemData(dir, ++m_lastId));
    m_ids.push_back(child);
  }
}

wxTreeItemId CComboTree::InsertChild(const wxTreeItemId& parent, const std::string& dir) {
  if (!store::IsPickerFolder(dir)) return {};
  const std::string name = store::DisplayName(dir);
  // The sorted place among the siblings.
  size_t before = 0;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId c = GetFirstChild(parent, cookie); c.IsOk(); c = GetNextChild(parent, cookie)) {
    if (store::PickerTextLess(name, GetItemText(c).utf8_string())) break;
    ++before;
  }
  const wxTreeItemId item = InsertItem(parent, before, wxString::FromUTF8(name), kImageFolder,
                                       kImageFolder, new ItemData(dir, ++m_lastId));
  m_ids.push_back(item);
  return item;
}

void CComboTree::ExpandEverything(const wxTreeItemId& item) {
  if (!ItemHasChildren(item)) return;
  Expand(item);  // loads the grandchildren on the way
  wxTreeItemIdValue cookie;
  for (wxTreeItemId c = GetFirstChild(item, cookie); c.IsOk(); c = GetNextChild(item, cookie))
    ExpandEverything(c);
}

void CComboTree::OnItemExpanding(wxTreeEvent& event) {
  ItemData* data = Data(event.GetItem());
  if (data && !data->childrenLoaded) {
    data->childrenLoaded = true;
    wxTreeItemIdValue cookie;
    const wxTreeItemId item = event.GetItem();
    for (wxTreeItemId c = GetFirstChild(item, cookie); c.IsOk(); c = GetNextChild(item, cookie))
      if (!ItemHasChildren(c)) LoadChildren(c);
  }
  event.Skip();
}

std::string CComboTree::SelectedPath() const {
  const ItemData* data = Data(GetSelection());
  return data ? data->path : m_homePath;
}

wxTreeItemId CComboTree::SelectByPath(const std::string& pathIn) {
  std::string path = pathIn;
  if (path.size() >= 4 && path.back() == '/') path.pop_back();
  if (m_ids.size() < 2) return {};
  const wxTreeItemId home = m_ids[1];
  std::string rest;
  if (!m_homePath.empty()) {
    const fs::path relative = fs::path(path).lexically_relative(m_homePath);
    if (relative.empty() || *relative.begin() == "..") return {};
    rest = relative.string();
  } else {
    rest = path;
  }
  wxTreeItemId current = home;
  for (const std::string& component : Components(rest)) {
    // The exact name first; another letter case only when no child carries it.
    wxTreeItemId exact, folded;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = GetFirstChild(current, cookie); c.IsOk();
         c = GetNextChild(current, cookie)) {
      const std::string text = GetItemText(c).utf8_string();
      if (text == component) {
        exact = c;
        break;
      }
      if (!folded.IsOk() && platform::text::AsciiIEquals(text, component)) folded = c;
    }
    const wxTreeItemId next = exact.IsOk() ? exact : folded;
    if (!next.IsOk()) return {};
    Expand(current);
    current = next;
  }
  SelectItem(current);
  EnsureVisible(current);
  return current;
}

std::string CComboTree::CreateUniqueFolder(const std::string& name) {
  wxTreeItemId parent = GetSelection();
  if (!parent.IsOk() && m_ids.size() > 1) parent = m_ids[1];
  const ItemData* data = Data(parent);
  if (!data) return {};
  const fs::path path = store::CreateUniqueFolderPath(data->path, name);
  std::error_code ec;
  fs::create_directory(path, ec);
  const wxTreeItemId item = InsertChild(parent, path.string());
  if (item.IsOk()) {
    Expand(parent);
    SelectItem(item);
    EnsureVisible(item);
  }
  return path.string();
}

void CComboTree::MoveHighlight(int step) {
  wxTreeItemId item = GetSelection();
  if (!item.IsOk()) {
    if (m_ids.size() > 1) SelectItem(m_ids[1]);
    return;
  }
  const wxTreeItemId next = step > 0 ? GetNextVisible(item) : GetPrevVisible(item);
  if (next.IsOk() && next != GetRootItem()) {
    SelectItem(next);
    EnsureVisible(next);
  }
}

void CComboTree::OnMotion(wxMouseEvent& event) {
  int flags = 0;
  const wxTreeItemId item = HitTest(event.GetPosition(), flags);
  if (item.IsOk() && (flags & wxTREE_HITTEST_ONITEM) && item != GetSelection()) SelectItem(item);
  event.Skip();
}

void CComboTree::OnLeftDown(wxMouseEvent& event) {
  int flags = 0;
  const wxTreeItemId item = HitTest(event.GetPosition(), flags);
  if (flags & wxTREE_HITTEST_ONITEMBUTTON) {
    event.Skip();
    return;
  }
  if (item.IsOk()) SelectItem(item);
  m_owner->TakeSelection();
}

void CComboTree::OnKeyDown(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      CTreeComboBox::CloseDropDown();
      break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      m_owner->TakeSelection();
      break;
    default:
      event.Skip();
  }
}
