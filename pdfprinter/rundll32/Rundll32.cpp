// rundll32.exe as the machine's system folder provides it, for the one entry the program
// uses: "printui.dll,PrintUIEntry /e /n <printer>" opens that printer's printing
// preferences through its driver's user-interface file and stores what the user accepts.

#include <wx/app.h>
#include <wx/msgdlg.h>

#include <string>
#include <vector>

#include "platform/ErrorText.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintComponents.h"
#include "platform/PrintSystemInternal.h"
#include "platform/Registry.h"
#include "platform/TextConv.h"

namespace {

using namespace platform::print;

struct Request {
  bool preferences = false;
  std::string printer;
};

// Splits one command-line string the way the host does: blanks separate words, double
// quotes keep blanks inside a word and are removed.
std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

// The entry point, then its options: /e asks for the printing preferences, /n names the
// printer. The words come already split (one argument each), or as one string.
std::optional<Request> Parse(std::vector<std::string> words) {
  if (words.size() == 1) words = SplitCommandLine(words[0]);
  if (words.empty() || !platform::text::AsciiIEquals(words[0], "printui.dll,PrintUIEntry")) {
    return std::nullopt;
  }
  Request r;
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "/e") r.preferences = true;
    else if (words[i] == "/n" && i + 1 < words.size()) r.printer = words[++i];
  }
  if (!r.preferences || r.printer.empty()) return std::nullopt;
  return r;
}

void Fail(const std::string& printer, long error) {
  wxMessageBox(wxString::FromUTF8("プリンター \"" + printer + "\" の印刷設定を開けません。\n" +
                                  platform::ErrorText(error)),
               wxString::FromUTF8("印刷設定"), wxOK | wxICON_ERROR);
}

int Run(const Request& r) {
  long error = 0;
  auto printer = Printer::Open(r.printer, Access::Administer, error);
  if (!printer) {
    Fail(r.printer, error);
    return 1;
  }
  platform::Registry machine(platform::Hive::LocalMachine);
  std::string configFile;
  const auto driverFile = detail::InstalledDriverFile(machine, printer->DriverName(), &configFile);
  const auto ui = driverFile && !configFile.empty()
                      ? detail::Library::Load(driverFile->parent_path() / configFile)
                      : nullptr;
  const auto fn = ui ? ui->Get<ZpDocumentPropertiesFn>(ZP_DOCUMENT_PROPERTIES) : nullptr;
  if (!fn) {
    Fail(r.printer, kErrorModNotFound);
    return 1;
  }
  const DevMode current = printer->Settings();
  ZpDevMode mode{current.orientation, current.paperSize};
  const int rc = fn(printer->Name().c_str(), &mode);
  if (rc < 0) {
    Fail(r.printer, kErrorNotSupported);
    return 1;
  }
  if (rc == 1 && !printer->SetSettings(DevMode{mode.orientation, mode.paperSize}, error)) {
    Fail(r.printer, error);
    return 1;
  }
  return 0;
}

class Rundll32App : public wxApp {
 public:
  bool OnInit() override { return true; }
  // Everything happens in modal windows; the exit code is the entry's result.
  int OnRun() override {
    std::vector<std::string> words;
    std::string line;
    for (int i = 1; i < argc; ++i) {
      words.push_back(argv[i].utf8_string());
      line += (i > 1 ? " " : "") + words.back();
    }
    const auto request = Parse(words);
    if (!request) {
      wxMessageBox(wxString::FromUTF8("指定されたエントリが見つかりません: ") +
                       wxString::FromUTF8(line),
                   "RUNDLL", wxOK | wxICON_ERROR);
      return 1;
    }
    return Run(*request);
  }
};

}  // namespace

wxIMPLEMENT_APP(Rundll32App);
