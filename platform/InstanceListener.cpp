#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/InstanceProtocol.h"
#include "platform/SingleInstance.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
// A client that sends half a request and then nothing is dropped after this long, so it
// cannot tie up a connection slot forever.
constexpr auto kIdleLimit = std::chrono::seconds(2);
constexpr std::size_t kMaxClients = 16;

struct Client {
  int fd;
  std::string in;
  Clock::time_point lastActivity;
};

sockaddr_un AddressOf(const std::filesystem::path& path) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.c_str(), path.native().size() + 1);
  return addr;
}

// True when a socket file is left over from a process that ended without removing it.
bool IsStaleSocket(const sockaddr_un& addr) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool refused = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 &&
                       (errno == ECONNREFUSED || errno == ENOENT);
  ::close(fd);
  return refused;
}

void Reply(int fd, const std::string& bytes) {
  // Replies are a few bytes into an empty socket buffer; a client that went away is ignored.
  (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

}  // namespace

struct InstanceListener::Impl {
  Handlers handlers;
  std::filesystem::path path;
  int listenFd = -1;
  int wakeFd = -1;
  dev_t boundDev = 0;
  ino_t boundIno = 0;
  std::thread thread;

  bool Bind();
  void Run();
  // Handles every complete request in the client's buffer; false on a protocol violation.
  bool Process(Client& client);
};

bool InstanceListener::Impl::Bind() {
  const sockaddr_un addr = AddressOf(path);
  listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listenFd < 0) return false;
  const auto* sa = reinterpret_cast<const sockaddr*>(&addr);
  if (::bind(listenFd, sa, sizeof addr) != 0) {
    if (errno != EADDRINUSE || !IsStaleSocket(addr) || ::unlink(path.c_str()) != 0 ||
        ::bind(listenFd, sa, sizeof addr) != 0) {
      ::close(listenFd);
      listenFd = -1;
      return false;
    }
  }
  ::chmod(path.c_str(), 0600);
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) boundDev = st.st_dev, boundIno = st.st_ino;
  return ::listen(listenFd, 16) == 0;
}

bool InstanceListener::Impl::Process(Client& client) {
  std::string& in = client.in;
  while (!in.empty()) {
    const char op = in[0];
    std::string reply;
    std::size_t used = 0;
    try {
      if (op == instance::kProbe) {
        if (in.size() < 5) return true;
        const std::uint32_t message = instance::GetU32(std::string_view(in).substr(1));
        instance::PutU32(reply, handlers.probe ? handlers.probe(message) : 0);
        used = 5;
      } else if (op == instance::kForeground) {
        if (handlers.foreground) handlers.foreground();
        reply = "\1";
        used = 1;
      } else if (op == instance::kCopyData) {
        if (in.size() < 9) return true;
        const std::uint32_t id = instance::GetU32(std::string_view(in).substr(1));
        const std::uint32_t size = instance::GetU32(std::string_view(in).substr(5));
        if (size > instance::kMaxCopyData) return false;
        if (in.size() < 9 + std::size_t{size}) return true;
        if (handlers.copyData) handlers.copyData(id, in.substr(9, size));
        reply = "\1";
        used = 9 + std::size_t{size};
      } else {
        return false;
      }
    } catch (...) {
      return false;  // a throwing handler costs that client its connection, nothing more
    }
    Reply(client.fd, reply);
    in.erase(0, used);
  }
  return true;
}

void InstanceListener::Impl::Run() {
  std::vector<Client> clients;
  for (;;) {
    std::vector<pollfd> fds{{wakeFd, POLLIN, 0}, {listenFd, POLLIN, 0}};
    for (const Client& c : clients) fds.push_back({c.fd, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), 250) < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) break;
    const auto now = Clock::now();
    // Only the clients that were polled have an entry in fds; one accepted below waits for
    // the next round.
    const std::size_t polled = clients.size();
    if (fds[1].revents & POLLIN) {
      const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd >= 0 && clients.size() < kMaxClients) clients.push_back({fd, {}, now});
      else if (fd >= 0) ::close(fd);
    }
    for (std::size_t i = 0; i < clients.size(); ++i) {
      Client& c = clients[i];
      bool keep = true;
      if (i < polled && fds[2 + i].revents != 0) {
        char buffer[4096];
        const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
        if (n > 0) {
          c.in.append(buffer, static_cast<std::size_t>(n));
          c.lastActivity = now;
          keep = Process(c);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
          keep = false;
        }
      }
      if (keep && now - c.lastActivity > kIdleLimit) keep = false;
      if (!keep) {
        ::close(c.fd);
        c.fd = -1;
      }
    }
    std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
  }
  for (const Client& c : clients) ::close(c.fd);
}

InstanceListener::InstanceListener(std::string_view messageName, Handlers handlers)
    : m_impl(std::make_unique<Impl>()) {
  m_impl->handlers = std::move(handlers);
  const auto path = instance::SocketPath(messageName);
  if (!path) return;
  m_impl->path = *path;
  if (!m_impl->Bind()) return;
  m_impl->wakeFd = ::eventfd(0, EFD_CLOEXEC);
  if (m_impl->wakeFd < 0) return;
  m_impl->thread = std::thread([impl = m_impl.get()] { impl->Run(); });
}

InstanceListener::~InstanceListener() {
  if (m_impl->thread.joinable()) {
    const std::uint64_t one = 1;
    (void)::write(m_impl->wakeFd, &one, sizeof one);
    m_impl->thread.join();
  }
  if (m_impl->wakeFd >= 0) ::close(m_impl->wakeFd);
  if (m_impl->listenFd >= 0) {
    ::close(m_impl->listenFd);
    // Remove the socket only if it is still ours and not a successor's.
    struct stat st {};
    if (m_impl->boundIno != 0 && ::stat(m_impl->path.c_str(), &st) == 0 &&
        st.st_dev == m_impl->boundDev && st.st_ino == m_impl->boundIno) {
      ::unlink(m_impl->path.c_str());
    }
  }
}

bool InstanceListener::listening() const { return m_impl->thread.joinable(); }

}  // namespace platform
