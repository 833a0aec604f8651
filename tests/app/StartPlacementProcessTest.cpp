// The real program under a window manager: it comes up where it was closed, stores that place
// again, and GTK has nothing to complain about while it starts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/shell/AppSettings.h"
#include "platform/Registry.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

std::optional<std::string> Shell(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  while (const size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return out;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& output) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const auto end = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

// wmctrl -lG: id, desktop, x, y, width, height, host, title.
std::optional<std::pair<int, int>> WindowPosition(const std::string& title) {
  const auto list = Shell("wmctrl -lG");
  if (!list) return std::nullopt;
  std::istringstream lines(*list);
  for (std::string line; std::getline(lines, line);) {
    if (line.find(title) == std::string::npos) continue;
    std::istringstream fields(line);
    std::string id, desktop;
    int x = 0, y = 0;
    if (fields >> id >> desktop >> x >> y) return std::make_pair(x, y);
  }
  return std::nullopt;
}

TEST(StartPlacementProcess, WindowComesBackWhereItWasClosedWithoutToolkitWarnings) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display (run under xvfb-run)";
  if (!Shell("command -v wmctrl openbox >/dev/null")) GTEST_SKIP() << "wmctrl or openbox missing";
  testsupport::TempDir dir;
  testsupport::WindowManager wm;
  ASSERT_TRUE(wm.Start()) << "openbox did not come up; it printed:\n" << wm.Log();
  shell::AppSettings settings{platform::Registry(platform::Hive::CurrentUser)};
  ASSERT_TRUE(settings.WritePlacement({300, 200, 900, 600, 250, 1}));

  const std::string output = (dir / "clipwren.log").string();
  const pid_t program = Spawn({CLIPWREN_EXECUTABLE}, output);
  ASSERT_GT(program, 0);
  // The window manager's frame puts the client area a few pixels right of and below the
  // window's corner.
  const auto near = [](const std::optional<std::pair<int, int>>& at) {
    return at && at->first >= 300 && at->first < 320 && at->second >= 200 && at->second < 260;
  };
  EXPECT_TRUE(WaitUntil([&] { return near(WindowPosition("クリップレン帳")); }, 30s))
      << "the window is at "
      << (WindowPosition("クリップレン帳") ? WindowPosition("クリップレン帳")->first : -1) << ","
      << (WindowPosition("クリップレン帳") ? WindowPosition("クリップレン帳")->second : -1);
  (void)Shell("wmctrl -c クリップレン帳");
  int status = 0;
  EXPECT_TRUE(WaitUntil([&] { return waitpid(program, &status, WNOHANG) == program; }, 30s));
  const auto placement = settings.ReadPlacement();
  EXPECT_EQ(placement.x, 300);
  EXPECT_EQ(placement.y, 200);
  const std::string log = testsupport::ReadFile(output);
  EXPECT_EQ(log.find("Gtk-CRITICAL"), std::string::npos) << log;
  EXPECT_EQ(log.find("Gtk-WARNING"), std::string::npos) << log;
}

}  // namespace
