// make_sample_capture <captures folder> [title]
// Writes a capture folder as a browser capture leaves it, for trying Clipwren's import by
// hand: <captures folder>/クリップレン/<title> with a page picture (Main.jpg), the page text
// with its address (Content.txt), the address and title (info.txt) and a few pictures
// (Images/). Prints the folder's path; then run: clipwren "/FromIE <that path>"
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/CaptureFolder.h"

namespace {

// A smallest GIF: one pixel of one colour.
const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                              0x00, 0x00, 0xe7, 0x4c, 0x3c, 0xff, 0xff, 0xff, 0x21, 0xf9, 0x04,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01,
                              0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};

struct Rgb {
  unsigned char r, g, b;
};

// Rectangle on a 24-bit picture, y counted from the top.
void Fill(CxImage& image, int x, int y, int w, int h, Rgb c) {
  const int width = static_cast<int>(image.GetWidth()),
            height = static_cast<int>(image.GetHeight());
  for (int row = std::max(0, y); row < std::min(height, y + h); ++row) {
    uint8_t* bits = image.GetBits(static_cast<uint32_t>(height - 1 - row));
    for (int col = std::max(0, x); col < std::min(width, x + w); ++col) {
      bits[col * 3] = c.b;
      bits[col * 3 + 1] = c.g;
      bits[col * 3 + 2] = c.r;
    }
  }
}

// A page-like picture: header, navigation, grey text lines and a few photos.
CxImage MakePage(int width, int height) {
  CxImage page;
  if (!page.Create(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24)) return page;
  Fill(page, 0, 0, width, height, {255, 255, 255});
  Fill(page, 0, 0, width, 90, {46, 134, 193});
  Fill(page, 40, 30, 420, 30, {255, 255, 255});
  Fill(page, 0, 90, width, 36, {236, 238, 242});
  unsigned state = 7;
  const auto next = [&state] { return state = state * 1103515245u + 12345u; };
  for (int y = 160; y < height - 80;) {
    if (next() % 5 == 0) {
      Fill(page, 40, y, 360, 220,
           {static_cast<unsigned char>(next() % 200 + 30),
            static_cast<unsigned char>(next() % 200 + 30),
            static_cast<unsigned char>(next() % 200 + 30)});
      y += 250;
    } else {
      Fill(page, 40, y, static_cast<int>(600 + next() % 500), 12, {150, 154, 162});
      y += 26;
    }
  }
  return page;
}

std::string Encoded(const CxImage& image, uint32_t type) {
  std::vector<uint8_t> bytes;
  if (!image.Encode(bytes, type)) return {};
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_sample_capture <captures folder> [title]\n");
    return 2;
  }
  capture::CapturedPage page;
  page.title = argc == 3 ? argv[2] : "サンプルのページ - 今日のニュース";
  page.url = "https://www.example.jp/news/today.html";
  page.text = page.title + "\n\n今日のニュースです。\n天気は晴れ、ところにより曇り。\n";
  page.pageHeight = page.capturedHeight = 3000;
  page.picture = MakePage(1280, 3000);
  CxImage photo;
  if (photo.Create(160, 120, 24)) Fill(photo, 0, 0, 160, 120, {39, 174, 96});
  page.pictures.push_back(
      {"https://www.example.jp/img/photo.jpg", Encoded(photo, CXIMAGE_FORMAT_JPG)});
  page.pictures.push_back(
      {"https://www.example.jp/img/logo.png", Encoded(photo, CXIMAGE_FORMAT_PNG)});
  page.pictures.push_back({"https://www.example.jp/img/dot.gif",
                           std::string(reinterpret_cast<const char*>(kGif), sizeof kGif)});

  capture::CaptureFolder folder;
  std::string error;
  if (!page.picture.IsValid() ||
      !folder.Create(argv[1], capture::FolderNameForPage(page.title, page.url), error) ||
      !folder.Write(page, error)) {
    std::fprintf(stderr, "make_sample_capture: %s\n", error.c_str());
    return 1;
  }
  folder.Keep();
  std::printf("%s\n", folder.path().c_str());
  return 0;
}
