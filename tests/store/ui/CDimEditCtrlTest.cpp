#include <gtest/gtest.h>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/gdicmn.h>
#include <wx/settings.h>

#include <functional>
#include <string>

#include "app/store/ui/CDimEditCtrl.h"
#include "tests/support/GuiTest.h"

namespace {

TEST(CDimEditCtrlColour, WindowColourPlusOffsetsWrapsLikeBytes) {
  const std::array<int, 3> dim{-64, -64, -64};
  EXPECT_EQ(CDimEditCtrl::PromptColourFor(wxColour(255, 255, 255), dim), wxColour(191, 191, 191));
  EXPECT_EQ(CDimEditCtrl::PromptColourFor(wxColour(0, 0, 0), dim), wxColour(192, 192, 192));
  EXPECT_EQ(CDimEditCtrl::PromptColourFor(wxColour(200, 10, 64), {100, -20, 0}),
            wxColour(44, 246, 64));
}

class CDimEditCtrlTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_frame = new wxFrame(nullptr, wxID_ANY, "dim", wxDefaultPosition, wxSize(300, 120));
    m_box = new CDimEditCtrl(m_frame, wxID_ANY, wxPoint(10, 10), wxSize(200, 30), wxTE_CENTRE);
    m_notify = new wxWindow(m_frame, wxID_ANY, wxPoint(0, 60), wxSize(10, 10));
    m_notify->Bind(EVT_DIM_EDIT_ENTER, [this](wxCommandEvent& e) {
      auto* box = wxDynamicCast(e.GetEventObject(), CDimEditCtrl);
      m_received.push_back(box ? box->GetValue().utf8_string() : std::string("?"));
    });
    m_frame->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_box->IsShownOnScreen(); }));
  }

  void PressEnter() {
    wxCommandEvent enter(wxEVT_TEXT_ENTER, m_box->GetId());
    enter.SetEventObject(m_box);
    m_box->GetEventHandler()->ProcessEvent(enter);
  }

  // Pixels of the prompt's colour in the box as it is on the screen, once `settled` says the
  // count is what the test waits for (the X server may lag behind on a busy machine).
  int PromptPixelsWhen(const std::function<bool(int)>& settled) {
    int n = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
      n = PromptPixels();
      if (settled(n)) break;
    }
    return n;
  }

  int PromptPixels() {
    m_box->Refresh();
    m_box->Update();
    guitest::Pump(0);
    const wxSize size = m_box->GetSize();
    wxBitmap shot(size);
    {
      wxMemoryDC mem(shot);
      wxClientDC screen(m_box);
      mem.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    }
    const wxImage image = shot.ConvertToImage();
    const wxColour c = m_box->GetPromptColour();
    int n = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x)
        if (image.GetRed(x, y) == c.Red() && image.GetGreen(x, y) == c.Green() &&
            image.GetBlue(x, y) == c.Blue())
          ++n;
    return n;
  }

  wxFrame* m_frame = nullptr;
  CDimEditCtrl* m_box = nullptr;
  wxWindow* m_notify = nullptr;
  std::vector<std::string> m_received;
};

TEST_F(CDimEditCtrlTest, PromptIsCutAt128BytesWithoutSplittingACharacter) {
  m_box->SetPrompt(std::string(200, 'a').c_str());
  EXPECT_EQ(m_box->GetPromptLength(), 128u);
  std::string kana;
  for (int i = 0; i < 43; ++i) kana += "検";  // 129 bytes
  m_box->SetPrompt(kana.c_str());
  EXPECT_EQ(m_box->GetPromptLength(), 126u);
  EXPECT_EQ(m_box->GetPrompt(), kana.substr(0, 126));
  m_box->SetPrompt(std::string(128, 'b').c_str());
  EXPECT_EQ(m_box->GetPromptLength(), 128u);
  m_box->SetPrompt(nullptr);
  EXPECT_EQ(m_box->GetPrompt(), "");
  EXPECT_FALSE(m_box->IsPromptVisible()) << "an empty prompt draws nothing";
}

TEST_F(CDimEditCtrlTest, PromptShowsOnlyWhileTheBoxIsEmpty) {
  m_box->SetPrompt("検索");
  EXPECT_TRUE(m_box->IsPromptVisible());
  EXPECT_EQ(m_box->GetPromptColour(),
            CDimEditCtrl::PromptColourFor(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW),
                                          {-64, -64, -64}));
  // Exact colours on the screen need a true-colour display (xvfb-run -s "… 1400x900x24").
  const bool trueColour = wxDisplayDepth() >= 24;
  const int dimmed = trueColour ? PromptPixelsWhen([](int n) { return n > 5; }) : 0;
  if (trueColour) EXPECT_GT(dimmed, 5) << "the prompt is drawn in its dimmed colour";

  m_box->AppendText("a");  // typing the first character hides it
  EXPECT_FALSE(m_box->IsShowingPrompt());
  EXPECT_FALSE(m_box->IsPromptVisible());
  if (trueColour) {
    EXPECT_LT(PromptPixelsWhen([&](int n) { return n < dimmed / 4 + 1; }), dimmed / 4 + 1);
  }

  m_box->Remove(0, 1);  // deleting the last character shows it again
  EXPECT_TRUE(m_box->IsShowingPrompt());
  EXPECT_TRUE(m_box->IsPromptVisible());
  if (trueColour) EXPECT_GT(PromptPixelsWhen([](int n) { return n > 5; }), 5);
}

TEST_F(CDimEditCtrlTest, EnterSelectsTheTextAndNotifies) {
  m_box->SetNotifyWindow(m_notify);
  m_box->SetValue(wxString::FromUTF8("クリップ"));
  PressEnter();
  long from = 0, to = 0;
  m_box->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, m_box->GetLastPosition());
  EXPECT_TRUE(m_received.empty()) << "the notification is posted, not sent";
  ASSERT_TRUE(guitest::WaitFor([&] { return m_received.size() == 1; }));
  EXPECT_EQ(m_received[0], "クリップ");

  m_box->SetValue("");
  PressEnter();
  ASSERT_TRUE(guitest::WaitFor([&] { return m_received.size() == 2; }));
  EXPECT_EQ(m_received[1], "") << "an empty box still notifies";
}

TEST_F(CDimEditCtrlTest, WithoutNotifyWindowEnterOnlySelects) {
  m_box->SetValue("abc");
  EXPECT_EQ(m_box->GetValue(), "abc");
  PressEnter();
  EXPECT_EQ(m_box->GetValue(), "abc");
  guitest::Pump(0);
  EXPECT_TRUE(m_received.empty());
  EXPECT_EQ(m_box->GetStringSelection(), "abc");
}

TEST_F(CDimEditCtrlTest, SystemColourChangeRecomputesThePromptColour) {
  m_box->SetPromptColourOffsets(-10, -20, -30);
  const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
  EXPECT_EQ(m_box->GetPromptColour(), CDimEditCtrl::PromptColourFor(window, {-10, -20, -30}));
  wxSysColourChangedEvent changed;
  changed.SetEventObject(m_box);
  m_box->GetEventHandler()->ProcessEvent(changed);
  EXPECT_EQ(m_box->GetPromptColour(), CDimEditCtrl::PromptColourFor(window, {-10, -20, -30}));
}

}  // namespace
