#pragma once

#include <sys/types.h>

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

}  // namespace testsupport
