// make_sample_scrapbook <home folder>
// Fills a home folder with a few folders and scraps, as captures would leave them: page
// pictures, UTF-16 texts with the page address between star markers, info.txt and pictures.
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace fs = std::filesystem;

namespace {

struct Rgb {
  unsigned char r, g, b;
};

void FillRect(wxImage& image, int x, int y, int w, int h, Rgb c) {
  for (int row = std::max(0, y); row < std::min(image.GetHeight(), y + h); ++row) {
    for (int col = std::max(0, x); col < std::min(image.GetWidth(), x + w); ++col) {
      image.SetRGB(col, row, c.r, c.g, c.b);
    }
  }
}

// A page-like picture: a coloured header, a navigation bar, paragraphs of grey "text" lines
// and a few photos, so zoom and scrolling have something to show.
wxImage MakePage(int width, int height, Rgb accent, unsigned seed) {
  wxImage page(width, height);
  FillRect(page, 0, 0, width, height, {255, 255, 255});
  FillRect(page, 0, 0, width, 90, accent);
  FillRect(page, 40, 30, 420, 30, {255, 255, 255});
  FillRect(page, 0, 90, width, 36, {236, 238, 242});
  for (int i = 0; i < 6; ++i) FillRect(page, 40 + i * 140, 100, 100, 16, {120, 126, 140});
  unsigned state = seed;
  const auto next = [&state] { return state = state * 1103515245u + 12345u; };
  int y = 160;
  while (y < height - 80) {
    if (next() % 5 == 0) {
      const Rgb photo{static_cast<unsigned char>(next() % 200 + 30),
                      static_cast<unsigned char>(next() % 200 + 30),
                      static_cast<unsigned char>(next() % 200 + 30)};
      FillRect(page, 40, y, 360, 220, photo);
      FillRect(page, 80, y + 130, 120, 70, {250, 250, 235});
      y += 250;
      continue;
    }
    const int lines = 3 + static_cast<int>(next() % 6);
    for (int l = 0; l < lines && y < height - 80; ++l) {
      const int len = (l == lines - 1) ? 200 + static_cast<int>(next() % 400)
                                       : width - 120 - static_cast<int>(next() % 60);
      FillRect(page, 40, y, len, 12, {70, 70, 78});
      y += 24;
    }
    y += 20;
  }
  FillRect(page, 0, height - 60, width, 60, {60, 64, 72});
  return page;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Scrap {
  const char* folder;  // relative to the home folder
  const char* title;
  const char* url;
  const char* body;
  int height;
  Rgb accent;
  int pictures;
};

void MakeScrap(const fs::path& home, const Scrap& s, unsigned seed) {
  const fs::path dir = home / fs::path(s.folder);
  fs::create_directories(dir / "Images");
  MakePage(1280, s.height, s.accent, seed).SaveFile(wxString::FromUTF8((dir / "Main.jpg").string()),
                                                    wxBITMAP_TYPE_JPEG);
  const std::string text = std::string(s.title) + "\r\n★★★★" + s.url + "★★★★\r\n\r\n" + s.body;
  WriteBytes(dir / "Content.txt", "\xFF\xFE" + platform::text::Utf8ToUtf16le(text));
  WriteBytes(dir / "info.txt", std::string(s.url) + "\n" + s.title + "\n");
  for (int i = 0; i < s.pictures; ++i) {
    wxImage picture = MakePage(320, 240, s.accent, seed + static_cast<unsigned>(i) * 7);
    const char* ext = i % 3 == 2 ? ".gif" : (i % 3 == 1 ? ".png" : ".jpg");
    const wxBitmapType type =
        i % 3 == 2 ? wxBITMAP_TYPE_GIF : (i % 3 == 1 ? wxBITMAP_TYPE_PNG : wxBITMAP_TYPE_JPEG);
    if (type == wxBITMAP_TYPE_GIF) continue;  // wx writes GIF only from paletted images
    picture.SaveFile(wxString::FromUTF8((dir / "Images" / ("photo" + std::to_string(i + 1) + ext)).string()),
                     type);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_scrapbook <home folder>\n");
    return 2;
  }
  wxInitializer wx;
  wxImage::AddHandler(new wxJPEGHandler);
  wxImage::AddHandler(new wxPNGHandler);
  const fs::path home = argv[1];
  fs::create_directories(home);

  const std::vector<Scrap> scraps = {
      {"ニュース/東京の天気 12月1日", "東京の天気 12月1日", "https://weather.example.jp/tokyo",
       "明日の東京は晴れのち曇り。最高気温は十二度の予想です。", 4200, {30, 90, 170}, 4},
      {"ニュース/新しい駅が開業", "新しい駅が開業", "https://news.example.jp/station",
       "新しい駅が本日開業しました。", 2600, {180, 40, 40}, 2},
      {"技術メモ/C++/wxWidgets 入門", "wxWidgets 入門", "https://docs.example.org/wx",
       "wxWidgets はクロスプラットフォームの GUI ツールキットです。", 6000, {40, 130, 80}, 3},
      {"技術メモ/Linux のファイルシステム", "Linux のファイルシステム",
       "https://docs.example.org/fs", "ディレクトリの作成時刻は statx で取得できます。", 3000,
       {90, 60, 140}, 0},
      {"料理/肉じゃがの作り方", "肉じゃがの作り方", "https://recipe.example.jp/nikujaga",
       "材料：じゃがいも、牛肉、玉ねぎ、にんじん。", 3600, {200, 120, 30}, 5},
      {"Kyoto in autumn", "Kyoto in autumn", "https://travel.example.com/kyoto",
       "Maple leaves at Tofuku-ji.", 2400, {160, 60, 60}, 2},
  };
  unsigned seed = 7;
  for (const Scrap& s : scraps) MakeScrap(home, s, seed += 13);
  fs::create_directories(home / "あとで読む");

  // Sort settings as the tree would have left them: names for the recipes, custom order for
  // the technical notes.
  store::WriteSortSettings(home, {store::kSortName, 0});
  store::WriteSortSettings(home / "技術メモ", {store::kSortCustom, 2});
  store::WriteSortSettings(home / "技術メモ" / "C++", {store::kSortDateDescending, 1});
  store::WriteSortSettings(home / "技術メモ" / "Linux のファイルシステム",
                           {store::kSortDateDescending, 2});
  std::printf("%s\n", home.c_str());
  return 0;
}
