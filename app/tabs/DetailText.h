#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace tabs {

// The detail list's size column: whole kilobytes, never shown as 0 ("1 KB" for an empty file).
std::string SizeText(uint64_t bytes);

// The detail list's date column in local time, "%Y/%m/%d %H:%M"; empty when the time cannot be
// converted.
std::string TimeText(std::time_t time);

}  // namespace tabs
