// Page layout: page counts and the pieces of every page for each scaling mode, checked against
// the edge cases users meet and against properties computed independently of the layout code
// (pieces tile the picture without gaps, no piece is distorted, everything stays on the page).
#include "app/print/CPrintLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace print {
namespace {

// A4 at 300 dpi with a 50-unit unprintable margin, portrait and landscape.
const PrintRect kPortrait{50, 50, 2430, 3458};
const PrintRect kLandscape{50, 50, 3458, 2430};
// A 1920 x 1080 screen of 508 x 286 mm: 0.2646 mm a pixel, 96 dpi.
const ScreenSize kScreen{1920, 1080, 508, 286};

PrintSettings Mode(int mode) {
  PrintSettings s;
  s.scalingMode = mode;
  return s;
}

CPrintLayout Prepared(const PrintSettings& s, const PrintRect& area, int64_t w, int64_t h) {
  CPrintLayout layout;
  layout.Prepare(s, area, {0, 0, w, h}, 300, 300, kScreen);
  return layout;
}

bool Inside(const PrintRect& inner, const PrintRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Printer units per picture pixel across and down may differ by the truncation of one unit.
void ExpectUndistorted(const PagePiece& p, const std::string& where) {
  const double sx = double(p.dest.Width()) / double(p.source.Width());
  const double sy = double(p.dest.Height()) / double(p.source.Height());
  EXPECT_NEAR(sx, sy, std::max(sx, sy) * 0.01 + 2.0 / double(p.source.Height())) << where;
}

// Walks every page: pieces stay on the page, inside the picture and undistorted, and together
// they cover the picture's area once (up to the truncation of their edges).
void ExpectTiling(const CPrintLayout& layout, const PrintRect& area, int64_t w, int64_t h) {
  double covered = 0;
  for (int page = layout.GetFirstPage(); page <= layout.GetLastPage(); ++page)
    for (const PagePiece& p : layout.PagePieces(page)) {
      const std::string where = "page " + std::to_string(page);
      EXPECT_TRUE(Inside(p.dest, area)) << where;
      EXPECT_TRUE(Inside(p.source, {0, 0, w, h})) << where;
      ExpectUndistorted(p, where);
      covered += double(p.source.Width()) * double(p.source.Height());
    }
  EXPECT_NEAR(covered / (double(w) * double(h)), 1.0, 0.01);
}

TEST(PrintLayoutFitWidth, TallPageRunsOverPagesAndTheLastIsNotStretched) {
  const CPrintLayout layout = Prepared(Mode(kFitWidth), kPortrait, 1000, 8000);
  const double ratio = 3408.0 / 2380.0;  // ah / aw
  EXPECT_EQ(layout.GetLastPage(), int(std::ceil(8.0 / ratio)));
  EXPECT_EQ(layout.GetLastPage(), 6);
  EXPECT_EQ(layout.MaxPageOffered(), 0);
  const auto first = layout.PagePieces(1);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].dest, kPortrait);
  const auto last = layout.PagePieces(6);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].source.bottom, 8000);
  EXPECT_EQ(last[0].dest.Height(), int64_t((8.0 / ratio - 5) * 3408));
  // Same printer units per picture pixel as a full page.
  EXPECT_NEAR(double(last[0].dest.Height()) / double(last[0].source.Height()), 2.38, 0.01);
  EXPECT_TRUE(layout.PagePieces(7).empty());
  EXPECT_TRUE(layout.PagePieces(0).empty());
  ExpectTiling(layout, kPortrait, 1000, 8000);
}

TEST(PrintLayoutPageCount, VeryWidePictureUsesFewerPagesAndLeavesTheRestBlank) {
  PrintSettings s = Mode(kPageCount);
  s.pageCount = 3;
  const CPrintLayout layout = Prepared(s, kPortrait, 10000, 1000);
  EXPECT_EQ(layout.GetLastPage(), 3);
  EXPECT_EQ(layout.MaxPageOffered(), 3);
  const auto first = layout.PagePieces(1);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].source, (PrintRect{0, 0, 10000, 1000}));
  EXPECT_EQ(first[0].dest.Width(), kPortrait.Width());
  EXPECT_EQ(first[0].dest.top, kPortrait.top);
  EXPECT_TRUE(layout.PagePieces(2).empty());
  EXPECT_TRUE(layout.PagePieces(3).empty());
}

TEST(PrintLayoutPageCount, TallPictureIsCentredAcrossItsPages) {
  PrintSettings s = Mode(kPageCount);
  s.pageCount = 2;
  const CPrintLayout layout = Prepared(s, kPortrait, 500, 6000);
  // Six thousand pixels over two page heights: narrower than the page, centred.
  for (int page = 1; page <= 2; ++page) {
    const auto pieces = layout.PagePieces(page);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].dest.Height(), kPortrait.Height());
    EXPECT_NEAR(double(pieces[0].dest.left - kPortrait.left),
                double(kPortrait.right - pieces[0].dest.right), 1.0);
  }
  ExpectTiling(layout, kPortrait, 500, 6000);
}

TEST(PrintLayoutFitWhole, AspectKeptAndCentred) {
  for (const auto& [w, h] : {std::pair{1000, 8000}, {8000, 1000}, {2380, 3408}}) {
    const CPrintLayout layout = Prepared(Mode(kFitWhole), kPortrait, w, h);
    EXPECT_EQ(layout.GetLastPage(), 1);
    EXPECT_EQ(layout.MaxPageOffered(), 1);
    const auto pieces = layout.PagePieces(1);
    ASSERT_EQ(pieces.size(), 1u);
    const PrintRect& d = pieces[0].dest;
    EXPECT_TRUE(d.Width() == kPortrait.Width() || d.Height() == kPortrait.Height());
    EXPECT_NEAR(double(d.left - kPortrait.left), double(kPortrait.right - d.right), 1.0);
    EXPECT_NEAR(double(d.top - kPortrait.top), double(kPortrait.bottom - d.bottom), 1.0);
    ExpectUndistorted(pieces[0], std::to_string(w) + "x" + std::to_string(h));
  }
}

TEST(PrintLayoutFitWhole, AutoColumnsOnAPictureAboutThreePageHeightsTall) {
  PrintSettings s = Mode(kFitWhole);
  s.columnsForOnePage = 1;
  // 3.2 page shapes tall: sqrt(3.45) + 0.5 gives 2, and 2 is not below 3.2 / 2.
  const int64_t w = 1000, h = int64_t(1000 * 3.2 * 3408 / 2380);
  const CPrintLayout layout = Prepared(s, kPortrait, w, h);
  const auto pieces = layout.PagePieces(1);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].dest, (PrintRect{50, 50, 50 + 2380 / 2, 3458}));
  EXPECT_EQ(pieces[1].dest.left, 50 + 2380 / 2);
  EXPECT_EQ(pieces[1].source.bottom, h);
  EXPECT_NEAR(double(pieces[1].dest.Height()), 0.6 * 3408, 3);
  EXPECT_EQ(pieces[0].source.bottom, pieces[1].source.top);
  ExpectTiling(layout, kPortrait, w, h);
}

TEST(PrintLayoutFitWhole, AutoColumnsStackBandsOfAWidePicture) {
  PrintSettings s = Mode(kFitWhole);
  s.columnsForOnePage = 1;
  const CPrintLayout layout = Prepared(s, kLandscape, 20000, 800);
  const auto pieces = layout.PagePieces(1);
  ASSERT_GE(pieces.size(), 2u);
  for (size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_EQ(pieces[i].dest.left, kLandscape.left);
    if (i) {
      EXPECT_EQ(pieces[i].source.left, pieces[i - 1].source.right);
    }
  }
  EXPECT_EQ(pieces.back().source.right, 20000);
  ExpectTiling(layout, kLandscape, 20000, 800);
}

TEST(PrintLayoutFitWhole, AutoColumnsOfOneBandPrintAsTheWholePicture) {
  PrintSettings s = Mode(kFitWhole);
  s.columnsForOnePage = 1;
  EXPECT_EQ(Prepared(s, kPortrait, 1000, 1400).PagePieces(1),
            Prepared(Mode(kFitWhole), kPortrait, 1000, 1400).PagePieces(1));
}

TEST(PrintLayoutPageCount, AutoColumnsChooseTheLeastWaste) {
  // A picture 20 times as tall as wide over one A4 page: a handful of narrow columns beats one.
  const ColumnChoice choice = ChooseColumns(500, 10000, 2380, 3408, 1);
  // The same choice found another way: fit the picture into each column strip by the smaller
  // of the two scales and count the paper left over.
  int best = 1;
  double bestWaste = -1;
  for (int k = 1; k <= 1999 && 2380 / k > 0; ++k) {
    const double cw = 2380 / k, length = double(k) * 3408;
    const double scale = std::min(cw / 500.0, length / 10000.0);
    const double waste = cw * length - std::floor(500 * scale) * std::floor(10000 * scale);
    if (bestWaste < 0 || waste < bestWaste - 1e-6) bestWaste = waste, best = k;
  }
  EXPECT_EQ(choice.columns, best);
  EXPECT_GT(choice.columns, 1);

  PrintSettings s = Mode(kPageCount);
  s.pageCount = 1;
  s.columnsForPageCount = 1;
  const CPrintLayout layout = Prepared(s, kPortrait, 500, 10000);
  const auto pieces = layout.PagePieces(1);
  EXPECT_EQ(int(pieces.size()), choice.columns);
  ExpectTiling(layout, kPortrait, 500, 10000);
}

TEST(PrintLayoutScale, PagesFollowTheScreenSizeAndTheScale) {
  PrintSettings s = Mode(kScale);
  for (const int scale : {20, 100, 400}) {
    s.scale = scale;
    const CPrintLayout layout = Prepared(s, kPortrait, 1280, 20000);
    // At 100 % a picture pixel prints as large as a screen pixel measures: 508 / 1920 mm.
    const double unitsPerPixel = 508.0 / 1920 / 25.4 * 300 * scale / 100;
    EXPECT_EQ(layout.GetColumns(), int(std::ceil(1280 * unitsPerPixel / 2380)));
    EXPECT_EQ(layout.GetRows(), int(std::ceil(20000 * unitsPerPixel * 1920 / 508 * 286 / 1080 /
                                                  3408)));
    EXPECT_EQ(layout.GetLastPage(), layout.GetRows() * layout.GetColumns());
    const auto first = layout.PagePieces(1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NEAR(double(first[0].dest.Width()) / double(first[0].source.Width()), unitsPerPixel,
                unitsPerPixel * 0.01 + 0.01);
    ExpectTiling(layout, kPortrait, 1280, 20000);
  }
}

TEST(PrintLayout, EmptyAreaOrPictureDrawsNothing) {
  EXPECT_TRUE(Prepared(Mode(kFitWidth), {0, 0, 0, 0}, 100, 100).PagePieces(1).empty());
  EXPECT_TRUE(Prepared(Mode(kFitWhole), kPortrait, 0, 100).PagePieces(1).empty());
}

}  // namespace
}  // namespace print
