// clipwren-capture: the command line over the capture library.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture/CaptureOptions.h"
#include "capture/CaptureRun.h"
#include "capture/DevToolsPipe.h"
#include "capture/ui/AddressPrompt.h"

namespace {

void OnSignal(int) { capture::g_interrupted = true; }

void InstallSignalHandlers() {
  struct sigaction action{};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait on the browser returns at once and sees the flag.
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const capture::ParsedCommandLine parsed = capture::ParseCommandLine(args);
  if (parsed.help) {
    std::fputs(capture::HelpText().c_str(), stdout);
    return capture::kExitOk;
  }
  if (!parsed.options) {
    std::fprintf(stderr, "clipwren-capture: %s\nTry 'clipwren-capture --help'.\n",
                 parsed.error.c_str());
    return capture::kExitUsage;
  }
  InstallSignalHandlers();
  if (parsed.options->ask) return capture::RunWithAddressPrompt(*parsed.options, argc, argv);

  const bool terminal = isatty(STDERR_FILENO);
  const capture::RunResult result =
      capture::RunCapture(*parsed.options, [terminal](const std::string& line) {
        if (terminal) std::fprintf(stderr, "clipwren-capture: %s\n", line.c_str());
      });
  if (result.code != capture::kExitOk) {
    std::fprintf(stderr, "clipwren-capture: %s\n", result.message.c_str());
    return result.code;
  }
  if (!parsed.options->import) std::printf("%s\n", result.folder.c_str());
  return capture::kExitOk;
}
