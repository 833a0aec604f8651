#include "tests/support/ProcessWindows.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

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

}  // namespace testsupport
