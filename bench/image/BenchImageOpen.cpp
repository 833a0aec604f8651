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
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/image/CxImage.h"
#include "bench/image/PageJpegGenerator.h"

extern char** environ;

namespace {

constexpr unsigned kWidth = 1280, kHeight = 20000;
constexpr int kRuns = 9;

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

struct LoadResult {
  double seconds;
  double cpuSeconds;
  long baselineKb;
  long peakKb;
  unsigned width, height;
  bool ok;
};

double CpuSeconds(const rusage& u) {
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// One load in a fresh child, so the parent's generator memory is not counted and every run
// starts from the same state.
bool MeasureOurs(const std::string& path, LoadResult& result) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    LoadResult r{};
    r.baselineKb = ReadStatusKb("VmRSS:");
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = Clock::now();
    {
      CxImage img(path, CXIMAGE_FORMAT_JPG);
      r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
      r.ok = img.IsValid();
      r.width = img.GetWidth();
      r.height = img.GetHeight();
    }
    getrusage(RUSAGE_SELF, &after);
    r.cpuSeconds = CpuSeconds(after) - CpuSeconds(before);
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

// Wall time of the whole djpeg process (start, decode, write to /dev/null, exit); its CPU time
// comes from the kernel's accounting of the child.
double RunDjpeg(const std::string& path, double* cpuSeconds = nullptr) {
  const char* argv[] = {"djpeg", "-outfile", "/dev/null", path.c_str(), nullptr};
  const auto start = Clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return -1;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (cpuSeconds) *cpuSeconds = CpuSeconds(usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

struct Comparison {
  double ratio = 0;  // best CxImage run / best djpeg run
  long peakKb = 0;
};

// Runs alternate between the two sides so a change in machine load hits both alike. The ratio
// uses the best run of each side, the least disturbed by other processes.
bool Compare(const std::string& path, Comparison& out) {
  const auto fileBytes = std::filesystem::file_size(path);
  if (RunDjpeg(path) < 0) {  // also warms the page cache for both sides
    std::fprintf(stderr, "djpeg failed (package libjpeg-turbo-progs)\n");
    return false;
  }
  std::vector<double> ourWall, ourCpu, djpegWall, djpegCpu;
  LoadResult last{};
  for (int i = 0; i < kRuns; ++i) {
    if (!MeasureOurs(path, last)) {
      std::fprintf(stderr, "CxImage could not load %s\n", path.c_str());
      return false;
    }
    ourWall.push_back(last.seconds);
    ourCpu.push_back(last.cpuSeconds);
    out.peakKb = std::max(out.peakKb, last.peakKb);
    double cpu = 0;
    djpegWall.push_back(RunDjpeg(path, &cpu));
    djpegCpu.push_back(cpu);
  }
  const auto best = [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
  };
  const double dibMb = (40.0 + double((last.width * 3 + 3) & ~3u) * last.height) / 1e6;
  const double fileMb = double(fileBytes) / 1e6;
  out.ratio = best(ourWall) / best(djpegWall);
  std::printf("file: %s (%ux%u, %.2f MB)\n", path.c_str(), last.width, last.height, fileMb);
  std::printf("  CxImage load, in process: best %.1f ms, median %.1f ms, CPU %.1f ms\n",
              best(ourWall) * 1e3, Median(ourWall) * 1e3, Median(ourCpu) * 1e3);
  std::printf(
      "  djpeg -outfile /dev/null, whole process: best %.1f ms, median %.1f ms, CPU %.1f ms\n",
      best(djpegWall) * 1e3, Median(djpegWall) * 1e3, Median(djpegCpu) * 1e3);
  std::printf("  ratio best/best %.3f, median/median %.3f; %d runs each, alternating\n", out.ratio,
              Median(ourWall) / Median(djpegWall), kRuns);
  std::printf(
      "  peak RSS of the loading process (VmHWM): %.1f MB, %.1f MB before loading; budget: "
      "DIB %.1f + file %.1f + 10%% = %.1f MB\n",
      out.peakKb * 1024.0 / 1e6, last.baselineKb * 1024.0 / 1e6, dibMb, fileMb,
      (dibMb + fileMb) * 1.1);
  return true;
}

bool RunTool(const char* const* argv) {
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

// Usage: bench_image_open [page.jpg]. Without an argument the page is generated (as Clipwren
// writes it: a restart marker after every row of blocks), and a copy without restart markers
// (as a browser capture usually is) is timed too. The last line is always the main file's.
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
  if (argc <= 1) {
    // jpegtran copies the coefficients losslessly and writes no restart markers by default.
    const std::string plain = std::string(BENCH_DATA_DIR) + "/page-1280x20000-no-restarts.jpg";
    const char* tran[] = {"jpegtran",    "-copy",      "all",  "-outfile",
                          plain.c_str(), path.c_str(), nullptr};
    Comparison other;
    if ((std::filesystem::exists(plain) || RunTool(tran)) && Compare(plain, other))
      std::printf("  (one-pass decode: no restart markers to split at)\n");
  }
  Comparison main;
  if (!Compare(path, main)) return 1;
  std::printf("ratio=%.3f peak_mb=%.1f\n", main.ratio, main.peakKb * 1024.0 / 1e6);
  return 0;
}
