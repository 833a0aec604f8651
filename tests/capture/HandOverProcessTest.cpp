// The default way out of a capture: clipwren-capture starts clipwren "/FromIE <folder>", which
// (with a main window already running) hands the folder over to that window.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/TempDir.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

bool WaitForText(const fs::path& file, const std::string& text, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (testsupport::ReadFile(file).find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace

TEST(CaptureHandOver, TheRunningWindowReceivesTheCaptureFolder) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run under xvfb-run)";
  testsupport::TempDir dir;
  const fs::path trace = dir / "trace.txt";
  setenv("CLIPWREN_TRACE_FILE", trace.c_str(), 1);
  unsetenv("CLIPWREN_SCREENSHOT");

  const char* mainArgv[] = {CLIPWREN_EXECUTABLE, nullptr};
  pid_t window = -1;
  ASSERT_EQ(posix_spawn(&window, CLIPWREN_EXECUTABLE, nullptr, nullptr,
                        const_cast<char**>(mainArgv), environ),
            0);
  struct EndWindow {
    pid_t pid;
    ~EndWindow() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } endWindow{window};
  ASSERT_TRUE(WaitForText(trace, "shown\n", 30)) << testsupport::ReadFile(trace);

  testsupport::WriteFile(dir / "page.html",
                         "<html><head><meta charset='utf-8'><title>渡す頁</title></head>"
                         "<body>x</body></html>");
  const std::string page = (dir / "page.html").string();
  const char* captureArgv[] = {CLIPWREN_CAPTURE_PROGRAM, page.c_str(), nullptr};
  pid_t capture = -1;
  ASSERT_EQ(posix_spawn(&capture, CLIPWREN_CAPTURE_PROGRAM, nullptr, nullptr,
                        const_cast<char**>(captureArgv), environ),
            0);
  int status = 0;
  waitpid(capture, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // The captures folder of this test's sandbox ($HOME/.cache without XDG_CACHE_HOME).
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const fs::path base = cache ? fs::path(cache) : fs::path(std::getenv("HOME")) / ".cache";
  const fs::path folder = base / "clipwren" / "captures" / "クリップレン" / "渡す頁";
  EXPECT_TRUE(fs::exists(folder / "Main.jpg"));
  EXPECT_TRUE(WaitForText(trace, "handover " + folder.string() + "\n", 30))
      << testsupport::ReadFile(trace);
}
