#include "app/pageview/ui/CAllView.h"

#include <wx/frame.h>
#include <wx/image.h>
#include <wx/sizer.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CTextBoxEdit.h"
#include "app/res/Resource.h"
#include "tests/pageview/WxFixture.h"
#include "tests/support/TempDir.h"

namespace {

// Collects what the view tells the frame.
struct FrameRecorder : IFrameHooks {
  void SetZoomText(const wxString& text) override { zoom = text; }
  void SetPaneText(int id, const wxString& text) override { panes[id] = text; }
  void OnActiveTabChanged(int, bool) override {}
  wxString zoom;
  std::map<int, wxString> panes;
};

class CAllViewTest : public pvtest::WxTest {
 protected:
  void SetUp() override {
    pvtest::WxTest::SetUp();
    if (IsSkipped()) return;
    m_doc = std::make_unique<CClipwrenDoc>();
    m_doc->SetFrameHooks(&m_recorder);
    m_doc->askSave = [](const wxString&) { return false; };
    m_frame = new wxFrame(nullptr, wxID_ANY, "page view", wxDefaultPosition, wxSize(700, 500));
    m_view = new CAllView(m_frame, res::kIdPageView, m_doc.get());
    m_frame->Show();
    pvtest::Pump(100);
  }
  void TearDown() override {
    if (m_frame) {
      m_doc.reset();  // text boxes first, then the windows
      m_frame->Destroy();
      pvtest::Pump(20);
    }
  }

  void Mouse(wxEventType type, int x, int y, bool shift = false) {
    wxMouseEvent e(type);
    e.SetPosition({x, y});
    e.m_x = x;
    e.m_y = y;
    e.m_shiftDown = shift;
    e.m_leftDown = type != wxEVT_LEFT_UP;
    e.SetEventObject(m_view);
    m_view->GetEventHandler()->ProcessEvent(e);
  }
  void Drag(std::initializer_list<wxPoint> pts, bool shift = false) {
    auto it = pts.begin();
    Mouse(wxEVT_LEFT_DOWN, it->x, it->y, shift);
    wxPoint last = *it;
    for (++it; it != pts.end(); ++it) {
      Mouse(wxEVT_MOTION, it->x, it->y, shift);
      last = *it;
    }
    Mouse(wxEVT_LEFT_UP, last.x, last.y, shift);
  }
  void Command(int id) {
    wxCommandEvent e(wxEVT_MENU, id);
    m_doc->ProcessEvent(e);
  }
  // Brightness of a working-bitmap pixel, top-down.
  int Gray(int x, int y) {
    const CxImage* wb = m_view->State().WorkingBitmap();
    const RGBQUAD c = wb->GetPixelColor(x, wb->GetHeight() - 1 - y);
    return (c.rgbRed + c.rgbGreen + c.rgbBlue) / 3;
  }

  testsupport::TempDir m_dir;
  std::unique_ptr<CClipwrenDoc> m_doc;
  FrameRecorder m_recorder;
  wxFrame* m_frame = nullptr;
  CAllView* m_view = nullptr;
};

TEST_F(CAllViewTest, DrawSaveReopenBurnsEveryMarkIntoMainJpg) {
  const auto scrap = m_dir / "scrap";
  pvtest::MakeScrap(scrap, 600, 2000, "★★★★http://example.jp/★★★★ text");
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();
  ASSERT_TRUE(image->IsLoaded());
  EXPECT_EQ(m_recorder.panes[res::kIdPaneSize], "600 X 2000");

  Command(res::kIdPenBlackThick);  // picks the pen tool with the thick black pen
  ASSERT_EQ(image->Tool(), kToolPen);
  Drag({{40, 40}, {100, 40}, {160, 40}});
  Command(res::kIdMarkerYellow);
  Drag({{40, 300}, {200, 300}});
  Command(res::kIdArrow);
  Drag({{40, 150}, {120, 150}, {240, 150}});
  Command(res::kIdTextBox);
  Drag({{300, 60}, {300, 60}});
  ASSERT_EQ(image->TextBoxes().size(), 1u);
  CTextBox* box = image->TextBoxes()[0].get();
  EXPECT_EQ(box->Rect(), (CRect{300, 60, 420, 140}));
  auto* edit = dynamic_cast<CTextBoxEdit*>(box->Window());
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->IsShown());
  edit->SetValue(wxString::FromUTF8("■■■■ メモ"));
  EXPECT_EQ(box->Text(), "■■■■ メモ");
  // Closing the editor makes the view paint the text itself.
  edit->ShowEditor(false);
  pvtest::Pump(50);
  EXPECT_EQ(image->Shapes().size(), 4u);
  EXPECT_TRUE(m_doc->IsModified());

  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("pageview_marks.png"), wxBITMAP_TYPE_PNG);

  m_doc->SetActiveTab(kTabPage);
  Command(res::kIdFileSave);
  EXPECT_FALSE(m_doc->IsModified());

  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  image = m_doc->PageImage();
  ASSERT_TRUE(image->IsLoaded());
  EXPECT_TRUE(image->Shapes().empty());
  EXPECT_LT(Gray(100, 40), 60);   // thick pen
  EXPECT_LT(Gray(100, 44), 60);
  EXPECT_GT(Gray(100, 50), 200);  // beyond its 10 pixels
  const CxImage* wb = m_view->State().WorkingBitmap();
  const RGBQUAD yellow = wb->GetPixelColor(120, wb->GetHeight() - 1 - 300);
  EXPECT_GT(yellow.rgbRed, 220);  // highlighter: yellow over white
  EXPECT_LT(yellow.rgbBlue, 160);
  EXPECT_GT(yellow.rgbBlue, 90);
  EXPECT_LT(Gray(150, 150), 90);   // shaft
  EXPECT_LT(Gray(232, 151), 90);   // inside the head
  EXPECT_GT(Gray(150, 160), 200);
  int dark = 0;
  for (int y = 60; y < 140; ++y)
    for (int x = 300; x < 420; ++x) dark += Gray(x, y) < 100;
  EXPECT_GT(dark, 40);  // the text box's text is in the picture
  EXPECT_GT(Gray(500, 100), 200);
}

TEST_F(CAllViewTest, ZoomKeysWheelAndEmptyPath) {
  const auto scrap = m_dir / "tall";
  pvtest::MakeScrap(scrap, 400, 3000);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  EXPECT_EQ(m_recorder.zoom, "100%");
  wxKeyEvent minus(wxEVT_KEY_DOWN);
  minus.m_keyCode = WXK_NUMPAD_SUBTRACT;
  m_view->GetEventHandler()->ProcessEvent(minus);
  EXPECT_EQ(m_doc->PageImage()->Zoom(), 90);
  EXPECT_EQ(m_recorder.zoom, "90%");
  EXPECT_EQ(m_view->State().ExtentHeight(), 2700);
  Command(res::kIdZoomActual);
  EXPECT_EQ(m_view->State().ExtentHeight(), 3000);

  // Taller than the window: the wheel scrolls down, 120 pixels a notch.
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = -120;
  wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
  m_view->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(m_view->ScrollPos().y, 120);
  EXPECT_EQ(m_view->ScrollPos().x, 0);

  Command(res::kIdZoomFit);
  const wxSize size = m_view->GetSize();
  EXPECT_EQ(m_doc->PageImage()->Zoom(), size.y * 100 / 3000);

  CSBImage empty(m_view);
  EXPECT_TRUE(empty.Load());
  EXPECT_EQ(empty.Zoom(), 0);
  EXPECT_EQ(m_view->State().ExtentWidth(), 0);
}

TEST_F(CAllViewTest, WheelScrollsSidewaysOverAWideShortPicture) {
  const auto scrap = m_dir / "wide";
  pvtest::MakeScrap(scrap, 3000, 200);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = -240;
  m_view->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_EQ(m_view->ScrollPos().x, 240);
  EXPECT_EQ(m_view->ScrollPos().y, 0);
}

TEST_F(CAllViewTest, ShiftKeepsTheStrokeHorizontal) {
  const auto scrap = m_dir / "shift";
  pvtest::MakeScrap(scrap, 500, 500);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  Command(res::kIdPen);
  Drag({{50, 100}, {90, 110}, {150, 130}, {200, 90}}, true);
  const auto& strokes = m_doc->PageImage()->Strokes();
  ASSERT_EQ(strokes.size(), 1u);
  for (const CPoint& p : strokes[0]->Points()) EXPECT_EQ(p.y, 100);
  // A click with the pen leaves a stroke of two equal points that draws nothing.
  Command(res::kIdPen);
  EXPECT_EQ(m_doc->PageImage()->Tool(), kToolNone);
}

}  // namespace
