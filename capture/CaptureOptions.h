#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What one run of clipwren-capture is asked to do, and how it ends.
namespace capture {

// Exit codes, listed in the help text; scripts and the desktop action rely on them.
enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,         // bad command line
  kExitNoBrowser = 2,     // Chromium missing or not starting
  kExitLoadFailed = 3,    // the page did not load (network error)
  kExitTimedOut = 4,      // the page did not finish loading in time
  kExitWriteFailed = 5,   // the capture folder could not be written
  kExitNoClipwren = 6,    // captured, but Clipwren could not be started (folder kept)
  kExitInterrupted = 130, // stopped by Ctrl+C or a termination signal
};

struct CaptureOptions {
  std::string url;
  uint32_t width = 1280;          // CSS pixels; the device scale is 1
  uint32_t timeoutSeconds = 30;   // for the page's load event
  uint32_t maxHeight = 100000;    // taller pages are cut, with a note in the text
  uint32_t maxPictures = 500;
  uint64_t maxPictureBytes = 50ull * 1024 * 1024;
  bool import = true;             // start clipwren "/FromIE <folder>" when done
  bool ask = false;               // ask for the address in a window (the desktop action)
  std::filesystem::path outputDir;  // empty: $XDG_CACHE_HOME/clipwren/captures
  std::filesystem::path browser;    // empty: chromium-headless-shell from PATH
};

struct ParsedCommandLine {
  std::optional<CaptureOptions> options;  // none when help was asked for or on error
  bool help = false;
  std::string error;  // non-empty for a bad command line
};

[[nodiscard]] ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);
[[nodiscard]] std::string HelpText();

// A bare address without a scheme is taken as http(s) like a browser's address bar would; an
// absolute path, or a relative one that names a file from the current folder, becomes a file:
// address with the bytes an address would misread escaped.
[[nodiscard]] std::string NormaliseAddress(std::string_view text);

}  // namespace capture
