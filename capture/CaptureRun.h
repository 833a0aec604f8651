#pragma once

#include <filesystem>
#include <string>

#include "capture/CaptureOptions.h"
#include "capture/PageCapture.h"

// One whole capture: the browser started, the page taken, the folder written and handed to
// Clipwren. The entry point and the address window both run it.
namespace capture {

struct RunResult {
  ExitCode code = kExitOk;
  std::string message;             // what went wrong, for the user
  std::filesystem::path folder;    // the capture folder, when one was kept
};

[[nodiscard]] RunResult RunCapture(const CaptureOptions& options, const Progress& progress);

// The clipwren program: beside this one (installed), in the build tree's app/ folder, else
// from PATH. Empty when there is none.
[[nodiscard]] std::filesystem::path FindClipwren();

// Starts clipwren "/FromIE <folder>" without waiting for it: it asks for the scrap's name,
// files it and goes on running as the main window (or hands it to the running one).
[[nodiscard]] bool StartClipwren(const std::filesystem::path& program,
                                 const std::filesystem::path& folder, std::string& error);

}  // namespace capture
