// A capture named on a second process's command line: the second clipwren shows the add
// dialog, files the scrap when Enter is pressed, hands it to the running window (which selects
// it in its tree) and ends with 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ProcessWindows.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(CLIPWREN_EXECUTABLE)};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, CLIPWREN_EXECUTABLE, nullptr, nullptr, argv.data(), environ) != 0)
    return -1;
  return pid;
}

// Exit status, or -1 when the process still runs after the timeout (it is then killed).
int Wait(pid_t pid, std::chrono::seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(20ms);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

// The rest of the first line of the trace that starts with `prefix`, waited for.
std::string TraceLine(const fs::path& trace, const std::string& prefix,
                      std::chrono::seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    const std::string log = testsupport::ReadFile(trace);
    for (size_t at = 0; at < log.size();) {
      size_t eol = log.find('\n', at);
      if (eol == std::string::npos) break;
      if (log.compare(at, prefix.size(), prefix) == 0)
        return log.substr(at + prefix.size(), eol - at - prefix.size());
      at = eol + 1;
    }
    std::this_thread::sleep_for(50ms);
  }
  return "(none)";
}

TEST(CaptureImportProcess, SecondProcessFilesTheCaptureAndTheRunningWindowSelectsIt) {
  if (!testsupport::HaveXdotool()) GTEST_SKIP() << "needs a display and xdotool";
  testsupport::TempDir dir;
  const fs::path trace = dir / "trace.txt";
  setenv("CLIPWREN_TRACE_FILE", trace.c_str(), 1);
  unsetenv("CLIPWREN_SCREENSHOT");

  const pid_t first = Spawn({});
  ASSERT_GT(first, 0);
  struct End {
    pid_t pid;
    ~End() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } endFirst{first};
  ASSERT_NE(TraceLine(trace, "shown", 30s), "(none)") << testsupport::ReadFile(trace);

  // A capture as the sample maker writes it: <captures>/クリップレン/<title>.
  const std::string folder =
      testsupport::Shell(std::string(CLIPWREN_SAMPLE_CAPTURE) + " '" + (dir / "captures").string() +
                         "' 'Daily news! today?'");
  ASSERT_TRUE(fs::exists(fs::path(folder) / "Main.jpg")) << folder;

  const pid_t second = Spawn({"/FromIE", "\"" + folder + "\""});
  ASSERT_GT(second, 0);
  const std::string window = testsupport::WindowOfProcess(second);
  ASSERT_FALSE(window.empty()) << "the second process shows no dialog";
  EXPECT_EQ(testsupport::Shell("xdotool getwindowname " + window), "スクラップブックへの追加");
  testsupport::SendKeys(window, "Return");
  EXPECT_EQ(Wait(second, 30s), 0);

  const std::string handedOver = TraceLine(trace, "handover ", 10s);
  EXPECT_EQ(fs::path(handedOver).filename(), "Daily_news~_today") << testsupport::ReadFile(trace);
  EXPECT_EQ(fs::path(handedOver).parent_path().filename(), "クリップレン");
  EXPECT_EQ(TraceLine(trace, "selected ", 10s), handedOver);
  EXPECT_TRUE(fs::exists(fs::path(handedOver) / "Main.jpg"));
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(handedOver) / "Images"),
                          fs::directory_iterator()),
            3);
  EXPECT_FALSE(fs::exists(folder)) << "the capture folder is removed";
  unsetenv("CLIPWREN_TRACE_FILE");
}

}  // namespace
