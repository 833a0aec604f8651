#include <gtest/gtest.h>

#include <cmath>

#include "app/pageview/ArrowGeometry.h"
#include "app/pageview/TextBoxGeometry.h"

namespace {

struct CodeCase {
  CPoint start, end;
  int code;
};
class DirectionCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(DirectionCodeTest, TipCorner) {
  EXPECT_EQ(arrow::DirectionCode(GetParam().start, GetParam().end), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, DirectionCodeTest,
                         ::testing::Values(CodeCase{{10, 10}, {50, 40}, 0},
                                           CodeCase{{10, 40}, {50, 10}, 1},
                                           CodeCase{{50, 40}, {10, 10}, 2},
                                           CodeCase{{50, 10}, {10, 40}, 3},
                                           CodeCase{{10, 10}, {10, 40}, 0},
                                           CodeCase{{10, 10}, {50, 10}, 0}));

// Every finished arrow's head lies 20 pixels back from the tip towards the tail, spread
// ±15° around the shaft: check it against plain vector arithmetic.
class ArrowHeadTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ArrowHeadTest, HeadPointsBackAlongTheShaft) {
  const CodeCase c = GetParam();
  const CRect rect = CRect{c.start.x, c.start.y, c.end.x, c.end.y}.Normalized();
  const arrow::Lines l = arrow::Compute(rect, c.code, false);
  EXPECT_EQ(l.tip, c.end);
  EXPECT_EQ(l.tail, c.start);
  const double ux = c.start.x - c.end.x, uy = c.start.y - c.end.y;
  const double len = std::hypot(ux, uy);
  for (double sign : {-1.0, 1.0}) {
    const double a = std::atan2(uy, ux) + sign * M_PI / 12;
    const double hx = c.end.x + 20 * std::cos(a), hy = c.end.y + 20 * std::sin(a);
    const bool near1 = std::abs(l.head1.x - hx) <= 1 && std::abs(l.head1.y - hy) <= 1;
    const bool near2 = std::abs(l.head2.x - hx) <= 1 && std::abs(l.head2.y - hy) <= 1;
    EXPECT_TRUE(near1 || near2) << "expected " << hx << "," << hy;
  }
  EXPECT_EQ(l.hasHead, len > 20);
}

INSTANTIATE_TEST_SUITE_P(AllCodes, ArrowHeadTest,
                         ::testing::Values(CodeCase{{10, 10}, {110, 60}, 0},
                                           CodeCase{{10, 60}, {110, 10}, 1},
                                           CodeCase{{110, 60}, {10, 10}, 2},
                                           CodeCase{{110, 10}, {10, 60}, 3},
                                           CodeCase{{10, 10}, {110, 10}, 0},
                                           CodeCase{{0, 0}, {12, 16}, 0}));

TEST(ArrowGeometry, ShortArrowHasNoHeadAndPointArrowNothing) {
  EXPECT_FALSE(arrow::Compute({0, 0, 12, 16}, 0, false).hasHead);  // exactly 20 long
  EXPECT_TRUE(arrow::Compute({0, 0, 21, 0}, 0, false).hasHead);
  EXPECT_TRUE(arrow::Compute({5, 5, 5, 5}, 0, false).empty);
}

TEST(ArrowGeometry, DraggedArrowPointsAtThePointer) {
  const arrow::Lines l = arrow::Compute({100, 100, 40, 160}, 0, true);
  EXPECT_EQ(l.tip, (CPoint{40, 160}));
  EXPECT_EQ(l.tail, (CPoint{100, 100}));
  // The head goes back up and to the right, towards the tail.
  EXPECT_GT(l.head1.x, 40);
  EXPECT_LT(l.head1.y, 160);
  EXPECT_GT(l.head2.x, 40);
  EXPECT_LT(l.head2.y, 160);
}

struct BoxCase {
  CPoint start, end;
  CRect expected;
};
class CreationRectTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(CreationRectTest, Size) {
  EXPECT_EQ(textbox::CreationRect(GetParam().start, GetParam().end), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, CreationRectTest,
    ::testing::Values(BoxCase{{30, 40}, {30, 40}, {30, 40, 150, 120}},    // click
                      BoxCase{{30, 40}, {39, 49}, {30, 40, 150, 120}},    // 9 × 9
                      BoxCase{{30, 40}, {35, 240}, {30, 40, 35, 240}},    // 5 × 200 kept
                      BoxCase{{200, 300}, {50, 100}, {50, 100, 200, 300}},  // reversed
                      BoxCase{{30, 40}, {40, 45}, {30, 40, 40, 45}}));    // 10 wide kept

TEST(TextBoxGeometry, GripsAndResize) {
  const CRect w{100, 100, 220, 180};
  EXPECT_EQ(textbox::HitGrip(w, {101, 101}, 4), textbox::Grip::TopLeft);
  EXPECT_EQ(textbox::HitGrip(w, {219, 179}, 4), textbox::Grip::BottomRight);
  EXPECT_EQ(textbox::HitGrip(w, {150, 101}, 4), textbox::Grip::Top);
  EXPECT_EQ(textbox::HitGrip(w, {218, 150}, 4), textbox::Grip::Right);
  EXPECT_EQ(textbox::HitGrip(w, {150, 150}, 4), textbox::Grip::None);
  EXPECT_EQ(textbox::HitGrip(w, {99, 150}, 4), textbox::Grip::None);
  EXPECT_EQ(textbox::ResizeByGrip(w, textbox::Grip::Right, 30, 99), (CRect{100, 100, 250, 180}));
  EXPECT_EQ(textbox::ResizeByGrip(w, textbox::Grip::Left, 200, 0), (CRect{220, 100, 300, 180}));
}

}  // namespace
