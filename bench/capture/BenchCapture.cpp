// Times clipwren-capture on a generated 1280 × 20,000 page: coloured sections with headings
// and paragraphs (Japanese and Latin text) and 40 small pictures, as a file: page, so no
// network is involved. The program runs as a child process, so its peak resident size is
// read on its own; Chromium's processes are not part of it (they are the same for every
// capture tool that uses the browser).
//
// Last line: ms=<wall time of the best of three runs> peak_mb=<largest peak of the program>.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/image/CxImage.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kHeight = 20000;
constexpr int kSections = 40;  // 500 pixels each

void WritePage(const fs::path& dir) {
  fs::create_directories(dir / "img");
  for (int i = 0; i < kSections; ++i) {
    CxImage picture;
    picture.Create(160, 120, 24);
    for (uint32_t y = 0; y < 120; ++y)
      for (uint32_t x = 0; x < 160; ++x) {
        uint8_t* p = picture.GetBits(y) + 3 * x;
        p[0] = uint8_t(x + i * 7), p[1] = uint8_t(y * 2), p[2] = uint8_t(i * 6);
      }
    std::vector<uint8_t> bytes;
    picture.Encode(bytes, CXIMAGE_FORMAT_JPG);
    std::ofstream(dir / "img" / ("p" + std::to_string(i) + ".jpg"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  std::ofstream html(dir / "page.html");
  html << "<!DOCTYPE html><html><head><meta charset='utf-8'><title>ベンチマークのページ</title>"
          "<style>body{margin:0;font:16px sans-serif} section{height:500px;overflow:hidden;"
          "padding:0 40px;box-sizing:border-box}</style></head><body>";
  for (int i = 0; i < kSections; ++i) {
    html << "<section style='background:hsl(" << (i * 37) % 360 << ",60%,85%)'><h2>第" << i + 1
         << "節 Section " << i + 1 << "</h2><img src='img/p" << i << ".jpg' align='right'>";
    for (int p = 0; p < 4; ++p)
      html << "<p>これはベンチマーク用に作られた段落です。ページの絵、本文、画像を取り込みます。"
              "The quick brown fox jumps over the lazy dog, again and again, line after line.</p>";
    html << "</section>";
  }
  html << "</body></html>";
}

struct Run {
  double ms = 0;
  long peakKb = 0;
  int status = -1;
};

Run RunCapture(const fs::path& page, const fs::path& out) {
  Run r;
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const std::string output = out.string(), url = "file://" + page.string();
    // The folder it prints is known already.
    if (const int null = open("/dev/null", O_WRONLY); null >= 0) dup2(null, STDOUT_FILENO);
    execl(CLIPWREN_CAPTURE_PROGRAM, CLIPWREN_CAPTURE_PROGRAM, "--no-import", "--output",
          output.c_str(), url.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  r.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  r.peakKb = usage.ru_maxrss;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace

int main() {
  std::string root = (fs::temp_directory_path() / "bench-capture-XXXXXX").string();
  if (!mkdtemp(root.data())) return 2;
  WritePage(fs::path(root) / "page");
  double best = 1e18;
  long peak = 0;
  for (int i = 0; i < 3; ++i) {
    const fs::path out = fs::path(root) / ("out" + std::to_string(i));
    const Run r = RunCapture(fs::path(root) / "page" / "page.html", out);
    if (r.status != 0) {
      std::fprintf(stderr, "bench_capture: clipwren-capture exited with %d\n", r.status);
      return 1;
    }
    CxImage main;
    const fs::path jpg = out / "クリップレン" / "ベンチマークのページ" / "Main.jpg";
    if (!main.Load(jpg.string(), CXIMAGE_FORMAT_JPG) || main.GetHeight() != uint32_t(kHeight)) {
      std::fprintf(stderr, "bench_capture: the page picture is missing or not %d high\n", kHeight);
      return 1;
    }
    std::printf("run %d: %.0f ms, peak %.1f MB, Main.jpg %.1f MB\n", i + 1, r.ms, r.peakKb / 1024.0,
                double(fs::file_size(jpg)) / 1e6);
    best = std::min(best, r.ms);
    peak = std::max(peak, r.peakKb);
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  std::printf("ms=%.0f peak_mb=%.0f\n", best, peak / 1024.0);
  return 0;
}
