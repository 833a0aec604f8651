#include <fcntl.h>
#include <sys/file.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/InstanceProtocol.h"
#include "platform/RuntimeDir.h"
#include "platform/SingleInstance.h"
#include "platform/TextConv.h"

namespace platform {
namespace {

std::uint32_t Fnv1a(std::string_view bytes) {
  std::uint32_t h = 2166136261u;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

InstanceMutex::InstanceMutex(std::string_view name) {
  const auto dir = runtime::RuntimeDir();
  if (!dir) {
    // Without a private folder there is nothing to lock; running unguarded beats refusing to
    // start, which is what "access denied" would make the program do.
    m_state = State::Created;
    return;
  }
  const auto file = *dir / runtime::FileNameFor(name, ".lock");
  m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (m_fd < 0) {
    m_state = errno == EACCES || errno == EPERM ? State::AccessDenied : State::Created;
    return;
  }
  if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
    m_state = State::Created;
    return;
  }
  m_state = errno == EWOULDBLOCK ? State::AlreadyExists : State::AccessDenied;
  ::close(m_fd);
  m_fd = -1;
}

InstanceMutex::~InstanceMutex() {
  // The file stays: removing it would let a third instance lock a new file while a second
  // still waits on the old one.
  if (m_fd >= 0) ::close(m_fd);
}

std::uint32_t RegisteredMessageNumber(std::string_view messageName) {
  // Message names are matched without regard to case on the host, so the hash is too.
  return 0xC000u + Fnv1a(text::AsciiLower(messageName)) % 0x4000u;
}

namespace instance {

std::optional<std::filesystem::path> SocketPath(std::string_view messageName) {
  const auto dir = runtime::RuntimeDir();
  if (!dir) return std::nullopt;
  constexpr std::size_t kMaxPath = sizeof(sockaddr_un::sun_path) - 1;
  auto path = *dir / runtime::FileNameFor(text::AsciiLower(messageName), ".sock");
  if (path.native().size() <= kMaxPath) return path;
  char hashed[32];
  std::snprintf(hashed, sizeof hashed, "clipwren-%08x.sock",
                Fnv1a(text::AsciiLower(messageName)));
  path = *dir / hashed;
  if (path.native().size() <= kMaxPath) return path;
  return std::nullopt;
}

}  // namespace instance
}  // namespace platform
