#pragma once

#include <functional>
#include <string>

#include <wx/dialog.h>

class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

// "ファイル名設定": which name the files handed to the note program get (the page title, the
// domain, the full address or a name of the user's own), with a preview of the name.
class CEvernoteFileNameDlg : public wxDialog {
 public:
  enum : int {
    kIdTitle = 1054,
    kIdDomain = 1055,
    kIdFullAddress = 1056,
    kIdUserDefined = 1057,
    kIdNameBox = 1058,
    kIdPreview = 1059,
  };

  // baseName gives the base name for a rule and a user name (the preview).
  CEvernoteFileNameDlg(wxWindow* parent, int rule, const std::string& userName,
                       std::function<std::string(int rule, const std::string& userName)> baseName);

  int Rule() const { return m_rule; }
  const std::string& UserName() const { return m_userName; }

  // Warns that the name is missing; a message box unless replaced.
  std::function<void(const wxString& text)> showWarning;

 private:
  void ReadControls();
  void ApplyChoice();
  void OnChoice(wxCommandEvent& event);
  void OnNameChanged(wxCommandEvent& event);
  void OnOk(wxCommandEvent& event);
  void ShowPreview(const std::string& userName);

  int m_rule = 0;
  std::string m_userName;
  std::function<std::string(int, const std::string&)> m_baseName;
  wxRadioButton* m_rules[4] = {};
  wxTextCtrl* m_name = nullptr;
  wxStaticText* m_preview = nullptr;
};
