#include "PDFRelay/WaitForFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <thread>

namespace pdfrelay {

bool WaitUntilReadable(const std::filesystem::path& file, std::chrono::milliseconds interval,
                       std::chrono::milliseconds limit, WaitClock clock) {
  if (!clock.sleep)
    clock.sleep = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
  const auto start = clock.now();
  for (;;) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd >= 0) {
      close(fd);
      return true;
    }
    clock.sleep(interval);
    if (clock.now() - start > limit) return false;
  }
}

}  // namespace pdfrelay
