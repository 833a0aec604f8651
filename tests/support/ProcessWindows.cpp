#include "tests/support/ProcessWindows.h"

#include <cstdio>
#include <cstdlib>

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
  return Shell("timeout " + std::to_string(seconds) + " xdotool search --sync --onlyvisible --pid " +
               std::to_string(pid) + " 2>/dev/null | head -1");
}

void SendKeys(const std::string& window, const std::string& keys) {
  // Without a window manager nobody gives a new window the focus; keys sent to a window that
  // does not have it are dropped by the toolkit.
  (void)Shell("xdotool windowfocus --sync " + window + " 2>/dev/null; xdotool key " + keys);
}

}  // namespace testsupport
