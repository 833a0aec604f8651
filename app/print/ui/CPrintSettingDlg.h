#pragma once

#include <functional>

#include <wx/dialog.h>

#include "app/print/PrintSettings.h"

class wxCheckBox;
class wxRadioButton;
class wxSpinButton;
class wxSpinEvent;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;

// "印刷設定": orientation, colour mode and scaling of the open scrap's printing. The dialog edits
// a copy; Settings() gives the result after OK ("設定").
class CPrintSettingDlg : public wxDialog {
 public:
  // Control ids of the dialog.
  enum : int {
    kIdPortrait = 1009,
    kIdLandscape = 1013,
    kIdFitWhole = 1015,
    kIdFitWidth = 1017,
    kIdPageCount = 1019,
    kIdScale = 1021,
    kIdPageCountBox = 1023,
    kIdScaleBox = 1026,
    kIdScaleSpin = 1027,
    kIdColor = 1038,
    kIdMonochrome = 1039,
    kIdColumnsForOnePage = 1040,
    kIdColumnsForPageCount = 1041,
  };
  // Each click of the scale's spin button moves this many percent, whatever step the control
  // itself would take.
  static constexpr int kScaleStep = 10;

  CPrintSettingDlg(wxWindow* parent, const print::PrintSettings& settings);

  const print::PrintSettings& Settings() const { return m_settings; }

  // Shows a message about a value out of its range; a message box unless replaced.
  std::function<void(const wxString& text)> showMessage;

 private:
  void LoadControls();
  // Reads the controls into the settings; false (after telling the user) when a number box
  // does not hold a whole number.
  bool ReadControls();
  void UpdateEnabling();
  void UpdateOrientationIcon();
  void OnChoice(wxCommandEvent& event);
  void OnSpin(wxSpinEvent& event);
  void OnOk(wxCommandEvent& event);
  void PutBack(wxTextCtrl* box, int value);

  print::PrintSettings m_settings;
  wxRadioButton* m_portrait = nullptr;
  wxRadioButton* m_landscape = nullptr;
  wxStaticBitmap* m_portraitIcon = nullptr;
  wxStaticBitmap* m_landscapeIcon = nullptr;
  wxRadioButton* m_color = nullptr;
  wxRadioButton* m_monochrome = nullptr;
  wxRadioButton* m_modes[4] = {};
  wxCheckBox* m_columnsForOnePage = nullptr;
  wxCheckBox* m_columnsForPageCount = nullptr;
  wxTextCtrl* m_pageCountBox = nullptr;
  wxStaticText* m_pageLabel = nullptr;
  wxTextCtrl* m_scaleBox = nullptr;
  wxSpinButton* m_scaleSpin = nullptr;
  wxStaticText* m_scaleLabel = nullptr;
};
