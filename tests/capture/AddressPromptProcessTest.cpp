// The desktop action runs "clipwren-capture --ask": a window asks for the address, the page
// is captured and errors are shown in a message box. Driven with xdotool like a user would.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/document/ScrapText.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using testsupport::Shell;

// Starts the program and returns its process id.
pid_t Start(const fs::path& output) {
  const std::string out = output.string();
  const char* argv[] = {CLIPWREN_CAPTURE_PROGRAM, "--ask", "--no-import", "--output", out.c_str(),
                        nullptr};
  pid_t pid = -1;
  posix_spawn(&pid, CLIPWREN_CAPTURE_PROGRAM, nullptr, nullptr, const_cast<char**>(argv), environ);
  return pid;
}

// The first visible window of the process, waited for up to ten seconds.
std::string WindowOf(pid_t pid) { return testsupport::WindowOfProcess(pid, 10); }

int WaitFor(pid_t pid, int seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -2;
}

class AddressPrompt : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY") || Shell("command -v xdotool").empty())
      GTEST_SKIP() << "needs a display and xdotool";
  }
  testsupport::TempDir m_pages;
  testsupport::TempDir m_out;
};

}  // namespace

TEST_F(AddressPrompt, TheTypedAddressIsCaptured) {
  testsupport::WriteFile(m_pages / "p.html",
                         "<html><head><meta charset='utf-8'><title>窓から</title></head>"
                         "<body>本文</body></html>");
  const pid_t pid = Start(m_out.path());
  ASSERT_GT(pid, 0);
  const std::string window = WindowOf(pid);
  ASSERT_FALSE(window.empty()) << "no address window";
  EXPECT_EQ(Shell("xdotool getwindowname " + window), "Webページをクリップ");
  // A bare path is taken as a local page, as in the address bar.
  Shell("xdotool type --window " + window + " --delay 2 '" + (m_pages / "p.html").string() + "'");
  Shell("xdotool key --window " + window + " Return");
  EXPECT_EQ(WaitFor(pid, 30), 0);
  const fs::path folder = m_out.path() / "クリップレン" / "窓から";
  EXPECT_TRUE(fs::exists(folder / "Main.jpg"));
  const auto text = scrapfiles::ReadContentText(folder / "Content.txt");
  ASSERT_TRUE(text);
  EXPECT_EQ(scrapfiles::ExtractPageAddress(*text), "file://" + (m_pages / "p.html").string());
}

TEST_F(AddressPrompt, AFailureIsShownInAMessageBoxAndLeavesNothing) {
  const pid_t pid = Start(m_out.path());
  ASSERT_GT(pid, 0);
  const std::string window = WindowOf(pid);
  ASSERT_FALSE(window.empty()) << "no address window";
  Shell("xdotool type --window " + window + " --delay 2 '" + (m_pages / "missing.html").string() + "'");
  Shell("xdotool key --window " + window + " Return");
  // The message box (titled like the address window, unlike the progress window) follows;
  // answering it ends the program with the code of the failure.
  std::string box;
  for (int i = 0; i < 200 && box.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string id =
        Shell("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null | tail -1");
    if (!id.empty() && id != window &&
        Shell("xdotool getwindowname " + id + " 2>/dev/null") == "Webページをクリップ")
      box = id;
  }
  ASSERT_FALSE(box.empty()) << "no message box";
  Shell("xdotool windowfocus --sync " + box + " 2>/dev/null; xdotool key Return");
  EXPECT_EQ(WaitFor(pid, 20), 3);
  EXPECT_TRUE(fs::is_empty(m_out.path()));
}
