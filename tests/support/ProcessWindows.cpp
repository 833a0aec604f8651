#include "tests/support/ProcessWindows.h"

#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[256];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

bool HaveXdotool() { return std::getenv("DISPLAY") && !Shell("command -v xdotool").empty(); }

std::string WindowOfProcess(pid_t pid, int seconds) {
  return Shell("timeout " + std::to_string(seconds) +
               " xdotool search --sync --onlyvisible --pid " + std::to_string(pid) +
               " 2>/dev/null | head -1");
}

std::string WindowNamed(const std::string& title, int seconds) {
  // xdotool's name search does not match UTF-8 titles; compare each visible window's title.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    std::istringstream ids(Shell("xdotool search --onlyvisible --name '' 2>/dev/null"));
    for (std::string id; std::getline(ids, id);) {
      if (!id.empty() && Shell("xdotool getwindowname " + id + " 2>/dev/null") == title) return id;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

void SendKeys(const std::string& window, const std::string& keys) {
  // Without a window manager nobody gives a new window the focus; keys sent to a window that
  // does not have it are dropped by the toolkit.
  (void)Shell("xdotool windowfocus --sync " + window + " 2>/dev/null; xdotool key " + keys);
}

namespace {

bool WindowManagerAnswers() { return system("wmctrl -m >/dev/null 2>&1") == 0; }

}  // namespace

bool WindowManager::Start(const std::function<void()>& idle) {
  if (WindowManagerAnswers()) return true;
  const char* tmp = std::getenv("TMPDIR");
  const std::string log =
      std::string(tmp && *tmp ? tmp : "/tmp") + "/openbox-" + std::to_string(getpid()) + ".log";
  for (int attempt = 0; attempt < 3; ++attempt) {
    Stop();
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    // --replace: a manager that is still letting go of the screen is asked to leave rather
    // than making this one give up.
    std::vector<char*> argv{const_cast<char*>("openbox"), const_cast<char*>("--replace"), nullptr};
    if (posix_spawnp(&m_pid, "openbox", &files, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&files);
    if (m_pid <= 0) return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      if (WindowManagerAnswers()) return true;
      if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
        m_pid = -1;
        break;
      }
      if (idle) idle();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_log = ReadFile(log);
  }
  Stop();
  return false;
}

void WindowManager::Stop() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGTERM);
  waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

WindowManager::~WindowManager() { Stop(); }

}  // namespace testsupport
