#include "bench/tree/ScrapbookGenerator.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

}  // namespace

int GenerateScrapbook(const std::string& home, int folders, int subfolders, int scraps) {
  int items = 0;
  for (int f = 0; f < folders; ++f) {
    const fs::path folder = fs::path(home) / ("フォルダ" + std::to_string(f));
    fs::create_directories(folder);
    ++items;
    if (f % 3 == 0) Write(folder / "Scrap.ini", "[SortType]\nSortType=2\n");
    for (int s = 0; s < subfolders; ++s) {
      const fs::path sub = folder / ("sub" + std::to_string(s));
      fs::create_directories(sub);
      ++items;
      for (int k = 0; k < scraps; ++k) {
        const fs::path scrap = sub / ("記事 " + std::to_string(k));
        fs::create_directories(scrap / "Images");
        Write(scrap / "Main.jpg", "jpeg");
        Write(scrap / "Content.txt", "\xff\xfe");
        Write(scrap / "Images" / "1.png", "png");
        ++items;
      }
    }
  }
  return items;
}
