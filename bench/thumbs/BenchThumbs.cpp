// Time from a refresh of the thumbnail list until the last of 200 thumbnails (JPEGs of
// 800 × 600) is in place, against vipsthumbnail making 100 × 90 thumbnails of the same files.
// Needs a display (xvfb-run -a). Last line: ratio=<ours/vipsthumbnail> peak_mb=<n>.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/image/CxImage.h"
#include "app/tabs/ui/CThumbnailCtrl.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPictures = 200;
constexpr uint32_t kWidth = 800, kHeight = 600;

// Photographs are smooth with detail: gradients, a few shapes and some texture.
bool WritePicture(const fs::path& file, int seed) {
  CxImage img;
  if (!img.Create(kWidth, kHeight, 24)) return false;
  for (uint32_t y = 0; y < kHeight; ++y) {
    uint8_t* row = img.GetBits(kHeight - 1 - y);
    for (uint32_t x = 0; x < kWidth; ++x) {
      const double wave = std::sin((x + seed * 17) * 0.03) * std::cos((y + seed * 5) * 0.02);
      const uint32_t noise = (x * 2654435761u ^ y * 40503u ^ uint32_t(seed)) >> 28;
      row[3 * x] = uint8_t((x * 255 / kWidth + seed * 7) % 256);
      row[3 * x + 1] = uint8_t(128 + 100 * wave + noise);
      row[3 * x + 2] = uint8_t((y * 255 / kHeight + seed * 13) % 256);
    }
  }
  img.SetJpegQuality(85);
  return img.Save(file.string(), CXIMAGE_FORMAT_JPG);
}

double PeakMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "bench_thumbs: no display (run under xvfb-run -a)\n");
    return 1;
  }
  const fs::path root = fs::temp_directory_path() / ("clipwren-bench-thumbs-" +
                                                     std::to_string(getpid()));
  const fs::path folder = root / "Images", out = root / "vips";
  fs::create_directories(folder);
  fs::create_directories(out);
  std::string files;
  for (int i = 0; i < kPictures; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%03d.jpg", i);
    if (!WritePicture(folder / name, i)) return 1;
    files += " '" + (folder / name).string() + "'";
  }
  std::printf("generated %d JPEGs of %u x %u in %s\n", kPictures, kWidth, kHeight,
              folder.c_str());

  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(900, 700));
  auto* list = new CThumbnailCtrl(frame, wxID_ANY, nullptr);
  frame->Show();
  wxTheApp->Yield();
  list->SetFolder(folder);

  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = Clock::now();
    list->RefreshList();
    while (list->IsRunning() || list->ThumbnailsDone() < kPictures) {
      wxTheApp->Yield();
      wxMilliSleep(1);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("clipwren fill %d: %.1f ms (%d thumbnails)\n", run + 1, ms,
                list->ThumbnailsDone());
    best = std::min(best, ms);
  }

  double vipsBest = 1e9;
  for (int run = 0; run < 3; ++run) {
    const std::string command = "vipsthumbnail --size 100x90 -o '" + out.string() +
                                "/%s.jpg'" + files + " > /dev/null 2>&1";
    const auto start = Clock::now();
    const int rc = std::system(command.c_str());
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (rc != 0) {
      std::fprintf(stderr, "vipsthumbnail failed (%d); is libvips-tools installed?\n", rc);
      return 1;
    }
    std::printf("vipsthumbnail run %d: %.1f ms\n", run + 1, ms);
    vipsBest = std::min(vipsBest, ms);
  }

  frame->Destroy();
  wxTheApp->Yield();
  std::error_code ec;
  fs::remove_all(root, ec);
  std::printf("clipwren %.1f ms, vipsthumbnail %.1f ms (best of 3 each)\n", best, vipsBest);
  const double peak = PeakMb();
  wxEntryCleanup();
  std::printf("ratio=%.2f peak_mb=%.0f\n", best / vipsBest, peak);
  return 0;
}
