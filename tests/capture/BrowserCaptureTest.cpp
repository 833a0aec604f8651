// Captures of pages the tests write, through headless Chromium: no network is used.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/document/ScrapText.h"
#include "app/image/CxImage.h"
#include "capture/CaptureRun.h"
#include "tests/support/TempDir.h"

extern char** environ;

using namespace capture;
namespace fs = std::filesystem;

namespace {

struct Stripe {
  uint32_t height;
  uint8_t r, g, b;
};

std::string Html(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" + title +
         "</title><style>body{margin:0} div{margin:0}</style></head><body>" + body +
         "</body></html>";
}

std::string Png(uint32_t w, uint32_t h, uint8_t r, uint8_t g, uint8_t b) {
  std::string raw;
  for (uint32_t y = 0; y < h; ++y) {
    raw.push_back(0);
    for (uint32_t x = 0; x < w; ++x) raw += {char(r), char(g), char(b)};
  }
  uLongf size = compressBound(raw.size());
  std::string z(size, '\0');
  compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
           raw.size());
  z.resize(size);
  const auto chunk = [](const std::string& type, const std::string& data) {
    std::string out;
    for (int s = 24; s >= 0; s -= 8) out.push_back(char((data.size() >> s) & 0xFF));
    out += type + data;
    const uint32_t crc = uint32_t(crc32(crc32(0, nullptr, 0),
                                        reinterpret_cast<const Bytef*>(out.data() + 4),
                                        uInt(out.size() - 4)));
    for (int s = 24; s >= 0; s -= 8) out.push_back(char((crc >> s) & 0xFF));
    return out;
  };
  std::string ihdr;
  for (uint32_t v : {w, h})
    for (int s = 24; s >= 0; s -= 8) ihdr.push_back(char((v >> s) & 0xFF));
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);
  return "\x89PNG\r\n\x1A\n" + chunk("IHDR", ihdr) + chunk("IDAT", z) + chunk("IEND", "");
}

std::string Encoded(uint32_t type) {
  CxImage img;
  img.Create(8, 8, 24);
  std::vector<uint8_t> out;
  EXPECT_TRUE(img.Encode(out, type));
  return std::string(out.begin(), out.end());
}

class BrowserCapture : public testing::Test {
 protected:
  CaptureOptions Options(const fs::path& page) {
    CaptureOptions options;
    options.url = "file://" + page.string();
    options.import = false;
    options.outputDir = m_out.path();
    options.timeoutSeconds = 20;
    return options;
  }
  RunResult Run(const CaptureOptions& options) {
    return RunCapture(options, [](const std::string&) {});
  }

  testsupport::TempDir m_pages;
  testsupport::TempDir m_out;
};

}  // namespace

TEST_F(BrowserCapture, ATallPageBecomesOnePictureWithItsBandsInPlace) {
  // Stripes of uneven heights, so their edges fall inside and across the screenshot bands.
  const std::vector<Stripe> stripes = {{3500, 255, 0, 0}, {4490, 0, 160, 0},  {20, 0, 0, 255},
                                       {9000, 255, 255, 0}, {7000, 0, 0, 0}, {5990, 200, 0, 200}};
  std::string body;
  for (const Stripe& s : stripes) {
    char div[128];
    std::snprintf(div, sizeof div, "<div style='height:%upx;background:rgb(%u,%u,%u)'></div>",
                  s.height, s.r, s.g, s.b);
    body += div;
  }
  testsupport::WriteFile(m_pages / "tall.html", Html("tall", body));
  const RunResult result = Run(Options(m_pages / "tall.html"));
  ASSERT_EQ(result.code, kExitOk) << result.message;

  CxImage main;
  ASSERT_TRUE(main.Load((result.folder / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  ASSERT_EQ(main.GetWidth(), 1280u);
  ASSERT_EQ(main.GetHeight(), 30000u);
  uint32_t top = 0;
  for (const Stripe& s : stripes) {
    // First and last rows of every stripe, a little inside (JPEG blurs a few pixels across
    // an edge), at the left, middle and right.
    for (uint32_t y : {top + 4, top + s.height / 2, top + s.height - 5}) {
      for (uint32_t x : {2u, 640u, 1277u}) {
        const RGBQUAD c = main.GetPixelColor(x, main.GetHeight() - 1 - y);
        EXPECT_NEAR(c.rgbRed, s.r, 12) << "row " << y << " column " << x;
        EXPECT_NEAR(c.rgbGreen, s.g, 12) << "row " << y << " column " << x;
        EXPECT_NEAR(c.rgbBlue, s.b, 12) << "row " << y << " column " << x;
      }
    }
    top += s.height;
  }
  // Written with restart markers on block rows, as Clipwren's striped decoding needs.
  const std::string jpeg = testsupport::ReadFile(result.folder / "Main.jpg");
  EXPECT_NE(jpeg.find("\xFF\xDD\x00\x04\x00\x50", 0, 6), std::string::npos) << "no DRI of 80";
}

TEST_F(BrowserCapture, JapaneseTitleTextAndPicturesOfEveryKind) {
  testsupport::WriteFile(m_pages / "img" / "red.png", Png(4, 3, 255, 0, 0));
  testsupport::WriteFile(m_pages / "img" / "photo.png", Encoded(CXIMAGE_FORMAT_JPG));  // a JPEG
  testsupport::WriteFile(m_pages / "img" / "anim.gif", Encoded(CXIMAGE_FORMAT_GIF));
  testsupport::WriteFile(m_pages / "img" / "bg.png", Png(2, 2, 0, 0, 255));
  testsupport::WriteFile(m_pages / "img" / "notes.png", "not a picture at all");
  testsupport::WriteFile(m_pages / "img" / "late.png", Png(6, 6, 9, 9, 9));
  const std::string dataPng = Png(1, 1, 0, 255, 0);
  std::string dataUrl = "data:image/png;base64,";
  {
    static const char* k = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    size_t i = 0;
    for (; i + 2 < dataPng.size(); i += 3) {
      const uint32_t v = (uint8_t(dataPng[i]) << 16) | (uint8_t(dataPng[i + 1]) << 8) | uint8_t(dataPng[i + 2]);
      for (int s = 18; s >= 0; s -= 6) dataUrl.push_back(k[(v >> s) & 63]);
    }
    if (i < dataPng.size()) {
      const uint32_t v = (uint8_t(dataPng[i]) << 16) |
                         (i + 1 < dataPng.size() ? uint8_t(dataPng[i + 1]) << 8 : 0);
      dataUrl.push_back(k[(v >> 18) & 63]);
      dataUrl.push_back(k[(v >> 12) & 63]);
      dataUrl += i + 1 < dataPng.size() ? std::string(1, k[(v >> 6) & 63]) + "=" : "==";
    }
  }
  testsupport::WriteFile(
      m_pages / "ja.html",
      Html("日本語のページ／テスト",
           "<h1>見出しです</h1><p>本文には★★★★も入っています。</p>"
           "<img src='img/red.png'><img src='img/photo.png'><img src='img/anim.gif'>"
           "<img src='img/notes.png'><img src='" + dataUrl + "'>"
           "<div style='width:10px;height:10px;background-image:url(img/bg.png)'></div>"
           // Far below the first screen: loaded only when scrolled to.
           "<div style='height:6000px'></div><img loading='lazy' src='img/late.png'>"));
  const RunResult result = Run(Options(m_pages / "ja.html"));
  ASSERT_EQ(result.code, kExitOk) << result.message;

  // The import proposes what follows "クリップレン/": the title, "/" made "_".
  EXPECT_EQ(result.folder, m_out.path() / "クリップレン" / "日本語のページ／テスト");
  const std::optional<std::string> text = scrapfiles::ReadContentText(result.folder / "Content.txt");
  ASSERT_TRUE(text);
  EXPECT_EQ(scrapfiles::ExtractPageAddress(*text), "file://" + (m_pages / "ja.html").string());
  EXPECT_NE(text->find("見出しです"), std::string::npos);
  EXPECT_NE(text->find("本文には★★★★も入っています。"), std::string::npos);
  const std::optional<scrapfiles::PageInfo> info = scrapfiles::ReadInfoText(result.folder / "info.txt");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->title, "日本語のページ／テスト");
  EXPECT_EQ(info->url, "file://" + (m_pages / "ja.html").string());

  const fs::path images = result.folder / "Images";
  EXPECT_EQ(testsupport::ReadFile(images / "red.png"), Png(4, 3, 255, 0, 0));
  EXPECT_EQ(testsupport::ReadFile(images / "photo.jpg"), Encoded(CXIMAGE_FORMAT_JPG));
  EXPECT_EQ(testsupport::ReadFile(images / "anim.gif"), Encoded(CXIMAGE_FORMAT_GIF));
  EXPECT_EQ(testsupport::ReadFile(images / "image.png"), dataPng);
  EXPECT_EQ(testsupport::ReadFile(images / "bg.png"), Png(2, 2, 0, 0, 255));
  EXPECT_EQ(testsupport::ReadFile(images / "late.png"), Png(6, 6, 9, 9, 9));
  int files = 0;
  for (const auto& entry : fs::directory_iterator(images)) files += entry.is_regular_file();
  EXPECT_EQ(files, 6) << "the text file is no picture";
}

TEST_F(BrowserCapture, LimitsCutThePictureWithANoteAndKeepFewerPictures) {
  testsupport::WriteFile(m_pages / "a.png", Png(3, 3, 1, 2, 3));
  testsupport::WriteFile(m_pages / "b.png", Png(5, 5, 1, 2, 3));
  testsupport::WriteFile(m_pages / "cut.html",
                         Html("cut", "<img src='a.png'><img src='b.png'>"
                                     "<div style='height:3000px;background:#00f'></div>"));
  CaptureOptions options = Options(m_pages / "cut.html");
  options.maxHeight = 1000;
  options.maxPictures = 1;
  const RunResult result = Run(options);
  ASSERT_EQ(result.code, kExitOk) << result.message;
  CxImage main;
  ASSERT_TRUE(main.Load((result.folder / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  EXPECT_EQ(main.GetHeight(), 1000u);
  const std::optional<std::string> text = scrapfiles::ReadContentText(result.folder / "Content.txt");
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("先頭の 1000 ピクセル"), std::string::npos);
  EXPECT_TRUE(fs::exists(result.folder / "Images" / "a.png"));
  EXPECT_FALSE(fs::exists(result.folder / "Images" / "b.png"));
}

TEST_F(BrowserCapture, ALoneSurrogateInTheTitleDoesNotBreakTheCapture) {
  testsupport::WriteFile(m_pages / "s.html",
                         Html("x", "<p>text</p><script>document.title = 'a\\ud800b';</script>"));
  const RunResult result = Run(Options(m_pages / "s.html"));
  ASSERT_EQ(result.code, kExitOk) << result.message;
  EXPECT_EQ(result.folder.filename(), "a\uFFFDb");
}

TEST_F(BrowserCapture, APageThatDoesNotLoadGivesTheErrorAndLeavesNothing) {
  const RunResult result = Run(Options(m_pages / "missing.html"));
  EXPECT_EQ(result.code, kExitLoadFailed);
  EXPECT_NE(result.message.find("ERR_FILE_NOT_FOUND"), std::string::npos) << result.message;
  EXPECT_TRUE(fs::is_empty(m_out.path()));
  EXPECT_TRUE(result.folder.empty());
}

TEST_F(BrowserCapture, APageThatNeverFinishesLoadingTimesOut) {
  // A script that keeps the load event from firing: it blocks the page for longer than the
  // time-out.
  testsupport::WriteFile(m_pages / "slow.html",
                         Html("slow", "<script>const t=Date.now();while(Date.now()-t<8000){}</script>"));
  CaptureOptions options = Options(m_pages / "slow.html");
  options.timeoutSeconds = 2;
  const RunResult result = Run(options);
  EXPECT_EQ(result.code, kExitTimedOut) << result.message;
  EXPECT_TRUE(fs::is_empty(m_out.path()));
}

TEST_F(BrowserCapture, NoBrowserIsAClearError) {
  CaptureOptions options = Options(m_pages / "x.html");
  options.browser = m_pages / "no-such-chromium";
  const RunResult result = Run(options);
  EXPECT_EQ(result.code, kExitNoBrowser);
  EXPECT_NE(result.message.find("chromium-headless-shell"), std::string::npos) << result.message;
  EXPECT_TRUE(fs::is_empty(m_out.path()));
}

#ifdef CLIPWREN_CAPTURE_PROGRAM
namespace {
// Runs the installed-style program; its exit status and what it printed.
int RunProgram(const std::string& args, std::string& out) {
  const std::string command = std::string("'") + CLIPWREN_CAPTURE_PROGRAM + "' " + args + " 2>&1";
  FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST_F(BrowserCapture, TheProgramPrintsTheFolderAndReportsErrorsByExitCode) {
  testsupport::WriteFile(m_pages / "p.html", Html("プログラム", "<p>x</p>"));
  std::string out;
  EXPECT_EQ(RunProgram("--no-import --output '" + m_out.path().string() + "' '" +
                           (m_pages / "p.html").string() + "'",
                       out),
            0)
      << out;
  EXPECT_EQ(out, (m_out.path() / "クリップレン" / "プログラム").string() + "\n");
  EXPECT_TRUE(fs::exists(m_out.path() / "クリップレン" / "プログラム" / "Main.jpg"));

  out.clear();
  EXPECT_EQ(RunProgram("--no-import --output '" + m_out.path().string() + "' file:///nonexistent/x.html", out), 3);
  EXPECT_NE(out.find("ERR_FILE_NOT_FOUND"), std::string::npos) << out;
  out.clear();
  EXPECT_EQ(RunProgram("--width", out), 1);
  out.clear();
  EXPECT_EQ(RunProgram("--help", out), 0);
  EXPECT_NE(out.find("Exit codes"), std::string::npos);
}
#endif

#ifdef CLIPWREN_CAPTURE_PROGRAM
TEST_F(BrowserCapture, CtrlCStopsTheCaptureAndLeavesNothing) {
  testsupport::WriteFile(m_pages / "busy.html",
                         Html("busy", "<script>const t=Date.now();while(Date.now()-t<8000){}</script>"));
  const std::string out = m_out.path().string(), url = "file://" + (m_pages / "busy.html").string();
  const char* argv[] = {CLIPWREN_CAPTURE_PROGRAM, "--no-import", "--output", out.c_str(),
                        url.c_str(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, CLIPWREN_CAPTURE_PROGRAM, nullptr, nullptr, const_cast<char**>(argv),
                        environ),
            0);
  sleep(2);  // the browser is up and the page is loading
  kill(pid, SIGINT);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_TRUE(fs::is_empty(m_out.path()));
}
#endif
