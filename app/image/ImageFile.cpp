#include "app/image/ImageFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/image/ImageErrors.h"

namespace {

class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }
  int release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

}  // namespace

bool ReadWholeFile(const std::string& fileName, FileBytes& out, std::string& error) {
  out = FileBytes{};
  // Non-blocking, so a path that names a FIFO cannot hang the loader before the type check.
  Fd fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    error = "file not found";
    return false;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "not a regular file";
    return false;
  }
  if (uint64_t(st.st_size) > kMaxPictureFileBytes) {
    error = "file too large";
    return false;
  }
  const size_t size = size_t(st.st_size);
  try {
    out.data = std::make_unique_for_overwrite<uint8_t[]>(size ? size : 1);
  } catch (const std::bad_alloc&) {
    error = kImageOutOfMemory;
    return false;
  }
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd.get(), out.data.get() + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  // A file that shrank while we read it is parsed as far as it got.
  out.size = done;
  return true;
}

bool WriteFileReplacing(const std::string& fileName, const std::vector<uint8_t>& bytes,
                        std::string& error) {
  std::string temp = fileName + ".tmpXXXXXX";
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) {
    error = "Can't open file for writing";
    return false;
  }
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += size_t(n);
  }
  // Keep the permissions an existing file had; new files get the usual 0666 & ~umask.
  struct stat st {};
  if (::stat(fileName.c_str(), &st) == 0) {
    ::fchmod(fd.get(), st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd.get(), 0666 & ~mask);
  }
  if (ok && ::fsync(fd.get()) != 0) ok = false;
  if (::close(fd.release()) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), fileName.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temp.c_str());
    error = "Can't write file";
    return false;
  }
  return true;
}
