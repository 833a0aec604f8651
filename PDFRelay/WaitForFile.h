#pragma once

#include <chrono>
#include <filesystem>
#include <functional>

// After a save with "open after saving" checked, the relay waits for the printer's monitor
// to put the PDF in place before it hands it to the desktop.
namespace pdfrelay {

inline constexpr std::chrono::milliseconds kPollInterval{200};
inline constexpr std::chrono::milliseconds kWaitLimit{600000};

struct WaitClock {
  std::function<std::chrono::steady_clock::time_point()> now = [] {
    return std::chrono::steady_clock::now();
  };
  std::function<void(std::chrono::milliseconds)> sleep;
};

// Tries to open the file for reading (others may read and write it meanwhile) every interval
// until it opens; false when more than limit has passed since the start.
[[nodiscard]] bool WaitUntilReadable(const std::filesystem::path& file,
                                     std::chrono::milliseconds interval = kPollInterval,
                                     std::chrono::milliseconds limit = kWaitLimit,
                                     WaitClock clock = {});

}  // namespace pdfrelay
