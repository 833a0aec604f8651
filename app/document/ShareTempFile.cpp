#include "app/document/ShareTempFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace share {
namespace {

// Another program holds a lock on the open file (either kind the system offers).
bool IsLockedByOthers(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  flock(fd, LOCK_UN);
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 0;
  probe.l_len = 0;
  return fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

}  // namespace

std::filesystem::path TempCandidate(const std::filesystem::path& tempFolder,
                                    std::string_view baseName, int n,
                                    std::string_view extension) {
  std::string name(baseName);
  if (n > 0) name += std::to_string(n);
  name += '.';
  name += extension;
  return tempFolder / name;
}

bool TakeCandidate(const std::filesystem::path& candidate) {
  // The temporary folder may be shared with other users: never follow a link planted there,
  // and never write into someone else's file.
  int fd = ::open(candidate.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno != ENOENT) return false;
    fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
  }
  struct stat st {};
  const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
  const bool usable = ours && !IsLockedByOthers(fd) && ::ftruncate(fd, 0) == 0;
  ::close(fd);
  return usable;
}

TempFileChoice ChooseTempFile(const std::filesystem::path& tempFolder, std::string_view baseName,
                              std::string_view extension) {
  TempFileChoice choice;
  for (int n = 0; n <= kLastCandidateNumber; ++n) {
    choice.path = TempCandidate(tempFolder, baseName, n, extension);
    if (TakeCandidate(choice.path)) {
      choice.usable = true;
      return choice;
    }
  }
  return choice;
}

}  // namespace share
