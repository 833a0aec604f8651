// Opens a tall page-like JPEG into CxImage and times it against the djpeg program on the same
// file. Our load runs in a forked child so its peak resident size (VmHWM) is the load's own:
// the program's libraries, the file bytes, the DIB and libjpeg's working memory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/image/CxImage.h"
#include "bench/image/PageJpegGenerator.h"

extern char** environ;

namespace {

constexpr unsigned kWidth = 1280, kHeight = 20000;
constexpr int kRuns = 7;

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

long ReadStatusKb(const char* key) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long value = -1;
  const size_t n = std::strlen(key);
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, key, n) == 0) value = std::atol(line + n);
  std::fclose(f);
  return value;
}

struct ChildResult {
  double seconds[kRuns];
  long baselineKb;
  long peakKb;
  unsigned width, height;
  bool ok;
};

// Runs the loads in a fresh child so the parent's generator memory is not counted.
bool MeasureOurs(const std::string& path, ChildResult& result) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    ChildResult r{};
    r.baselineKb = ReadStatusKb("VmRSS:");
    r.ok = true;
    for (int i = 0; i < kRuns && r.ok; ++i) {
      const auto start = Clock::now();
      CxImage img(path, CXIMAGE_FORMAT_JPG);
      r.seconds[i] = std::chrono::duration<double>(Clock::now() - start).count();
      r.ok = img.IsValid();
      r.width = img.GetWidth();
      r.height = img.GetHeight();
    }
    r.peakKb = ReadStatusKb("VmHWM:");
    (void)!write(fds[1], &r, sizeof r);
    _exit(0);
  }
  close(fds[1]);
  const bool got = read(fds[0], &result, sizeof result) == ssize_t(sizeof result);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return got && result.ok;
}

double RunDjpeg(const std::string& path) {
  const char* argv[] = {"djpeg", "-outfile", "/dev/null", path.c_str(), nullptr};
  const auto start = Clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path =
      argc > 1 ? argv[1] : std::string(BENCH_DATA_DIR) + "/page-1280x20000.jpg";
  if (!std::filesystem::exists(path)) {
    // Generate in a child too, so the page buffer never inflates this process.
    const pid_t pid = fork();
    if (pid == 0) _exit(GeneratePageJpeg(path, kWidth, kHeight) ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "cannot generate %s\n", path.c_str());
      return 1;
    }
  }
  const auto fileBytes = std::filesystem::file_size(path);
  if (RunDjpeg(path) < 0) {  // also warms the page cache for both sides
    std::fprintf(stderr, "djpeg failed (package libjpeg-turbo-progs)\n");
    return 1;
  }
  ChildResult ours{};
  if (!MeasureOurs(path, ours)) {
    std::fprintf(stderr, "CxImage could not load %s\n", path.c_str());
    return 1;
  }
  std::vector<double> oursTimes(ours.seconds, ours.seconds + kRuns), djpegTimes;
  for (int i = 0; i < kRuns; ++i) djpegTimes.push_back(RunDjpeg(path));
  const double ourMedian = Median(oursTimes), djpegMedian = Median(djpegTimes);
  const double dibMb = (40.0 + double((ours.width * 3 + 3) & ~3u) * ours.height) / 1e6;
  const double fileMb = double(fileBytes) / 1e6;
  std::printf("file: %s (%ux%u, %.2f MB)\n", path.c_str(), ours.width, ours.height, fileMb);
  std::printf("CxImage load (in process, median of %d): %.1f ms\n", kRuns, ourMedian * 1e3);
  std::printf("djpeg -outfile /dev/null (whole process, median of %d): %.1f ms\n", kRuns,
              djpegMedian * 1e3);
  std::printf(
      "peak RSS of the loading process: %.1f MB (before loading %.1f MB); budget DIB "
      "%.1f + file %.1f + 10%% = %.1f MB\n",
      ours.peakKb / 1024.0 * 1.048576, ours.baselineKb / 1024.0 * 1.048576, dibMb, fileMb,
      (dibMb + fileMb) * 1.1);
  std::printf("ratio=%.3f peak_mb=%.1f\n", ourMedian / djpegMedian, ours.peakKb * 1024.0 / 1e6);
  return 0;
}
