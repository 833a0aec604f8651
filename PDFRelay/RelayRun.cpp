#include "PDFRelay/RelayRun.h"

namespace pdfrelay {

int RunRelay(std::string_view commandLine, RelayUi& ui, const RelayOptions& options) {
  const auto fields = ParseCommandLine(commandLine);
  if (!fields) return kExitDone;

  RelaySettings settings = ReadSettings(*fields);
  const KeyWriter write = options.writer ? options.writer : ProfileWriter(*fields);

  const auto chosen =
      ui.AskSavePath(fields->proposedName, settings.lastOpenFolder, settings.openAfterSave);
  if (!chosen) {
    WriteCanceled(write, fields->jobKey);
    return kExitCanceled;
  }

  WriteSaved(write, fields->jobKey, *chosen, settings.openAfterSave, CurrentUserName());
  if (settings.openAfterSave == 0) return kExitDone;

  if (WaitUntilReadable(*chosen, options.pollInterval, options.waitLimit)) ui.OpenDocument(*chosen);
  return kExitDone;
}

}  // namespace pdfrelay
