// Two real clipwren processes: the second hands its capture over to the first and ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

class Process {
 public:
  Process(const std::vector<std::string>& args, const std::string& traceFile) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      if (std::string(*e).rfind("CLIPWREN_TRACE_FILE=", 0) != 0) env.emplace_back(*e);
    }
    env.push_back("CLIPWREN_TRACE_FILE=" + traceFile);
    std::vector<char*> argv{const_cast<char*>(CLIPWREN_EXECUTABLE)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (posix_spawn(&m_pid, CLIPWREN_EXECUTABLE, nullptr, nullptr, argv.data(), envp.data()) != 0) {
      m_pid = -1;
    }
  }
  ~Process() {
    if (m_pid > 0 && !m_done) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  bool started() const { return m_pid > 0; }
  // The exit status, or -1 when the process is still running after the timeout.
  int WaitFor(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_done = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(20ms);
    }
    return -1;
  }

 private:
  pid_t m_pid = -1;
  bool m_done = false;
};

bool WaitForLine(const std::string& file, const std::string& line, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (testsupport::ReadFile(file).find(line + "\n") != std::string::npos) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

TEST(SingleInstanceProcess, SecondInstanceHandsOverItsCaptureAndEnds) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    GTEST_SKIP() << "no display (run under xvfb-run)";
  }
  testsupport::TempDir dir;
  const std::string first = (dir / "first.log").string();
  Process one({}, first);
  ASSERT_TRUE(one.started());
  ASSERT_TRUE(WaitForLine(first, "shown", 30s)) << testsupport::ReadFile(first);

  // With "/FromIE " and a path: the first instance is raised and takes the path.
  // A folder whose path does not hold the short name is not filed: it is handed over as it is.
  const std::string capture = (dir / "キャプチャ 1").string();
  std::filesystem::create_directories(capture);
  const std::string second = (dir / "second.log").string();
  Process two({"/FromIE", "\"" + capture + "\""}, second);
  ASSERT_TRUE(two.started());
  EXPECT_NE(two.WaitFor(20s), -1) << "the second instance must end by itself";
  EXPECT_TRUE(WaitForLine(first, "handover " + capture, 5s)) << testsupport::ReadFile(first);
  EXPECT_TRUE(WaitForLine(first, "foreground", 5s));
  EXPECT_EQ(testsupport::ReadFile(second).find("shown"), std::string::npos)
      << "the second instance must not show a window";

  // Without it: only raised, nothing handed over.
  const std::string third = (dir / "third.log").string();
  Process three({}, third);
  EXPECT_NE(three.WaitFor(20s), -1);
  const auto count = [](const std::string& log, const std::string& word) {
    size_t n = 0;
    for (size_t at = 0; (at = log.find(word, at)) != std::string::npos; ++at) ++n;
    return n;
  };
  // The raise is carried out on the first instance's event loop, after the third has ended.
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (count(testsupport::ReadFile(first), "foreground") < 2 &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(20ms);
  const std::string log = testsupport::ReadFile(first);
  const size_t handovers = count(log, "handover ");
  const size_t foregrounds = count(log, "foreground");
  EXPECT_EQ(handovers, 1u) << log;
  EXPECT_EQ(foregrounds, 2u) << log;
  EXPECT_EQ(testsupport::ReadFile(third).find("shown"), std::string::npos);
}

}  // namespace
