#pragma once

#include <filesystem>
#include <system_error>

// The single-item steps of the shell file operation. Each returns 0 or a FileOpError number
// and leaves questions and progress to its caller.
namespace platform::fileop {

[[nodiscard]] int ErrorFromErrno(int error);
[[nodiscard]] int ErrorFrom(const std::error_code& ec);

// Into the freedesktop Trash of the item's file system (with its .trashinfo), via GIO.
[[nodiscard]] int TrashItem(const std::filesystem::path& item);
[[nodiscard]] int RemoveItem(const std::filesystem::path& item);
// Renames without ever replacing an existing entry.
[[nodiscard]] int RenameNoReplace(const std::filesystem::path& from,
                                  const std::filesystem::path& to);
// Copies a file, link or folder tree to target. With merge, an existing folder at target
// receives the source's contents and existing files there are replaced.
[[nodiscard]] int CopyItem(const std::filesystem::path& source, const std::filesystem::path& target,
                           bool merge);
// Moves by rename where possible, else by copy and delete (another file system).
[[nodiscard]] int MoveItem(const std::filesystem::path& source, const std::filesystem::path& target,
                           bool merge);

}  // namespace platform::fileop
