#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

// Windows of other processes, driven with xdotool as a user would drive them.
namespace testsupport {

// Output of a shell command, without trailing blanks and line ends.
std::string Shell(const std::string& command);
// Whether xdotool can be used (a display and the tool).
bool HaveXdotool();
// The X window id of the first visible window of process pid, waited for up to `seconds`;
// empty when none appears.
std::string WindowOfProcess(pid_t pid, int seconds = 20);
// The first visible window whose title is exactly title (UTF-8), waited for up to `seconds`;
// empty when none appears.
std::string WindowNamed(const std::string& title, int seconds = 20);
// Gives that window the keyboard focus and types keys (xdotool names, e.g. "Return").
void SendKeys(const std::string& window, const std::string& keys);

// A window manager for tests that need one (placement, activation, real clicks): openbox,
// started when none answers and stopped again when this object goes. A manager that does not
// come up is started again, and what it printed is kept for the failure message.
class WindowManager {
 public:
  WindowManager() = default;
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;
  ~WindowManager();
  // True once a manager answers. `idle` runs between checks (a GUI test runs its event loop
  // there, so its windows answer the manager taking them over).
  bool Start(const std::function<void()>& idle = {});
  // What the last openbox started here printed.
  const std::string& Log() const { return m_log; }

 private:
  void Stop();
  pid_t m_pid = -1;
  std::string m_log;
};

}  // namespace testsupport
