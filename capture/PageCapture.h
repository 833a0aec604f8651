#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "capture/CaptureOptions.h"
#include "capture/DevToolsPipe.h"

// Loads one page in the browser and takes from it what a capture folder holds.
namespace capture {

struct CapturedPicture {
  std::string url;
  std::string bytes;
};

struct CapturedPage {
  std::string url;    // the final address, after redirects
  std::string title;
  std::string text;   // the page's innerText
  uint32_t pageHeight = 0;      // the whole page, in pixels
  uint32_t capturedHeight = 0;  // what the picture holds (less when the page was cut)
  CxImage picture;              // 24-bit, width × capturedHeight
  std::vector<CapturedPicture> pictures;
  uint32_t picturesLeftOut = 0;  // over the limits, not in the cache, or no picture type
};

struct CaptureFailure {
  ExitCode code = kExitOk;
  std::string text;
};

using Progress = std::function<void(const std::string& line)>;

// Height of the band taken per screenshot: the browser degrades or refuses much taller ones.
inline constexpr uint32_t kBandHeight = 8000;

// The tallest picture of this width that Clipwren's image object can hold at 24 bits.
[[nodiscard]] uint32_t MaxPictureRows(uint32_t width);

// Copies a decoded band into the page picture with its top at page row `top` (rows count from
// the top; both pictures are stored bottom-up). Parts outside the page are dropped; a band
// narrower or shorter than its place leaves the rest as it was.
void PasteBand(CxImage& page, uint32_t top, const CxImage& band);

[[nodiscard]] bool CapturePage(DevToolsPipe& browser, const CaptureOptions& options,
                               const Progress& progress, CapturedPage& page,
                               CaptureFailure& failure);

}  // namespace capture
