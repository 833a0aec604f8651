#include "platform/ProgramLaunch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/TextConv.h"

extern char** environ;

namespace platform {
namespace {

namespace fs = std::filesystem;

bool IsNotFoundError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case EACCES:
    case ENOEXEC:
    case EISDIR:
    case ELOOP:
    case ENAMETOOLONG:
    case EPERM:
      return true;
    default:
      return false;
  }
}

// The entry of dir named name in any single-byte letter case; the first in name order when
// several differ only in case, so the choice does not depend on the directory's order.
std::optional<std::string> MatchIgnoringCase(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  std::vector<std::string> matches;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (text::AsciiIEquals(entry, name)) matches.push_back(std::move(entry));
  }
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::optional<std::string> FindPathIgnoringCase(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::error_code ec;
  if (fs::exists(fs::path(path), ec)) return path;
  const fs::path input(path);
  fs::path resolved = input.is_absolute() ? input.root_path() : fs::path(".");
  bool relative = !input.is_absolute();
  for (const fs::path& part : input.relative_path()) {
    const std::string name = part.string();
    if (name.empty() || name == ".") continue;
    fs::path next = resolved / part;
    if (name != ".." && !fs::exists(next, ec)) {
      const std::optional<std::string> match = MatchIgnoringCase(resolved, name);
      if (!match) return std::nullopt;
      next = resolved / *match;
    }
    resolved = std::move(next);
  }
  std::string out = resolved.string();
  if (relative && out.starts_with("./")) out.erase(0, 2);
  return out;
}

LaunchResult StartProgram(const std::string& program, const std::vector<std::string>& args) {
  LaunchResult result;
  if (program.empty()) {
    result.status = LaunchStatus::kNotFound;
    result.error = ENOENT;
    return result;
  }
  std::string file = program;
  const bool searchPath = program.find('/') == std::string::npos;
  if (!searchPath) {
    const std::optional<std::string> found = FindPathIgnoringCase(program);
    std::error_code ec;
    if (!found || fs::is_directory(*found, ec)) {
      result.status = LaunchStatus::kNotFound;
      result.error = found ? EISDIR : ENOENT;
      return result;
    }
    file = *found;
  }

  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(file.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // The child starts with what a program expects: no blocked or ignored signals inherited
  // from the toolkit's threads, and no terminal input to steal.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);

  pid_t pid = 0;
  const int error = searchPath
                        ? posix_spawnp(&pid, file.c_str(), &files, &attr, argv.data(), environ)
                        : posix_spawn(&pid, file.c_str(), &files, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attr);
  if (error != 0) {
    result.status = IsNotFoundError(error) ? LaunchStatus::kNotFound : LaunchStatus::kFailed;
    result.error = error;
    return result;
  }
  result.status = LaunchStatus::kStarted;
  result.pid = pid;
  return result;
}

std::optional<int> WaitForExit(int pid) {
  if (pid <= 0) return std::nullopt;
  int status = 0;
  pid_t r;
  do {
    r = waitpid(pid, &status, 0);
  } while (r < 0 && errno == EINTR);
  if (r != pid) return std::nullopt;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

OpenOutcome OpenOutcomeForExit(int code) {
  if (code == 0) return OpenOutcome::kOpened;
  if (code == 2) return OpenOutcome::kFileMissing;
  return OpenOutcome::kNoProgram;
}

void ReapWhenDone(int pid, std::function<void(std::optional<int>)> done) {
  std::thread([pid, done = std::move(done)] {
    const std::optional<int> code = WaitForExit(pid);
    if (done) done(code);
  }).detach();
}

}  // namespace platform
