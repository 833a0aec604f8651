#include "capture/CaptureRun.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <system_error>

#include "app/shell/CommandLine.h"
#include "capture/CaptureFolder.h"
#include "capture/DevToolsPipe.h"

extern char** environ;

namespace capture {
namespace {

bool IsExecutable(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec) && access(p.c_str(), X_OK) == 0;
}

}  // namespace

std::filesystem::path FindClipwren() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const std::filesystem::path dir = self.parent_path();
    for (const std::filesystem::path& candidate : {dir / "clipwren", dir.parent_path() / "app" / "clipwren"})
      if (IsExecutable(candidate)) return candidate;
  }
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (!dir.empty() && IsExecutable(std::filesystem::path(dir) / "clipwren"))
      return std::filesystem::path(dir) / "clipwren";
  return {};
}

bool StartClipwren(const std::filesystem::path& program, const std::filesystem::path& folder,
                   std::string& error) {
  const std::string programText = program.string();
  const std::string argument = std::string(shell::kFromIeSwitch) + folder.string();
  char* argv[] = {const_cast<char*>(programText.c_str()), const_cast<char*>(argument.c_str()),
                  nullptr};
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // A session of its own: closing the terminal this was started from must not end Clipwren.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, programText.c_str(), nullptr, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    error = "cannot start " + programText + ": " + std::strerror(rc);
    return false;
  }
  return true;
}

RunResult RunCapture(const CaptureOptions& options, const Progress& progress) {
  RunResult result;
  const std::filesystem::path base =
      options.outputDir.empty() ? DefaultCapturesDir() : options.outputDir;
  if (base.empty()) {
    return {kExitWriteFailed, "no folder for captures: neither XDG_CACHE_HOME nor HOME is set", {}};
  }
  const std::filesystem::path program = FindBrowser(options.browser);
  if (program.empty()) {
    const std::string name =
        options.browser.empty() ? "chromium-headless-shell" : options.browser.string();
    return {kExitNoBrowser,
            "Chromium was not found (" + name +
                "); install the Debian package chromium-headless-shell",
            {}};
  }
  progress("starting " + program.string());
  PipeFailure pipeFailure;
  std::unique_ptr<DevToolsPipe> browser = DevToolsPipe::Start(program, pipeFailure);
  if (!browser) {
    return {pipeFailure.kind == PipeError::kInterrupted ? kExitInterrupted : kExitNoBrowser,
            pipeFailure.text, {}};
  }
  CapturedPage page;
  CaptureFailure failure;
  if (!CapturePage(*browser, options, progress, page, failure))
    return {failure.code, failure.text, {}};
  browser.reset();  // the browser's memory is not needed while the picture is encoded

  CaptureFolder folder;
  std::string error;
  progress("writing the capture");
  if (!folder.Create(base, FolderNameForPage(page.title, page.url), error) ||
      !folder.Write(page, error))
    return {kExitWriteFailed, error, {}};
  if (g_interrupted) return {kExitInterrupted, "interrupted", {}};
  folder.Keep();
  result.folder = folder.path();
  if (page.capturedHeight < page.pageHeight) {
    progress("the page is " + std::to_string(page.pageHeight) + " pixels tall; the picture holds the first " +
             std::to_string(page.capturedHeight));
  }
  if (!options.import) return result;

  const std::filesystem::path clipwren = FindClipwren();
  if (clipwren.empty()) {
    return {kExitNoClipwren, "clipwren was not found; the capture is kept in " + result.folder.string(),
            result.folder};
  }
  if (!StartClipwren(clipwren, result.folder, error))
    return {kExitNoClipwren, error + "; the capture is kept in " + result.folder.string(),
            result.folder};
  return result;
}

}  // namespace capture
