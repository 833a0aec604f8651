#pragma once

#include <filesystem>
#include <optional>

namespace platform {

enum class SpecialFolder {
  Documents,     // XDG_DOCUMENTS_DIR from user-dirs.dirs, else ~/Documents
  Desktop,       // XDG_DESKTOP_DIR, else ~/Desktop
  ProgramFiles,  // /opt
  Temp,          // $TMPDIR, else /tmp
  ProgramDir,    // the folder of the running executable
};

// The folder's path, created first when create is true. nullopt when it cannot be
// determined (no HOME) or, with create, cannot be made.
[[nodiscard]] std::optional<std::filesystem::path> GetSpecialFolder(SpecialFolder which,
                                                                    bool create = false);

}  // namespace platform
