#include <gtest/gtest.h>

#include <string>

#include "app/res/ArtSvg.h"
#include "app/res/Resource.h"
#include "app/res/ToolBars.h"

namespace {

using res::art::ResourceSize;
using res::art::ResourceSvg;

TEST(ArtSvgTest, EveryToolButtonHasNormalAndHotPictures) {
  for (const res::ToolDef& t : res::MainToolBar()) {
    if (t.IsSeparator()) continue;
    const std::string normal = res::art::ToolPictureSvg(t.picture, false);
    const std::string hot = res::art::ToolPictureSvg(t.picture, true);
    EXPECT_FALSE(normal.empty()) << t.picture;
    EXPECT_NE(normal, hot) << "the hot strip differs, picture " << t.picture;
    EXPECT_NE(normal.find("width=\"20\" height=\"20\""), std::string::npos);
    EXPECT_EQ(normal.find("INK"), std::string::npos) << "placeholder left in " << t.picture;
  }
  for (int pen = 0; pen < 8; ++pen)
    EXPECT_FALSE(res::art::ToolPictureSvg(res::kToolPicturePenFirst + pen, false).empty()) << pen;
  EXPECT_FALSE(res::art::SearchToolPictureSvg(1, false).empty());
  EXPECT_TRUE(res::art::ToolPictureSvg(4, false).empty()) << "unused slot";
  EXPECT_TRUE(res::art::ToolPictureSvg(-1, false).empty());
  EXPECT_TRUE(res::art::ToolPictureSvg(33, false).empty());
}

struct SizeCase {
  int id, width, height;
};

class ResourceArtTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ResourceArtTest, ExistsWithItsNaturalSize) {
  const SizeCase& c = GetParam();
  const std::string svg = ResourceSvg(c.id);
  ASSERT_FALSE(svg.empty()) << c.id;
  EXPECT_EQ(ResourceSize(c.id).width, c.width) << c.id;
  EXPECT_EQ(ResourceSize(c.id).height, c.height) << c.id;
  EXPECT_EQ(svg.rfind("<svg ", 0), 0u);
  EXPECT_EQ(svg.substr(svg.size() - 6), "</svg>");
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ResourceArtTest,
    ::testing::Values(
        // pens of the pen menu
        SizeCase{32821, 18, 18}, SizeCase{32824, 18, 18}, SizeCase{32828, 18, 18},
        // status-bar icons, program icon, folder tree pictures
        SizeCase{145, 16, 16}, SizeCase{146, 16, 16}, SizeCase{147, 16, 16}, SizeCase{128, 48, 48},
        SizeCase{171, 16, 16}, SizeCase{168, 16, 16}, SizeCase{143, 16, 16},
        // left-pane buttons: new folder, delete, rename (the buttons' own sizes)
        SizeCase{193, 89, 29}, SizeCase{194, 89, 29}, SizeCase{195, 89, 29}, SizeCase{198, 89, 29},
        SizeCase{183, 67, 29}, SizeCase{188, 67, 29}, SizeCase{190, 67, 29}, SizeCase{172, 67, 29},
        SizeCase{191, 67, 29}, SizeCase{199, 78, 29}, SizeCase{200, 78, 29}, SizeCase{201, 78, 29},
        SizeCase{166, 78, 29}, SizeCase{180, 78, 29},
        // tab buttons and their mask
        SizeCase{154, 96, 26}, SizeCase{150, 96, 26}, SizeCase{152, 96, 26}, SizeCase{179, 96, 26},
        SizeCase{184, 96, 26}, SizeCase{187, 96, 26}, SizeCase{203, 96, 26}, SizeCase{174, 96, 26},
        SizeCase{177, 96, 26}, SizeCase{160, 96, 26}, SizeCase{192, 96, 26}, SizeCase{169, 96, 26},
        SizeCase{202, 96, 26}),
    [](const auto& info) { return std::to_string(info.param.id); });

TEST(ArtSvgTest, UnknownResources) {
  for (int id : {0, 1, 129, 140, 142, 32829}) {
    EXPECT_TRUE(ResourceSvg(id).empty()) << id;
    EXPECT_EQ(ResourceSize(id).width, 0) << id;
  }
}

}  // namespace
