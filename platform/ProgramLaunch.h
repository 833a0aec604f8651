#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Starting other programs: with an argument vector, never through a shell, so file paths
// with blanks or quotes arrive as the arguments they are.
namespace platform {

enum class LaunchStatus {
  kStarted,
  // Nothing that can be run is there: no such file, a folder, a file without permission to
  // run it or one the system cannot execute.
  kNotFound,
  // The program is there but could not be started (no memory, too many processes,
  // arguments too long).
  kFailed,
};

struct LaunchResult {
  LaunchStatus status = LaunchStatus::kFailed;
  int pid = 0;
  int error = 0;  // errno of the failed start
};

// Starts program with args (args[0] is not the program: it is set to program). A program
// without "/" is looked up on PATH. A path that does not exist is tried again with its
// components matched in any letter case, the way the desktop the settings were written on
// finds them. The caller owns the child and must wait for it (WaitForExit or
// ReapWhenDone).
[[nodiscard]] LaunchResult StartProgram(const std::string& program,
                                        const std::vector<std::string>& args);

// Waits for a child started by StartProgram; its exit code, 128 + signal when a signal ended
// it, nullopt when it cannot be waited for.
[[nodiscard]] std::optional<int> WaitForExit(int pid);

// Waits for the child on a thread of its own, so it leaves no zombie, and then calls done
// (on that thread) with what WaitForExit returned. done may be empty.
void ReapWhenDone(int pid, std::function<void(std::optional<int>)> done = {});

// The desktop's "open" verb: xdg-open hands a file to the program the desktop has for its
// type. It may wait for that program, so its outcome comes from its exit code.
inline constexpr const char* kOpenProgram = "xdg-open";
enum class OpenOutcome { kOpened, kFileMissing, kNoProgram };
// What xdg-open's exit code says: 0 opened, 2 no such file, anything else (3: no program
// for the type, 4: the program failed) no program opened the file.
[[nodiscard]] OpenOutcome OpenOutcomeForExit(int code);

// path itself when it exists; otherwise the path whose components match path's in any
// letter case, exact names preferred; nullopt when no such path exists.
[[nodiscard]] std::optional<std::string> FindPathIgnoringCase(const std::string& path);

}  // namespace platform
