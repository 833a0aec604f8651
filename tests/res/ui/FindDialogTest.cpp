// The find dialogs as the window manager sees them: a dialog of fixed size, so it offers
// neither resizing nor maximising.
#include <gtest/gtest.h>

#include <wx/display.h>
#include <wx/fdrepdlg.h>
#include <wx/frame.h>

#include <string>

#include "app/res/ui/FindDialog.h"
#include "tests/support/GuiTest.h"

namespace {

class FindDialogTest : public guitest::GuiTest {};

TEST_F(FindDialogTest, KeepsItsSizeAndCannotBeMaximised) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";
  auto* frame = new wxFrame(nullptr, wxID_ANY, "find owner");
  frame->Show();
  wxFindReplaceData data(wxFR_DOWN);
  const std::string title = "テキストの全文検索";
  wxFindReplaceDialog* dialog = res::ui::CreateFindDialog(frame, &data, wxString::FromUTF8(title));
  const wxSize fitted = dialog->GetSize();
  dialog->Show();
  ASSERT_TRUE(input.Activate(title));
  const std::string actions = guitest::RealInput::AllowedActions(title);
  ASSERT_FALSE(actions.empty());
  EXPECT_EQ(actions.find("MAXIMIZE"), std::string::npos) << actions;
  EXPECT_EQ(actions.find("_NET_WM_ACTION_RESIZE"), std::string::npos) << actions;
  EXPECT_NE(actions.find("_NET_WM_ACTION_MOVE"), std::string::npos) << actions;
  EXPECT_EQ(dialog->GetSize(), fitted);
  EXPECT_TRUE(wxDisplay().GetGeometry().Contains(dialog->GetScreenRect()));
  // Every control still shows whole (fixing the size once cut off the direction buttons).
  const wxRect client(dialog->GetClientSize());
  for (wxWindow* child : dialog->GetChildren()) {
    if (child->IsShown()) EXPECT_TRUE(client.Contains(child->GetRect())) << child->GetLabel();
  }
  dialog->Destroy();
  frame->Destroy();
  guitest::Pump();
}

}  // namespace
