#include "app/pageview/MarkRaster.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A white RGB buffer of 100 × 60 with black "text" rows 20…24.
struct Canvas {
  Canvas() : rgb(100 * 60 * 3, 255) {
    for (int y = 20; y < 25; ++y)
      for (int x = 0; x < 100; ++x)
        for (int c = 0; c < 3; ++c) rgb[static_cast<size_t>((y * 100 + x) * 3 + c)] = 0;
  }
  PixelTarget Target() { return TargetOfRgb(rgb.data(), 100, 60); }
  const uint8_t* Px(int x, int y) const { return &rgb[static_cast<size_t>((y * 100 + x) * 3)]; }
  std::vector<uint8_t> rgb;
};

CStroke Stroke(int pen, std::initializer_list<CPoint> pts) {
  CStroke s(PenAt(pen));
  for (CPoint p : pts) s.AddPoint(p);
  s.Finish();
  return s;
}

TEST(MarkRaster, HighlighterKeepsTextReadableAndOverlapsDarken) {
  Canvas c;
  const ViewMapping map;
  // Yellow highlighter along the text, then a second one crossing it.
  marks::DrawStroke(c.Target(), map, Stroke(3, {{10, 22}, {60, 22}, {90, 22}}));
  // White under yellow at alpha 128 → (255, 255, 127); black text → (128, 128, 0).
  EXPECT_EQ(c.Px(30, 18)[0], 255);
  EXPECT_EQ(c.Px(30, 18)[2], 127);
  EXPECT_EQ(c.Px(30, 22)[0], 128);
  EXPECT_EQ(c.Px(30, 22)[2], 0);
  // The stroke's own joint at x = 60 is blended once, not twice.
  EXPECT_EQ(c.Px(60, 18)[2], 127);
  marks::DrawStroke(c.Target(), map, Stroke(3, {{30, 5}, {30, 50}}));
  EXPECT_EQ(c.Px(30, 18)[2], 63);  // two strokes: darker where they overlap
  EXPECT_EQ(c.Px(30, 40)[2], 127);
}

TEST(MarkRaster, EraserPaintsOpaqueWhiteOverText) {
  Canvas c;
  marks::DrawStroke(c.Target(), ViewMapping{}, Stroke(7, {{0, 22}, {99, 22}}));
  for (int y = 18; y < 27; ++y) EXPECT_EQ(c.Px(50, y)[1], 255) << y;
  EXPECT_EQ(c.Px(50, 28)[1], 255);
}

TEST(MarkRaster, PenWidthAndScrollOffset) {
  Canvas c;
  // The screen shows view point (x, y) at client (x − 10, y − 100).
  const ViewMapping map{1.0, -10.0, -100.0};
  marks::DrawStroke(c.Target(), map, Stroke(2, {{20, 140}, {80, 140}}));
  EXPECT_EQ(c.Px(30, 39)[0], 255);
  EXPECT_EQ(c.Px(30, 39)[1], 0);
  EXPECT_EQ(c.Px(30, 40)[1], 0);
  EXPECT_EQ(c.Px(30, 38)[1], 255);
  EXPECT_EQ(c.Px(30, 41)[1], 255);
  EXPECT_EQ(c.Px(9, 40)[1], 255);  // flat end at client x 10
  EXPECT_EQ(c.Px(10, 40)[1], 0);
}

TEST(MarkRaster, MovedStrokeDrawsAtItsOffsetAndHiddenDrawsNothing) {
  Canvas c;
  CStroke s = Stroke(0, {{10, 40}, {20, 40}});
  s.MoveBy(50, 5);
  EXPECT_EQ(s.TrackerRect(), (CRect{58, 43, 72, 47}));
  marks::DrawStroke(c.Target(), ViewMapping{}, s);
  EXPECT_EQ(c.Px(65, 45)[0], 0);
  EXPECT_EQ(c.Px(15, 40)[0], 255);
  Canvas d;
  s.SetVisible(false);
  marks::DrawStroke(d.Target(), ViewMapping{}, s);
  EXPECT_EQ(d.rgb, Canvas().rgb);
}

TEST(MarkRaster, ShortArrowHasOnlyItsShaft) {
  Canvas c;
  CArrow a;
  a.Start({40, 45});
  a.SetEnd({55, 45});
  a.Finish();
  marks::DrawArrow(c.Target(), ViewMapping{}, a);
  EXPECT_EQ(c.Px(50, 45)[0], 0);
  EXPECT_EQ(c.Px(50, 44)[0], 255);
  EXPECT_EQ(c.Px(50, 46)[0], 255);
  CArrow b;
  b.Start({10, 50});
  b.SetEnd({60, 50});
  b.Finish();
  marks::DrawArrow(c.Target(), ViewMapping{}, b);
  EXPECT_EQ(c.Px(50, 48)[0], 0);  // inside the head
  EXPECT_EQ(c.Px(30, 48)[0], 255);
}

TEST(MarkRaster, InvertedFrameIsTwoPixelsInsideAndUndoesItself) {
  Canvas c;
  const std::vector<uint8_t> before = c.rgb;
  // Runs off the right edge of the canvas; only its visible part is inverted.
  marks::InvertFrame(c.Target(), {10, 30, 120, 50}, 2);
  EXPECT_EQ(c.Px(10, 30)[0], 0);
  EXPECT_EQ(c.Px(11, 40)[1], 0);
  EXPECT_EQ(c.Px(12, 40)[2], 255);  // inside the frame
  EXPECT_EQ(c.Px(50, 31)[0], 0);
  EXPECT_EQ(c.Px(50, 32)[0], 255);
  EXPECT_EQ(c.Px(50, 48)[0], 0);
  EXPECT_EQ(c.Px(50, 47)[0], 255);
  EXPECT_EQ(c.Px(9, 40)[0], 255);   // outside
  EXPECT_EQ(c.Px(99, 40)[0], 255);  // the right edge lies beyond the canvas
  EXPECT_EQ(c.Px(50, 50)[0], 255);  // bottom edge exclusive
  marks::InvertFrame(c.Target(), {10, 30, 120, 50}, 2);
  EXPECT_EQ(c.rgb, before);
  // Black "text" under the frame turns white.
  marks::InvertFrame(c.Target(), {0, 21, 5, 40}, 2);
  EXPECT_EQ(c.Px(2, 22)[0], 255);
  EXPECT_EQ(c.Px(2, 23)[0], 0);
}

}  // namespace
