// Expand all of the folder tree over a generated scrapbook, timed against `find <home> -type d`
// on the same folders in the same run. Prints the median of several runs of each and, last,
// "ratio=<ours/find> peak_mb=<n>".
#include <sys/resource.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/store/ui/CFolderTreeCtrl.h"
#include "bench/tree/ScrapbookGenerator.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 5;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "bench_tree_expand needs a display (run it under xvfb-run -a)\n");
    return 2;
  }
  const fs::path data = fs::path(BENCH_DATA_DIR) / "tree-data";
  const std::string home = (data / "クリップレン").string();
  fs::remove_all(data);
  const int items = GenerateScrapbook(home, 100, 20, 4);  // 100 + 2,000 + 8,000 items
  std::printf("scrapbook: %d folders and scraps below %s\n", items, home.c_str());

  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) return 1;
  auto* loop = new wxGUIEventLoop;
  wxEventLoopBase::SetActive(loop);
  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(300, 600));
  auto* tree = new CFolderTreeCtrl(frame, wxID_ANY, wxDefaultPosition, wxSize(300, 600));
  auto images = CFolderTreeCtrl::CreateImageList();
  tree->SetImageList(images.get());
  frame->Show();
  tree->SetHomeFolder(home);

  std::vector<double> ours, find;
  std::size_t shown = 0;
  const std::string findCommand = "find '" + home + "' -type d > /dev/null";
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    if (std::system(findCommand.c_str()) != 0) return 1;
    find.push_back(Seconds(start));

    start = std::chrono::steady_clock::now();
    tree->RefreshTree("");
    tree->ExpandAllFolders();
    tree->Update();  // the control lays out and paints what is visible
    ours.push_back(Seconds(start));
    shown = tree->GetCount();
    std::printf("run %d: find %.3f s, expand all %.3f s\n", run + 1, find.back(), ours.back());
  }
  const double oursMedian = Median(ours);
  const double findMedian = Median(find);
  std::printf("expand all: %.3f s for %zu items (median of %d)\n", oursMedian, shown, kRuns);
  std::printf("find -type d: %.3f s (median of %d)\n", findMedian, kRuns);

  frame->Destroy();
  while (wxTheApp->Pending()) wxTheApp->Dispatch();
  wxEventLoopBase::SetActive(nullptr);
  delete loop;
  wxEntryCleanup();
  fs::remove_all(data);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("ratio=%.2f peak_mb=%ld\n", oursMedian / findMedian, usage.ru_maxrss / 1024);
  return 0;
}
