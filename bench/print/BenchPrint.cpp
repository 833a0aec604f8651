// Printing a 1280 x 20000 page picture fitted to the page width (twelve A4 pages at 300 dpi) to
// a PDF file through the printout the program prints with. Prints the time of the whole run and
// the peak memory of the process; last line "ms=<n> peak_mb=<n>". The goal for peak memory is
// three times the 24-bit picture (the picture, the print picture and a band).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>

#include "app/print/ui/CClipwrenPrintout.h"
#include "app/print/ui/PdfRender.h"

namespace {

double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "wx did not start (no display?)\n");
    return 1;
  }
  constexpr uint32_t kWidth = 1280, kHeight = 20000;
  auto picture = std::make_shared<CxImage>();
  if (!picture->Create(kWidth, kHeight, 24)) return 1;
  for (uint32_t y = 0; y < kHeight; ++y) {
    uint8_t* row = picture->GetBits(y);
    for (uint32_t x = 0; x < kWidth; ++x) {
      row[3 * x] = uint8_t(x ^ y);
      row[3 * x + 1] = uint8_t(y / 80);
      row[3 * x + 2] = uint8_t(x / 5);
    }
  }
  const double pictureMb = kWidth * 3.0 * kHeight / (1024 * 1024);
  print::PrintSettings settings;
  settings.scalingMode = print::kFitWidth;
  const std::string pdf = "/tmp/clipwren-bench-print-" + std::to_string(::getpid()) + ".pdf";
  const auto start = std::chrono::steady_clock::now();
  CClipwrenPrintout printout(picture, settings, {1920, 1080, 508, 286});
  std::string error;
  if (!RenderPrintoutToPdf(printout, pdf, PdfPage{}, error)) {
    std::fprintf(stderr, "printing failed: %s\n", error.c_str());
    return 1;
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  std::ifstream file(pdf, std::ios::binary | std::ios::ate);
  std::printf("printed %d pages of a %ux%u picture (%.1f MB) to a %.1f MB PDF\n",
              printout.Layout().GetLastPage(), kWidth, kHeight, pictureMb,
              double(file.tellg()) / (1024 * 1024));
  std::printf("peak %.1f MB = %.2f x the picture (goal 3.00)\n", PeakMegabytes(),
              PeakMegabytes() / pictureMb);
  ::unlink(pdf.c_str());
  std::printf("ms=%lld peak_mb=%.0f\n", static_cast<long long>(ms), PeakMegabytes());
  wxEntryCleanup();
  return 0;
}
