#pragma once

#include <cstdint>
#include <string_view>

#include "app/store/FolderRecord.h"

// How the tree orders the children of a directory by the directory's sort type.
namespace store {

// Two creation times compared the host's way: subtracted as signed 32-bit second counts.
[[nodiscard]] int CompareCreationTimes(std::int64_t a, std::int64_t b);
// Byte comparison with single-byte letters folded to lower case (multibyte bytes untouched).
[[nodiscard]] int CompareNoCase(std::string_view a, std::string_view b);

// True when a comes before b under sortType: 0 older first, 2 path without regard to case,
// 3 custom position ascending (0 = never numbered comes first), anything else newer first.
// A strict weak order, so a stable sort keeps equal keys in the order they were inserted.
[[nodiscard]] bool SortsBefore(int sortType, const FolderRecord& a, const FolderRecord& b);

}  // namespace store
