#pragma once

#include <filesystem>

namespace platform {

// An advisory lock (flock) on a side file next to the data file ("<file>.lock"), held for
// the object's lifetime. The data file itself is replaced by rename on every write, so it
// cannot carry the lock. Blocks until the lock is granted.
class FileLock {
 public:
  enum class Mode { Shared, Exclusive };
  FileLock(const std::filesystem::path& dataFile, Mode mode);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False when the lock file could not be opened (for instance its folder is missing).
  [[nodiscard]] bool locked() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

}  // namespace platform
