// The road from a page to a scrap: clipwren-capture writes a capture folder and starts
// clipwren "/FromIE <folder>", whose add dialog files it; with a main window already running,
// the new scrap is handed over to that window.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/ProcessWindows.h"
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

TEST(CaptureHandOver, TheAddDialogFilesTheCaptureAndTheRunningWindowSelectsIt) {
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

  // The add dialog of the clipwren the capture started; Enter files the scrap under its title.
  const std::string dialog = testsupport::WindowNamed("スクラップブックへの追加");
  ASSERT_FALSE(dialog.empty()) << "no add dialog";
  testsupport::SendKeys(dialog, "Return");
  const fs::path home = fs::path(std::getenv("HOME")) / "Documents" / "クリップレン";
  EXPECT_TRUE(WaitForText(trace, "selected " + (home / "渡す頁").string() + "\n", 30))
      << testsupport::ReadFile(trace);
  EXPECT_TRUE(fs::exists(home / "渡す頁" / "Main.jpg"));
  EXPECT_FALSE(fs::exists(folder));
}

namespace {

// Runs clipwren "/FromIE <folder>" as the only instance and answers its add dialog with keys;
// returns the process id (the main window opens after Enter).
pid_t ImportWithKeys(const fs::path& folder, const std::string& keys) {
  const std::string arg = "\"" + folder.string() + "\"";
  const char* argv[] = {CLIPWREN_EXECUTABLE, "/FromIE", arg.c_str(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, CLIPWREN_EXECUTABLE, nullptr, nullptr, const_cast<char**>(argv), environ))
    return -1;
  const std::string dialog = testsupport::WindowOfProcess(pid);
  if (dialog.empty() ||
      testsupport::Shell("xdotool getwindowname " + dialog) != "スクラップブックへの追加") {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  testsupport::SendKeys(dialog, keys);
  return pid;
}

}  // namespace

// A capture made with --no-import from a local page, filed later by Clipwren's own import.
TEST(CaptureHandOver, ANoImportCaptureIsFiledByTheImportWithTheAddDialogAnswered) {
  if (!testsupport::HaveXdotool()) GTEST_SKIP() << "needs a display and xdotool";
  testsupport::TempDir dir;
  const fs::path trace = dir / "trace.txt";
  setenv("CLIPWREN_TRACE_FILE", trace.c_str(), 1);
  testsupport::WriteFile(dir / "page.html",
                         "<html><head><meta charset='utf-8'><title>ローカルの頁: 1/2</title></head>"
                         "<body style='margin:0'><div style='height:3000px;background:#3a6'>本文"
                         "</div><img src='data:image/gif;base64,R0lGODlhAQABAIAAAAUEBAAAACwAAAAAA"
                         "QABAAACAkQBADs='></body></html>");
  const std::string folder =
      testsupport::Shell(std::string(CLIPWREN_CAPTURE_PROGRAM) + " --no-import --output '" +
                         (dir / "out").string() + "' '" + (dir / "page.html").string() + "'");
  ASSERT_TRUE(fs::exists(fs::path(folder) / "Main.jpg")) << folder;

  const pid_t pid = ImportWithKeys(folder, "Return");
  ASSERT_GT(pid, 0) << "no add dialog";
  struct End {
    pid_t pid;
    ~End() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } end{pid};
  // The name is cleaned: ":" goes, "/" becomes "_", blanks become "_".
  const fs::path scrap =
      fs::path(std::getenv("HOME")) / "Documents" / "クリップレン" / "ローカルの頁_1_2";
  EXPECT_TRUE(WaitForText(trace, "shown\n", 30)) << testsupport::ReadFile(trace);
  for (const char* name : {"Main.jpg", "Content.txt", "info.txt"})
    EXPECT_TRUE(fs::exists(scrap / name)) << name;
  EXPECT_FALSE(fs::is_empty(scrap / "Images"));
  EXPECT_FALSE(fs::exists(folder));
  unsetenv("CLIPWREN_TRACE_FILE");
}

// Escape in the add dialog: the capture is deleted and no main window appears.
TEST(CaptureHandOver, CancellingTheAddDialogDeletesTheCaptureAndShowsNoWindow) {
  if (!testsupport::HaveXdotool()) GTEST_SKIP() << "needs a display and xdotool";
  testsupport::TempDir dir;
  const fs::path trace = dir / "trace.txt";
  setenv("CLIPWREN_TRACE_FILE", trace.c_str(), 1);
  const fs::path folder = dir / "クリップレン" / "捨てる頁";
  testsupport::WriteFile(folder / "Main.jpg", "not even a picture");
  testsupport::WriteFile(folder / "Images" / "a.png", "png");
  const pid_t pid = ImportWithKeys(folder, "Escape");
  ASSERT_GT(pid, 0) << "no add dialog";
  int status = -1;
  for (int i = 0; i < 300 && waitpid(pid, &status, WNOHANG) != pid; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(WIFEXITED(status)) << "still running";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(testsupport::ReadFile(trace).find("shown"), std::string::npos);
  unsetenv("CLIPWREN_TRACE_FILE");
}
