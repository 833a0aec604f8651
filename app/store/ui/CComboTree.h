#pragma once

#include <wx/treectrl.h>

#include <string>
#include <vector>

class CTreeComboBox;

// The drop-down part of the folder picker: a tree of the scrapbook's folders below the home
// folder (scraps and pictures folders left out), in text order. Children are loaded one level
// ahead of what is expanded. Lives in a popup window that CTreeComboBox shows and hides.
class CComboTree : public wxTreeCtrl {
 public:
  CComboTree(wxWindow* parent, CTreeComboBox* owner);
  ~CComboTree() override;

  // Empties the tree and inserts the home item (loading and expanding everything below it),
  // which becomes the caret item.
  void SetHomeAndFill(const std::string& homePath);
  const std::string& HomePath() const { return m_homePath; }

  // The caret item's path; the home path when there is no caret item.
  [[nodiscard]] std::string SelectedPath() const;
  // Makes the item of path the caret item, expanding the items on the way; nothing is read
  // from disk. The home folder selects the home item. Returns an invalid id (and leaves the
  // caret where it was) for a path outside the home folder or one the tree does not hold.
  wxTreeItemId SelectByPath(const std::string& path);
  // Creates a folder named name (used as given: callers clean it) below the caret item, or
  // below the home item when there is none, under a unique name, shows it and makes it the
  // caret item. Returns the new folder's path.
  std::string CreateUniqueFolder(const std::string& name);

  // Moves the caret to the next (+1) or previous (-1) visible item.
  void MoveHighlight(int step);

  // Images of the tree's image list, in the folder tree's order.
  enum Image { kImageFolder = 0, kImageScrap = 1, kImageHome = 2 };

 private:
  struct ItemData;
  ItemData* Data(const wxTreeItemId& item) const;
  void LoadChildren(const wxTreeItemId& item);
  wxTreeItemId InsertChild(const wxTreeItemId& parent, const std::string& dir);
  void ExpandEverything(const wxTreeItemId& item);
  void OnItemExpanding(wxTreeEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);

  CTreeComboBox* m_owner;
  std::vector<wxTreeItemId> m_ids;  // index = item id; 0 none, 1 the home item
  int m_lastId = 0;
  std::string m_homePath;
};
