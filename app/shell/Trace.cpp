#include "app/shell/Trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace shell {

void Trace(std::string_view event) {
  const char* file = std::getenv("CLIPWREN_TRACE_FILE");
  if (!file || !*file) return;
  const int fd = ::open(file, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return;
  std::string line(event);
  line += '\n';
  // One write per line, so lines from several processes never interleave.
  (void)!::write(fd, line.data(), line.size());
  ::close(fd);
}

}  // namespace shell
