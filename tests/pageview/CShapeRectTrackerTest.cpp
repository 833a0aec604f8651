#include "app/pageview/CShapeRectTracker.h"

#include <gtest/gtest.h>

#include "app/pageview/CArrow.h"
#include "app/pageview/CStroke.h"
#include "app/pageview/CTextBox.h"
#include "app/pageview/PenTable.h"
#include "app/pageview/TextBoxGeometry.h"

namespace {

using Hit = CShapeRectTracker::Hit;

struct HitCase {
  CRect rect;
  CPoint p;
  Hit hit;
  CursorKind cursor;
};
class TrackerHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(TrackerHitTest, PartAndCursor) {
  const HitCase c = GetParam();
  const CShapeRectTracker t(c.rect, true);
  EXPECT_EQ(t.HitTest(c.p), c.hit);
  EXPECT_EQ(CShapeRectTracker::CursorFor(t.HitTest(c.p)), c.cursor);
}

// Frame 100,100–200,160: handles are 7-pixel squares just outside it, edge handles centred
// (x 146–152, y 126–132).
constexpr CRect kFrame{100, 100, 200, 160};
INSTANTIATE_TEST_SUITE_P(
    Frame, TrackerHitTest,
    ::testing::Values(HitCase{kFrame, {95, 95}, Hit::TopLeft, CursorKind::SizeNWSE},
                      HitCase{kFrame, {93, 93}, Hit::TopLeft, CursorKind::SizeNWSE},
                      HitCase{kFrame, {92, 93}, Hit::None, CursorKind::Default},
                      HitCase{kFrame, {206, 94}, Hit::TopRight, CursorKind::SizeNESW},
                      HitCase{kFrame, {200, 160}, Hit::BottomRight, CursorKind::SizeNWSE},
                      HitCase{kFrame, {99, 166}, Hit::BottomLeft, CursorKind::SizeNESW},
                      HitCase{kFrame, {146, 93}, Hit::Top, CursorKind::SizeNS},
                      HitCase{kFrame, {145, 93}, Hit::None, CursorKind::Default},
                      HitCase{kFrame, {152, 165}, Hit::Bottom, CursorKind::SizeNS},
                      HitCase{kFrame, {203, 126}, Hit::Right, CursorKind::SizeWE},
                      HitCase{kFrame, {94, 132}, Hit::Left, CursorKind::SizeWE},
                      HitCase{kFrame, {94, 133}, Hit::None, CursorKind::Default},
                      HitCase{kFrame, {100, 100}, Hit::Inside, CursorKind::Move},
                      HitCase{kFrame, {199, 159}, Hit::Inside, CursorKind::Move},
                      HitCase{kFrame, {120, 170}, Hit::None, CursorKind::Default},
                      // A horizontal arrow: the middle of its line moves it, the outer part
                      // of the edge handle still resizes.
                      HitCase{{100, 100, 200, 100}, {150, 100}, Hit::Inside, CursorKind::Move},
                      HitCase{{100, 100, 200, 100}, {150, 97}, Hit::Inside, CursorKind::Move},
                      HitCase{{100, 100, 200, 100}, {150, 104}, Hit::Bottom, CursorKind::SizeNS},
                      HitCase{{100, 100, 200, 100}, {150, 96}, Hit::Top, CursorKind::SizeNS},
                      // Corners win over the body of a vertical line.
                      HitCase{{100, 100, 100, 200}, {97, 97}, Hit::TopLeft, CursorKind::SizeNWSE}));

TEST(TrackerTest, WithoutHandlesOnlyTheBodyCounts) {
  const CShapeRectTracker t(kFrame, false);
  EXPECT_EQ(t.HitTest({95, 95}), Hit::None);
  EXPECT_EQ(t.HitTest({203, 126}), Hit::None);
  EXPECT_EQ(t.HitTest({150, 130}), Hit::Inside);
  EXPECT_TRUE(t.HandleRect(Hit::TopLeft).IsEmpty());
}

struct TrackCase {
  Hit hit;
  int dx, dy;
  CRect expected;
};
class TrackerTrackTest : public ::testing::TestWithParam<TrackCase> {};

TEST_P(TrackerTrackTest, EdgesFollowTheGrabbedPart) {
  const TrackCase c = GetParam();
  EXPECT_EQ(CShapeRectTracker(kFrame, true).Track(c.hit, c.dx, c.dy), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Drags, TrackerTrackTest,
                         ::testing::Values(TrackCase{Hit::Inside, -30, 15, {70, 115, 170, 175}},
                                           TrackCase{Hit::TopLeft, -10, -5, {90, 95, 200, 160}},
                                           TrackCase{
                                               Hit::BottomRight, 50, 30, {100, 100, 250, 190}},
                                           TrackCase{Hit::TopRight, 7, 9, {100, 109, 207, 160}},
                                           TrackCase{Hit::BottomLeft, 7, 9, {107, 100, 200, 169}},
                                           // Edge handles ignore the other direction.
                                           TrackCase{Hit::Top, 40, -20, {100, 80, 200, 160}},
                                           TrackCase{Hit::Left, 40, -20, {140, 100, 200, 160}},
                                           // Dragged past the opposite edge: normalised.
                                           TrackCase{Hit::Right, -150, 0, {50, 100, 100, 160}},
                                           TrackCase{Hit::Bottom, 0, -100, {100, 60, 200, 100}},
                                           TrackCase{Hit::None, 10, 10, {100, 100, 200, 160}}));

TEST(TrackerTest, ShapesResizeTheirOwnWay) {
  CArrow arrow;
  arrow.Start({200, 160});
  arrow.SetEnd({100, 100});
  arrow.Finish();
  ASSERT_EQ(arrow.Code(), 2);
  ASSERT_TRUE(arrow.HasResizeHandles());
  arrow.ResizeTracker({250, 190, 100, 100});
  EXPECT_EQ(arrow.Rect(), (CRect{100, 100, 250, 190}));
  EXPECT_EQ(arrow.Code(), 2);  // the tip stays in its corner

  // A text box's frame is 3 pixels outside its window.
  CTextBox box(1043);
  box.SetRect({100, 100, 220, 180});
  EXPECT_EQ(box.Tracker().Rect(), (CRect{97, 97, 223, 183}));
  box.ResizeTracker({97, 97, 263, 183});
  EXPECT_EQ(box.Rect(), (CRect{100, 100, 260, 180}));
  box.ResizeTracker({97, 97, 99, 98});
  EXPECT_EQ(box.Rect(), (CRect{100, 100, 101, 101}));

  CStroke stroke(PenAt(0));
  stroke.AddPoint({10, 10});
  stroke.AddPoint({50, 10});
  stroke.Finish();
  EXPECT_FALSE(stroke.HasResizeHandles());
  const CRect before = stroke.TrackerRect();
  stroke.ResizeTracker({0, 0, 500, 500});
  EXPECT_EQ(stroke.TrackerRect(), before);
}

struct GripCase {
  textbox::Grip grip;
  CursorKind cursor;
};
class GripCursorTest : public ::testing::TestWithParam<GripCase> {};

TEST_P(GripCursorTest, SizingCursorPerBorderPart) {
  EXPECT_EQ(textbox::CursorForGrip(GetParam().grip), GetParam().cursor);
}

INSTANTIATE_TEST_SUITE_P(
    Border, GripCursorTest,
    ::testing::Values(GripCase{textbox::Grip::Left, CursorKind::SizeWE},
                      GripCase{textbox::Grip::Right, CursorKind::SizeWE},
                      GripCase{textbox::Grip::Top, CursorKind::SizeNS},
                      GripCase{textbox::Grip::Bottom, CursorKind::SizeNS},
                      GripCase{textbox::Grip::TopLeft, CursorKind::SizeNWSE},
                      GripCase{textbox::Grip::BottomRight, CursorKind::SizeNWSE},
                      GripCase{textbox::Grip::TopRight, CursorKind::SizeNESW},
                      GripCase{textbox::Grip::BottomLeft, CursorKind::SizeNESW},
                      GripCase{textbox::Grip::None, CursorKind::IBeam}));

}  // namespace
