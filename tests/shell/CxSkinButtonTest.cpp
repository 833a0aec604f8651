#include <gtest/gtest.h>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>

#include "app/res/Resource.h"
#include "app/shell/ui/CxSkinButton.h"
#include "tests/support/GuiTest.h"

namespace {

wxBitmap Solid(int w, int h, const wxColour& c) {
  wxImage image(w, h);
  image.SetRGB(wxRect(0, 0, w, h), c.Red(), c.Green(), c.Blue());
  return wxBitmap(image);
}

// A w×h mask: white everywhere except a black rectangle.
wxBitmap MaskWithHole(int w, int h, const wxRect& shape) {
  wxImage image(w, h);
  image.SetRGB(wxRect(0, 0, w, h), 255, 255, 255);
  image.SetRGB(shape, 0, 0, 0);
  return wxBitmap(image);
}

wxImage Snapshot(CxSkinButton* button) {
  const wxSize size = button->GetClientSize();
  wxBitmap bitmap(size);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    button->Render(dc);
  }
  return bitmap.ConvertToImage();
}

wxColour At(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

// Pixels within `tolerance` of c in every channel (text edges are antialiased).
int CountColour(const wxImage& image, const wxColour& c, int tolerance = 0) {
  int n = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const wxColour p = At(image, x, y);
      if (std::abs(p.Red() - c.Red()) <= tolerance &&
          std::abs(p.Green() - c.Green()) <= tolerance &&
          std::abs(p.Blue() - c.Blue()) <= tolerance)
        ++n;
    }
  }
  return n;
}

void Send(wxWindow* w, wxEventType type, wxPoint pos) {
  wxMouseEvent e(type);
  e.SetPosition(pos);
  e.SetEventObject(w);
  e.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_MOTION;
  w->GetEventHandler()->ProcessEvent(e);
}

class CxSkinButtonTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    m_frame = new wxFrame(nullptr, wxID_ANY, "skin", wxDefaultPosition, wxSize(400, 300));
    m_frame->Show();
    m_frame->Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) { m_clicks.push_back(e.GetId()); });
  }

  CxSkinButton* Make(int id, CxSkinButton::Behaviour b = CxSkinButton::kPushButton, long style = 0,
                     wxSize size = wxSize(60, 30)) {
    auto* button = new CxSkinButton(m_frame, id, "", wxPoint(10, 10), size, b, style);
    button->Show();
    return button;
  }

  wxFrame* m_frame = nullptr;
  std::vector<int> m_clicks;
};

TEST_F(CxSkinButtonTest, PushButtonIgnoresSetCheck) {
  CxSkinButton* b = Make(1);
  b->SetCheck(1);
  EXPECT_EQ(b->GetCheck(), 0);
}

TEST_F(CxSkinButtonTest, CheckBoxTogglesOnClickAndTakesAnyNonZeroAsChecked) {
  CxSkinButton* b = Make(2, CxSkinButton::kCheckBox);
  b->SetCheck(7);
  EXPECT_EQ(b->GetCheck(), 1);
  Send(b, wxEVT_LEFT_DOWN, {5, 5});
  Send(b, wxEVT_LEFT_UP, {5, 5});
  EXPECT_EQ(b->GetCheck(), 0);
  Send(b, wxEVT_LEFT_DOWN, {5, 5});
  Send(b, wxEVT_LEFT_UP, {5, 5});
  EXPECT_EQ(b->GetCheck(), 1);
  EXPECT_EQ(m_clicks, (std::vector<int>{2, 2}));
}

TEST_F(CxSkinButtonTest, SpaceChangesTheCheckLikeAClick) {
  CxSkinButton* box = Make(3, CxSkinButton::kCheckBox);
  wxKeyEvent space(wxEVT_KEY_UP);
  space.m_keyCode = WXK_SPACE;
  space.SetEventObject(box);
  box->GetEventHandler()->ProcessEvent(space);
  EXPECT_EQ(box->GetCheck(), 1);
  box->GetEventHandler()->ProcessEvent(space);
  EXPECT_EQ(box->GetCheck(), 0);
  EXPECT_EQ(m_clicks, (std::vector<int>{3, 3}));
}

TEST_F(CxSkinButtonTest, CheckingARadioButtonUnchecksTheRestOfItsGroupOnly) {
  CxSkinButton* a = Make(10, CxSkinButton::kRadioButton);
  a->SetGroupStart(true);
  CxSkinButton* b = Make(11, CxSkinButton::kRadioButton);
  // Centred texts and fields carry toolkit style bits of their own; they neither start nor
  // end a group of skinned buttons.
  new wxStaticText(m_frame, wxID_ANY, "label", wxPoint(100, 10), wxDefaultSize,
                   wxALIGN_CENTRE_HORIZONTAL);
  new wxTextCtrl(m_frame, wxID_ANY, "", wxPoint(100, 40), wxDefaultSize, wxTE_CENTRE);
  CxSkinButton* c = Make(12, CxSkinButton::kRadioButton);
  CxSkinButton* d = Make(13, CxSkinButton::kRadioButton);
  d->SetGroupStart(true);
  // The uncheck is posted, as the platform's group notification is: each change settles
  // when the event loop runs.
  a->SetCheck(1);
  guitest::Pump(0);
  c->SetCheck(1);
  guitest::Pump(0);
  d->SetCheck(1);
  guitest::Pump(0);
  EXPECT_EQ(a->GetCheck(), 0) << "c's check posted the uncheck to a";
  EXPECT_EQ(c->GetCheck(), 1);
  // A click on b checks b; a radio button does not uncheck itself when clicked again.
  Send(b, wxEVT_LEFT_DOWN, {5, 5});
  Send(b, wxEVT_LEFT_UP, {5, 5});
  Send(b, wxEVT_LEFT_DOWN, {5, 5});
  Send(b, wxEVT_LEFT_UP, {5, 5});
  guitest::Pump(0);
  EXPECT_EQ(a->GetCheck(), 0);
  EXPECT_EQ(b->GetCheck(), 1);
  EXPECT_EQ(c->GetCheck(), 0);
  EXPECT_EQ(d->GetCheck(), 1) << "d starts another group";
}

TEST_F(CxSkinButtonTest, MaskInNaturalModeSizesTheButtonAndShapesItsMouseArea) {
  CxSkinButton* b = Make(20, CxSkinButton::kPushButton, 0, wxSize(200, 100));
  const wxRect shape(10, 5, 20, 10);
  b->SetSkin(Solid(40, 20, *wxRED), wxNullBitmap, wxNullBitmap, wxNullBitmap, wxNullBitmap,
             MaskWithHole(40, 20, shape), CxSkinButton::kNaturalSize);
  EXPECT_EQ(b->GetSize(), wxSize(40, 20));
  EXPECT_TRUE(b->HitTest({10, 5}));
  EXPECT_TRUE(b->HitTest({29, 14}));
  EXPECT_FALSE(b->HitTest({9, 5}));
  EXPECT_FALSE(b->HitTest({30, 14}));
  EXPECT_FALSE(b->HitTest({2, 2}));

  // A click on the white part does nothing; on the shape it is a click.
  Send(b, wxEVT_LEFT_DOWN, {2, 2});
  EXPECT_FALSE(b->IsPressed());
  Send(b, wxEVT_LEFT_UP, {2, 2});
  EXPECT_TRUE(m_clicks.empty());
  Send(b, wxEVT_LEFT_DOWN, {15, 8});
  Send(b, wxEVT_LEFT_UP, {15, 8});
  EXPECT_EQ(m_clicks, std::vector<int>{20});

  // Only the shape is painted; outside it the parent shows.
  const wxImage image = Snapshot(b);
  EXPECT_EQ(At(image, 15, 8), *wxRED);
  EXPECT_NE(At(image, 2, 2), *wxRED);
}

TEST(CxSkinButtonRegion, RunsOfNonWhitePixels) {
  wxImage mask(6, 3);
  mask.SetRGB(wxRect(0, 0, 6, 3), 255, 255, 255);
  mask.SetRGB(1, 0, 0, 0, 0);
  mask.SetRGB(2, 0, 254, 255, 255);  // almost white is still part of the button
  mask.SetRGB(4, 1, 10, 10, 10);
  mask.SetRGB(5, 1, 10, 10, 10);
  mask.SetRGB(0, 2, 1, 2, 3);
  const wxRegion region = CxSkinButton::RegionFromMask(mask);
  int inside = 0;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x)
      if (region.Contains(x, y) == wxInRegion) ++inside;
  EXPECT_EQ(inside, 5);
  EXPECT_EQ(region.Contains(2, 0), wxInRegion);
  EXPECT_EQ(region.Contains(5, 1), wxInRegion);
  EXPECT_NE(region.Contains(3, 1), wxInRegion);
  EXPECT_EQ(region.GetBox(), wxRect(0, 0, 6, 3));
}

TEST_F(CxSkinButtonTest, SkinArgumentsAreClamped) {
  CxSkinButton* b = Make(21);
  b->SetSkin(Solid(8, 8, *wxRED), {}, {}, {}, {}, {}, -3, true, -5);
  EXPECT_EQ(b->GetDrawMode(), 0);
  EXPECT_EQ(b->GetFocusMargin(), 0);
  EXPECT_TRUE(b->HasBorder());
  b->SetSkin(Solid(8, 8, *wxRED), {}, {}, {}, {}, {}, 9, false, 3);
  EXPECT_EQ(b->GetDrawMode(), 2);
  EXPECT_EQ(b->GetFocusMargin(), 3);
  EXPECT_FALSE(b->HasBorder());
}

TEST_F(CxSkinButtonTest, PicturePerState) {
  CxSkinButton* b = Make(22);
  const wxColour hover(0, 200, 0), pressed(0, 0, 200), focus(250, 250, 0);
  b->SetSkin(Solid(60, 30, *wxRED), Solid(60, 30, pressed), Solid(60, 30, hover), {},
             Solid(60, 30, focus), {}, CxSkinButton::kStretch, false);
  EXPECT_EQ(At(Snapshot(b), 30, 15), *wxRED);

  Send(b, wxEVT_MOTION, {30, 15});
  EXPECT_TRUE(b->IsHovering());
  EXPECT_EQ(At(Snapshot(b), 30, 15), hover);

  Send(b, wxEVT_LEFT_DOWN, {30, 15});
  EXPECT_FALSE(b->IsHovering()) << "a press ends hovering";
  EXPECT_TRUE(b->IsShownPushed());
  EXPECT_EQ(At(Snapshot(b), 30, 15), pressed);

  // Dragging off the button shows it released, coming back shows it pushed again;
  // releasing outside is no click.
  Send(b, wxEVT_MOTION, {100, 100});
  EXPECT_FALSE(b->IsShownPushed());
  Send(b, wxEVT_MOTION, {30, 15});
  EXPECT_TRUE(b->IsShownPushed());
  Send(b, wxEVT_MOTION, {100, 100});
  Send(b, wxEVT_LEFT_UP, {100, 100});
  EXPECT_FALSE(b->IsPressed());
  EXPECT_TRUE(m_clicks.empty());

  // The tab strip's active tab: the focus picture over the normal one.
  b->SetHighlighted(0x101);
  EXPECT_TRUE(b->IsHighlighted());
  EXPECT_EQ(At(Snapshot(b), 30, 15), focus);
  b->SetHighlighted(0x100);  // only the low byte counts
  EXPECT_FALSE(b->IsHighlighted());
}

TEST_F(CxSkinButtonTest, TiledAndNaturalSizeDrawing) {
  CxSkinButton* b = Make(23, CxSkinButton::kPushButton, 0, wxSize(10, 10));
  wxImage tile(4, 4);
  tile.SetRGB(wxRect(0, 0, 4, 4), 0, 0, 255);
  tile.SetRGB(0, 0, 255, 0, 0);  // one red pixel in each tile's corner
  b->SetSkin(wxBitmap(tile), {}, {}, {}, {}, {}, CxSkinButton::kTile, false);
  wxImage image = Snapshot(b);
  EXPECT_EQ(At(image, 4, 4), *wxRED);
  EXPECT_EQ(At(image, 8, 8), *wxRED);
  EXPECT_EQ(At(image, 9, 9), *wxBLUE);

  b->SetSkin(wxBitmap(tile), {}, {}, {}, {}, {}, CxSkinButton::kNaturalSize, false);
  image = Snapshot(b);
  EXPECT_EQ(At(image, 0, 0), *wxRED);
  EXPECT_NE(At(image, 4, 4), *wxRED) << "natural size draws the picture once";
}

TEST_F(CxSkinButtonTest, DisabledWithoutDisabledPictureShowsNormalPictureAndEngravedCaption) {
  CxSkinButton* b = Make(24, CxSkinButton::kPushButton, 0, wxSize(120, 60));
  b->SetLabel("|||||");
  b->SetFont(wxFont(wxFontInfo(28).Bold()));
  const wxColour face(40, 90, 160);
  b->SetSkin(Solid(120, 60, face), {}, {}, {}, {}, {}, CxSkinButton::kStretch, false);
  b->Disable();
  const wxImage image = Snapshot(b);
  EXPECT_EQ(At(image, 2, 2), face);
  EXPECT_GT(CountColour(image, wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)), 10);
  EXPECT_GT(CountColour(image, wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT), 40), 10);
  // Clicks on a disabled button reach nobody.
  b->Enable();
  const wxImage enabled = Snapshot(b);
  EXPECT_EQ(CountColour(enabled, wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT)), 0);
}

TEST_F(CxSkinButtonTest, TextColourAndSkinsFromResources) {
  CxSkinButton* b = Make(25);
  const wxColour old = b->SetTextColor(*wxBLUE);
  EXPECT_EQ(old, wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
  EXPECT_EQ(b->SetTextColor(*wxRED), *wxBLUE);

  // The tab strip's skin: the common tab mask gives every tab button its 96×26 shape.
  b->SetSkin(res::kSkinTabPageNormal, res::kSkinTabPageDown, res::kSkinTabPageOver, 0,
             res::kSkinTabPageOver, res::kSkinTabMask, CxSkinButton::kNaturalSize, false);
  EXPECT_EQ(b->GetSize(), wxSize(96, 26));
  EXPECT_FALSE(b->HitTest({0, 0})) << "rounded top corner";
  EXPECT_TRUE(b->HitTest({48, 13}));
  EXPECT_TRUE(b->HitTest({0, 25})) << "square bottom corner";
}

TEST_F(CxSkinButtonTest, LosingTheCaptureReleasesThePress) {
  CxSkinButton* b = Make(26);
  Send(b, wxEVT_LEFT_DOWN, {5, 5});
  ASSERT_TRUE(b->IsPressed());
  wxMouseCaptureLostEvent lost(b->GetId());
  lost.SetEventObject(b);
  b->GetEventHandler()->ProcessEvent(lost);
  EXPECT_FALSE(b->IsPressed());
  EXPECT_FALSE(b->IsShownPushed());
  if (b->HasCapture()) b->ReleaseMouse();
}

}  // namespace
