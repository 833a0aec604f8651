#include <gtest/gtest.h>

#include <vector>

#include "app/res/Accelerators.h"
#include "app/res/Resource.h"
#include "app/res/ToolBars.h"

namespace {

TEST(ToolBarsTest, MainToolBarPositions) {
  // command, picture (−1 separator), separator width
  struct Expected {
    int command, picture, width;
  };
  const std::vector<Expected> expected = {
      {0, -1, 6},      {57603, 0, 0},  {32810, 18, 0}, {0, -1, 6},     {57607, 9, 0},
      {57609, 11, 0},  {32802, 10, 0}, {0, -1, 6},     {32797, 1, 0},  {32773, 16, 0},
      {32776, 17, 0},  {32784, 2, 0},  {32785, 3, 0},  {0, -1, 6},     {32791, 8, 0},
      {32811, -1, 70}, {32790, 7, 0},  {0, -1, 6},     {32814, 12, 0}, {0, -1, 6},
      {32778, 19, 0},  {32779, 23, 0}, {32781, 21, 0}, {32783, 22, 0}, {0, -1, 6},
      {32840, 6, 0},   {0, -1, 6},     {32866, 31, 0}, {32864, 32, 0},
  };
  const auto bar = res::MainToolBar();
  ASSERT_EQ(bar.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(bar[i].command, expected[i].command) << "position " << i;
    EXPECT_EQ(bar[i].picture, expected[i].picture) << "position " << i;
    EXPECT_EQ(bar[i].IsSeparator(), expected[i].picture < 0) << "position " << i;
    if (bar[i].IsSeparator()) {
      EXPECT_EQ(bar[i].separatorWidth, expected[i].width) << i;
    }
    EXPECT_EQ(bar[i].dropDown, i == 21) << "only the pen button drops down, position " << i;
  }
}

TEST(ToolBarsTest, PicturesFitTheStrip) {
  for (const res::ToolDef& t : res::MainToolBar()) {
    if (!t.IsSeparator()) {
      EXPECT_LT(t.picture, res::kToolPictureCount);
    }
  }
  // Every pen's picture (23 + pen index) exists.
  EXPECT_EQ(res::kToolPicturePenFirst + (res::kIdPenLast - res::kIdPenFirst), 30);
  EXPECT_LT(30, res::kToolPictureCount);
}

TEST(ToolBarsTest, SearchToolBarAndStatusPanes) {
  const auto search = res::SearchToolBar();
  ASSERT_EQ(search.size(), 2u);
  EXPECT_EQ(search[0].command, 32830);
  EXPECT_EQ(search[1].command, 32834);

  const auto panes = res::StatusPanes();
  ASSERT_EQ(panes.size(), 3u);
  const int ids[] = {59143, 59144, 59145}, icons[] = {145, 146, 147};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(panes[i].id, ids[i]);
    EXPECT_EQ(panes[i].width, 117);
    EXPECT_EQ(panes[i].icon, icons[i]);
  }
  EXPECT_EQ(res::kMessagePaneInitialWidth, 620);
}

struct AccelCase {
  int modifiers, key, command;
};

TEST(AcceleratorsTest, MainTable) {
  using namespace res;
  const std::vector<AccelCase> expected = {
      {kModCtrl, 'F', 32834},    {kModNone, kKeyF3, 32835},  {kModShift, kKeyF3, 32837},
      {kModCtrl, kKeyF3, 32836}, {kModCtrl, 'P', 57607},     {kModCtrl, 'S', 57603},
      {kModNone, kKeyF6, 57680}, {kModShift, kKeyF6, 57681}, {kModNone, kKeyF1, 57667},
  };
  const auto table = AcceleratorTable(128);
  ASSERT_EQ(table.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(table[i].modifiers, expected[i].modifiers) << i;
    EXPECT_EQ(table[i].key, expected[i].key) << i;
    EXPECT_EQ(table[i].command, expected[i].command) << i;
  }
}

TEST(AcceleratorsTest, PreviewTableAndUnknown) {
  using namespace res;
  const auto preview = AcceleratorTable(30997);
  ASSERT_EQ(preview.size(), 3u);
  EXPECT_EQ(preview[0].key, kKeyPageDown);
  EXPECT_EQ(preview[0].command, 58114);
  EXPECT_EQ(preview[1].key, kKeyPageUp);
  EXPECT_EQ(preview[1].command, 58115);
  EXPECT_EQ(preview[2].key, kKeyEscape);
  EXPECT_EQ(preview[2].command, 58112);
  EXPECT_TRUE(AcceleratorTable(129).empty());
}

}  // namespace
