#include "platform/RuntimeDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform::runtime {

std::optional<std::filesystem::path> RuntimeDir() {
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) {
    struct stat st {};
    if (::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode)) return std::filesystem::path(xdg);
  }
  std::string dir = "/tmp/clipwren-";
  dir += std::to_string(::getuid());
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  // lstat: a symbolic link planted by someone else must not redirect us.
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
    return std::nullopt;
  }
  if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0) return std::nullopt;
  return std::filesystem::path(dir);
}

std::string FileNameFor(std::string_view objectName, std::string_view suffix) {
  std::string name;
  if (objectName.empty() || objectName == "." || objectName == "..") name = "_";
  for (const char c : objectName) {
    const auto u = static_cast<unsigned char>(c);
    name += (c == '/' || u < 0x20 || u == 0x7F) ? '_' : c;
  }
  name += suffix;
  return name;
}

}  // namespace platform::runtime
