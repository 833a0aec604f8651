// The print settings dialog: what each scaling mode enables, the spin's fixed step, the range
// messages with the nearer bound put back, and the settings it returns. Screenshots of the
// dialog in each mode go to the build folder.
#include "app/print/ui/CPrintSettingDlg.h"

#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/textctrl.h>

#include "tests/support/GuiTest.h"

namespace {

using guitest::GuiTest;

template <class T>
T* Control(wxWindow& dlg, int id) {
  return dynamic_cast<T*>(dlg.FindWindow(id));
}

// Clicks a radio button or check box the way the control reports a click.
void Choose(wxWindow& dlg, int id) {
  wxWindow* w = dlg.FindWindow(id);
  ASSERT_TRUE(w);
  wxEventType type = wxEVT_RADIOBUTTON;
  if (auto* radio = dynamic_cast<wxRadioButton*>(w)) {
    radio->SetValue(true);
  } else if (auto* check = dynamic_cast<wxCheckBox*>(w)) {
    check->SetValue(!check->GetValue());
    type = wxEVT_CHECKBOX;
  }
  wxCommandEvent event(type, id);
  event.SetEventObject(w);
  w->GetEventHandler()->ProcessEvent(event);
}

void Spin(wxWindow& dlg, bool up) {
  auto* spin = Control<wxSpinButton>(dlg, CPrintSettingDlg::kIdScaleSpin);
  wxSpinEvent event(up ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, spin->GetId());
  event.SetEventObject(spin);
  event.SetPosition(spin->GetValue() + (up ? 1 : -1));
  spin->GetEventHandler()->ProcessEvent(event);
}

wxString Text(wxWindow& dlg, int id) { return Control<wxTextCtrl>(dlg, id)->GetValue(); }
bool Enabled(wxWindow& dlg, int id) { return dlg.FindWindow(id)->IsEnabled(); }

class PrintSettingDlgTest : public GuiTest {};

TEST_F(PrintSettingDlgTest, EachModeEnablesItsOwnControls) {
  CPrintSettingDlg dlg(nullptr, print::PrintSettings{});
  dlg.Show();
  using D = CPrintSettingDlg;
  struct Expect {
    int mode, columnsOne, columnsCount, pageBox, scaleBox;
    const char* shot;
  } cases[] = {{D::kIdFitWhole, 1, 0, 0, 0, "print-settings-whole.png"},
               {D::kIdFitWidth, 0, 0, 0, 0, "print-settings-width.png"},
               {D::kIdPageCount, 0, 1, 1, 0, "print-settings-pages.png"},
               {D::kIdScale, 0, 0, 0, 1, "print-settings-scale.png"}};
  for (const Expect& e : cases) {
    Choose(dlg, e.mode);
    EXPECT_EQ(Enabled(dlg, D::kIdColumnsForOnePage), bool(e.columnsOne)) << e.shot;
    EXPECT_EQ(Enabled(dlg, D::kIdColumnsForPageCount), bool(e.columnsCount)) << e.shot;
    EXPECT_EQ(Enabled(dlg, D::kIdPageCountBox), bool(e.pageBox)) << e.shot;
    EXPECT_EQ(Enabled(dlg, D::kIdScaleBox), bool(e.scaleBox)) << e.shot;
    EXPECT_EQ(Enabled(dlg, D::kIdScaleSpin), bool(e.scaleBox)) << e.shot;
    ASSERT_TRUE(guitest::WaitFor([&] { return dlg.IsShownOnScreen(); }));
    EXPECT_TRUE(guitest::SaveScreenshot(&dlg, guitest::ScreenshotPath(e.shot)));
  }
}

TEST_F(PrintSettingDlgTest, SpinStepsByTenWithinItsRange) {
  print::PrintSettings s;
  s.scalingMode = print::kScale;
  CPrintSettingDlg dlg(nullptr, s);
  Spin(dlg, true);
  EXPECT_EQ(Text(dlg, CPrintSettingDlg::kIdScaleBox), "110");
  Control<wxTextCtrl>(dlg, CPrintSettingDlg::kIdScaleBox)->ChangeValue("395");
  Spin(dlg, true);
  EXPECT_EQ(Text(dlg, CPrintSettingDlg::kIdScaleBox), "400");
  Control<wxTextCtrl>(dlg, CPrintSettingDlg::kIdScaleBox)->ChangeValue("25");
  Spin(dlg, false);
  EXPECT_EQ(Text(dlg, CPrintSettingDlg::kIdScaleBox), "20");
}

// Runs the dialog modally and presses "設定" with the given scale and page count typed in.
struct OkOutcome {
  int result = 0;
  wxString message;
  wxString scaleBox, pageBox;
  print::PrintSettings settings;
};
OkOutcome PressOk(int modeId, const wxString& scale, const wxString& pages) {
  OkOutcome out;
  CPrintSettingDlg dlg(nullptr, print::PrintSettings{});
  dlg.showMessage = [&](const wxString& text) { out.message = text; };
  dlg.CallAfter([&] {
    Choose(dlg, modeId);
    Control<wxTextCtrl>(dlg, CPrintSettingDlg::kIdScaleBox)->ChangeValue(scale);
    Control<wxTextCtrl>(dlg, CPrintSettingDlg::kIdPageCountBox)->ChangeValue(pages);
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    dlg.GetEventHandler()->ProcessEvent(ok);
    out.scaleBox = Text(dlg, CPrintSettingDlg::kIdScaleBox);
    out.pageBox = Text(dlg, CPrintSettingDlg::kIdPageCountBox);
    if (dlg.IsModal()) dlg.EndModal(wxID_CANCEL);  // still open: the value was refused
  });
  out.result = dlg.ShowModal();
  out.settings = dlg.Settings();
  return out;
}

TEST_F(PrintSettingDlgTest, ScaleBoundsAreAcceptedAndOutsideValuesPutBack) {
  for (const char* ok : {"20", "400"}) {
    const OkOutcome o = PressOk(CPrintSettingDlg::kIdScale, ok, "1");
    EXPECT_EQ(o.result, wxID_OK) << ok;
    EXPECT_EQ(o.settings.scale, wxAtoi(ok));
    EXPECT_TRUE(o.message.empty());
  }
  const OkOutcome low = PressOk(CPrintSettingDlg::kIdScale, "19", "1");
  EXPECT_EQ(low.result, wxID_CANCEL);
  EXPECT_EQ(low.message, wxString::FromUTF8("拡大縮小率の数値を20から400まで入力してください。"));
  EXPECT_EQ(low.scaleBox, "20");
  const OkOutcome high = PressOk(CPrintSettingDlg::kIdScale, "401", "1");
  EXPECT_EQ(high.scaleBox, "400");
}

TEST_F(PrintSettingDlgTest, PageCountOutsideItsRangeIsPutBack) {
  const OkOutcome zero = PressOk(CPrintSettingDlg::kIdPageCount, "100", "0");
  EXPECT_EQ(zero.result, wxID_CANCEL);
  EXPECT_EQ(zero.message, wxString::FromUTF8("横の数値を1から10000まで入力してください。"));
  EXPECT_EQ(zero.pageBox, "1");
  EXPECT_EQ(PressOk(CPrintSettingDlg::kIdPageCount, "100", "10001").pageBox, "10000");
  // A scale out of range is not looked at in the page-count mode.
  const OkOutcome fine = PressOk(CPrintSettingDlg::kIdPageCount, "5", "7");
  EXPECT_EQ(fine.result, wxID_OK);
  EXPECT_EQ(fine.settings.pageCount, 7);
  EXPECT_EQ(fine.settings.scalingMode, print::kPageCount);
}

TEST_F(PrintSettingDlgTest, OrientationAndColourComeBackWithTheIconOfTheChoice) {
  CPrintSettingDlg dlg(nullptr, print::PrintSettings{});
  Choose(dlg, CPrintSettingDlg::kIdLandscape);
  Choose(dlg, CPrintSettingDlg::kIdMonochrome);
  Choose(dlg, CPrintSettingDlg::kIdColumnsForOnePage);
  dlg.CallAfter([&] {
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    dlg.GetEventHandler()->ProcessEvent(ok);
  });
  ASSERT_EQ(dlg.ShowModal(), wxID_OK);
  EXPECT_EQ(dlg.Settings().orientation, print::kLandscape);
  EXPECT_EQ(dlg.Settings().colorMode, print::kMonochrome);
  EXPECT_EQ(dlg.Settings().columnsForOnePage, 1);
}

}  // namespace
