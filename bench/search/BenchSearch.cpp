// "テキストの全文検索" over a generated scrapbook of 5,000 scraps (about 115 MB of UTF-16 page
// text, Japanese and ASCII mixed, in nested folders) with the text only in the last scrap in
// walk order: one find next from the home item of the real main window, until the text tab
// shows the occurrence selected, timed against `rg -j1 -i --encoding utf-16le -l` over the same
// folders in the same run. Prints the median of several runs of each and, last,
// "ratio=<ours/rg> peak_mb=<n>". Needs a display: run it under xvfb-run.
#include <sys/resource.h>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "bench/search/SearchScrapbookGenerator.h"

wxIMPLEMENT_APP_NO_MAIN(CClipwrenApp);

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 5;
constexpr const char* kNeedle = "Zarbo42Needle";

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

void Pump() {
  for (int i = 0; i < 5; ++i) {
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxTheApp->ProcessIdle();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "bench_search needs a display (run it under xvfb-run -a)\n");
    return 2;
  }
  // The program runs on a sandbox of its own: settings, documents and temporary files.
  const fs::path data = fs::path(BENCH_DATA_DIR) / "search-data";
  fs::remove_all(data);
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "TMPDIR",
                           "CLIPWREN_MACHINE_ROOT"}) {
    const fs::path dir = data / name;
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace);
    ::setenv(name, dir.c_str(), 1);
  }
  ::unsetenv("XDG_DOCUMENTS_DIR");
  const std::string home = (data / "HOME" / "Documents" / "クリップレン").string();
  std::string lastScrap;
  const std::uint64_t bytes =
      GenerateSearchScrapbook(home, 10, 10, 50, 23 * 1024, kNeedle, &lastScrap);
  std::printf("scrapbook: 5000 scraps, %.1f MB of page text below %s\n", bytes / 1e6, home.c_str());

  const std::string rgCommand =
      "rg -j1 -i --encoding utf-16le -l '" + std::string(kNeedle) + "' '" + home + "'";
  const std::string rgFound = RunCommand(rgCommand);
  if (rgFound != lastScrap + "/Content.txt\n") {
    std::fprintf(stderr, "rg found something else: %s\n", rgFound.c_str());
    return 1;
  }

  wxApp::SetInstance(new CClipwrenApp);
  if (!wxEntryStart(argc, argv)) return 1;
  auto& app = wxGetApp();
  if (!app.OnInit()) return 1;
  CMainFrame* frame = app.MainFrame();
  if (!frame || !frame->LeftView() || !wxDynamicCast(app.TextView(), wxTextCtrl)) {
    std::fprintf(stderr, "the main window did not start\n");
    return 1;
  }
  CFolderTreeCtrl* tree = frame->LeftView()->Tree();
  auto* text = wxDynamicCast(app.TextView(), wxTextCtrl);
  tree->showMessage = [](const wxString&) {};
  Pump();

  std::vector<double> ours, rg;
  // The needle is searched for without matching case, as rg -i does.
  std::string needle = kNeedle;
  std::transform(needle.begin(), needle.end(), needle.begin(), [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  });
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    if (RunCommand(rgCommand) != rgFound) return 1;
    rg.push_back(Seconds(start));

    // From the home item of a freshly read tree, every folder closed.
    tree->RefreshTree("");
    tree->CollapseAllFolders();
    tree->Model().SelectOnly(tree->Model().Home());
    Pump();

    start = std::chrono::steady_clock::now();
    const bool found = tree->SearchText(needle, false, true);
    text->Update();  // the text tab paints the selection
    ours.push_back(Seconds(start));
    long from = 0, to = 0;
    text->GetSelection(&from, &to);
    if (!found || tree->CaretPath() != lastScrap ||
        text->GetStringSelection().utf8_string() != kNeedle) {
      std::fprintf(stderr, "the search did not show the hit (%s)\n", tree->CaretPath().c_str());
      return 1;
    }
    std::printf("run %d: rg %.3f s, find next %.3f s\n", run + 1, rg.back(), ours.back());
  }
  const double oursMedian = Median(ours);
  const double rgMedian = Median(rg);
  std::printf("find next: %.3f s (median of %d)\n", oursMedian, kRuns);
  std::printf("rg -j1 -i --encoding utf-16le -l: %.3f s (median of %d)\n", rgMedian, kRuns);

  frame->Destroy();
  Pump();
  app.OnExit();
  wxEntryCleanup();
  fs::remove_all(data);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("ratio=%.2f peak_mb=%ld\n", oursMedian / rgMedian, usage.ru_maxrss / 1024);
  return 0;
}
