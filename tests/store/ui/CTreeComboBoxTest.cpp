// The folder picker in a dialog of the test's own: what its drop-down lists, select by path,
// new folders, and opening and closing it with real keys and clicks.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/popupwin.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <filesystem>
#include <functional>

#include "app/store/ui/CComboTree.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CTreeComboBox.h"
#include "tests/support/GuiTest.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class CTreeComboBoxTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_home = m_dir / "クリップレン";
    for (const char* d : {"x/inner", "b", "A", "scrap/below", "x/Images", "y"})
      fs::create_directories(m_home / d);
    testsupport::WriteFile(m_home / "scrap/Main.jpg", "jpeg");
    // The tree's own order says y first; the picker goes by text.
    testsupport::WriteFile(m_home / "Scrap.ini", "[SortType]\nSortType=3\n");
    testsupport::WriteFile(m_home / "y/Scrap.ini", "[CustomSortID]\nCustomSortID=1\n");

    m_dialog = new wxDialog(nullptr, wxID_ANY, "picker-test", wxDefaultPosition, wxSize(360, 200));
    m_picker = new CTreeComboBox(m_dialog, 1002, wxPoint(20, 20), wxSize(240, 24));
    // Beside the box, where the open drop-down does not cover it.
    m_other = new wxButton(m_dialog, wxID_ANY, "other", wxPoint(270, 18), wxSize(80, 28));
    m_images = CFolderTreeCtrl::CreateImageList();
    m_picker->Tree()->SetImageList(m_images.get());
    m_picker->SetHomeAndFill(m_home.string());
    m_dialog->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Release(); });
    m_dialog->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_picker->IsShownOnScreen(); }));
  }
  void TearDown() override {
    Release();
    GuiTest::TearDown();
  }
  void Release() {
    if (!m_dialog) return;
    CTreeComboBox::CloseDropDown();
    m_picker->UnhookDialog();
    m_picker->Tree()->SetImageList(nullptr);
    m_dialog->Destroy();
    m_dialog = nullptr;
  }
  // The texts of the drop-down's expanded items in tree order, indented by depth.
  std::vector<std::string> Listed() {
    std::vector<std::string> out;
    CComboTree* tree = m_picker->Tree();
    const std::function<void(wxTreeItemId, int)> walk = [&](wxTreeItemId item, int depth) {
      wxTreeItemIdValue cookie;
      for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk();
           c = tree->GetNextChild(item, cookie)) {
        out.push_back(std::string(depth, ' ') + tree->GetItemText(c).utf8_string());
        if (tree->IsExpanded(c)) walk(c, depth + 1);
      }
    };
    walk(tree->GetRootItem(), 0);
    return out;
  }
  std::string Caret() { return m_picker->Tree()->SelectedPath(); }

  testsupport::TempDir m_dir;
  fs::path m_home;
  wxDialog* m_dialog = nullptr;
  CTreeComboBox* m_picker = nullptr;
  wxButton* m_other = nullptr;
  std::unique_ptr<wxImageList> m_images;
};

TEST_F(CTreeComboBoxTest, ListsFoldersInTextOrderWithoutScrapsAndStartsAtHome) {
  EXPECT_EQ(Listed(),
            (std::vector<std::string>{"クリップレン", " A", " b", " x", "  inner", " y"}));
  EXPECT_EQ(Caret(), m_home.string());
  EXPECT_EQ(m_picker->ShownText(), wxString::FromUTF8("クリップレン"));
  EXPECT_TRUE(m_picker->HasShownIcon());
}

// The arrow: four black lines of 7, 5, 3 and 1 pixels in the button at the right; pressed with
// the drop-down open, the button goes flat and the arrow moves one pixel right and down.
TEST_F(CTreeComboBoxTest, DrawsTheArrowButtonAndItsPressedState) {
  const auto blackRows = [this] {
    m_picker->Refresh();
    m_picker->Update();
    guitest::Pump(0);
    const wxSize size = m_picker->GetClientSize();
    wxBitmap shot(size);
    {
      wxMemoryDC mem(shot);
      wxClientDC screen(m_picker);
      mem.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    }
    const wxImage image = shot.ConvertToImage();
    // Per row of the button area: (first black column, count).
    std::vector<std::pair<int, int>> rows;
    // Inside the button's frames: the edges may be drawn in a black dark-shadow colour.
    const int a = image.GetWidth() - 2 - m_picker->FromDIP(16);
    for (int y = 3; y < image.GetHeight() - 3; ++y) {
      int first = -1, count = 0;
      for (int x = a + 3; x < a + 14; ++x)
        if (image.GetRed(x, y) == 0 && image.GetGreen(x, y) == 0 && image.GetBlue(x, y) == 0) {
          if (first < 0) first = x;
          ++count;
        }
      if (count) rows.emplace_back(y, first * 100 + count);
    }
    return rows;
  };
  auto rows = blackRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].second % 100, 7);
  EXPECT_EQ(rows[1].second % 100, 5);
  EXPECT_EQ(rows[2].second % 100, 3);
  EXPECT_EQ(rows[3].second % 100, 1);
  EXPECT_EQ(rows[1].second / 100, rows[0].second / 100 + 1);

  // Pressed (a press not yet released) with the drop-down open.
  wxMouseEvent press(wxEVT_LEFT_DOWN);
  press.SetEventObject(m_picker);
  m_picker->GetEventHandler()->ProcessEvent(press);
  ASSERT_TRUE(m_picker->IsDroppedDown());
  const auto pressed = blackRows();
  ASSERT_EQ(pressed.size(), 4u);
  EXPECT_EQ(pressed[0].first, rows[0].first + 1);
  EXPECT_EQ(pressed[0].second / 100, rows[0].second / 100 + 1);
  wxMouseEvent release(wxEVT_LEFT_UP);
  release.SetEventObject(m_picker);
  m_picker->GetEventHandler()->ProcessEvent(release);
  CTreeComboBox::CloseDropDown();
}

TEST_F(CTreeComboBoxTest, OnlyOneDropDownInTheProgramIsOpen) {
  auto* second = new CTreeComboBox(m_dialog, 1003, wxPoint(20, 60), wxSize(240, 24));
  second->Tree()->SetImageList(m_images.get());
  second->SetHomeAndFill(m_home.string());
  m_picker->ToggleDropDown();
  ASSERT_TRUE(m_picker->IsDroppedDown());
  // Toggling another picker while one is open only closes the open one.
  second->ToggleDropDown();
  EXPECT_FALSE(m_picker->IsDroppedDown());
  EXPECT_FALSE(second->IsDroppedDown());
  EXPECT_EQ(CTreeComboBox::OpenPicker(), nullptr);
  second->ToggleDropDown();
  EXPECT_TRUE(second->IsDroppedDown());
  EXPECT_FALSE(m_picker->Tree()->GetParent()->IsShown());
  CTreeComboBox::CloseDropDown();
  EXPECT_FALSE(second->Tree()->GetParent()->IsShown());
  second->UnhookDialog();
  second->Tree()->SetImageList(nullptr);
  second->Destroy();
}

TEST_F(CTreeComboBoxTest, SelectByPathFindsLoadedFoldersOnly) {
  CComboTree* tree = m_picker->Tree();
  EXPECT_TRUE(tree->SelectByPath((m_home / "x/inner/").string()).IsOk());
  EXPECT_EQ(Caret(), (m_home / "x/inner").string());
  // Another letter case is found when no folder carries the exact name.
  EXPECT_TRUE(tree->SelectByPath((m_home / "X").string()).IsOk());
  EXPECT_EQ(Caret(), (m_home / "x").string());
  // Outside the home folder, a scrap, a folder made behind the picker's back: nothing changes.
  fs::create_directories(m_home / "late");
  for (const fs::path& p :
       {m_dir.path(), m_home / "scrap", m_home / "late", m_dir / "クリップレンX"})
    EXPECT_FALSE(tree->SelectByPath(p.string()).IsOk()) << p;
  EXPECT_EQ(Caret(), (m_home / "x").string());
  // The home folder itself selects the home item, so a new folder can go there again.
  EXPECT_TRUE(tree->SelectByPath(m_home.string()).IsOk());
  EXPECT_EQ(Caret(), m_home.string());
}

TEST_F(CTreeComboBoxTest, CreateUniqueFolderNumbersNamesAndSortsTheNewItemIn) {
  CComboTree* tree = m_picker->Tree();
  ASSERT_TRUE(tree->SelectByPath((m_home / "x").string()).IsOk());
  EXPECT_EQ(tree->CreateUniqueFolder("a_b"), (m_home / "x/a_b").string());
  ASSERT_TRUE(tree->SelectByPath((m_home / "x").string()).IsOk());
  EXPECT_EQ(tree->CreateUniqueFolder("a_b"), (m_home / "x/a_b_1").string());
  EXPECT_TRUE(fs::is_directory(m_home / "x/a_b_1"));
  EXPECT_EQ(Caret(), (m_home / "x/a_b_1").string());
  EXPECT_EQ(Listed(), (std::vector<std::string>{"クリップレン", " A", " b", " x", "  a_b",
                                                "  a_b_1", "  inner", " y"}));
  // With no caret item the folder goes below the home folder.
  tree->Unselect();
  EXPECT_EQ(tree->CreateUniqueFolder("z"), (m_home / "z").string());
}

TEST_F(CTreeComboBoxTest, RealKeysAndClicksOpenMoveAndClose) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  ASSERT_TRUE(input.Activate("picker-test"));
  m_picker->SetFocus();
  ASSERT_TRUE(guitest::WaitFor([this] { return wxWindow::FindFocus() == m_picker; }));
  wxWindow* popup = m_picker->Tree()->GetParent();

  // Down opens the drop-down below the box, without taking the focus.
  ASSERT_TRUE(guitest::RealInput::Key("Down"));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_picker->IsDroppedDown(); }));
  EXPECT_TRUE(popup->IsShown());
  EXPECT_EQ(popup->GetScreenPosition().y, m_picker->GetScreenRect().GetBottom() + 1);
  EXPECT_EQ(popup->GetSize().x, m_picker->GetSize().x);
  EXPECT_EQ(wxWindow::FindFocus(), m_picker);
  EXPECT_EQ(CTreeComboBox::OpenPicker(), m_picker);

  // Open, the arrows move the highlight; Enter takes it and closes.
  guitest::RealInput::Key("Down");
  ASSERT_TRUE(guitest::WaitFor([&] { return Caret() == (m_home / "A").string(); })) << Caret();
  guitest::RealInput::Key("Down");
  guitest::RealInput::Key("Up");
  guitest::RealInput::Key("Down");
  ASSERT_TRUE(guitest::WaitFor([&] { return Caret() == (m_home / "b").string(); })) << Caret();
  guitest::RealInput::Key("Return");
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_picker->IsDroppedDown(); }));
  EXPECT_FALSE(popup->IsShown());
  EXPECT_EQ(m_picker->ShownText(), "b");
  EXPECT_TRUE(m_dialog->IsShown()) << "Enter on an open picker does not end the dialog";

  // Alt+Down closes, Esc closes without taking, Up opens.
  guitest::RealInput::Key("Down");
  ASSERT_TRUE(guitest::WaitFor([&] { return m_picker->IsDroppedDown(); }));
  guitest::RealInput::Key("alt+Down");
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_picker->IsDroppedDown(); }));
  guitest::RealInput::Key("Up");
  ASSERT_TRUE(guitest::WaitFor([&] { return m_picker->IsDroppedDown(); }));
  guitest::RealInput::Key("Down");
  guitest::RealInput::Key("Escape");
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_picker->IsDroppedDown(); }));
  EXPECT_EQ(m_picker->ShownText(), "b");
  EXPECT_TRUE(m_dialog->IsShown());

  // A click on the box toggles; a click on another button closes.
  const wxRect box = m_picker->GetScreenRect();
  ASSERT_TRUE(guitest::RealInput::Click(box.GetRight() - 6, box.y + box.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_picker->IsDroppedDown(); }));
  int clicks = 0;
  m_other->Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) {
    ++clicks;
    e.Skip();
  });
  const wxRect other = m_other->GetScreenRect();
  ASSERT_TRUE(guitest::RealInput::Click(other.x + other.width / 2, other.y + other.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return clicks == 1; }));
  EXPECT_FALSE(m_picker->IsDroppedDown());
  EXPECT_FALSE(popup->IsShown());

  // A click on an item of the open drop-down takes it.
  ASSERT_TRUE(guitest::RealInput::Click(box.GetRight() - 6, box.y + box.height / 2));
  ASSERT_TRUE(guitest::WaitFor([&] { return m_picker->IsDroppedDown(); }));
  CComboTree* tree = m_picker->Tree();
  const wxTreeItemId y = tree->SelectByPath((m_home / "y").string());
  ASSERT_TRUE(y.IsOk());
  wxRect row;
  ASSERT_TRUE(tree->GetBoundingRect(y, row, true));
  const wxPoint at =
      tree->ClientToScreen(row.GetPosition()) + wxPoint(row.width / 2, row.height / 2);
  ASSERT_TRUE(guitest::RealInput::Click(at.x, at.y));
  ASSERT_TRUE(guitest::WaitFor([&] { return !m_picker->IsDroppedDown(); }));
  EXPECT_EQ(m_picker->ShownText(), "y");
}

// A dialog run modally grabs the pointer for its own windows. The open drop-down still takes
// hover and clicks, and once it has closed the dialog's own buttons answer the mouse again. The
// steps run from a timer inside the modal loop, as real clicks through the X server.
TEST_F(CTreeComboBoxTest, UnderAModalRunTheDropDownAndThenTheButtonsTakeClicks) {
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl, xdotool or openbox missing";
  m_other->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_dialog->EndModal(wxID_OK); });
  CComboTree* tree = m_picker->Tree();
  const auto middleOf = [](const wxRect& r) {
    return wxPoint(r.x + r.width / 2, r.y + r.height / 2);
  };

  enum class Step { kActivate, kOpen, kPick, kPressButton, kWaitForEnd } step = Step::kActivate;
  std::string failure;
  wxStopWatch sinceStep;
  wxTimer timer;
  const auto next = [&](Step to) {
    step = to;
    sinceStep.Start();
  };
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (!m_dialog->IsModal()) return;
    if (sinceStep.Time() > 10000) {
      failure = "stuck at step " + std::to_string(int(step)) + "; windows:\n" +
                testsupport::Shell("wmctrl -l");
      m_dialog->EndModal(wxID_CANCEL);
      return;
    }
    switch (step) {
      case Step::kActivate:
        if (m_picker->IsShownOnScreen() && guitest::RealInput::FindWindowByTitle("picker-test")) {
          const wxRect box = m_picker->GetScreenRect();
          guitest::RealInput::Click(box.GetRight() - 6, box.y + box.height / 2);
          next(Step::kOpen);
        }
        break;
      case Step::kOpen:
        if (m_picker->IsDroppedDown()) {
          const wxTreeItemId y = tree->SelectByPath((m_home / "y").string());
          tree->SelectByPath((m_home / "A").string());  // the caret elsewhere again
          wxRect row;
          if (!y.IsOk() || !tree->GetBoundingRect(y, row, true)) {
            failure = "no row for y";
            m_dialog->EndModal(wxID_CANCEL);
            return;
          }
          const wxPoint at = tree->ClientToScreen(middleOf(row));
          guitest::RealInput::MoveTo(at.x, at.y - 2);
          guitest::RealInput::Click(at.x, at.y);
          next(Step::kPick);
        }
        break;
      case Step::kPick:
        if (!m_picker->IsDroppedDown() && m_picker->ShownText() == "y") next(Step::kPressButton);
        break;
      case Step::kPressButton: {
        const wxPoint at = middleOf(m_other->GetScreenRect());
        guitest::RealInput::Click(at.x, at.y);
        next(Step::kWaitForEnd);
        break;
      }
      case Step::kWaitForEnd:
        break;
    }
  });
  timer.Start(100);
  const int result = m_dialog->ShowModal();
  timer.Stop();
  EXPECT_EQ(failure, "");
  EXPECT_EQ(result, wxID_OK) << "the button did not answer the click";
  EXPECT_EQ(m_picker->ShownText(), "y");
}

}  // namespace
