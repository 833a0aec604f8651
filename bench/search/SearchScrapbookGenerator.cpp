#include "bench/search/SearchScrapbookGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/TextConv.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

std::string Numbered(const char* prefix, int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%03d", prefix, n);
  return name;
}

// Sentences of page text as captures hold them: Japanese prose with ASCII words, numbers and
// addresses in it.
const char* const kPieces[] = {
    "本日の東京株式市場は、前日比で小幅に上昇しました。",
    "Tokyo Stock Exchange ",
    "新しいスマートフォンの発売日が発表されました。",
    "https://www.example.jp/news/2026/12/09 ",
    "天気予報によると、週末は全国的に晴れる見込みです。",
    "Release notes for version 3.2.1 ",
    "会議は午後三時から第二会議室で行われます。",
    "The quick brown fox jumps over the lazy dog. ",
    "この記事の内容は掲載時点のものです。",
    "ISBN 978-4-00-000000-0 ",
    "\r\n",
};

std::string PageText(std::mt19937& random, std::size_t bytes) {
  std::string utf16 = "\xFF\xFE";
  utf16.reserve(bytes + 512);
  while (utf16.size() < bytes) {
    utf16 += platform::text::Utf8ToUtf16le(kPieces[random() % std::size(kPieces)]);
  }
  return utf16;
}

}  // namespace

std::uint64_t GenerateSearchScrapbook(const std::string& home, int folders, int subfolders,
                                      int scraps, std::size_t pageBytes, const std::string& needle,
                                      std::string* lastScrap) {
  std::mt19937 random(2026);
  std::uint64_t total = 0;
  const std::string byName = "[SortType]\nSortType=2\n";
  fs::create_directories(home);
  Write(fs::path(home) / "Scrap.ini", byName);
  for (int f = 0; f < folders; ++f) {
    const fs::path folder = fs::path(home) / Numbered("フォルダ", f);
    fs::create_directories(folder);
    Write(folder / "Scrap.ini", byName);
    for (int s = 0; s < subfolders; ++s) {
      const fs::path sub = folder / Numbered("sub", s);
      fs::create_directories(sub);
      Write(sub / "Scrap.ini", byName);
      for (int k = 0; k < scraps; ++k) {
        const fs::path scrap = sub / Numbered("記事 ", k);
        fs::create_directories(scrap);
        Write(scrap / "Main.jpg", "jpeg");
        std::string page = PageText(random, pageBytes);
        const bool last = f == folders - 1 && s == subfolders - 1 && k == scraps - 1;
        if (last) {
          // Near the end of the page, so a search that stops at the first hit cannot cheat.
          page += platform::text::Utf8ToUtf16le("ここに " + needle + " があります。");
          if (lastScrap) *lastScrap = scrap.string();
        }
        total += page.size();
        Write(scrap / "Content.txt", page);
      }
    }
  }
  return total;
}
