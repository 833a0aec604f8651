#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

// Where the single-instance lock and socket live: per user, private, cleared at logout.
namespace platform::runtime {

// $XDG_RUNTIME_DIR when it names a folder; else /tmp/clipwren-<uid>, created with mode 0700
// and accepted only when it is ours and closed to others. nullopt when neither is usable.
[[nodiscard]] std::optional<std::filesystem::path> RuntimeDir();

// A file name for an object name: letters kept, "/" and control bytes replaced, so any name
// maps to exactly one file of the folder.
[[nodiscard]] std::string FileNameFor(std::string_view objectName, std::string_view suffix);

}  // namespace platform::runtime
