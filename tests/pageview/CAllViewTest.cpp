#include "app/pageview/ui/CAllView.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/menu.h>
#include <wx/process.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <fstream>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CTextBoxEdit.h"
#include "app/pageview/ui/Cursors.h"
#include "app/pageview/ui/TextBoxPaint.h"
#include "app/res/Resource.h"
#include "tests/pageview/TestScrap.h"
#include "tests/support/GuiTest.h"
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

class CAllViewTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    guitest::GuiTest::SetUp();
    if (IsSkipped()) return;
    m_doc = std::make_unique<CClipwrenDoc>();
    m_doc->SetFrameHooks(&m_recorder);
    m_doc->askSave = [](const wxString&) { return false; };
    m_frame = new wxFrame(nullptr, wxID_ANY, "page view", wxDefaultPosition, wxSize(700, 500));
    m_view = new CAllView(m_frame, res::kIdPageView, m_doc.get());
    m_frame->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_view->IsShownOnScreen(); }));
  }
  void TearDown() override {
    if (m_frame) {
      m_doc.reset();  // text boxes first, then the windows
      m_frame->Destroy();
      guitest::WaitFor([this] { return !wxTopLevelWindows.Find(m_frame); });
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
  // A 600 x 800 scrap in a 600 x 450 view with a thick black stroke across (50..150, 60), and
  // the range tool chosen. Null when the scrap did not open.
  CSBImage* OpenMarkedScrapWithRangeTool(const std::string& name) {
    const auto scrap = m_dir / name;
    pvtest::MakeScrap(scrap, 600, 800);
    if (!m_doc->OpenScrap(scrap.string())) return nullptr;
    m_view->SetSize(0, 0, 600, 450);
    Command(res::kIdPenBlackThick);
    Drag({{50, 60}, {150, 60}});
    Command(res::kIdRangeSelect);
    return m_doc->PageImage();
  }
  // A new 600 x 600 scrap with one text box opened by a click at `at`; the box's edit window,
  // or null when something on the way failed.
  CTextBoxEdit* OpenScrapWithNewTextBox(const std::string& name, wxPoint at) {
    const auto scrap = m_dir / name;
    pvtest::MakeScrap(scrap, 600, 600);
    if (!m_doc->OpenScrap(scrap.string())) return nullptr;
    Command(res::kIdTextBox);
    Drag({at, at});
    if (m_doc->PageImage()->TextBoxes().size() != 1) return nullptr;
    return dynamic_cast<CTextBoxEdit*>(m_doc->PageImage()->TextBoxes()[0]->Window());
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
  guitest::Pump(0);
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
  EXPECT_LT(Gray(100, 40), 60);  // thick pen
  EXPECT_LT(Gray(100, 44), 60);
  EXPECT_GT(Gray(100, 50), 200);  // beyond its 10 pixels
  const CxImage* wb = m_view->State().WorkingBitmap();
  const RGBQUAD yellow = wb->GetPixelColor(120, wb->GetHeight() - 1 - 300);
  EXPECT_GT(yellow.rgbRed, 220);  // highlighter: yellow over white
  EXPECT_LT(yellow.rgbBlue, 160);
  EXPECT_GT(yellow.rgbBlue, 90);
  EXPECT_LT(Gray(150, 150), 90);  // shaft
  EXPECT_LT(Gray(232, 151), 90);  // inside the head
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

// Sends a mouse event to any window of the view (the view itself or a text box editor).
void MouseTo(wxWindow* w, wxEventType type, int x, int y) {
  wxMouseEvent e(type);
  e.SetPosition({x, y});
  e.m_leftDown = type != wxEVT_LEFT_UP;
  e.SetEventObject(w);
  w->GetEventHandler()->ProcessEvent(e);
}

TEST_F(CAllViewTest, ShapeSelectionResizesArrowsByTheirHandlesAndMovesStrokes) {
  const auto scrap = m_dir / "select";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdArrow);
  Drag({{200, 160}, {150, 130}, {100, 100}});  // tip at the top left
  Command(res::kIdPen);
  Drag({{300, 300}, {400, 300}});
  ASSERT_EQ(image->Arrows().size(), 1u);
  CArrow* arrow = image->Arrows()[0].get();
  ASSERT_EQ(arrow->Rect(), (CRect{100, 100, 200, 160}));
  ASSERT_EQ(arrow->Code(), 2);
  m_doc->SetModifiedFlag(false);

  // With other tools the pointer over a mark is the toolkit's; with shape selection each
  // part of a frame has its own.
  EXPECT_EQ(m_view->CursorAt({150, 130}), CursorKind::Default);  // the pen's is the toolkit's
  Command(res::kIdArrow);
  EXPECT_EQ(m_view->CursorAt({150, 130}), CursorKind::Cross);
  EXPECT_EQ(m_view->CursorAt({650, 130}), CursorKind::Default);  // beside the picture
  Command(res::kIdShapeSelect);
  EXPECT_EQ(m_view->CursorAt({150, 130}), CursorKind::Move);
  EXPECT_EQ(m_view->CursorAt({203, 163}), CursorKind::SizeNWSE);
  EXPECT_EQ(m_view->CursorAt({96, 163}), CursorKind::SizeNESW);
  EXPECT_EQ(m_view->CursorAt({148, 96}), CursorKind::SizeNS);
  EXPECT_EQ(m_view->CursorAt({203, 130}), CursorKind::SizeWE);
  EXPECT_EQ(m_view->CursorAt({350, 300}), CursorKind::Move);         // stroke: body only
  EXPECT_EQ(m_view->CursorAt({288 - 1, 300}), CursorKind::Default);  // beyond its frame
  EXPECT_EQ(m_view->CursorAt({500, 500}), CursorKind::Default);

  // The bottom-right handle stretches the arrow; its tip stays top-left.
  Drag({{203, 163}, {230, 180}, {253, 193}});
  EXPECT_EQ(arrow->Rect(), (CRect{100, 100, 250, 190}));
  EXPECT_EQ(arrow->Code(), 2);
  EXPECT_TRUE(arrow->IsSelected());
  EXPECT_TRUE(m_doc->IsModified());
  // A selected arrow shows its frame with filled handles outside it.
  wxImage shot = m_view->PaintBuffer().ConvertToImage();
  EXPECT_LT(shot.GetRed(253, 193), 60);  // bottom-right handle
  EXPECT_LT(shot.GetRed(96, 96), 60);    // top-left handle
  EXPECT_LT(shot.GetRed(172, 96), 60);   // top handle, centred
  EXPECT_GT(shot.GetRed(130, 96), 200);  // between handles
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("pageview_tracker.png"), wxBITMAP_TYPE_PNG);

  // The stroke moves by its body and has no handles; the arrow loses its selection.
  CStroke* stroke = image->Strokes()[0].get();
  const CRect before = stroke->TrackerRect();
  Drag({{350, 300}, {360, 340}, {370, 350}});
  EXPECT_EQ(stroke->TrackerRect(), before.Offset(20, 50));
  EXPECT_TRUE(stroke->IsSelected());
  EXPECT_FALSE(arrow->IsSelected());
  // Moving is not an undoable step: one undo takes the stroke away altogether.
  Command(res::kIdShapeUndo);
  EXPECT_FALSE(stroke->IsVisible());
  EXPECT_TRUE(arrow->IsVisible());
}

TEST_F(CAllViewTest, AHorizontalArrowCanBePickedUpByItsLine) {
  const auto scrap = m_dir / "flat";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  Command(res::kIdArrow);
  Drag({{100, 200}, {300, 200}});
  Command(res::kIdShapeSelect);
  Drag({{200, 201}, {200, 251}});
  EXPECT_EQ(m_doc->PageImage()->Arrows()[0]->Rect(), (CRect{100, 250, 300, 250}));
}

TEST_F(CAllViewTest, TextBoxBorderResizesWithAFrameThenTheWindow) {
  CTextBoxEdit* edit = OpenScrapWithNewTextBox("box", {300, 60});
  ASSERT_NE(edit, nullptr);
  CTextBox* box = m_doc->PageImage()->TextBoxes()[0].get();
  ASSERT_EQ(box->Rect(), (CRect{300, 60, 420, 140}));
  guitest::Pump(0);
  const wxPoint o = edit->GetClientAreaOrigin();
  auto at = [&](int wx, int wy) { return wxPoint(wx - o.x, wy - o.y); };  // window → client

  EXPECT_EQ(edit->CursorKindAt(at(118, 40)), CursorKind::SizeWE);
  EXPECT_EQ(edit->CursorKindAt(at(1, 40)), CursorKind::SizeWE);
  EXPECT_EQ(edit->CursorKindAt(at(60, 0)), CursorKind::SizeNS);
  EXPECT_EQ(edit->CursorKindAt(at(60, 79)), CursorKind::SizeNS);
  EXPECT_EQ(edit->CursorKindAt(at(119, 79)), CursorKind::SizeNWSE);
  EXPECT_EQ(edit->CursorKindAt(at(0, 0)), CursorKind::SizeNWSE);
  EXPECT_EQ(edit->CursorKindAt(at(119, 0)), CursorKind::SizeNESW);
  EXPECT_EQ(edit->CursorKindAt(at(0, 79)), CursorKind::SizeNESW);
  EXPECT_EQ(edit->CursorKindAt(at(60, 40)), CursorKind::IBeam);
  m_doc->SetModifiedFlag(false);

  // Grab the right edge and pull it 40 pixels out: only a frame follows at first.
  MouseTo(edit, wxEVT_LEFT_DOWN, at(118, 40).x, at(118, 40).y);
  MouseTo(edit, wxEVT_MOTION, at(158, 45).x, at(158, 45).y);
  ASSERT_TRUE(m_view->FrameFeedback().has_value());
  EXPECT_EQ(*m_view->FrameFeedback(), (CRect{300, 60, 460, 140}));
  EXPECT_EQ(box->Rect(), (CRect{300, 60, 420, 140}));
  std::vector<uint8_t> rgb;
  const wxSize client = m_view->GetClientSize();
  m_view->ComposeClient(rgb, client.x, client.y);
  auto red = [&](int x, int y) { return rgb[static_cast<size_t>((y * client.x + x) * 3)]; };
  EXPECT_EQ(red(458, 100), 0);  // the 2-pixel frame inverts the white page
  EXPECT_EQ(red(459, 100), 0);
  EXPECT_EQ(red(457, 100), 255);
  EXPECT_EQ(red(440, 61), 0);
  EXPECT_EQ(red(440, 62), 255);

  MouseTo(edit, wxEVT_LEFT_UP, at(158, 45).x, at(158, 45).y);
  EXPECT_EQ(box->Rect(), (CRect{300, 60, 460, 140}));
  EXPECT_FALSE(m_view->FrameFeedback().has_value());
  EXPECT_EQ(edit->GetSize(), wxSize(160, 80));
  EXPECT_EQ(edit->GetPosition(), wxPoint(300, 60));
  EXPECT_TRUE(m_doc->IsModified());

  // The top-left corner dragged past the bottom-right one: the rectangle is normalised.
  MouseTo(edit, wxEVT_LEFT_DOWN, at(0, 0).x, at(0, 0).y);
  MouseTo(edit, wxEVT_LEFT_UP, at(200, 100).x, at(200, 100).y);
  EXPECT_EQ(box->Rect(), (CRect{460, 140, 500, 160}));
}

// With the real pointer: the toolkit delivers a native text control's drag events only to the
// window it captured, so a resize that captured the wrong one never ended and took every later
// click with it.
TEST_F(CAllViewTest, RealMouseResizesAnOpenTextBoxAndThenMovesIt) {
  CTextBoxEdit* edit = OpenScrapWithNewTextBox("realbox", {100, 60});
  ASSERT_NE(edit, nullptr);
  CTextBox* box = m_doc->PageImage()->TextBoxes()[0].get();
  m_frame->Raise();
  ASSERT_TRUE(pvtest::WaitFor([&] { return edit->IsShownOnScreen(); }));

  wxUIActionSimulator input;
  const auto drag = [&](wxPoint from, wxPoint to) {
    ASSERT_TRUE(pvtest::PointerTo(m_view->ClientToScreen(from)));
    input.MouseDown();
    for (int step = 1; step <= 4; ++step)
      ASSERT_TRUE(pvtest::PointerTo(m_view->ClientToScreen(from + (to - from) * step / 4)));
    input.MouseUp();
    ASSERT_TRUE(pvtest::WaitFor(
        [&] { return !m_view->HasCapture() && !m_view->FrameFeedback().has_value(); }, 5000))
        << "the drag ended";
  };
  // Events inside the native control come one pixel off its window (the toolkit's frame), so
  // edges are compared within a pixel.
  const auto near = [&](const CRect& want) {
    const CRect r = box->Rect();
    EXPECT_NEAR(r.left, want.left, 1);
    EXPECT_NEAR(r.top, want.top, 1);
    EXPECT_NEAR(r.right, want.right, 1);
    EXPECT_NEAR(r.bottom, want.bottom, 1);
  };
  // The right edge, pulled 40 pixels out.
  drag({218, 100}, {258, 100});
  near(CRect{100, 60, 260, 140});
  EXPECT_FALSE(edit->HasCapture());
  EXPECT_FALSE(m_view->HasCapture());
  // The open box is moved with shape selection, and later presses reach the view again.
  Command(res::kIdShapeSelect);
  drag({150, 100}, {190, 130});
  near(CRect{140, 90, 300, 170});
  Command(res::kIdArrow);
  drag({400, 300}, {500, 350});
  EXPECT_EQ(m_doc->PageImage()->Arrows().size(), 1u);
}

TEST_F(CAllViewTest, ShapeSelectionMovesATextBoxWithinTheClientArea) {
  CTextBoxEdit* edit = OpenScrapWithNewTextBox("move", {100, 100});
  ASSERT_NE(edit, nullptr);
  CTextBox* box = m_doc->PageImage()->TextBoxes()[0].get();
  Command(res::kIdShapeSelect);
  ASSERT_TRUE(box->IsMoveMode());
  EXPECT_EQ(edit->CursorKindAt({60, 40}), CursorKind::Move);
  EXPECT_EQ(edit->CursorKindAt({1, 40}), CursorKind::Move);  // no resizing while moving

  MouseTo(edit, wxEVT_LEFT_DOWN, 10, 10);
  EXPECT_TRUE(box->IsSelected());
  MouseTo(edit, wxEVT_MOTION, 60, 40);
  EXPECT_EQ(*m_view->FrameFeedback(), (CRect{150, 130, 270, 210}));
  EXPECT_EQ(box->Rect(), (CRect{100, 100, 220, 180}));
  MouseTo(edit, wxEVT_LEFT_UP, 60, 40);
  EXPECT_EQ(box->Rect(), (CRect{150, 130, 270, 210}));

  // The frame 3 pixels outside the window is the box's tracker in the view: it moves the box
  // there as well.
  const CRect r = box->Rect();
  Drag({{r.left - 2, r.top - 2}, {r.left - 102, r.top - 52}});
  EXPECT_EQ(box->Rect(), r.Offset(-100, -50));

  // Far beyond the view: the pointer is held at the client area's last pixel.
  const wxSize client = m_view->GetClientSize();
  MouseTo(edit, wxEVT_LEFT_DOWN, 0, 0);
  MouseTo(edit, wxEVT_LEFT_UP, 5000, 5000);
  EXPECT_EQ(box->Rect().TopLeft(), (CPoint{client.x - 1, client.y - 1}));
}

// What the toolkit sends when another window takes the mouse in the middle of a drag.
void LoseCapture(wxWindow* w) {
  if (w->HasCapture()) w->ReleaseMouse();
  wxMouseCaptureLostEvent lost(w->GetId());
  lost.SetEventObject(w);
  w->GetEventHandler()->ProcessEvent(lost);
}

TEST_F(CAllViewTest, LosingTheCaptureEndsEveryDragWhereThePointerLastWas) {
  const auto scrap = m_dir / "lost";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();

  Command(res::kIdArrow);
  Mouse(wxEVT_LEFT_DOWN, 100, 100);
  Mouse(wxEVT_MOTION, 150, 120);
  Mouse(wxEVT_MOTION, 200, 150);
  LoseCapture(m_view);
  ASSERT_EQ(image->Shapes().size(), 1u);
  EXPECT_EQ(image->Arrows()[0]->Rect(), (CRect{100, 100, 200, 150}));

  Command(res::kIdTextBox);
  Mouse(wxEVT_LEFT_DOWN, 300, 300);
  Mouse(wxEVT_MOTION, 400, 380);
  LoseCapture(m_view);
  ASSERT_EQ(image->TextBoxes().size(), 1u);
  CTextBox* box = image->TextBoxes()[0].get();
  EXPECT_EQ(box->Rect(), (CRect{300, 300, 400, 380}));

  // A mark's frame dragged with shape selection: moved, and the document knows it.
  Command(res::kIdShapeSelect);
  guitest::Pump(0);
  m_doc->SetModifiedFlag(false);
  Mouse(wxEVT_LEFT_DOWN, 150, 125);
  Mouse(wxEVT_MOTION, 170, 145);
  LoseCapture(m_view);
  EXPECT_EQ(image->Arrows()[0]->Rect(), (CRect{120, 120, 220, 170}));
  EXPECT_TRUE(m_doc->IsModified());

  // A text box moved by its window.
  auto* edit = dynamic_cast<CTextBoxEdit*>(box->Window());
  ASSERT_NE(edit, nullptr);
  m_doc->SetModifiedFlag(false);
  MouseTo(edit, wxEVT_LEFT_DOWN, 10, 10);
  MouseTo(edit, wxEVT_MOTION, 40, 30);
  LoseCapture(edit);
  EXPECT_EQ(box->Rect(), (CRect{330, 320, 430, 400}));
  EXPECT_FALSE(m_view->FrameFeedback().has_value());
  EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(CAllViewTest, APressThatMovesNothingGoesOnToTheOtherMarksUnderIt) {
  const auto scrap = m_dir / "overlap";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdArrow);
  Drag({{100, 100}, {300, 300}});
  Drag({{100, 300}, {300, 100}});
  Command(res::kIdPen);
  Drag({{100, 200}, {300, 200}});
  CArrow* first = image->Arrows()[0].get();
  CArrow* second = image->Arrows()[1].get();
  CStroke* stroke = image->Strokes()[0].get();
  Command(res::kIdShapeSelect);

  // A click on the crossing: the first arrow's frame does not change, so the second arrow and
  // the stroke under the same point are taken too.
  m_doc->SetModifiedFlag(false);
  Drag({{200, 200}});
  EXPECT_TRUE(first->IsSelected());
  EXPECT_TRUE(second->IsSelected());
  EXPECT_TRUE(stroke->IsSelected());
  EXPECT_FALSE(m_doc->IsModified());

  // A drag moves the first arrow only; the press ends there.
  const CRect secondBefore = second->Rect();
  const CRect strokeBefore = stroke->TrackerRect();
  Drag({{200, 200}, {220, 210}});
  EXPECT_EQ(first->Rect(), (CRect{120, 110, 320, 310}));
  EXPECT_TRUE(first->IsSelected());
  EXPECT_FALSE(second->IsSelected());
  EXPECT_FALSE(stroke->IsSelected());
  EXPECT_EQ(second->Rect(), secondBefore);
  EXPECT_EQ(stroke->TrackerRect(), strokeBefore);
}

TEST_F(CAllViewTest, TheScreenStacksMarksInTheOrderASaveDoes) {
  const auto scrap = m_dir / "order";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdTextBox);
  Drag({{100, 100}});
  CTextBox* box = image->TextBoxes()[0].get();
  auto* edit = dynamic_cast<CTextBoxEdit*>(box->Window());
  ASSERT_NE(edit, nullptr);
  edit->SetValue(wxString::FromUTF8("■■■■■■■■■■■■■■■■■■■■"));
  edit->ShowEditor(false);
  const wxSize client = m_view->GetClientSize();
  std::vector<uint8_t> rgb;
  m_view->ComposeClient(rgb, client.x, client.y);
  auto pixel = [&](int x, int y) { return &rgb[static_cast<size_t>((y * client.x + x) * 3)]; };
  // A point the text covers.
  wxPoint inked(-1, -1);
  for (int y = 110; y < 170 && inked.x < 0; ++y)
    for (int x = 120; x < 200 && inked.x < 0; ++x)
      if (pixel(x, y)[0] < 50 && pixel(x, y + 1)[0] < 50 && pixel(x, y - 1)[0] < 50)
        inked = {x, y};
  ASSERT_GE(inked.x, 0) << "the closed box shows its text";

  // A red line drawn later across the text lies on top of it, on the screen and in the save.
  Command(res::kIdPenRedThin);
  Drag({{90, inked.y}, {250, inked.y}});
  const std::optional<CxImage> saved = image->Flatten();
  ASSERT_TRUE(saved.has_value());
  const RGBQUAD written = saved->GetPixelColor(inked.x, saved->GetHeight() - 1 - inked.y);
  EXPECT_GT(written.rgbRed, 200);
  EXPECT_LT(written.rgbGreen, 80);
  m_view->ComposeClient(rgb, client.x, client.y);
  EXPECT_EQ(pixel(inked.x, inked.y)[0], written.rgbRed);
  EXPECT_EQ(pixel(inked.x, inked.y)[1], written.rgbGreen);
  EXPECT_EQ(pixel(inked.x, inked.y)[2], written.rgbBlue);
}

TEST_F(CAllViewTest, TextBurnedIntoATallPictureAtALowZoomReachesItsBottom) {
  // At 10 % a box of 40 × 4000 view units covers 400 × 40000 picture pixels, more than the
  // toolkit's largest bitmap.
  const int width = 400, height = 40000;
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 255);
  const PixelTarget target = TargetOfRgb(rgb.data(), width, height);
  std::string text;
  for (int i = 0; i < 500; ++i) text += "■";
  BurnBoxText(target, ViewMapping{10.0, 0.0, 0.0}, text, CRect{0, 0, 40, 4000}, TextBoxFont());
  auto darkRows = [&](int from, int to) {
    int n = 0;
    for (int y = from; y < to; ++y) {
      const uint8_t* row = target.Row(y);
      for (int x = 0; x < width; ++x) {
        if (row[3 * x] < 80) {
          ++n;
          break;
        }
      }
    }
    return n;
  };
  EXPECT_GT(darkRows(0, 2000), 1000);
  EXPECT_GT(darkRows(36000, 39600), 1800);
}

TEST_F(CAllViewTest, EveryArrowKeyScrollsALineAndTheViewKeepsTheFocus) {
  const auto scrap = m_dir / "keys";
  pvtest::MakeScrap(scrap, 400, 3000);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  // Another control beside the view, for the focus to wander to.
  auto* other = new wxButton(m_frame, wxID_ANY, "other", wxPoint(0, 410));
  m_view->SetSize(0, 0, 600, 400);
  m_frame->Raise();
  m_view->SetFocus();
  // Keys from the X server, as a keyboard gives them, go to the window under the pointer.
  wxUIActionSimulator input;
  const wxRect screen = m_view->GetScreenRect();
  input.MouseMove(screen.x + screen.width / 2, screen.y + screen.height / 2);
  ASSERT_TRUE(pvtest::WaitFor([&] { return m_view->HasFocus(); }));
  const int line = 3000 / 100;
  for (int i = 1; i <= 4; ++i) {
    input.Char(WXK_DOWN);
    EXPECT_TRUE(pvtest::WaitFor([&] { return m_view->ScrollPos().y == i * line; }, 5000))
        << "Down number " << i << ": at " << m_view->ScrollPos().y;
  }
  input.Char(WXK_UP);
  EXPECT_TRUE(pvtest::WaitFor([&] { return m_view->ScrollPos().y == 3 * line; }, 5000));
  EXPECT_TRUE(m_view->HasFocus());
  EXPECT_FALSE(other->HasFocus());
}

TEST_F(CAllViewTest, DraggingAClosedTextBoxWithShapeSelectionMovesIt) {
  const auto scrap = m_dir / "drag";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  m_view->SetSize(0, 0, 600, 450);
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdTextBox);
  Drag({{100, 100}});
  CTextBox* box = image->TextBoxes()[0].get();
  auto* edit = dynamic_cast<CTextBoxEdit*>(box->Window());
  ASSERT_NE(edit, nullptr);
  edit->SetValue(wxString::FromUTF8("動かす箱"));
  edit->SelectAll();
  edit->ShowEditor(false);
  Command(res::kIdShapeSelect);
  m_frame->Raise();
  ASSERT_TRUE(pvtest::WaitFor([&] { return !edit->IsShown() && m_view->IsShownOnScreen(); }));

  // Real presses and moves, as the mouse gives them: grab the closed box, drag it 60 × 40.
  wxUIActionSimulator input;
  const wxPoint at = m_view->ClientToScreen(wxPoint(150, 130));
  ASSERT_TRUE(pvtest::PointerTo(at));
  input.MouseDown();
  ASSERT_TRUE(pvtest::WaitFor([&] { return box->IsSelected(); }));
  for (int step = 1; step <= 6; ++step) {
    ASSERT_TRUE(pvtest::PointerTo(at + wxPoint(10 * step, 7 * step - 2)));
  }
  ASSERT_TRUE(pvtest::PointerTo(at + wxPoint(60, 40)));
  input.MouseUp();
  EXPECT_TRUE(pvtest::WaitFor([&] { return box->Rect() == CRect{160, 140, 280, 220}; }, 5000))
      << box->Rect().left << "," << box->Rect().top;
  EXPECT_EQ(box->Text(), "動かす箱");

  // The view still takes clicks: the pen draws where the next drag goes.
  Command(res::kIdPen);
  const wxPoint from = m_view->ClientToScreen(wxPoint(350, 350));
  ASSERT_TRUE(pvtest::PointerTo(from));
  input.MouseDown();
  ASSERT_TRUE(pvtest::WaitFor([&] { return image->Strokes().size() == 1; }, 5000))
      << "the press starts a stroke";
  ASSERT_TRUE(pvtest::PointerTo(from + wxPoint(50, 0)));
  input.MouseUp();
  EXPECT_TRUE(pvtest::WaitFor([&] { return image->Shapes().size() == 2; }, 5000));
}

// Range tool through the view's own handlers: a rubber band, a lift and move of the range with
// the mark under it, putting it down with a press outside, the erase command and the cursors.
TEST_F(CAllViewTest, RangeToolSelectsLiftsMovesAndPutsDownWhatTheScreenShows) {
  CSBImage* image = OpenMarkedScrapWithRangeTool("range");
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->Tool(), kToolRangeSelect);
  m_doc->SetModifiedFlag(false);

  wxUpdateUIEvent erase(res::kIdEraseRange);
  m_view->GetEventHandler()->ProcessEvent(erase);
  EXPECT_FALSE(erase.GetEnabled()) << "nothing selected yet";
  Drag({{160, 80}, {100, 70}, {40, 40}});  // dragged up and left
  EXPECT_EQ(image->Selection().Rect(), (CRect{40, 40, 160, 80}));
  m_view->GetEventHandler()->ProcessEvent(erase);
  EXPECT_TRUE(erase.GetEnabled());
  EXPECT_FALSE(m_doc->IsModified());
  EXPECT_EQ(m_view->CursorAt({100, 60}), CursorKind::Move);
  EXPECT_EQ(m_view->CursorAt({36, 36}), CursorKind::SizeNWSE);
  EXPECT_EQ(m_view->CursorAt({100, 83}), CursorKind::SizeNS);
  EXPECT_EQ(m_view->CursorAt({300, 300}), CursorKind::Cross);

  Drag({{100, 60}, {200, 160}, {300, 260}});
  EXPECT_EQ(image->Selection().Rect(), (CRect{240, 240, 360, 280}));
  EXPECT_TRUE(image->Selection().IsFloating());
  EXPECT_TRUE(m_doc->IsModified());
  EXPECT_GT(Gray(100, 60), 200) << "the lifted range is erased";
  // The screen shows the floating copy of the mark and the mark itself.
  const wxImage shown = m_view->PaintBuffer().ConvertToImage();
  EXPECT_LT(shown.GetRed(300, 260), 60);
  EXPECT_LT(shown.GetRed(100, 60), 60);
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("pageview_range_floating.png"),
                                 wxBITMAP_TYPE_PNG);
  // Printing sees the floating pixels where the screen shows them, as a save does.
  const PrintPicture print = m_doc->MakePrintPicture();
  ASSERT_TRUE(print);
  const auto printed = [&](int x, int y) {
    const RGBQUAD c = print->GetPixelColor(x, print->GetHeight() - 1 - y);
    return (c.rgbRed + c.rgbGreen + c.rgbBlue) / 3;
  };
  EXPECT_LT(printed(300, 260), 60);
  EXPECT_LT(printed(100, 60), 60);
  EXPECT_GT(printed(70, 45), 200);

  Drag({{500, 400}});  // outside: put down, no new selection
  EXPECT_FALSE(image->Selection().IsFloating());
  EXPECT_TRUE(image->Selection().IsEmpty());
  EXPECT_LT(Gray(300, 260), 60);
  EXPECT_GT(Gray(300, 250), 200);
  EXPECT_EQ(image->Strokes().size(), 1u);

  // The Delete key erases a new selection; undo brings it back, redo erases it again.
  Drag({{280, 250}, {320, 270}});
  wxKeyEvent del(wxEVT_KEY_DOWN);
  del.m_keyCode = WXK_DELETE;
  m_view->GetEventHandler()->ProcessEvent(del);
  EXPECT_GT(Gray(300, 260), 200);
  EXPECT_TRUE(image->Selection().IsEmpty());
  Command(res::kIdShapeUndo);
  EXPECT_LT(Gray(300, 260), 60);
  Command(res::kIdShapeRedo);
  EXPECT_GT(Gray(300, 260), 200);
}

// What another program pastes: the PNG that xclip reads from the clipboard holds the selection
// as the screen shows it, the mark included, at the zoom shown.
TEST_F(CAllViewTest, CopyPutsTheSelectionOnTheClipboardForOtherPrograms) {
  if (wxExecute("which xclip", wxEXEC_SYNC) != 0) GTEST_SKIP() << "xclip missing";
  // The program registers no image handlers of its own at start, unlike this test suite:
  // copying must not depend on a PNG handler being there already.
  if (wxImageHandler* png = wxImage::FindHandler(wxBITMAP_TYPE_PNG)) {
    wxImage::RemoveHandler(png->GetName());
  }
  struct RestorePng {
    ~RestorePng() {
      if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    }
  } restorePng;
  const auto scrap = m_dir / "copy";
  pvtest::MakeScrap(scrap, 600, 800);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdPenBlackThick);
  Drag({{20, 30}, {80, 30}});
  Command(res::kIdZoomOut);  // 90 %: the copy is what the screen shows, not picture pixels
  Command(res::kIdRangeSelect);
  Drag({{10, 20}, {110, 60}});
  ASSERT_FALSE(image->Selection().IsEmpty());
  Command(res::kIdCopyRange);
  ASSERT_TRUE(m_view->CopySelection());

  const std::filesystem::path png = m_dir / "pasted.png";
  bool ended = false;
  wxProcess reader;
  reader.Bind(wxEVT_END_PROCESS, [&](wxProcessEvent&) { ended = true; });
  const std::string command =
      "xclip -selection clipboard -t image/png -o > '" + png.string() + "'";
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  const long pid = wxExecute(argv, wxEXEC_ASYNC, &reader);
  ASSERT_GT(pid, 0);
  // The clipboard is served from this event loop, so it must keep running meanwhile.
  if (!pvtest::WaitFor([&] { return ended; })) {
    // Never leave the reader running past the object that hears of its end.
    wxProcess::Kill(static_cast<int>(pid), wxSIGKILL, wxKILL_CHILDREN);
    pvtest::WaitFor([&] { return ended; }, 5000);
    FAIL() << "xclip did not get the picture";
  }
  wxImage pasted;
  ASSERT_TRUE(pasted.LoadFile(wxString::FromUTF8(png.string()), wxBITMAP_TYPE_PNG));
  EXPECT_EQ(pasted.GetWidth(), 100);
  EXPECT_EQ(pasted.GetHeight(), 40);
  EXPECT_LT(pasted.GetRed(30, 10), 60) << "the mark";
  EXPECT_GT(pasted.GetRed(30, 30), 200);
}

// Crop mode: the inverted rectangle while dragging, the crop at release, F5 back and the
// redo command forward, each version at its own zoom.
TEST_F(CAllViewTest, CropModeShowsTheInvertedRectangleAndStepsThroughVersions) {
  const auto scrap = m_dir / "crop";
  pvtest::MakeScrap(scrap, 600, 2000);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  m_view->SetSize(0, 0, 600, 450);
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdCrop);
  ASSERT_EQ(image->EditFlag(), 0);
  EXPECT_EQ(m_view->CursorAt({10, 10}), CursorKind::Cross);
  Mouse(wxEVT_LEFT_DOWN, 100, 100);
  Mouse(wxEVT_MOTION, 300, 250);
  EXPECT_EQ(m_view->CropFeedback(), (CRect{100, 100, 300, 250}));
  EXPECT_EQ(m_recorder.panes[res::kIdPaneSelection], "200 X 150");
  const wxImage inverted = m_view->PaintBuffer().ConvertToImage();
  EXPECT_LT(inverted.GetRed(150, 150), 60);
  EXPECT_GT(inverted.GetRed(350, 150), 200);
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("pageview_crop_drag.png"),
                                 wxBITMAP_TYPE_PNG);
  Mouse(wxEVT_LEFT_UP, 300, 250);
  EXPECT_FALSE(m_view->CropFeedback());
  EXPECT_EQ(image->VersionIndex(), 1);
  EXPECT_EQ(m_view->State().ExtentWidth(), 200);
  EXPECT_EQ(m_view->State().ExtentHeight(), 150);
  EXPECT_EQ(m_recorder.panes[res::kIdPaneSize], "200 X 150");
  EXPECT_EQ(m_recorder.panes[res::kIdPaneSelection], "");
  EXPECT_EQ(image->EditFlag(), 0);
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("pageview_cropped.png"),
                                 wxBITMAP_TYPE_PNG);

  Command(res::kIdZoomIn);
  EXPECT_EQ(m_recorder.zoom, "110%");
  wxKeyEvent f5(wxEVT_KEY_DOWN);
  f5.m_keyCode = WXK_F5;
  m_view->GetEventHandler()->ProcessEvent(f5);
  EXPECT_EQ(image->VersionIndex(), 0);
  EXPECT_EQ(m_view->State().ExtentHeight(), 2000);
  EXPECT_EQ(m_recorder.zoom, "100%");
  Command(res::kIdRedo);
  EXPECT_EQ(image->VersionIndex(), 1);
  EXPECT_EQ(m_recorder.zoom, "110%");
  EXPECT_EQ(m_view->State().ExtentWidth(), 220);

  // A click without a drag crops nothing.
  Drag({{50, 50}});
  EXPECT_EQ(image->VersionIndex(), 1);
  EXPECT_EQ(image->History().Size(), 1);
}

// A crop drag past the bottom of the window scrolls the page a line at a time and the crop
// reaches below the first screen.
TEST_F(CAllViewTest, ACropDragPastTheWindowScrollsTheTallPage) {
  const auto scrap = m_dir / "tall";
  pvtest::MakeScrap(scrap, 600, 3000);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  m_view->SetSize(0, 0, 600, 450);
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdCrop);
  const int clientBottom = m_view->GetClientSize().y;
  Mouse(wxEVT_LEFT_DOWN, 100, 100);
  for (int i = 0; i < 5; ++i) Mouse(wxEVT_MOTION, 200, clientBottom + 40);
  EXPECT_EQ(m_view->ScrollPos().y, 5 * 30);  // a line is a hundredth of 3000
  Mouse(wxEVT_LEFT_UP, 200, clientBottom + 40);
  ASSERT_EQ(image->VersionIndex(), 1);
  const CRect source = m_view->State().Version(1).source;
  EXPECT_EQ(source.top, 100);
  EXPECT_EQ(source.bottom, 150 + clientBottom - 1);
}

// The whole way with the real mouse: drag a range over a pen mark, move it, crop, save, and
// read the saved Main.jpg back.
TEST_F(CAllViewTest, RealMouseMovesARangeCropsAndSavesMainJpg) {
  const auto scrap = m_dir / "real";
  CSBImage* image = OpenMarkedScrapWithRangeTool("real");
  ASSERT_NE(image, nullptr);
  m_frame->Raise();
  ASSERT_TRUE(pvtest::WaitFor([&] { return m_view->IsShownOnScreen(); }));

  wxUIActionSimulator input;
  const auto drag = [&](wxPoint from, wxPoint to, const std::function<bool()>& pressed) {
    ASSERT_TRUE(pvtest::PointerTo(m_view->ClientToScreen(from)));
    input.MouseDown();
    ASSERT_TRUE(pvtest::WaitFor(pressed, 5000)) << "the press reached the view";
    for (int step = 1; step <= 4; ++step)
      ASSERT_TRUE(pvtest::PointerTo(m_view->ClientToScreen(from + (to - from) * step / 4)));
    input.MouseUp();
    ASSERT_TRUE(pvtest::WaitFor([&] { return !m_view->HasCapture(); }, 5000));
  };
  drag({40, 40}, {160, 80}, [&] { return m_view->HasCapture(); });
  EXPECT_EQ(image->Selection().Rect(), (CRect{40, 40, 160, 80}));
  drag({100, 60}, {300, 260}, [&] { return image->Selection().IsFloating(); });
  EXPECT_EQ(image->Selection().Rect(), (CRect{240, 240, 360, 280}));
  guitest::Pump(0);
  guitest::SaveScreenshot(m_frame, pvtest::ScreenshotPath("pageview_real_floating.png"));

  Command(res::kIdCrop);  // leaving the range tool puts the range down
  EXPECT_FALSE(image->Selection().IsFloating());
  drag({20, 20}, {420, 320}, [&] { return m_view->HasCapture(); });
  ASSERT_EQ(image->VersionIndex(), 1);
  EXPECT_EQ(m_view->State().Version(1).source, (CRect{20, 20, 420, 320}));

  m_doc->SetActiveTab(kTabPage);
  Command(res::kIdFileSave);
  EXPECT_FALSE(m_doc->IsModified());
  CxImage saved;
  ASSERT_TRUE(saved.Load((scrap / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  ASSERT_EQ(saved.GetWidth(), 400u);
  ASSERT_EQ(saved.GetHeight(), 300u);
  const auto gray = [&](int x, int y) {
    const RGBQUAD c = saved.GetPixelColor(x, saved.GetHeight() - 1 - y);
    return (c.rgbRed + c.rgbGreen + c.rgbBlue) / 3;
  };
  EXPECT_LT(gray(280, 240), 80) << "the moved copy of the mark";
  EXPECT_LT(gray(100, 60), 80) << "the mark stays where it was on the window";
  EXPECT_GT(gray(100, 30), 220) << "the lifted range is white";
  EXPECT_GT(gray(280, 150), 220);
  EXPECT_LT(gray(300, 181), 200) << "the picture's band at 200";
}

// A page that looks like a captured article: a title bar, headings and lines of text.
void MakeArticleScrap(const std::filesystem::path& folder, int width, int height) {
  std::filesystem::create_directories(folder);
  wxBitmap page(width, height, 24);
  {
    wxMemoryDC dc(page);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetBrush(wxBrush(wxColour(40, 90, 160)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(0, 0, width, 56);
    dc.SetTextForeground(*wxWHITE);
    dc.SetFont(wxFontInfo(20).Bold().FaceName("IPAGothic"));
    dc.DrawText(wxString::FromUTF8("クリップレン新聞"), 24, 12);
    const wxString line = wxString::FromUTF8(
        "ウェブページを丸ごと取り込み、範囲を選んで消したり動かしたりできます。");
    int y = 80;
    for (int block = 0; y < height - 40; ++block) {
      dc.SetTextForeground(wxColour(20, 20, 20));
      dc.SetFont(wxFontInfo(16).Bold().FaceName("IPAGothic"));
      dc.DrawText(wxString::Format(wxString::FromUTF8("第%d章　見出しの例"), block + 1), 24, y);
      y += 36;
      dc.SetFont(wxFontInfo(12).FaceName("IPAGothic"));
      dc.SetTextForeground(wxColour(60, 60, 60));
      for (int i = 0; i < 6 && y < height - 40; ++i, y += 22) dc.DrawText(line, 24, y);
      y += 20;
    }
  }
  const wxImage rgb = page.ConvertToImage();
  CxImage img;
  ASSERT_TRUE(img.Create(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = img.GetBits(static_cast<uint32_t>(height - 1 - y));
    const unsigned char* in = rgb.GetData() + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      row[3 * x] = in[3 * x + 2];
      row[3 * x + 1] = in[3 * x + 1];
      row[3 * x + 2] = in[3 * x];
    }
  }
  ASSERT_TRUE(img.Save((folder / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
}

// The pictures the guide shows: a floating range being moved over a page with marks, crop
// mode with its inverted rectangle, and the cropped page.
TEST_F(CAllViewTest, ScreenshotsOfAMovedRangeAndACrop) {
  const auto scrap = m_dir / "article";
  MakeArticleScrap(scrap, 640, 1400);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  m_frame->SetClientSize(620, 440);
  m_view->SetSize(0, 0, 620, 440);
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdMarkerYellow);
  Drag({{24, 160}, {400, 160}});
  Command(res::kIdPenRedThin);
  Drag({{20, 240}, {420, 240}, {420, 300}, {20, 300}, {20, 240}});
  Command(res::kIdArrow);
  Drag({{560, 120}, {470, 180}});
  Command(res::kIdRangeSelect);
  Drag({{16, 230}, {430, 310}});
  Mouse(wxEVT_LEFT_DOWN, 200, 270);
  Mouse(wxEVT_MOTION, 230, 310);
  Mouse(wxEVT_MOTION, 260, 350);
  ASSERT_TRUE(image->Selection().IsFloating());
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("range-floating-move.png"),
                                 wxBITMAP_TYPE_PNG);
  Mouse(wxEVT_LEFT_UP, 260, 350);
  Command(res::kIdCrop);
  Mouse(wxEVT_LEFT_DOWN, 10, 70);
  Mouse(wxEVT_MOTION, 300, 300);
  Mouse(wxEVT_MOTION, 480, 420);
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("crop-inverted-rectangle.png"),
                                 wxBITMAP_TYPE_PNG);
  Mouse(wxEVT_LEFT_UP, 480, 420);
  ASSERT_EQ(image->VersionIndex(), 1);
  m_view->PaintBuffer().SaveFile(pvtest::ScreenshotPath("cropped-page.png"), wxBITMAP_TYPE_PNG);
}

// The context menu (menu 210) opens only over a selection of the range tool, and its one
// entry erases the range.
TEST_F(CAllViewTest, TheContextMenuOverASelectionErasesIt) {
  const auto scrap = m_dir / "menu";
  pvtest::MakeScrap(scrap, 600, 600);
  ASSERT_TRUE(m_doc->OpenScrap(scrap.string()));
  CSBImage* image = m_doc->PageImage();
  Command(res::kIdPenBlackThick);
  Drag({{50, 60}, {150, 60}});
  Command(res::kIdRangeSelect);
  Drag({{40, 40}, {160, 80}});
  m_frame->Raise();
  ASSERT_TRUE(pvtest::WaitFor([&] { return m_view->IsShownOnScreen(); }));

  // The open menu picks its entry from the keyboard, as a user would.
  std::vector<wxString> shown;
  m_view->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
    if (wxMenu* menu = e.GetMenu(); menu && menu->GetMenuItemCount() > 0)
      shown.push_back(menu->FindItemByPosition(0)->GetItemLabelText());
    e.Skip();
  });
  wxTimer chooser;
  chooser.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (shown.empty()) return;
    chooser.Stop();
    wxUIActionSimulator keys;
    keys.Char(WXK_DOWN);
    keys.Char(WXK_RETURN);
  });
  const auto openAt = [&](int x, int y) {
    wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, m_view->GetId(), m_view->ClientToScreen({x, y}));
    menu.SetEventObject(m_view);
    m_view->GetEventHandler()->ProcessEvent(menu);
  };
  openAt(300, 300);  // outside the selection: no menu
  EXPECT_TRUE(shown.empty());
  chooser.Start(100);
  openAt(100, 60);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], wxString::FromUTF8("選択された範囲の消去"));
  EXPECT_TRUE(pvtest::WaitFor([&] { return image->Selection().IsEmpty(); }, 5000));
  EXPECT_GT(Gray(100, 60), 200);
  EXPECT_TRUE(image->Strokes()[0]->IsVisible()) << "the mark stays a shape";
}

}  // namespace
