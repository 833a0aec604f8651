// The preview window through the production entry point: the Japanese captions, paging one and
// two pages at a time, zoom steps, and what closing and "印刷" do.
#include "app/print/ui/CLangPreview.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/statusbr.h>

#include <string>

#include "app/print/ui/PrintRun.h"
#include "tests/support/GuiTest.h"

namespace {

using guitest::GuiTest;

PrintPicture TallPage() {
  auto img = std::make_shared<CxImage>();
  img->Create(640, 6000, 24);
  for (uint32_t y = 0; y < 6000; ++y) {
    uint8_t* row = img->GetBits(y);
    for (uint32_t x = 0; x < 640; ++x) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = uint8_t(y);
  }
  return img;
}

CLangPreviewFrame* FindPreview() {
  for (wxWindow* w : wxTopLevelWindows)
    if (auto* frame = dynamic_cast<CLangPreviewFrame*>(w)) return frame;
  return nullptr;
}

void Press(wxWindow* frame, int id) {
  auto* button = dynamic_cast<wxButton*>(frame->FindWindow(id));
  ASSERT_TRUE(button);
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);
}

class LangPreviewTest : public GuiTest {};

// Like the stock preview, the window first shows whole pages: one page, or both of a pair, fit
// the canvas until a zoom is chosen.
TEST_F(LangPreviewTest, WholePagesFitTheWindowUntilAZoomIsChosen) {
  print::PrintSettings s;
  s.scalingMode = print::kFitWidth;
  ASSERT_TRUE(printing::ShowPreview(nullptr, TallPage(), s, [] {}, [] {}));
  CLangPreviewFrame* frame = FindPreview();
  ASSERT_TRUE(frame);
  auto* preview = dynamic_cast<CLangPreview*>(frame->GetControlBar()->GetPrintPreview());
  ASSERT_TRUE(preview);
  wxPreviewCanvas* canvas = preview->GetCanvas();
  ASSERT_TRUE(guitest::WaitFor([&] { return frame->IsShownOnScreen() && preview->GetMaxPage() > 2; }));
  guitest::Pump(100);
  const auto fits = [&](int across) {
    wxRect printable, paper;
    preview->CalcRects(canvas, printable, paper);
    const wxSize room = canvas->GetClientSize();
    // Inside the canvas, and filling most of it one way or the other.
    return paper.height <= room.y && across * paper.width <= room.x &&
           (paper.height >= room.y * 9 / 10 || across * paper.width >= room.x * 9 / 10);
  };
  EXPECT_TRUE(fits(1)) << preview->GetZoom();
  Press(frame, CLangPreviewFrame::kIdOnePageTwoPages);
  EXPECT_TRUE(fits(2)) << preview->GetZoom();
  // A chosen zoom stays, whatever is shown; zooming out again returns to whole pages.
  const int fitted = preview->GetZoom();
  Press(frame, CLangPreviewFrame::kIdZoomIn);
  const int chosen = preview->GetZoom();
  EXPECT_GT(chosen, fitted);
  Press(frame, CLangPreviewFrame::kIdOnePageTwoPages);
  EXPECT_EQ(preview->GetZoom(), chosen);
  Press(frame, CLangPreviewFrame::kIdZoomOut);
  EXPECT_TRUE(fits(1)) << preview->GetZoom();
  frame->Close();
  ASSERT_TRUE(guitest::WaitFor([&] { return FindPreview() == nullptr; }));
}

// Left to the window manager the preview opened below its owner and ran off the screen's
// bottom edge. It covers its owner, and stays inside the screen when the owner does not.
TEST_F(LangPreviewTest, OpensOverItsOwnerInsideTheScreen) {
  const wxRect area = wxDisplay(0u).GetClientArea();
  auto* owner = new wxFrame(nullptr, wxID_ANY, "preview owner", wxPoint(area.x + 60, area.y + 40),
                            wxSize(area.width * 3 / 4, area.height * 3 / 4));
  owner->Show();
  ASSERT_TRUE(guitest::WaitFor([&] { return owner->IsShownOnScreen(); }));
  const auto opened = [&] {
    print::PrintSettings s;
    EXPECT_TRUE(printing::ShowPreview(owner, TallPage(), s, [] {}, [] {}));
    CLangPreviewFrame* frame = FindPreview();
    EXPECT_TRUE(frame && guitest::WaitFor([&] { return frame->IsShownOnScreen(); }));
    guitest::Pump(200);
    return frame;
  };
  CLangPreviewFrame* frame = opened();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->GetRect(), owner->GetRect());
  frame->Close();
  ASSERT_TRUE(guitest::WaitFor([&] { return FindPreview() == nullptr; }));

  owner->SetSize(area.width, area.height);
  owner->Move(area.GetRight() - area.width / 3, area.GetBottom() - area.height / 3);
  guitest::Pump(200);
  frame = opened();
  ASSERT_TRUE(frame);
  EXPECT_TRUE(area.Contains(frame->GetRect())) << frame->GetRect().x << "," << frame->GetRect().y;
  frame->Close();
  ASSERT_TRUE(guitest::WaitFor([&] { return FindPreview() == nullptr; }));
  owner->Destroy();
  guitest::Pump();
}

TEST_F(LangPreviewTest, CaptionsPagingZoomAndClosing) {
  print::PrintSettings s;
  s.scalingMode = print::kFitWidth;
  int closed = 0, printed = 0;
  ASSERT_TRUE(printing::ShowPreview(nullptr, TallPage(), s, [&] { ++printed; }, [&] { ++closed; }));
  CLangPreviewFrame* frame = FindPreview();
  ASSERT_TRUE(frame);
  using F = CLangPreviewFrame;
  const std::pair<int, const char*> captions[] = {
      {F::kIdPrint, "印刷"},   {F::kIdNext, "次のペ-ジ"},   {F::kIdPrevious, "前のペ-ジ"},
      {F::kIdZoomIn, "拡大"},  {F::kIdZoomOut, "縮小"},     {F::kIdClose, "閉じる"},
      {F::kIdOnePageTwoPages, "2 ページ(&T)"}};
  for (const auto& [id, text] : captions)
    EXPECT_EQ(frame->FindWindow(id)->GetLabel(), wxString::FromUTF8(text)) << id;
  auto* preview = dynamic_cast<CLangPreview*>(frame->GetControlBar()->GetPrintPreview());
  ASSERT_TRUE(preview);
  // The page count is known once the first page has been rendered.
  ASSERT_TRUE(guitest::WaitFor([&] { return preview->GetMaxPage() > 2; }));
  EXPECT_EQ(preview->GetCurrentPage(), 1);
  // The status bar names the pages that show.
  const auto described = [&] { return frame->GetStatusBar()->GetStatusText().utf8_string(); };
  EXPECT_EQ(described(), "ページ 1");
  Press(frame, F::kIdNext);
  EXPECT_EQ(preview->GetCurrentPage(), 2);
  EXPECT_EQ(described(), "ページ 2");
  Press(frame, F::kIdOnePageTwoPages);
  EXPECT_TRUE(preview->TwoPages());
  EXPECT_EQ(frame->FindWindow(F::kIdOnePageTwoPages)->GetLabel(),
            wxString::FromUTF8("1 ページ(&O)"));
  EXPECT_EQ(described(), "ページ 2-3");
  Press(frame, F::kIdPrevious);
  EXPECT_EQ(preview->GetCurrentPage(), 1);
  EXPECT_EQ(described(), "ページ 1-2");
  // The last page has nothing beside it.
  preview->SetCurrentPage(preview->GetMaxPage());
  EXPECT_EQ(described(), "ページ " + std::to_string(preview->GetMaxPage()));
  preview->SetCurrentPage(1);
  const int zoom = preview->GetZoom();
  Press(frame, F::kIdZoomIn);
  EXPECT_GT(preview->GetZoom(), zoom);
  Press(frame, F::kIdZoomOut);
  EXPECT_EQ(preview->GetZoom(), zoom);
  ASSERT_TRUE(guitest::WaitFor([&] { return frame->IsShownOnScreen(); }));
  EXPECT_TRUE(guitest::SaveScreenshot(frame, guitest::ScreenshotPath("print-preview-two-pages.png")));
  Press(frame, F::kIdPrint);
  ASSERT_TRUE(guitest::WaitFor([&] { return FindPreview() == nullptr && printed == 1; }));
  EXPECT_EQ(closed, 1);
}

}  // namespace
