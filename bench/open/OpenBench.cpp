// Times opening a scrap whose Main.jpg is 1280 × 20000: the picture-tab object loads the
// file, the view builds its working bitmap and paints the first client area (1280 × 900) at
// 100 %. Each open runs in a fresh process so its peak resident size is its own. The baseline
// is djpeg decoding the same file to a BMP, in the same run, alternating with our runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "app/pageview/CSBImage.h"
#include "app/pageview/PictureRender.h"

extern char** environ;

namespace {

constexpr int kWidth = 1280, kHeight = 20000, kClientWidth = 1280, kClientHeight = 900;
constexpr int kRuns = 7;
using Clock = std::chrono::steady_clock;

// A page-like picture: white, lines of dark "text" blocks, coloured headings, a few photos.
bool Generate(const std::string& path) {
  CxImage img;
  if (!img.Create(kWidth, kHeight, 24)) return false;
  unsigned seed = 12345;
  auto rnd = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = img.GetBits(static_cast<uint32_t>(kHeight - 1 - y));
    std::memset(row, 255, static_cast<size_t>(kWidth) * 3);
    const int block = y / 600, inBlock = y % 600;
    if (block % 5 == 4 && inBlock < 400) {  // a photo
      for (int x = 100; x < 900; ++x) {
        row[3 * x] = static_cast<uint8_t>((x + y) & 255);
        row[3 * x + 1] = static_cast<uint8_t>((x * 3 - y) & 255);
        row[3 * x + 2] = static_cast<uint8_t>((rnd() & 31) + 180);
      }
    } else if (inBlock % 24 < 14) {  // a text line: glyph-sized dark blocks
      unsigned lineSeed = static_cast<unsigned>(y / 24) * 7919u;
      for (int x = 60; x < 1200; x += 9) {
        lineSeed = lineSeed * 1664525u + 1013904223u;
        if ((lineSeed >> 28) < 3) continue;  // word gaps
        const bool ink = ((lineSeed >> 8) + static_cast<unsigned>(inBlock)) % 3 != 0;
        const uint8_t v = ink ? 30 : 255;
        for (int k = 0; k < 7; ++k) {
          row[3 * (x + k)] = inBlock < 24 ? 160 : v;
          row[3 * (x + k) + 1] = v;
          row[3 * (x + k) + 2] = v;
        }
      }
    }
  }
  return img.Save(path, CXIMAGE_FORMAT_JPG);
}

// The smallest page view that can hold a picture: no window, as in the program minus GTK.
class BenchView : public IPageView {
 public:
  CViewState& State() override { return m_state; }
  void ResetView() override { m_state.Reset(); }
  bool BuildWorkingBitmap(const CxImage& p) override {
    return m_state.BuildWorkingBitmap(p) == CViewState::BuildResult::Ok;
  }
  void ShowLoadedPicture() override { m_state.ApplyZoom(0); }
  void ApplyZoom() override { m_state.ApplyZoom(0); }
  void RepaintView() override {}
  int FitToWindow(int v) override { return m_state.FitToWindow(v, kClientWidth, kClientHeight); }
  void DrawTextBoxText(const PixelTarget&, const ViewMapping&, const CTextBox&) override {}
  CViewState m_state;
};

struct Result {
  double seconds = 0;
  long peakKb = 0;
  bool ok = false;
};

int OpenOnce(const std::string& path) {
  const auto start = Clock::now();
  BenchView view;
  CSBImage image(&view);
  image.SetPath(path);
  if (!image.Load()) return 1;
  std::vector<uint8_t> client(static_cast<size_t>(kClientWidth) * kClientHeight * 3, 128);
  RenderVersion(*view.m_state.WorkingBitmap(), view.m_state.Version(0), {0, 0},
                TargetOfRgb(client.data(), kClientWidth, kClientHeight));
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%.6f\n", seconds);
  return client[3 * 100] == 128 ? 1 : 0;
}

// Runs a program and returns its wall time and peak resident size; the output line of our
// own child carries the time it measured itself (without process start-up).
Result Run(std::vector<std::string> args, bool readOwnTime) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int fds[2];
  if (pipe(fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  const auto start = Clock::now();
  pid_t pid;
  Result r;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return r;
  close(fds[1]);
  std::string out;
  char buf[256];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (readOwnTime) r.seconds = std::atof(out.c_str());
  r.peakKb = usage.ru_maxrss;
  r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--open") == 0) return OpenOnce(argv[2]);
  const std::string path = std::string(BENCH_DATA_DIR) + "/Main-1280x20000.jpg";
  if (!std::filesystem::exists(path) && !Generate(path)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  const std::string bmp = std::string(BENCH_DATA_DIR) + "/djpeg-out.bmp";
  std::vector<double> ours, theirs;
  long peakKb = 0;
  for (int i = 0; i < kRuns; ++i) {
    const Result a = Run({self, "--open", path}, false);
    const Result b = Run({"djpeg", "-bmp", "-outfile", bmp, path}, false);
    if (!a.ok || !b.ok) {
      std::fprintf(stderr, "run failed (ours %d, djpeg %d)\n", a.ok, b.ok);
      return 1;
    }
    ours.push_back(a.seconds);
    theirs.push_back(b.seconds);
    peakKb = std::max(peakKb, a.peakKb);
  }
  std::filesystem::remove(bmp);
  const double bestOurs = *std::min_element(ours.begin(), ours.end());
  const double bestTheirs = *std::min_element(theirs.begin(), theirs.end());
  const double pictureMb = kWidth * 3.0 * kHeight / (1024 * 1024);
  const double peakMb = peakKb / 1024.0;
  std::printf("file: %s (%.1f MB)\n", path.c_str(),
              std::filesystem::file_size(path) / (1024.0 * 1024.0));
  std::printf("open (load + working bitmap + first paint), best of %d: %.1f ms\n", kRuns,
              bestOurs * 1000);
  std::printf("djpeg -bmp, best of %d: %.1f ms\n", kRuns, bestTheirs * 1000);
  std::printf("24-bit picture: %.1f MB, peak %.1f MB = %.2f x\n", pictureMb, peakMb,
              peakMb / pictureMb);
  std::printf("ratio=%.2f peak_mb=%.0f\n", bestOurs / bestTheirs, peakMb);
  return 0;
}
