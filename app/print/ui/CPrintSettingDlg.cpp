#include "app/print/ui/CPrintSettingDlg.h"

#include <algorithm>
#include <climits>
#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "app/res/Resource.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/res/ui/ResArt.h"

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

CPrintSettingDlg::CPrintSettingDlg(wxWindow* parent, const print::PrintSettings& settings)
    : wxDialog(parent, wxID_ANY, U("印刷設定")), m_settings(settings) {
  showMessage = [this](const wxString& text) {
    res::ui::MessageBox(text, U("クリップレン帳"), wxOK | wxICON_EXCLAMATION, this);
  };
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* row = new wxBoxSizer(wxHORIZONTAL);

  // Orientation, with the picture of the chosen one.
  auto* orientation = new wxStaticBoxSizer(wxVERTICAL, this, U("印刷の向き"));
  wxWindow* box = orientation->GetStaticBox();
  m_portrait = new wxRadioButton(box, kIdPortrait, U("縦"), wxDefaultPosition, wxDefaultSize,
                                 wxRB_GROUP);
  m_landscape = new wxRadioButton(box, kIdLandscape, U("横"));
  m_portraitIcon = new wxStaticBitmap(box, wxID_ANY, res::ui::ResourceBundle(res::kIconPortrait));
  m_landscapeIcon =
      new wxStaticBitmap(box, wxID_ANY, res::ui::ResourceBundle(res::kIconLandscape));
  auto* pictures = new wxBoxSizer(wxHORIZONTAL);
  auto* choices = new wxBoxSizer(wxVERTICAL);
  choices->Add(m_portrait, 0, wxBOTTOM, FromDIP(6));
  choices->Add(m_landscape);
  pictures->Add(choices, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(12));
  pictures->Add(m_portraitIcon, 0, wxALIGN_CENTER_VERTICAL);
  pictures->Add(m_landscapeIcon, 0, wxALIGN_CENTER_VERTICAL);
  orientation->Add(pictures, 1, wxALL, FromDIP(8));
  row->Add(orientation, 1, wxEXPAND | wxRIGHT, FromDIP(8));

  auto* colour = new wxStaticBoxSizer(wxVERTICAL, this, U("印刷カラーモード"));
  box = colour->GetStaticBox();
  m_color = new wxRadioButton(box, kIdColor, U("カラー"), wxDefaultPosition, wxDefaultSize,
                              wxRB_GROUP);
  m_monochrome = new wxRadioButton(box, kIdMonochrome, U("モノクロ"));
  colour->Add(m_color, 0, wxALL, FromDIP(8));
  colour->Add(m_monochrome, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(8));
  row->Add(colour, 1, wxEXPAND);
  top->Add(row, 0, wxEXPAND | wxALL, FromDIP(10));

  auto* scaling = new wxStaticBoxSizer(wxVERTICAL, this, U("拡大縮小"));
  box = scaling->GetStaticBox();
  const wxValidator digits = wxTextValidator(wxFILTER_DIGITS);
  m_modes[0] = new wxRadioButton(box, kIdFitWhole, U("全体を１ページに収める"), wxDefaultPosition,
                                 wxDefaultSize, wxRB_GROUP);
  m_columnsForOnePage = new wxCheckBox(box, kIdColumnsForOnePage, U("自動段組"));
  m_modes[1] = new wxRadioButton(box, kIdFitWidth, U("横幅に合わせる"));
  m_modes[2] = new wxRadioButton(box, kIdPageCount, U("ページ数を指定"));
  m_columnsForPageCount = new wxCheckBox(box, kIdColumnsForPageCount, U("自動段組"));
  m_pageCountBox = new wxTextCtrl(box, kIdPageCountBox, wxEmptyString, wxDefaultPosition,
                                  wxSize(FromDIP(60), -1), 0, digits);
  m_pageLabel = new wxStaticText(box, wxID_ANY, U("ページ"));
  m_modes[3] = new wxRadioButton(box, kIdScale, U("拡大縮小率"));
  m_scaleBox = new wxTextCtrl(box, kIdScaleBox, wxEmptyString, wxDefaultPosition,
                              wxSize(FromDIP(60), -1), 0, digits);
  m_scaleSpin = new wxSpinButton(box, kIdScaleSpin, wxDefaultPosition, wxDefaultSize,
                                 wxSP_VERTICAL | wxSP_ARROW_KEYS);
  m_scaleSpin->SetRange(print::kMinScale, print::kMaxScale);
  m_scaleLabel = new wxStaticText(box, wxID_ANY, U("％(20-400)"));

  const int gap = FromDIP(8), indent = FromDIP(24);
  auto* grid = new wxFlexGridSizer(2, FromDIP(6), gap);
  grid->Add(m_modes[0], 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(m_columnsForOnePage, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, indent);
  grid->Add(m_modes[1], 0, wxALIGN_CENTER_VERTICAL);
  grid->AddSpacer(0);
  grid->Add(m_modes[2], 0, wxALIGN_CENTER_VERTICAL);
  auto* count = new wxBoxSizer(wxHORIZONTAL);
  count->Add(m_columnsForPageCount, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
  count->Add(m_pageCountBox, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(4));
  count->Add(m_pageLabel, 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(count, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, indent);
  grid->Add(m_modes[3], 0, wxALIGN_CENTER_VERTICAL);
  auto* scale = new wxBoxSizer(wxHORIZONTAL);
  scale->Add(m_scaleBox, 0, wxALIGN_CENTER_VERTICAL);
  scale->Add(m_scaleSpin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(4));
  scale->Add(m_scaleLabel, 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(scale, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, indent);
  scaling->Add(grid, 0, wxALL, gap);
  top->Add(scaling, 0, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, U("設定"));
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, gap);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")));
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
  SetSizerAndFit(top);
  CentreOnParent();

  for (int id : {kIdPortrait, kIdLandscape, kIdColor, kIdMonochrome, kIdFitWhole, kIdFitWidth,
                 kIdPageCount, kIdScale})
    Bind(wxEVT_RADIOBUTTON, &CPrintSettingDlg::OnChoice, this, id);
  for (int id : {kIdColumnsForOnePage, kIdColumnsForPageCount})
    Bind(wxEVT_CHECKBOX, &CPrintSettingDlg::OnChoice, this, id);
  m_scaleSpin->Bind(wxEVT_SPIN_UP, &CPrintSettingDlg::OnSpin, this);
  m_scaleSpin->Bind(wxEVT_SPIN_DOWN, &CPrintSettingDlg::OnSpin, this);
  Bind(wxEVT_BUTTON, &CPrintSettingDlg::OnOk, this, wxID_OK);
  LoadControls();
}

void CPrintSettingDlg::LoadControls() {
  (m_settings.orientation == print::kLandscape ? m_landscape : m_portrait)->SetValue(true);
  (m_settings.colorMode == print::kMonochrome ? m_monochrome : m_color)->SetValue(true);
  m_modes[std::clamp(m_settings.scalingMode, 0, 3)]->SetValue(true);
  m_columnsForOnePage->SetValue(m_settings.columnsForOnePage != 0);
  m_columnsForPageCount->SetValue(m_settings.columnsForPageCount != 0);
  m_pageCountBox->ChangeValue(wxString::Format("%d", m_settings.pageCount));
  m_scaleBox->ChangeValue(wxString::Format("%d", m_settings.scale));
  m_scaleSpin->SetValue(std::clamp(m_settings.scale, print::kMinScale, print::kMaxScale));
  UpdateEnabling();
  UpdateOrientationIcon();
}

bool CPrintSettingDlg::ReadControls() {
  m_settings.orientation = m_landscape->GetValue() ? print::kLandscape : print::kPortrait;
  m_settings.colorMode = m_monochrome->GetValue() ? print::kMonochrome : print::kColor;
  for (int mode = 0; mode < 4; ++mode)
    if (m_modes[mode]->GetValue()) m_settings.scalingMode = mode;
  m_settings.columnsForOnePage = m_columnsForOnePage->GetValue() ? 1 : 0;
  m_settings.columnsForPageCount = m_columnsForPageCount->GetValue() ? 1 : 0;
  for (auto [box, value] : {std::pair{m_pageCountBox, &m_settings.pageCount},
                            std::pair{m_scaleBox, &m_settings.scale}}) {
    long number = 0;
    if (!box->GetValue().ToLong(&number) || number < INT_MIN || number > INT_MAX) {
      // Only the box the chosen mode uses has to hold a number.
      const bool used = (box == m_pageCountBox && m_settings.scalingMode == print::kPageCount) ||
                        (box == m_scaleBox && m_settings.scalingMode == print::kScale);
      if (!used) continue;
      showMessage(U("整数を入力してください。"));
      box->SetFocus();
      box->SelectAll();
      return false;
    }
    *value = int(number);
  }
  return true;
}

void CPrintSettingDlg::UpdateEnabling() {
  const int mode = m_modes[3]->GetValue()   ? print::kScale
                   : m_modes[2]->GetValue() ? print::kPageCount
                   : m_modes[1]->GetValue() ? print::kFitWidth
                                            : print::kFitWhole;
  m_columnsForOnePage->Enable(mode == print::kFitWhole);
  m_columnsForPageCount->Enable(mode == print::kPageCount);
  m_pageCountBox->Enable(mode == print::kPageCount);
  m_pageLabel->Enable(mode == print::kPageCount);
  m_scaleBox->Enable(mode == print::kScale);
  m_scaleSpin->Enable(mode == print::kScale);
  m_scaleLabel->Enable(mode == print::kScale);
}

void CPrintSettingDlg::UpdateOrientationIcon() {
  const bool portrait = m_portrait->GetValue();
  m_portraitIcon->Show(portrait);
  m_landscapeIcon->Show(!portrait);
  Layout();
}

void CPrintSettingDlg::OnChoice(wxCommandEvent&) {
  UpdateEnabling();
  UpdateOrientationIcon();
}

void CPrintSettingDlg::OnSpin(wxSpinEvent& event) {
  long current = 0;
  if (!m_scaleBox->GetValue().ToLong(&current)) current = m_scaleSpin->GetValue();
  const int step = event.GetEventType() == wxEVT_SPIN_UP ? kScaleStep : -kScaleStep;
  const int value = std::clamp(int(std::clamp<long>(current, -100000, 100000)) + step,
                               print::kMinScale, print::kMaxScale);
  event.Veto();  // the control's own step is not used
  m_scaleSpin->SetValue(value);
  m_scaleBox->ChangeValue(wxString::Format("%d", value));
}

void CPrintSettingDlg::PutBack(wxTextCtrl* box, int value) {
  box->ChangeValue(wxString::Format("%d", value));
  if (box == m_scaleBox) m_scaleSpin->SetValue(value);
  box->SetFocus();
  box->SelectAll();
}

void CPrintSettingDlg::OnOk(wxCommandEvent&) {
  if (!ReadControls()) return;
  const print::SettingsCheck check = print::CheckSettings(m_settings);
  if (!check.Ok()) {
    showMessage(wxString::FromUTF8(check.message));
    PutBack(check.field == print::SettingsCheck::kScaleField ? m_scaleBox : m_pageCountBox,
            check.corrected);
    return;
  }
  EndModal(wxID_OK);
}
