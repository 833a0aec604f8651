#include "capture/DevToolsPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

extern char** environ;

namespace capture {

std::atomic<bool> g_interrupted{false};

namespace {

constexpr std::string_view kBrowserName = "chromium-headless-shell";
constexpr auto kStartupLimit = std::chrono::seconds(20);
constexpr auto kCloseLimit = std::chrono::seconds(3);
// The largest message taken from the browser: a band of the page picture as base64 PNG is far
// below it; a page cannot make this process hold more than this for one answer.
constexpr size_t kMaxMessageBytes = size_t(512) << 20;

bool IsExecutable(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec) && access(p.c_str(), X_OK) == 0;
}

// Descriptors 3 and 4 are the browser's; ours are moved above them so that setting up the
// child's never overwrites one we still need.
int MoveHigh(int fd) {
  const int high = fcntl(fd, F_DUPFD_CLOEXEC, 10);
  close(fd);
  return high;
}

int Remaining(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) return 0;
  // Short slices, so an interruption is seen soon even if a signal arrives outside poll.
  return int(std::min<long long>(left, 200));
}

}  // namespace

std::filesystem::path FindBrowser(const std::filesystem::path& requested) {
  const std::filesystem::path name = requested.empty() ? std::filesystem::path(kBrowserName)
                                                       : requested;
  if (name.has_parent_path()) return IsExecutable(name) ? name : std::filesystem::path();
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    const std::filesystem::path candidate = std::filesystem::path(dir) / name;
    if (IsExecutable(candidate)) return candidate;
  }
  return {};
}

std::vector<std::string> BrowserArguments(const std::filesystem::path& profileDir,
                                          bool runningAsRoot) {
  // The machine may have no network: nothing may phone home, update or sync in the
  // background, and the page is drawn by software.
  std::vector<std::string> args = {
      "--headless",
      "--disable-gpu",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--hide-scrollbars",
      "--mute-audio",
      "--remote-debugging-pipe",
      "--user-data-dir=" + profileDir.string(),
  };
  if (runningAsRoot) args.push_back("--no-sandbox");
  args.push_back("about:blank");
  return args;
}

std::unique_ptr<DevToolsPipe> DevToolsPipe::Start(const std::filesystem::path& program,
                                                  PipeFailure& failure) {
  std::unique_ptr<DevToolsPipe> pipe(new DevToolsPipe());
  std::string profile = (std::filesystem::temp_directory_path() / "clipwren-browser-XXXXXX").string();
  if (!mkdtemp(profile.data())) {
    failure = {PipeError::kNoBrowser, std::string("cannot make a browser profile folder: ") +
                                          std::strerror(errno)};
    return nullptr;
  }
  pipe->m_profileDir = profile;

  int commands[2], answers[2];
  if (pipe2(commands, O_CLOEXEC) != 0) {
    failure = {PipeError::kNoBrowser, std::strerror(errno)};
    return nullptr;
  }
  if (pipe2(answers, O_CLOEXEC) != 0) {
    close(commands[0]), close(commands[1]);
    failure = {PipeError::kNoBrowser, std::strerror(errno)};
    return nullptr;
  }
  const int childIn = MoveHigh(commands[0]), childOut = MoveHigh(answers[1]);
  pipe->m_toBrowser = MoveHigh(commands[1]);
  pipe->m_fromBrowser = MoveHigh(answers[0]);

  const std::vector<std::string> args = BrowserArguments(pipe->m_profileDir, geteuid() == 0);
  std::vector<char*> argv;
  std::string programText = program.string();
  argv.push_back(programText.data());
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  const std::string log = (pipe->m_profileDir / "browser.log").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, childIn, 3);
  posix_spawn_file_actions_adddup2(&actions, childOut, 4);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // A group of its own, so its helper processes can be ended together with it.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  const int rc = posix_spawn(&pipe->m_pid, programText.c_str(), &actions, &attr, argv.data(),
                             environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(childIn);
  close(childOut);
  if (rc != 0) {
    pipe->m_pid = -1;
    failure = {PipeError::kNoBrowser,
               "cannot start " + programText + ": " + std::strerror(rc)};
    return nullptr;
  }

  PipeFailure answer;
  if (!pipe->Call("Browser.getVersion", Json::object(), {}, Clock::now() + kStartupLimit, answer)) {
    if (answer.kind == PipeError::kInterrupted) {
      failure = answer;
    } else {
      std::string text = programText + " did not start";
      if (const std::string last = pipe->StartupLog(); !last.empty()) text += ": " + last;
      failure = {PipeError::kNoBrowser, text};
    }
    return nullptr;
  }
  return pipe;
}

DevToolsPipe::~DevToolsPipe() { Shutdown(); }

void DevToolsPipe::Shutdown() {
  if (m_pid > 0) {
    PipeFailure ignored;
    if (m_toBrowser >= 0) {
      const std::string close = R"({"id":0,"method":"Browser.close"})" + std::string(1, '\0');
      (void)WriteAll(close, ignored);
    }
    const auto until = Clock::now() + kCloseLimit;
    int status = 0;
    bool reaped = false;
    while (Clock::now() < until) {
      const pid_t r = waitpid(m_pid, &status, WNOHANG);
      if (r == m_pid || (r < 0 && errno != EINTR)) {
        reaped = true;
        break;
      }
      usleep(20000);
    }
    // Whatever of its group is still there (renderers of a browser that hung) goes too.
    kill(-m_pid, SIGKILL);
    if (!reaped) waitpid(m_pid, &status, 0);
    m_pid = -1;
  }
  if (m_toBrowser >= 0) close(m_toBrowser), m_toBrowser = -1;
  if (m_fromBrowser >= 0) close(m_fromBrowser), m_fromBrowser = -1;
  if (!m_profileDir.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(m_profileDir, ec);
    m_profileDir.clear();
  }
}

std::string DevToolsPipe::StartupLog() const {
  std::ifstream in(m_profileDir / "browser.log");
  std::string line, last;
  while (std::getline(in, line))
    if (!line.empty()) last = line;
  return last.substr(0, 300);
}

bool DevToolsPipe::WriteAll(std::string_view bytes, PipeFailure& failure) {
  while (!bytes.empty()) {
    const ssize_t n = write(m_toBrowser, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) {
      if (g_interrupted) {
        failure = {PipeError::kInterrupted, "interrupted"};
        return false;
      }
      continue;
    }
    if (n <= 0) {
      failure = {PipeError::kClosed, "the browser closed the connection"};
      return false;
    }
    bytes.remove_prefix(size_t(n));
  }
  return true;
}

std::optional<Json> DevToolsPipe::ReadMessage(Clock::time_point deadline, PipeFailure& failure) {
  for (;;) {
    const size_t end = m_buffer.find('\0', m_scanned);
    if (end != std::string::npos) {
      Json message = Json::parse(m_buffer.begin(), m_buffer.begin() + ptrdiff_t(end), nullptr,
                                 false);
      m_buffer.erase(0, end + 1);
      m_scanned = 0;
      if (message.is_discarded() || !message.is_object()) {
        failure = {PipeError::kProtocol, "the browser sent a message that is not JSON"};
        return std::nullopt;
      }
      return message;
    }
    m_scanned = m_buffer.size();
    if (g_interrupted) {
      failure = {PipeError::kInterrupted, "interrupted"};
      return std::nullopt;
    }
    const int wait = Remaining(deadline);
    if (wait == 0) {
      failure = {PipeError::kTimedOut, "the browser did not answer in time"};
      return std::nullopt;
    }
    pollfd p{m_fromBrowser, POLLIN, 0};
    const int ready = poll(&p, 1, wait);
    if (ready < 0 && errno != EINTR) {
      failure = {PipeError::kClosed, std::strerror(errno)};
      return std::nullopt;
    }
    if (ready <= 0) continue;
    char chunk[1 << 16];
    const ssize_t n = read(m_fromBrowser, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      failure = {PipeError::kClosed, "the browser ended unexpectedly"};
      return std::nullopt;
    }
    if (m_buffer.size() + size_t(n) > kMaxMessageBytes) {
      failure = {PipeError::kProtocol, "the browser's answer is too large"};
      return std::nullopt;
    }
    m_buffer.append(chunk, size_t(n));
  }
}

std::optional<Json> DevToolsPipe::Call(std::string_view method, Json params,
                                       const std::string& session, Clock::time_point deadline,
                                       PipeFailure& failure) {
  const int id = m_nextId++;
  Json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!session.empty()) command["sessionId"] = session;
  std::string bytes = command.dump(-1, ' ', false, Json::error_handler_t::replace);
  bytes.push_back('\0');
  if (!WriteAll(bytes, failure)) return std::nullopt;
  for (;;) {
    std::optional<Json> message = ReadMessage(deadline, failure);
    if (!message) return std::nullopt;
    const auto idIt = message->find("id");
    if (idIt == message->end()) {
      if (m_onEvent) m_onEvent(*message);
      continue;
    }
    if (!idIt->is_number_integer() || idIt->get<int>() != id) continue;
    if (const auto error = message->find("error"); error != message->end()) {
      failure = {PipeError::kProtocol,
                 std::string(method) + ": " + error->value("message", std::string("error"))};
      return std::nullopt;
    }
    const auto result = message->find("result");
    return result != message->end() ? *result : Json::object();
  }
}

bool DevToolsPipe::PumpUntil(Clock::time_point deadline, const std::function<bool()>& stop,
                             PipeFailure& failure) {
  while (!stop()) {
    if (Clock::now() >= deadline) return true;
    std::optional<Json> message = ReadMessage(deadline, failure);
    if (!message) return failure.kind == PipeError::kTimedOut;
    if (!message->contains("id") && m_onEvent) m_onEvent(*message);
  }
  return true;
}

}  // namespace capture
