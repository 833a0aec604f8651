#pragma once

#include <functional>
#include <optional>
#include <string>

#include <wx/dialog.h>

#include "app/shell/AppSettings.h"

class wxCheckBox;
class wxTextCtrl;

// "Evernote登録設定": where the note program is and whether the scrap's text goes with the
// picture. The dialog edits a copy; Settings() gives the result after OK.
class CEvernoteSetting : public wxDialog {
 public:
  enum : int {
    kIdPathBox = 1051,
    kIdSendText = 1052,
    kIdBrowse = 1053,
  };

  CEvernoteSetting(wxWindow* parent, const shell::EvernoteSettings& settings);

  const shell::EvernoteSettings& Settings() const { return m_settings; }

  // Asks for the program's file, starting in `folder`; nullopt when the user cancels. A
  // file-open dialog unless replaced.
  std::function<std::optional<std::string>(const std::string& folder)> chooseFile;
  // Shows the error about a wrongly named file; a message box unless replaced.
  std::function<void(const wxString& text)> showError;

  // Whether a chosen file may be taken as the note program: its name is Evernote.exe in any
  // letter case.
  static bool IsProgramName(const std::string& path);

 private:
  void OnBrowse(wxCommandEvent& event);
  void OnOk(wxCommandEvent& event);

  shell::EvernoteSettings m_settings;
  wxTextCtrl* m_path = nullptr;
  wxCheckBox* m_sendText = nullptr;
};
