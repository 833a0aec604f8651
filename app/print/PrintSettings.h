#pragma once

#include <string>

namespace print {

enum ColorMode : int { kColor = 0, kMonochrome = 1 };
enum Orientation : int { kPortrait = 0, kLandscape = 1 };
// How the picture is laid on the paper: the whole picture on one page, the width of one page
// (running over as many pages as needed), a given number of pages, or a scale.
enum ScalingMode : int { kFitWhole = 0, kFitWidth = 1, kPageCount = 2, kScale = 3 };

// Percent of the picture's size on the screen.
inline constexpr int kMinScale = 20;
inline constexpr int kMaxScale = 400;
inline constexpr int kDefaultScale = 100;
inline constexpr int kMinPageCount = 1;
inline constexpr int kMaxPageCount = 10000;

// How the open scrap is printed. One set lives in the document; it goes back to these
// defaults whenever a scrap is opened or the document is new, and is never stored.
struct PrintSettings {
  int colorMode = kColor;
  int orientation = kPortrait;
  int scalingMode = kFitWhole;
  int scale = kDefaultScale;
  int pageCount = kMinPageCount;
  // "自動段組" under the whole-picture mode and under the page-count mode, 0 or 1 each.
  int columnsForOnePage = 0;
  int columnsForPageCount = 0;

  void Reset() { *this = PrintSettings{}; }
  bool IsPortrait() const { return orientation == kPortrait; }

  friend bool operator==(const PrintSettings&, const PrintSettings&) = default;
};

// The outcome of checking settings before they are taken: which number is out of its range
// for the chosen mode, the message the user sees and the nearer bound that replaces it.
struct SettingsCheck {
  enum Field { kNone, kScaleField, kPageCountField };
  Field field = kNone;
  std::string message;  // UTF-8, empty when the settings are fine
  int corrected = 0;

  bool Ok() const { return field == kNone; }
};

// Only the number the chosen mode uses is checked: a scale typed under the page-count mode
// is never looked at.
[[nodiscard]] SettingsCheck CheckSettings(const PrintSettings& settings);

}  // namespace print
