#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

// Headless Chromium driven through its debugging protocol over a pipe: the browser reads
// JSON commands on its file descriptor 3 and writes answers and events on 4, each message
// ended by a NUL byte. No network port is opened.
namespace capture {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::json;

// Set from a signal handler; every wait on the browser ends when it turns true.
extern std::atomic<bool> g_interrupted;

enum class PipeError {
  kNone,
  kNoBrowser,     // the program does not exist or could not be started
  kClosed,        // the browser exited or closed the pipe
  kTimedOut,
  kInterrupted,
  kProtocol,      // the browser answered a command with an error
};

struct PipeFailure {
  PipeError kind = PipeError::kNone;
  std::string text;
};

// Where Chromium is: the given program (a path, or a name looked up in PATH), else
// chromium-headless-shell from PATH. Empty when there is none.
[[nodiscard]] std::filesystem::path FindBrowser(const std::filesystem::path& requested);

// The command line the browser is started with (after the program). Running as root needs
// --no-sandbox, which is passed only then.
[[nodiscard]] std::vector<std::string> BrowserArguments(const std::filesystem::path& profileDir,
                                                        bool runningAsRoot);

class DevToolsPipe {
 public:
  using EventHandler = std::function<void(const Json& event)>;

  ~DevToolsPipe();
  DevToolsPipe(const DevToolsPipe&) = delete;
  DevToolsPipe& operator=(const DevToolsPipe&) = delete;

  // Starts the browser with a fresh profile folder under $TMPDIR (removed again when the
  // object goes) and checks that it answers.
  [[nodiscard]] static std::unique_ptr<DevToolsPipe> Start(const std::filesystem::path& program,
                                                           PipeFailure& failure);

  // Sends a command and waits for its answer; events that arrive meanwhile go to the handler.
  // The result object, or none with failure filled in.
  [[nodiscard]] std::optional<Json> Call(std::string_view method, Json params,
                                         const std::string& session, Clock::time_point deadline,
                                         PipeFailure& failure);
  // Reads and dispatches events until the deadline or until stop() is true (checked after
  // every event). False on a closed pipe or an interruption; reaching the deadline is true.
  [[nodiscard]] bool PumpUntil(Clock::time_point deadline, const std::function<bool()>& stop,
                               PipeFailure& failure);

  void SetEventHandler(EventHandler handler) { m_onEvent = std::move(handler); }

 private:
  DevToolsPipe() = default;
  // One whole message, or none at the deadline or on failure.
  std::optional<Json> ReadMessage(Clock::time_point deadline, PipeFailure& failure);
  bool WriteAll(std::string_view bytes, PipeFailure& failure);
  void Shutdown();
  std::string StartupLog() const;

  pid_t m_pid = -1;
  int m_toBrowser = -1;
  int m_fromBrowser = -1;
  std::filesystem::path m_profileDir;
  std::string m_buffer;
  size_t m_scanned = 0;  // bytes of m_buffer already searched for the NUL
  int m_nextId = 1;
  EventHandler m_onEvent;
};

}  // namespace capture
