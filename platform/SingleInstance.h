#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The named "mutex" that marks the first instance: an flock()ed file named after the mutex
// in $XDG_RUNTIME_DIR (else a private folder under /tmp). Held for the object's lifetime.
class InstanceMutex {
 public:
  enum class State { Created, AlreadyExists, AccessDenied };
  // Creates or opens the mutex; State tells whether another process already holds it.
  explicit InstanceMutex(std::string_view name);
  ~InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;
  State state() const { return m_state; }

 private:
  int m_fd = -1;
  State m_state = State::AccessDenied;
};

// The number the host would register for a window message name (0xC000–0xFFFF), the same
// in every process.
[[nodiscard]] std::uint32_t RegisteredMessageNumber(std::string_view messageName);

// The running instance's end of the probe protocol: a Unix socket named after the probe
// message. The handlers run on the listener's own thread; UI code must marshal them to its
// own thread. The probe answer itself comes from the handler, so a hung UI (one whose
// handler does not return in time) is treated as no answer by the caller.
class InstanceListener {
 public:
  struct Handlers {
    // Answer to the probe message: return the message's own number to claim it.
    std::function<std::uint32_t(std::uint32_t message)> probe;
    // The second instance asks for the foreground (and restore when minimised).
    std::function<void()> foreground;
    // The hand-over record: identifier and the data bytes (path plus its zero byte).
    std::function<void(std::uint32_t id, std::string data)> copyData;
  };
  InstanceListener(std::string_view messageName, Handlers handlers);
  ~InstanceListener();  // stops the thread and removes the socket
  InstanceListener(const InstanceListener&) = delete;
  InstanceListener& operator=(const InstanceListener&) = delete;
  [[nodiscard]] bool listening() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// The second instance's end: probes for a running instance (waiting at most timeout for its
// answer), asks it to come to the foreground and, when handOverPath is not empty, sends the
// hand-over record (identifier 0, length = path bytes + 1, data = path + zero byte).
// Returns true when a running instance answered the probe with the message's own number.
[[nodiscard]] bool FindRunningInstanceAndHandOver(
    std::string_view messageName, std::string_view handOverPath,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(200));

}  // namespace platform
