#include "PDFRelay/FileInUse.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

namespace pdfrelay {
namespace {

// A descriptor that closes itself.
struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  ~Fd() {
    if (fd >= 0) close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
};

bool IsLockedByOthers(const std::filesystem::path& file) {
  Fd f(open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (f.fd < 0) return false;
  struct stat st {};
  if (fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;

  // An open-file-description query sees record locks of every other open file, POSIX and OFD
  // alike, anywhere in the file.
  struct flock query {};
  query.l_type = F_WRLCK;
  query.l_whence = SEEK_SET;
  query.l_start = 0;
  query.l_len = 0;
  if (fcntl(f.fd, F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK) return true;

  // flock locks live apart from record locks; taking one for a moment shows whether another
  // holder has it.
  if (flock(f.fd, LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  (void)flock(f.fd, LOCK_UN);
  return false;
}

// The open flags of one descriptor, from the "flags:" line of its fdinfo (octal).
bool OpenForWriting(const std::string& fdinfo) {
  std::ifstream in(fdinfo);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("flags:", 0) != 0) continue;
    const long flags = std::strtol(line.c_str() + 6, nullptr, 8);
    const long mode = flags & O_ACCMODE;
    return mode == O_WRONLY || mode == O_RDWR;
  }
  return false;
}

bool IsOpenForWritingByOthers(const std::filesystem::path& file) {
  struct stat target {};
  if (stat(file.c_str(), &target) != 0) return false;
  const std::string self = std::to_string(getpid());

  DIR* proc = opendir("/proc");
  if (!proc) return false;
  bool found = false;
  while (!found) {
    const dirent* entry = readdir(proc);
    if (!entry) break;
    const std::string pid = entry->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    if (pid == self) continue;
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* fds = opendir(fdDir.c_str());
    if (!fds) continue;  // gone, or another user's
    while (const dirent* fdEntry = readdir(fds)) {
      const std::string fd = fdEntry->d_name;
      if (fd.empty() || fd[0] == '.') continue;
      struct stat st {};
      if (stat((fdDir + "/" + fd).c_str(), &st) != 0) continue;
      if (st.st_dev != target.st_dev || st.st_ino != target.st_ino) continue;
      if (OpenForWriting("/proc/" + pid + "/fdinfo/" + fd)) {
        found = true;
        break;
      }
    }
    closedir(fds);
  }
  closedir(proc);
  return found;
}

}  // namespace

bool IsFileInUse(const std::filesystem::path& file) {
  return IsLockedByOthers(file) || IsOpenForWritingByOthers(file);
}

bool IsReadOnlyFile(const std::filesystem::path& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool CanCreateFilesIn(const std::filesystem::path& folder) {
  struct stat st {};
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

ReplaceResult DeleteUnlessInUse(const std::filesystem::path& file) {
  if (IsFileInUse(file)) return ReplaceResult::kInUse;
  return unlink(file.c_str()) == 0 ? ReplaceResult::kDeleted : ReplaceResult::kNotDeleted;
}

}  // namespace pdfrelay
