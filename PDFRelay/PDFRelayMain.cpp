// PDFRelay: no main window, only the save dialog. Started by the virtual PDF printer's port
// monitor with "/? " and four fields; the exit code is 1 when the user cancelled, else 0.
#include <wx/app.h>
#include <wx/init.h>

#include "PDFRelay/RelayCommandLine.h"
#include "PDFRelay/RelayRun.h"
#include "PDFRelay/ui/RelaySaveDialog.h"

namespace {

class CPDFRelayApp : public wxApp {
 public:
  // The command line belongs to the relay protocol, not to wx's option parser.
  bool OnInit() override { return true; }
};

// When no display can be opened, the dialog has failed, which answers like a cancel.
class NoDisplayUi : public pdfrelay::RelayUi {
 public:
  std::optional<std::string> AskSavePath(const std::string&, const std::string&, int&) override {
    return std::nullopt;
  }
  void OpenDocument(const std::string&) override {}
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(CPDFRelayApp);

int main(int argc, char** argv) {
  const std::string commandLine = pdfrelay::JoinArguments(argc, argv);
  if (!pdfrelay::ParseCommandLine(commandLine)) return pdfrelay::kExitDone;

  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp || !wxTheApp->CallOnInit()) {
    NoDisplayUi ui;
    return pdfrelay::RunRelay(commandLine, ui);
  }
  int code = pdfrelay::kExitDone;
  {
    pdfrelay::CRelaySaveDialog ui;
    code = pdfrelay::RunRelay(commandLine, ui);
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  return code;
}
