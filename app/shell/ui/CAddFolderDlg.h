#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/imaglist.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class CTreeComboBox;
class wxButton;
class wxTextCtrl;

// "スクラップブックへの追加": the name of a captured page's new scrap and the folder to file it
// in. Adding creates the scrap folder (cleaned name, unique in its destination); the capture
// import then moves the captured files into it.
class CAddFolderDlg : public wxDialog {
 public:
  CAddFolderDlg(wxWindow* owner, const std::string& homeFolder, const std::string& proposedName);
  ~CAddFolderDlg() override;

  // The scrap folder the add button created; empty before.
  const std::string& ScrapFolder() const { return m_scrapFolder; }
  CTreeComboBox* Picker() const { return m_picker; }
  wxTextCtrl* NameBox() const { return m_name; }
  wxButton* AddButton() const { return m_add; }

  static constexpr int kIdName = 1000;
  static constexpr int kIdNewFolder = 1001;
  static constexpr int kIdPicker = 1002;
  // Where the star is painted, in client pixels (DIPs).
  static constexpr int kStarX = 32;
  static constexpr int kStarY = 14;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnNewFolder(wxCommandEvent& event);
  void OnAdd(wxCommandEvent& event);
  void UpdateAddButton();

  std::unique_ptr<wxImageList> m_images;
  wxBitmap m_star;  // the star with its mask applied as transparency
  wxTextCtrl* m_name = nullptr;
  CTreeComboBox* m_picker = nullptr;
  wxButton* m_add = nullptr;
  std::string m_scrapFolder;
};

// Shows the add dialog for a capture (no owner: the main window does not exist yet) and
// returns the scrap folder it created, or nullopt when the user cancelled.
std::optional<std::filesystem::path> AskScrapFolder(const std::string& homeFolder,
                                                    const std::string& proposedName);
