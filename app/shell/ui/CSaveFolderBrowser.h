#pragma once

#include <wx/dialog.h>

#include <string>

class wxGenericDirCtrl;
class wxStaticText;

// The folder browser for a new save folder: the whole file system as a folder tree, starting
// at the current save folder, with the chosen folder's path shown below the tree.
class CSaveFolderBrowser : public wxDialog {
 public:
  // start: the folder selected at first; the process's current folder when empty.
  CSaveFolderBrowser(wxWindow* parent, const std::string& start);

  // The chosen folder's path; empty when the selection is not a folder.
  std::string Path() const;
  // Selects a folder, as a click in the tree would.
  void SetPath(const std::string& path);
  wxString StatusText() const;

 private:
  void ShowStatus();
  void NameSections();

  wxGenericDirCtrl* m_tree = nullptr;
  wxStaticText* m_status = nullptr;
};

inline constexpr const char* kSaveFolderBrowserTitle = "目的フォルダを選択してください。";
