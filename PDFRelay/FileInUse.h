#pragma once

#include <filesystem>

// Whether another process is using a file, the way the relay's save dialog has to know before
// it may replace it. Unlinking a file here succeeds even while others have it open, so the
// check looks for the two things that mean "in use": a lock held through another open file
// (flock or POSIX record locks, whole or part of the file), or another process that has the
// file open for writing. Processes of other users cannot be inspected and do not count.
namespace pdfrelay {

[[nodiscard]] bool IsFileInUse(const std::filesystem::path& file);

enum class ReplaceResult {
  kDeleted,     // the old file is gone
  kInUse,       // another process is using it: the name must be refused
  kNotDeleted,  // it did not exist, or deleting failed for another reason: the name stands
};

// Deletes the file the user chose to replace, unless another process is using it.
[[nodiscard]] ReplaceResult DeleteUnlessInUse(const std::filesystem::path& file);

// A file nobody may write (no write permission bit at all): the dialog refuses it, as it
// refuses files marked read-only elsewhere, even for a user who could replace it.
[[nodiscard]] bool IsReadOnlyFile(const std::filesystem::path& file);

// Whether this user can create files in the folder. The PDF is put there after the dialog
// has closed, where nobody could be told that it failed, so such a folder is refused.
[[nodiscard]] bool CanCreateFilesIn(const std::filesystem::path& folder);

}  // namespace pdfrelay
