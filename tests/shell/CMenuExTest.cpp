#include <gtest/gtest.h>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/settings.h>

#include "app/res/Menus.h"
#include "app/shell/ui/CMenuEx.h"
#include "tests/support/GuiTest.h"

namespace {

wxColour At(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

class CMenuExTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_frame = new wxFrame(nullptr, wxID_ANY, "menu");
    m_frame->Show();
    m_menu = new CMenuEx(m_frame);
    const auto bar = res::LoadMenu(128);
    const res::MenuNode* pens =
        res::FindSubMenu(res::FindSubMenu(*bar, "ツール(&T)")->items, "ペン");
    m_menu->AppendFrom(*pens);
    m_menu->AppendSeparator();
  }

  wxImage Draw(std::size_t index, bool selected, wxSize size = wxSize(160, 20)) {
    wxBitmap bitmap(size);
    {
      wxMemoryDC dc(bitmap);
      m_menu->DrawItem(dc, index, wxRect(size), selected);
    }
    return bitmap.ConvertToImage();
  }

  wxFrame* m_frame = nullptr;
  CMenuEx* m_menu = nullptr;
};

TEST_F(CMenuExTest, CopiesThePenMenuWithPictures) {
  const auto& items = m_menu->Items();
  ASSERT_EQ(items.size(), 9u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(items[i].id, 32821 + i);
    EXPECT_TRUE(items[i].picture.IsOk()) << "pen picture " << 32821 + i;
  }
  EXPECT_EQ(items[0].text, wxString::FromUTF8("黒細ペン"));
  EXPECT_EQ(items[7].text, wxString::FromUTF8("消しゴム"));
  EXPECT_TRUE(items[8].IsSeparator());

  m_menu->CheckRadioItem(32824);
  int checked = 0;
  for (const auto& item : m_menu->Items()) checked += item.checked;
  EXPECT_EQ(checked, 1);
  EXPECT_TRUE(m_menu->Items()[3].checked);
}

TEST_F(CMenuExTest, ItemSizes) {
  EXPECT_EQ(CMenuEx::CodePageBytes(wxString::FromUTF8("黒細ペン")), 8);
  EXPECT_EQ(CMenuEx::CodePageBytes("GIF"), 3);
  EXPECT_EQ(CMenuEx::CodePageBytes(wxString::FromUTF8("ｸﾘｯﾌﾟ")), 5) << "half-width katakana";
  wxClientDC dc(m_frame);
  dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  const wxFontMetrics m = dc.GetFontMetrics();
  const wxSize pen = m_menu->MeasureItem(m_menu->Items()[0]);
  EXPECT_EQ(pen.x, 8 * m.averageWidth + 30);
  EXPECT_EQ(pen.y, m.height);
  EXPECT_EQ(m_menu->MeasureItem(m_menu->Items()[8]).y, CMenuEx::kSeparatorHeight);
  EXPECT_EQ(m_menu->ItemRect(8).y, 8 * m.height);
}

TEST_F(CMenuExTest, SelectedCheckedItemPixels) {
  m_menu->CheckRadioItem(32821);
  const wxImage image = Draw(0, true);
  const wxColour menu = wxSystemSettings::GetColour(wxSYS_COLOUR_MENU);
  // Highlight: frame from x = 17 to the right edge, filled inside.
  EXPECT_EQ(At(image, 17, 0), CMenuEx::kHighlightFrame);
  EXPECT_EQ(At(image, 159, 19), CMenuEx::kHighlightFrame);
  EXPECT_EQ(At(image, 150, 10), CMenuEx::kHighlightFill);
  EXPECT_EQ(At(image, 15, 10), CMenuEx::kHighlightFrame) << "right side of the check box";
  EXPECT_EQ(At(image, 16, 10), menu) << "gap between the box and the highlight";
  // Check box from (1, 0) to (16, 18), framed.
  EXPECT_EQ(At(image, 1, 0), CMenuEx::kHighlightFrame);
  EXPECT_EQ(At(image, 1, 17), CMenuEx::kHighlightFrame);
  EXPECT_EQ(At(image, 0, 10), menu);
  // The tick's strokes start at rows 8, 9, 10, 9, 8, 7, 6 in columns 5…11, 3 pixels long.
  const int tops[] = {8, 9, 10, 9, 8, 7, 6};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(At(image, 5 + i, tops[i]), CMenuEx::kHighlightFrame) << "column " << 5 + i;
    EXPECT_EQ(At(image, 5 + i, tops[i] + 2), CMenuEx::kHighlightFrame) << "column " << 5 + i;
    EXPECT_EQ(At(image, 5 + i, tops[i] + 3), CMenuEx::kHighlightFill) << "column " << 5 + i;
    EXPECT_EQ(At(image, 5 + i, tops[i] - 1), CMenuEx::kHighlightFill) << "column " << 5 + i;
  }
  // The pen picture sits at x = 19 over the highlight.
  int inked = 0;
  for (int y = 0; y < 18; ++y)
    for (int x = 19; x < 34; ++x) inked += At(image, x, y) != CMenuEx::kHighlightFill;
  EXPECT_GT(inked, 20);
}

TEST_F(CMenuExTest, UnselectedItemAndSeparator) {
  const wxColour menu = wxSystemSettings::GetColour(wxSYS_COLOUR_MENU);
  const wxImage plain = Draw(1, false);
  EXPECT_EQ(At(plain, 17, 0), menu);
  EXPECT_EQ(At(plain, 150, 10), menu);
  const wxImage separator = Draw(8, false, wxSize(100, 8));
  EXPECT_EQ(At(separator, 19, 2), *wxBLACK);
  EXPECT_EQ(At(separator, 98, 2), *wxBLACK);
  EXPECT_EQ(At(separator, 18, 2), menu);
  EXPECT_EQ(At(separator, 50, 3), menu);
}

TEST_F(CMenuExTest, ChoosingSendsTheCommandToTheOwner) {
  std::vector<int> commands;
  m_frame->Bind(wxEVT_MENU, [&](wxCommandEvent& e) { commands.push_back(e.GetId()); });
  m_menu->ShowAt(m_frame->GetScreenPosition());
  ASSERT_TRUE(guitest::WaitFor([&] { return m_menu->IsShown(); }));
  m_menu->SetSelection(8);
  EXPECT_EQ(m_menu->GetSelection(), -1) << "separators cannot be selected";
  m_menu->Choose(8);
  m_menu->Choose(2);
  EXPECT_TRUE(guitest::WaitFor([&] { return !commands.empty() && !m_menu->IsShown(); }));
  EXPECT_EQ(commands, std::vector<int>{32823});
  EXPECT_FALSE(m_menu->IsShown());
}

}  // namespace
