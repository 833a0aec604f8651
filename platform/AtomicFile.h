#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Whole-file reads and crash-safe whole-file writes for settings files.
namespace platform::file {

// The file's bytes; nullopt when it does not exist or cannot be read.
[[nodiscard]] std::optional<std::string> ReadAll(const std::filesystem::path& file);

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over
// file, so readers see either the old or the new content, never half of it. A missing folder
// is an error (it is not created: a settings file must not bring back a deleted folder); an
// existing file keeps its permissions, and a symbolic link is followed so the link survives.
// flushToDisk false skips the fsync: the rename still makes the switch all-or-nothing, but a
// power cut may lose the new content. Only for small files whose loss brings back defaults.
[[nodiscard]] bool WriteAtomically(const std::filesystem::path& file, std::string_view bytes,
                                   bool flushToDisk = true);

}  // namespace platform::file
