#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

FileLock::FileLock(const std::filesystem::path& dataFile, Mode mode) {
  std::filesystem::path lockFile = dataFile;
  lockFile += ".lock";
  m_fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  // A read-only folder still allows a shared lock on an existing lock file.
  if (m_fd < 0 && mode == Mode::Shared) m_fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_fd < 0) return;
  const int op = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
  while (::flock(m_fd, op) != 0) {
    if (errno != EINTR) {
      ::close(m_fd);
      m_fd = -1;
      return;
    }
  }
}

FileLock::~FileLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

}  // namespace platform
