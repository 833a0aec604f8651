#include "app/print/PrintSettings.h"

#include <cstdio>

namespace print {

SettingsCheck CheckSettings(const PrintSettings& s) {
  SettingsCheck check;
  if (s.scalingMode == kScale && (s.scale < kMinScale || s.scale > kMaxScale)) {
    check.field = SettingsCheck::kScaleField;
    check.message = "拡大縮小率の数値を20から400まで入力してください。";
    check.corrected = s.scale < kMinScale ? kMinScale : kMaxScale;
  } else if (s.scalingMode == kPageCount &&
             (s.pageCount < kMinPageCount || s.pageCount > kMaxPageCount)) {
    check.field = SettingsCheck::kPageCountField;
    char text[128];
    std::snprintf(text, sizeof text, "横の数値を%dから%dまで入力してください。", kMinPageCount,
                  kMaxPageCount);
    check.message = text;
    check.corrected = s.pageCount < kMinPageCount ? kMinPageCount : kMaxPageCount;
  }
  return check;
}

}  // namespace print
