#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "PDFRelay/RelayProtocol.h"
#include "PDFRelay/WaitForFile.h"

// PDFRelay's whole run, from the command line to the exit code, with the dialog and the
// desktop behind an interface so the protocol can be tested without a display.
namespace pdfrelay {

inline constexpr int kExitDone = 0;
inline constexpr int kExitCanceled = 1;

class RelayUi {
 public:
  virtual ~RelayUi() = default;
  // Shows the save dialog. openAfterSave holds the check box's state on entry and the user's
  // choice on return. nullopt when the user cancelled or the dialog failed.
  virtual std::optional<std::string> AskSavePath(const std::string& proposedName,
                                                 const std::string& startFolder,
                                                 int& openAfterSave) = 0;
  // Hands the saved PDF to the desktop's default program.
  virtual void OpenDocument(const std::string& path) = 0;
};

struct RelayOptions {
  std::chrono::milliseconds pollInterval = kPollInterval;
  std::chrono::milliseconds waitLimit = kWaitLimit;
  // Tests substitute their own writer to see the order of the writes; empty: the INI file.
  KeyWriter writer;
};

[[nodiscard]] int RunRelay(std::string_view commandLine, RelayUi& ui,
                           const RelayOptions& options = {});

}  // namespace pdfrelay
