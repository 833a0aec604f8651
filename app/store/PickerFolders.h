#pragma once

#include <string>
#include <vector>

namespace store {

// The folders the folder picker lists below dir: subdirectories that are neither pictures
// folders, nor links, nor scraps (a scrap and everything below it is left out, so only
// folders can be chosen as a destination), as full paths in text order (single-byte letters
// compared without case, then by bytes). The picker reads no Scrap.ini. Empty when dir
// cannot be listed.
[[nodiscard]] std::vector<std::string> PickerChildFolders(const std::string& dir);

// The picker's text order of two folder names.
[[nodiscard]] bool PickerTextLess(const std::string& a, const std::string& b);

// Whether the picker shows directory dir at all (it is not a scrap).
[[nodiscard]] bool IsPickerFolder(const std::string& dir);

}  // namespace store
