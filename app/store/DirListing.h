#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace store {

// Names of the subdirectories of dir that the tree shows: not "." or "..", not a pictures
// folder, and not a symbolic link (a link to an ancestor would make expand all endless).
// Sorted by bytes so that children with equal sort keys always come in the same order.
// Empty when dir cannot be listed.
[[nodiscard]] std::vector<std::string> ListTreeSubdirectories(const std::string& dir);

// The name of the entry of dir whose name equals name without regard to single-byte case and
// that the tree would show as a directory; empty when there is none.
[[nodiscard]] std::string FindTreeSubdirectory(const std::string& dir, std::string_view name);

// The last component of a path, as the tree shows it (the shell's display name of a folder).
[[nodiscard]] std::string DisplayName(const std::string& path);

}  // namespace store
