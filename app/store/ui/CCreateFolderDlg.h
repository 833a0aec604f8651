#pragma once

#include <wx/dialog.h>

#include <string>

class CTreeComboBox;
class wxButton;
class wxTextCtrl;

// "フォルダの作成": asks for a folder name and where to put it. It creates nothing itself;
// its owner reads the name and the destination after OK.
class CCreateFolderDlg : public wxDialog {
 public:
  // The picker takes the owner picker's pictures and home folder and starts at its choice.
  CCreateFolderDlg(wxWindow* owner, const CTreeComboBox& ownerPicker);
  ~CCreateFolderDlg() override;

  const std::string& FolderName() const { return m_folderName; }
  const std::string& Destination() const { return m_destination; }
  CTreeComboBox* Picker() const { return m_picker; }
  wxTextCtrl* NameBox() const { return m_name; }

  static constexpr int kIdName = 1004;
  static constexpr int kIdPicker = 1003;

 private:
  void UpdateCreateButton();
  void OnCreate(wxCommandEvent& event);

  wxTextCtrl* m_name = nullptr;
  CTreeComboBox* m_picker = nullptr;
  wxButton* m_create = nullptr;
  std::string m_folderName;
  std::string m_destination;
};
