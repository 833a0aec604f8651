#include "capture/ui/AddressPrompt.h"

#include <cstdio>
#include <memory>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/textdlg.h>

#include "capture/CaptureRun.h"
#include "capture/DevToolsPipe.h"
#include "capture/ui/PromptWindows.h"

namespace capture {
namespace {

const wxString kCaption = wxString::FromUTF8("Webページをクリップ");

wxString AddressFromClipboard() {
  wxString text;
  if (wxTheClipboard->Open()) {
    if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
      wxTextDataObject data;
      wxTheClipboard->GetData(data);
      text = data.GetText().Strip(wxString::both);
    }
    wxTheClipboard->Close();
  }
  if (text.StartsWith("http://") || text.StartsWith("https://") || text.StartsWith("file://"))
    return text.BeforeFirst('\n');
  return {};
}

class PromptApp : public wxApp {
 public:
  explicit PromptApp(CaptureOptions options) : m_options(std::move(options)) {}
  int ExitCode() const { return m_exitCode; }

  bool OnInit() override {
    const std::unique_ptr<wxTextEntryDialog> ask = MakeAddressDialog(
        m_options.url.empty() ? AddressFromClipboard() : wxString::FromUTF8(m_options.url));
    if (ask->ShowModal() != wxID_OK) {
      m_exitCode = kExitOk;
      return false;
    }
    m_options.url = NormaliseAddress(ask->GetValue().utf8_string());
    if (m_options.url.empty()) {
      m_exitCode = kExitUsage;
      return false;
    }
    wxProgressDialog progress(wxString::FromUTF8("Webページをクリップ中"),
                              wxString::FromUTF8("ページを読み込んでいます…"), 100,
                              nullptr, wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_SMOOTH);
    NameCancelButton(progress);
    wxString shown = progress.GetMessage();
    const RunResult result = RunCapture(m_options, [&](const std::string& line) {
      shown = ProgressStepText(line, shown);
      if (!progress.Pulse(shown)) g_interrupted = true;
    });
    progress.Hide();
    m_exitCode = result.code;
    if (result.code != kExitOk && result.code != kExitInterrupted) {
      wxMessageBox(FailureText(result.code, result.message), kCaption, wxOK | wxICON_ERROR);
    }
    return false;  // no main window: the program ends here
  }

 private:
  CaptureOptions m_options;
  int m_exitCode = kExitOk;
};

}  // namespace

int RunWithAddressPrompt(CaptureOptions options, int argc, char** argv) {
  auto* app = new PromptApp(std::move(options));
  wxApp::SetInstance(app);
  if (!wxEntryStart(argc, argv)) {
    std::fputs("clipwren-capture: --ask needs a display\n", stderr);
    return kExitUsage;
  }
  app->CallOnInit();  // the whole run happens there; there is no main loop
  const int code = app->ExitCode();
  wxEntryCleanup();  // deletes the application object
  return code;
}

}  // namespace capture
