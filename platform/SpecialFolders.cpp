#include "platform/SpecialFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/AtomicFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> HomeDir() {
  if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home);
  struct passwd pw {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir &&
      *found->pw_dir) {
    return fs::path(found->pw_dir);
  }
  return std::nullopt;
}

// The folder named by variable (XDG_DOCUMENTS_DIR…) in user-dirs.dirs. The file is a shell
// fragment, but xdg-user-dirs only ever writes VAR="$HOME/sub" or VAR="/absolute"; other
// forms are ignored, as the desktop's own tools do.
std::optional<fs::path> UserDir(const fs::path& home, std::string_view variable) {
  fs::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) config = xdg;
  else config = home / ".config";
  const auto bytes = file::ReadAll(config / "user-dirs.dirs");
  if (!bytes) return std::nullopt;
  std::string_view text = *bytes;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, variable.size()) != variable) continue;
    line.remove_prefix(variable.size());
    if (line.size() < 3 || line.front() != '=' || line[1] != '"') continue;
    line.remove_prefix(2);
    std::string value;
    bool closed = false;
    for (std::size_t i = 0; i < line.size() && !closed; ++i) {
      if (line[i] == '"') closed = true;
      else if (line[i] == '\\' && i + 1 < line.size()) value += line[++i];
      else value += line[i];
    }
    if (!closed) continue;
    if (value.rfind("$HOME", 0) == 0) {
      std::string_view rest = std::string_view(value).substr(5);
      if (!rest.empty() && rest.front() != '/') continue;
      while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
      // "$HOME/" alone is how a user switches a folder off: it then is the home folder.
      return rest.empty() ? home : home / fs::path(rest);
    }
    if (!value.empty() && value.front() == '/') return fs::path(value);
  }
  return std::nullopt;
}

std::optional<fs::path> Locate(SpecialFolder which) {
  switch (which) {
    case SpecialFolder::Documents:
    case SpecialFolder::Desktop: {
      const auto home = HomeDir();
      if (!home) return std::nullopt;
      const bool documents = which == SpecialFolder::Documents;
      if (auto dir = UserDir(*home, documents ? "XDG_DOCUMENTS_DIR" : "XDG_DESKTOP_DIR")) {
        return dir;
      }
      return *home / (documents ? "Documents" : "Desktop");
    }
    case SpecialFolder::ProgramFiles:
      return fs::path("/opt");
    case SpecialFolder::Temp:
      if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return fs::path(tmp);
      return fs::path("/tmp");
    case SpecialFolder::ProgramDir: {
      std::error_code ec;
      const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
      if (ec) return std::nullopt;
      return exe.parent_path();
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> GetSpecialFolder(SpecialFolder which, bool create) {
  auto folder = Locate(which);
  if (folder && create) {
    std::error_code ec;
    fs::create_directories(*folder, ec);
    if (!fs::is_directory(*folder, ec)) return std::nullopt;
  }
  return folder;
}

}  // namespace platform
