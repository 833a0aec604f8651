// The desktop action's windows speak Japanese whatever language the toolkit would pick for
// its stock buttons, and tell each failure in Japanese before the capture's own detail.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/display.h>
#include <wx/progdlg.h>
#include <wx/stattext.h>
#include <wx/textdlg.h>

#include <string>

#include "capture/CaptureOptions.h"
#include "capture/ui/PromptWindows.h"
#include "tests/support/GuiTest.h"

namespace {

wxString LabelOf(wxWindow& window, int id) {
  auto* button = dynamic_cast<wxButton*>(window.FindWindow(id));
  return button ? button->GetLabel() : wxString("(none)");
}

bool HasStaticText(wxWindow& window, const wxString& text) {
  for (wxWindow* child : window.GetChildren()) {
    if (auto* label = dynamic_cast<wxStaticText*>(child); label && label->GetLabel() == text)
      return true;
    if (HasStaticText(*child, text)) return true;
  }
  return false;
}

class PromptWindows : public guitest::GuiTest {};

}  // namespace

TEST_F(PromptWindows, TheAddressAndProgressWindowsNameTheirButtonsInJapanese) {
  const auto ask = capture::MakeAddressDialog("https://example.jp/");
  EXPECT_EQ(LabelOf(*ask, wxID_OK), "OK");
  EXPECT_EQ(LabelOf(*ask, wxID_CANCEL), wxString::FromUTF8("キャンセル"));
  EXPECT_EQ(ask->GetValue(), "https://example.jp/");
  EXPECT_TRUE(HasStaticText(*ask, wxString::FromUTF8("クリップするWebページのアドレス:")))
      << "the label shows no literal mnemonic";

  wxProgressDialog progress("p", "m", 100, nullptr, wxPD_CAN_ABORT);
  capture::NameCancelButton(progress);
  EXPECT_EQ(LabelOf(progress, wxID_CANCEL), wxString::FromUTF8("キャンセル"));
}

// The toolkit's text dialog is resizable, and the window manager then offered to maximise a
// one-line question.
TEST_F(PromptWindows, TheAddressWindowKeepsItsSize) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";
  const auto ask = capture::MakeAddressDialog("https://example.jp/");
  ask->Show();
  const std::string title = "Webページをクリップ";
  ASSERT_TRUE(input.Activate(title));
  const std::string actions = guitest::RealInput::AllowedActions(title);
  ASSERT_FALSE(actions.empty());
  EXPECT_EQ(actions.find("MAXIMIZE"), std::string::npos) << actions;
  EXPECT_EQ(actions.find("_NET_WM_ACTION_RESIZE"), std::string::npos) << actions;
  const wxRect shown = ask->GetScreenRect();
  const wxRect screen = wxDisplay().GetGeometry();
  EXPECT_NEAR(shown.x + shown.width / 2, screen.width / 2, 30);
  EXPECT_NEAR(shown.y + shown.height / 2, screen.height / 2, 40);
  ask->Hide();
}

TEST(PromptTexts, StepsAndFailuresAreToldInJapanese) {
  const wxString before = "before";
  EXPECT_EQ(capture::ProgressStepText("loading file:///p.html", before),
            wxString::FromUTF8("ページを読み込んでいます…"));
  EXPECT_EQ(capture::ProgressStepText("writing the capture", before),
            wxString::FromUTF8("クリップを書き出しています…"));
  EXPECT_EQ(capture::ProgressStepText("the page is 90000 pixels tall", before), before)
      << "an unknown step keeps what shows";

  EXPECT_EQ(capture::FailureText(capture::kExitLoadFailed,
                                 "the page did not load: net::ERR_FILE_NOT_FOUND"),
            wxString::FromUTF8("ページを読み込めませんでした。\n\n"
                               "the page did not load: net::ERR_FILE_NOT_FOUND"));
  EXPECT_TRUE(capture::FailureText(capture::kExitNoBrowser, "")
                  .StartsWith(wxString::FromUTF8("Chromiumが見つからない")));
  EXPECT_EQ(capture::FailureText(99, ""), wxString::FromUTF8("ページをクリップできませんでした。"));
}
