#include "app/print/PrintSettings.h"

#include <gtest/gtest.h>

namespace {

using print::PrintSettings;
using print::SettingsCheck;

TEST(PrintSettingsTest, DefaultsAndResetBringThemBack) {
  PrintSettings s;
  EXPECT_EQ(s.colorMode, 0);
  EXPECT_EQ(s.orientation, 0);
  EXPECT_EQ(s.scalingMode, 0);
  EXPECT_EQ(s.scale, 100);
  EXPECT_EQ(s.pageCount, 1);
  EXPECT_EQ(s.columnsForOnePage, 0);
  EXPECT_EQ(s.columnsForPageCount, 0);
  EXPECT_TRUE(s.IsPortrait());

  s = {print::kMonochrome, print::kLandscape, print::kScale, 250, 40, 1, 1};
  EXPECT_FALSE(s.IsPortrait());
  EXPECT_NE(s, PrintSettings{});
  s.Reset();
  EXPECT_EQ(s, PrintSettings{});
}

struct CheckCase {
  int mode;
  int scale;
  int pageCount;
  SettingsCheck::Field field;
  int corrected;
  const char* message;
};
class CheckSettingsTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckSettingsTest, OutOfRangeNumbersGetTheNearerBound) {
  const CheckCase c = GetParam();
  PrintSettings s;
  s.scalingMode = c.mode;
  s.scale = c.scale;
  s.pageCount = c.pageCount;
  const SettingsCheck check = print::CheckSettings(s);
  EXPECT_EQ(check.field, c.field);
  EXPECT_EQ(check.Ok(), c.field == SettingsCheck::kNone);
  EXPECT_EQ(check.message, c.message);
  if (!check.Ok()) EXPECT_EQ(check.corrected, c.corrected);
}

constexpr const char* kScaleText = "拡大縮小率の数値を20から400まで入力してください。";
constexpr const char* kPagesText = "横の数値を1から10000まで入力してください。";
INSTANTIATE_TEST_SUITE_P(
    Bounds, CheckSettingsTest,
    ::testing::Values(CheckCase{3, 20, 1, SettingsCheck::kNone, 0, ""},
                      CheckCase{3, 400, 1, SettingsCheck::kNone, 0, ""},
                      CheckCase{3, 19, 1, SettingsCheck::kScaleField, 20, kScaleText},
                      CheckCase{3, 401, 1, SettingsCheck::kScaleField, 400, kScaleText},
                      CheckCase{3, -5, 1, SettingsCheck::kScaleField, 20, kScaleText},
                      // Each mode checks only its own number.
                      CheckCase{3, 100, 0, SettingsCheck::kNone, 0, ""},
                      CheckCase{2, 5, 1, SettingsCheck::kNone, 0, ""},
                      CheckCase{2, 100, 0, SettingsCheck::kPageCountField, 1, kPagesText},
                      CheckCase{2, 100, 10000, SettingsCheck::kNone, 0, ""},
                      CheckCase{2, 100, 10001, SettingsCheck::kPageCountField, 10000, kPagesText},
                      CheckCase{0, 0, 0, SettingsCheck::kNone, 0, ""},
                      CheckCase{1, 9999, 99999, SettingsCheck::kNone, 0, ""}));

}  // namespace
