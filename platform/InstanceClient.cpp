#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/InstanceProtocol.h"
#include "platform/SingleInstance.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
// The running instance has already proved it is alive by answering the probe; the hand-over
// is synchronous like the host's, but a partner that dies mid-way must not hang us forever.
constexpr auto kFollowUpLimit = std::chrono::seconds(5);

class Connection {
 public:
  explicit Connection(const std::filesystem::path& path) {
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) return;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.native().size() + 1);
    // Connecting to a Unix socket completes at once or fails (EAGAIN: backlog full).
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
      ::close(m_fd);
      m_fd = -1;
    }
  }
  ~Connection() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  bool ok() const { return m_fd >= 0; }

  bool Send(std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
      const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
      } else if (n < 0 && errno == EAGAIN) {
        if (!Wait(POLLOUT, deadline)) return false;
      } else if (n < 0 && errno != EINTR) {
        return false;
      }
    }
    return true;
  }

  // Exactly size bytes, or nullopt at the deadline, on end of stream or error.
  std::optional<std::string> Receive(std::size_t size, Clock::time_point deadline) {
    std::string out;
    while (out.size() < size) {
      char buffer[16];
      const ssize_t n = ::recv(m_fd, buffer, std::min(sizeof buffer, size - out.size()), 0);
      if (n > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
      } else if (n < 0 && errno == EAGAIN) {
        if (!Wait(POLLIN, deadline)) return std::nullopt;
      } else if (n == 0 || errno != EINTR) {
        return std::nullopt;
      }
    }
    return out;
  }

 private:
  bool Wait(short events, Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{m_fd, events, 0};
    return ::poll(&p, 1, static_cast<int>(left)) > 0;
  }

  int m_fd = -1;
};

}  // namespace

bool FindRunningInstanceAndHandOver(std::string_view messageName, std::string_view handOverPath,
                                    std::chrono::milliseconds timeout) {
  const auto path = instance::SocketPath(messageName);
  if (!path) return false;
  const auto probeDeadline = Clock::now() + timeout;
  Connection conn(*path);
  if (!conn.ok()) return false;

  const std::uint32_t message = RegisteredMessageNumber(messageName);
  std::string probe(1, instance::kProbe);
  instance::PutU32(probe, message);
  if (!conn.Send(probe, probeDeadline)) return false;
  const auto answer = conn.Receive(4, probeDeadline);
  if (!answer || instance::GetU32(*answer) != message) return false;

  // From here on the running instance is found; later failures do not change that.
  auto deadline = Clock::now() + kFollowUpLimit;
  if (!conn.Send(std::string(1, instance::kForeground), deadline) || !conn.Receive(1, deadline)) {
    return true;
  }
  if (!handOverPath.empty() && handOverPath.size() < instance::kMaxCopyData) {
    std::string record(1, instance::kCopyData);
    instance::PutU32(record, 0);  // identifier 0
    instance::PutU32(record, static_cast<std::uint32_t>(handOverPath.size() + 1));
    record += handOverPath;
    record += '\0';
    deadline = Clock::now() + kFollowUpLimit;
    if (conn.Send(record, deadline)) (void)conn.Receive(1, deadline);
  }
  return true;
}

}  // namespace platform
